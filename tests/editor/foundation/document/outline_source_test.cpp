#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "outline_fixture.h"
#include "platform/sjis_literal.h"

using namespace outline_kind;

namespace {

struct ParserCase {
  const char* label;
  Parser parser;
  const char* path;
  std::string text;
  std::vector<Entry> expected;
};

std::ostream& operator<<(std::ostream& os, const ParserCase& c) { return os << c.label; }

class SourceOutlineTest : public OutlineFixture, public testing::WithParamInterface<ParserCase> {};

TEST_P(SourceOutlineTest, FindsTheEntries) {
  EXPECT_EQ(Parse(GetParam().parser, GetParam().text, GetParam().path), GetParam().expected);
  EXPECT_TRUE(NamesAreWholeCharacters(list));
}

constexpr int kVbScope[] = {0, kVbPublic, kVbPrivate};

INSTANTIATE_TEST_SUITE_P(
    Sources, SourceOutlineTest,
    testing::Values(
        ParserCase{"PlsqlPackageBody", ParseOutlinePlsql, "", "CREATE PACKAGE BODY p IS\n",
                   {{"p", 1, kPlsqlPackageBody, 0}}},
        ParserCase{"PlsqlFunctionDeclaration", ParseOutlinePlsql, "", "FUNCTION f RETURN NUMBER;\n",
                   {{"f", 1, kPlsqlFunctionDecl, 0}}},
        ParserCase{"PlsqlPackageWithCommentsAndStrings", ParseOutlinePlsql, "",
                   "CREATE OR REPLACE PACKAGE pkg AS\n  PROCEDURE run(x IN NUMBER);\n  -- FUNCTION hidden IS\n"
                   "  /* PROCEDURE hidden2 IS */\n  function Total(a number)\n    return number is\n  BEGIN\n"
                   "    v := 'FUNCTION q IS';\n  END;\nEND pkg;\n",
                   {{"pkg", 1, kPlsqlPackageSpec, 0}, {"run", 2, kPlsqlProcedureDecl, 0}, {"Total", 5, kPlsqlFunction, 0}}},
        ParserCase{"PlsqlDoubledQuotes", ParseOutlinePlsql, "", "x := 'it''s PROCEDURE p IS';\nPROCEDURE real IS\n",
                   {{"real", 2, kPlsqlProcedure, 0}}},
        ParserCase{"CobolDivisionsAndParagraphs", ParseOutlineCobol, "",
                   "       FIRST.\n       IDENTIFICATION DIVISION.\n       PROGRAM-ID. DEMO.\n       data division.\n"
                   "       WORKING-STORAGE   SECTION.\n       PROCEDURE DIVISION.\n       MAIN-PARA.\n"
                   "      *COMMENT-PARA.\n           DISPLAY 'X'.\n       END-PARA   SECTION.\n",
                   {{"::FIRST", 1, kPlain, 0},
                    {"IDENTIFICATION DIVISION::PROGRAM-ID", 3, kPlain, 0},
                    {"data division::WORKING-STORAGE SECTION", 5, kPlain, 0},
                    {"PROCEDURE DIVISION::MAIN-PARA", 7, kPlain, 0},
                    {"PROCEDURE DIVISION::END-PARA SECTION", 10, kPlain, 0}}},
        ParserCase{"AsmLabelsAndProcedures", ParseOutlineAsm, "",
                   "start:\n  mov ax, 1 ; loop: comment\nMain PROC near\n  ret\nMain ENDP\nmsg db \"a b\"\n"
                   "\"x\": nothing\nx:  ; label with comment\n:\nhelper proc\n",
                   {{"start", 1, kAsmLabel, 0},
                    {"Main", 3, kAsmProc, 0},
                    {"Main", 5, kAsmEndp, 0},
                    {"x", 8, kAsmLabel, 0},
                    {"helper", 10, kAsmProc, 0}}},
        ParserCase{"PerlSubs", ParseOutlinePerl, "",
                   std::string("sub first {\n  my $x;\n}\n  sub Pkg::second{\nsubroutine x\nsub\tthird_one ($) {\n") +
                       "# sub commented\n" + "sub 日本 {\n"_sj + "sub " + std::string(70, 'n') + " {\nsub " +
                       std::string(71, 'o') + " {\nsub last",
                   {{"first", 1, kPlain, 0},
                    {"Pkg::second", 4, kPlain, 0},
                    {"third_one", 6, kPlain, 0},
                    {std::string(70, 'n'), 9, kPlain, 0}}},
        ParserCase{"VisualBasicClassModule", ParseOutlineVb, "/src/Shape.CLS",
                   "Option Explicit\n"
                   "Public Function _\n    Area(ByVal r As Double) As Double\n"
                   "End Function\n"
                   "Private Sub Class_Initialize()\n"
                   "    Const LOCAL_MAX = 3\n"
                   "    Exit Sub\n"
                   "End Sub\n"
                   "Public Const LIMIT = 10\n"
                   "Public Property Get Name() As String\n"
                   "End Property\n"
                   "Public Property Let Name(v As String)\n"
                   "End Property\n"
                   "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
                   "Public Enum Colors\n  Red\nEnd Enum\n"
                   "Type Point\n  x As Long\nEnd Type\n"
                   "Public Event Changed(ByVal v As Long)\n"
                   "Static Function Counter() ' Function Hidden\n"
                   "#Const DEBUG_ON = 1\n"
                   "x = \"Sub NotThis\"\n",
                   {{"Area", 2, kVbFunction | kVbPublic, 0},
                    {"Class_Initialize", 5, kVbSub | kVbPrivate, 0},
                    {"LOCAL_MAX", 6, kVbConst | kVbPrivate, 0},
                    {"LIMIT", 9, kVbConst | kVbPrivate, 0},
                    {"Name", 10, kVbPropertyGet | kVbPublic, 0},
                    {"Name", 12, kVbPropertyLet | kVbPublic, 0},
                    {"GetTickCount", 14, kVbFunction | kVbPrivate | kVbDeclaration, 0},
                    {"Colors", 15, kVbEnum | kVbPublic | kVbDeclaration, 0},
                    {"Point", 18, kVbType | kVbPrivate | kVbDeclaration, 0},
                    {"Changed", 21, kVbEvent | kVbPublic | kVbDeclaration, 0},
                    {"Counter", 22, kVbFunction | kVbStatic, 0}}},
        ParserCase{"VisualBasicModule", ParseOutlineVb, "/src/Main.bas",
                   "Public Const LIMIT = 10\nConst NOSCOPE = 1\nType P\nEnd Type\nPublic Function\nArea()\n",
                   {{"LIMIT", 1, kVbConst | kVbScope[1], 0},
                    {"NOSCOPE", 2, kVbConst | kVbScope[2], 0},
                    {"P", 3, kVbType | kVbDeclaration, 0}}}),
    [](const testing::TestParamInfo<ParserCase>& info) { return std::string(info.param.label); });

}  // namespace
