#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "editor/foundation/document/preprocessor_tracker.h"
#include "outline_fixture.h"
#include "platform/sjis_literal.h"

using namespace outline_kind;

namespace {

class CppOutlineTest : public OutlineFixture, public testing::WithParamInterface<OutlineCase> {};

TEST_P(CppOutlineTest, FindsTheEntries) {
  EXPECT_EQ(Parse(ParseOutlineCpp, GetParam().text), GetParam().expected);
  EXPECT_TRUE(NamesAreWholeCharacters(list));
}

const std::string kDefined = "定義位置"_sj;

INSTANTIATE_TEST_SUITE_P(
    Sources, CppOutlineTest,
    testing::Values(
        OutlineCase{"ClassWithBaseDeclarationAndBody",
                    "class A : public B { void f(); int g() { return 0; } };\n",
                    {{"A", 1, kClass, 0}, {"A::f", 1, kDeclaration, 0}, {"A::g", 1, kDefinition, 0}}},
        OutlineCase{"ConstPrototypeIsADeclaration", "int f(int) const;\n", {{"f", 1, kDeclaration, 0}}},
        OutlineCase{"UnnamedStruct", "struct { int x; } s;\n", {{"無名"_sj, 1, kStruct, 0}}},
        OutlineCase{"IfZeroBlockIgnored", "#if 0\nvoid a() {}\n#endif\nvoid b() {}\n", {{"b", 4, kDefinition, 0}}},
        OutlineCase{"OnlyTheFirstBranchOfIfdef", "#ifdef X\nvoid a() {}\n#else\nvoid b() {}\n#endif\n",
                    {{"a", 2, kDefinition, 0}}},
        OutlineCase{"ElseOfIfZeroIsRead", "#if 0\nvoid a();\n#else\nvoid b();\n#endif\n",
                    {{"b", 4, kDeclaration, 0}}},
        OutlineCase{"Namespace", "namespace N { void f() {} }\n",
                    {{"N::" + kDefined, 1, kNamespace, 0}, {"N::f", 1, kDefinition, 0}}},
        OutlineCase{"DefinitionOverLines",
                    "static int\ncount(int a,\n      int b)\n{\n  if (a) { return b; }\n  return 0;\n}\nvoid after(void);\n",
                    {{"count", 2, kDefinition, 0}, {"after", 8, kDeclaration, 0}}},
        OutlineCase{"CommentsAndLiteralsHideCode",
                    "// void no1() {}\n/* void no2() {\n} */ const char* s = \"void no3() {}\";\nchar c = '{';\n"
                    "void yes() {}\n",
                    {{"yes", 5, kDefinition, 0}}},
        OutlineCase{"QualifiedNamesAcrossBlanks", "void A::\n  B::f() {}\nint A :: g() {}\n",
                    {{"A::B::f", 1, kDefinition, 0}, {"A::g", 3, kDefinition, 0}}},
        OutlineCase{"OperatorNames",
                    "struct V {\n  bool operator==(const V&) const;\n  V& operator+=(int);\n"
                    "  void* operator new(size_t);\n  int operator()(int) const { return 0; }\n"
                    "  bool operator<<=(int);\n  V* operator->*(int);\n};\n",
                    {{"V", 1, kStruct, 0},
                     {"V::operator==", 2, kDeclaration, 0},
                     {"V::operator+=", 3, kDeclaration, 0},
                     {"V::operator new", 4, kDeclaration, 0},
                     {"V::operator()", 5, kDefinition, 0},
                     {"V::operator<<=", 6, kDeclaration, 0},
                     {"V::operator->*", 7, kDeclaration, 0}}},
        OutlineCase{"OldStyleParameters", "int old(a, b)\nint a;\nchar *b;\n{\n  return a;\n}\n",
                    {{"old", 1, kDefinition, 0}}},
        OutlineCase{"TemplateClassPureAndOverride",
                    "template <class T> class Box {\n  virtual void draw() = 0;\n  void show() override;\n};\n"
                    "void next();\n",
                    {{"Box", 1, kClass, 0},
                     {"Box::draw", 2, kDeclaration, 0},
                     {"Box::show", 3, kDeclaration, 0},
                     {"next", 5, kDeclaration, 0}}},
        OutlineCase{"ExternBlockAndInitialiserAddNoScope", "extern \"C\" {\nint x[] = { 1, 2 };\nvoid f(void);\n}\n",
                    {{"f", 3, kDeclaration, 0}}},
        OutlineCase{"Declspec", "class __declspec(dllexport) W { };\n", {{"W", 1, kClass, 0}}},
        OutlineCase{"ParamsMacro", "int f PARAMS((int a));\n", {{"f", 1, kDeclaration, 0}}},
        OutlineCase{"ContinuedLineComment", "// comment \\\nvoid hidden() {}\nvoid shown() {}\n",
                    {{"shown", 3, kDefinition, 0}}},
        OutlineCase{"ContinuedDirective", "#define M(x) \\\n  void hidden() {}\nvoid shown() {}\n",
                    {{"shown", 3, kDefinition, 0}}},
        // 表 ends on the byte of a backslash: it neither escapes the quote nor continues the comment.
        OutlineCase{"TwoByteCharacterEndingInBackslash",
                    "const char* s = \"表\";\nvoid after() {}\n// 表\nvoid g() {}\n"_sj,
                    {{"after", 2, kDefinition, 0}, {"g", 4, kDefinition, 0}}},
        OutlineCase{"EnumClassAndUnion", "enum class Color { Red, Green };\nunion U { int i; };\n",
                    {{"Color", 1, kEnum, 0}, {"U", 2, kUnion, 0}}},
        OutlineCase{"NestedClasses",
                    "class Outer {\n  class Inner {\n    void f();\n  };\n  void g() {}\n};\n",
                    {{"Outer", 1, kClass, 0},
                     {"Outer::Inner", 2, kClass, 0},
                     {"Outer::Inner::f", 3, kDeclaration, 0},
                     {"Outer::g", 5, kDefinition, 0}}},
        OutlineCase{"StrayClosingBraces", "}\n}\nvoid f() {}\nclass A { void g(); };\n",
                    {{"f", 3, kDefinition, 0}, {"A", 4, kClass, 0}, {"A::g", 4, kDeclaration, 0}}},
        OutlineCase{"OverLongQualifiedName", "void " + [] {
                      std::string s;
                      for (int i = 0; i < 200; ++i) s += "A::";
                      return s;
                    }() + "f() {}\nvoid g() {}\n",
                    {{"g", 2, kDefinition, 0}}},
        OutlineCase{"OverLongNameAcrossBlanks", "void " + [] {
                      std::string s;
                      for (int i = 0; i < 200; ++i) s += "A:: ";
                      return s;
                    }() + "f() {}\nvoid g() {}\n",
                    {{"g", 2, kDefinition, 0}}}),
    [](const testing::TestParamInfo<OutlineCase>& info) { return std::string(info.param.label); });

class CppOutlineBounds : public OutlineFixture {};

TEST_F(CppOutlineBounds, ScopesDeeperThanKeptAreCountedNotNamed) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "namespace n" + std::to_string(i) + " {\n";
  text += "void deep();\n";
  for (int i = 0; i < 40; ++i) text += "}\n";
  text += "void after();\n";
  const std::vector<Entry> entries = Parse(ParseOutlineCpp, text);
  ASSERT_EQ(entries.size(), 33u);
  std::string scope;
  for (int i = 0; i < 32; ++i) {
    EXPECT_EQ(entries[static_cast<size_t>(i)], (Entry{scope + "n" + std::to_string(i) + "::" + kDefined, i + 1, kNamespace, 0}));
    scope += "n" + std::to_string(i) + "::";
  }
  EXPECT_EQ(entries.back(), (Entry{"after", 82, kDeclaration, 0}));
}

TEST_F(CppOutlineBounds, ConditionalsDeeperThanKeptLeaveTheOuterOnesAlone) {
  std::string text = "#if 0\n";
  for (int i = 0; i < 39; ++i) text += "#ifdef X" + std::to_string(i) + "\n";
  text += "void hidden();\n";
  for (int i = 0; i < 39; ++i) text += "#endif\n";
  text += "void hidden2();\n#endif\nvoid shown();\n";
  EXPECT_EQ(Parse(ParseOutlineCpp, text), (std::vector<Entry>{{"shown", 83, kDeclaration, 0}}));
}

TEST_F(CppOutlineBounds, EntriesCarryTheDisplayLineOfTheirLine) {
  Load("int aaaaaaaaaaaaaaaaaaaaa;\nvoid f() {}\n");
  ASSERT_TRUE(doc->m_cLayoutMgr.SetTabAndWrapWidth(nullptr, 4, 10));
  EXPECT_EQ(Run(ParseOutlineCpp), (std::vector<Entry>{{"f", 2, kDefinition, 0}}));
  EXPECT_EQ(DisplayLines(), (std::vector<int>{4}));
}

// Entries on the line being read and on lines read before it (a name whose body opens lines
// later), below lines cut into several display lines: each takes the display line of the start of
// its own document line.
struct DisplayLineCase {
  const char* label;
  Parser parser;
  std::string text;
  int entries;
};

inline std::ostream& operator<<(std::ostream& os, const DisplayLineCase& c) { return os << c.label; }

class OutlineDisplayLineTest : public OutlineFixture, public testing::WithParamInterface<DisplayLineCase> {};

TEST_P(OutlineDisplayLineTest, EveryEntryTakesTheDisplayLineOfItsDocumentLine) {
  const DisplayLineCase& c = GetParam();
  Load(c.text);
  ASSERT_TRUE(doc->m_cLayoutMgr.SetTabAndWrapWidth(nullptr, 4, 10));
  Run(c.parser);
  ASSERT_EQ(list.GetCount(), c.entries);
  bool shifted = false;
  for (int i = 0; i < list.GetCount(); ++i) {
    const COutlineItem* item = list.GetAt(i);
    int x = 0;
    int y = 0;
    doc->m_cLayoutMgr.DocToWrapPos(0, item->m_nFileLine - 1, &x, &y);
    EXPECT_EQ(item->m_nDisplayLine, y + 1) << item->m_cName.View();
    shifted = shifted || item->m_nDisplayLine != item->m_nFileLine;
  }
  EXPECT_TRUE(shifted) << "no entry below a cut line";
}

INSTANTIATE_TEST_SUITE_P(
    Parsers, OutlineDisplayLineTest,
    testing::Values(
        DisplayLineCase{"CppNamesBeforeTheirBodies", ParseOutlineCpp,
                        "int aaaaaaaaaaaaaaaaaaaaaaaaaaaa;\nvoid\nfirst(int a,\n      int b)\n{\n}\n"
                        "int bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb;\nclass\nWidget\n{\n  int size();\n};\n"
                        "void second() {}\n",
                        4},
        DisplayLineCase{"JavaMethodBodyOnALaterLine", ParseOutlineJava,
                        "class Shop {\n  int aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;\n  void run()\n  {\n  }\n"
                        "  int bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb;\n  int tick(int n) { return n; }\n}\n",
                        3},
        DisplayLineCase{"AssemblerOneLineEach", ParseOutlineAsm,
                        "start:\n  mov eax, aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\nmain proc\n"
                        "  mov ebx, bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb\nmain endp\n",
                        3}),
    testing::PrintToStringParamName());

struct TrackerCase {
  const char* label;
  std::vector<std::string> lines;
  std::vector<int> starts;  // ScanLine of each line
};

class PreprocessorTrackerTest : public testing::TestWithParam<TrackerCase> {};

TEST_P(PreprocessorTrackerTest, ReadsTheEnabledLines) {
  CPreprocessorTracker tracker;
  std::vector<int> starts;
  for (const std::string& line : GetParam().lines) starts.push_back(tracker.ScanLine(line.data(), static_cast<int>(line.size())));
  EXPECT_EQ(starts, GetParam().starts);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PreprocessorTrackerTest,
    testing::Values(TrackerCase{"PlainLinesStartAtTheirFirstNonBlank", {"  int a;\n", "\tb\n"}, {2, 1}},
                    TrackerCase{"IfZeroAndElse", {"#if 0\n", "a\n", "#else\n", "b\n", "#endif\n", "c\n"}, {-1, -1, -1, 0, -1, 0}},
                    TrackerCase{"IfOneAndElse", {"#if 1\n", "a\n", "#else\n", "b\n", "#endif\n"}, {-1, 0, -1, -1, -1}},
                    TrackerCase{"ElifOnlyPassesThrough", {"#if 0\n", "#elif 1\n", "a\n", "#endif\n"}, {-1, -1, -1, -1}},
                    TrackerCase{"BlanksAfterTheHash", {"#  if 0\n", "a\n", "#  endif\n", "b\n"}, {-1, -1, -1, 0}},
                    TrackerCase{"ContinuedDirective", {"#define A \\\r\n", "  b \\\n", "c\n", "d\n"}, {-1, -1, -1, 0}},
                    TrackerCase{"StrayEndifAndElse", {"#endif\n", "#else\n", "a\n"}, {-1, -1, 0}}),
    [](const testing::TestParamInfo<TrackerCase>& info) { return std::string(info.param.label); });

TEST(OutlineLexical, LineContinuation) {
  const struct {
    const char* label;
    std::string text;
    bool continues;
  } cases[] = {
      {"lf", "a \\\n", true},
      {"crlf", "a \\\r\n", true},
      {"lfcrlf", "a \\\n\r\n", true},
      {"no line end", "a \\", true},
      {"backslash inside the line", "a \\ b\n", false},
      {"second byte of a character", "\x95\x5c\n", false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EndsWithLineContinuation(c.text.data(), static_cast<int>(c.text.size())), c.continues) << c.label;
  }
}

TEST(OutlineLexical, OperatorNames) {
  const struct {
    std::string word;
    bool isOperator;
  } cases[] = {{"operator", true}, {"A::operator", true}, {"xoperator", false}, {"operators", false}, {":operator", true}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsOperatorName(c.word.data(), static_cast<int>(c.word.size())), c.isOperator) << c.word;
  }
}

class JavaOutlineTest : public OutlineFixture, public testing::WithParamInterface<OutlineCase> {};

TEST_P(JavaOutlineTest, FindsTheEntries) {
  EXPECT_EQ(Parse(ParseOutlineJava, GetParam().text), GetParam().expected);
  EXPECT_TRUE(NamesAreWholeCharacters(list));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, JavaOutlineTest,
    testing::Values(
        OutlineCase{"NestedClassesAndMethods",
                    "class A { void m() {} class B { int n(); } }\n",
                    {{"A::" + kDefined, 1, kPlain, 0},
                     {"A::m", 1, kDefinition, 0},
                     {"A\\B::" + kDefined, 1, kPlain, 0},
                     {"A\\B::n", 1, kDeclaration, 0}}},
        OutlineCase{"HeaderOverLinesAndCalls",
                    "public class Shop {\n  public Shop(int n)\n    // a comment\n    throws Exception\n  {\n"
                    "    if (n > 0) { go(); }\n  }\n  abstract void tick();\n  int x = compute(1) + 2;\n}\n",
                    {{"Shop::" + kDefined, 1, kPlain, 0},
                     {"Shop::Shop", 2, kDefinition, 0},
                     {"Shop::tick", 8, kDeclaration, 0}}},
        OutlineCase{"InterfaceAndAnonymousClass",
                    "interface I {\n  void a();\n}\nclass D {\n  Runnable r = new Runnable() {\n"
                    "    public void run() {}\n  };\n}\n",
                    {{"I::" + kDefined, 1, kPlain, 0},
                     {"I::a", 2, kDeclaration, 0},
                     {"D::" + kDefined, 4, kPlain, 0},
                     {"D::Runnable", 5, kDefinition, 0}}},
        OutlineCase{"StringsAndCommentsHideCode",
                    "class S {\n  String s = \"表 class X {\";\n  /* void no() {} */\n  void m() {}\n}\n"_sj,
                    {{"S::" + kDefined, 1, kPlain, 0}, {"S::m", 4, kDefinition, 0}}},
        OutlineCase{"AnnotationArgumentsNameNoMethod",
                    "class P {\n  void m(@Size(max = 3) String s) {}\n  int q(@A(1) int a);\n}\n",
                    {{"P::" + kDefined, 1, kPlain, 0}, {"P::m", 2, kDefinition, 0}, {"P::q", 3, kDeclaration, 0}}},
        OutlineCase{"StrayClosingBrace", "}\nclass K { void k() {} }\n",
                    {{"K::" + kDefined, 2, kPlain, 0}, {"K::k", 2, kDefinition, 0}}}),
    [](const testing::TestParamInfo<OutlineCase>& info) { return std::string(info.param.label); });

TEST_F(JavaOutlineTest, ClassesDeeperThanKeptAreNotRecorded) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += "class C" + std::to_string(i) + " {\n";
  for (int i = 0; i < 40; ++i) text += "}\n";
  text += "class Z { void z() {} }\n";
  const std::vector<Entry> entries = Parse(ParseOutlineJava, text);
  ASSERT_EQ(entries.size(), 34u);
  EXPECT_EQ(entries[31].line, 32);
  EXPECT_TRUE(entries[31].name.starts_with("C0\\C1\\C2\\")) << entries[31].name;
  EXPECT_EQ(entries[32], (Entry{"Z::" + kDefined, 81, kPlain, 0}));
  EXPECT_EQ(entries[33], (Entry{"Z::z", 81, kDefinition, 0}));
}

}  // namespace
