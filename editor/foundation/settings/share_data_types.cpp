// The default file types with their colours and comment delimiters.
#include <cstdio>
#include <cstring>

#include "editor/foundation/text/fixed_text.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/sjis_literal.h"

namespace {

struct ColorDefault {
  const char* name;
  int show;
  int bold;
  int underline;
  COLORREF text;
  COLORREF back;
};

// Colours as the settings file writes them: 0x00BBGGRR.
constexpr ColorDefault kColors[kColorItemCount] = {
    {"テキスト"_sj, 1, 0, 0, 0x000000, 0xf0fbff},
    {"ルーラー"_sj, 1, 0, 0, 0x000000, 0xefefef},
    {"カーソル行アンダーライン"_sj, 1, 0, 0, 0xff0000, 0xf0fbff},
    {"行番号"_sj, 1, 0, 0, 0xff0000, 0xefefef},
    {"行番号(変更行)"_sj, 1, 1, 0, 0xff0000, 0xefefef},
    {"TAB記号"_sj, 1, 0, 0, 0x808080, 0xf0fbff},
    {"半角空白"_sj, 0, 0, 0, 0xc0c0c0, 0xf0fbff},
    {"日本語空白"_sj, 1, 0, 0, 0xc0c0c0, 0xf0fbff},
    {"コントロールコード"_sj, 1, 0, 0, 0x00ffff, 0xf0fbff},
    {"改行記号"_sj, 1, 0, 0, 0xff8000, 0xf0fbff},
    {"折り返し記号"_sj, 1, 0, 0, 0xff00ff, 0xf0fbff},
    {"指定桁縦線"_sj, 0, 0, 0, 0xc0c0c0, 0xf0fbff},
    {"EOF記号"_sj, 1, 0, 0, 0xffff00, 0x000000},
    {"半角数値"_sj, 0, 0, 0, 0x0000eb, 0xf0fbff},
    {"検索文字列"_sj, 1, 0, 0, 0x000000, 0x00ffff},
    {"強調キーワード1"_sj, 1, 0, 0, 0xff0000, 0xf0fbff},
    {"強調キーワード2"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード3"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード4"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード5"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード6"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード7"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード8"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード9"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"強調キーワード10"_sj, 1, 0, 0, 0x0080ff, 0xf0fbff},
    {"コメント"_sj, 1, 0, 0, 0x008000, 0xf0fbff},
    {"シングルクォーテーション文字列"_sj, 1, 0, 0, 0x808040, 0xf0fbff},
    {"ダブルクォーテーション文字列"_sj, 1, 0, 0, 0x400080, 0xf0fbff},
    {"URL", 1, 0, 1, 0xff0000, 0xf0fbff},
    {"正規表現キーワード1"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード2"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード3"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード4"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード5"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード6"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード7"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード8"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード9"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"正規表現キーワード10"_sj, 0, 0, 0, 0xff0000, 0xf0fbff},
    {"DIFF差分表示(追加)"_sj, 0, 0, 0, 0x000000, 0xf0fbff},
    {"DIFF差分表示(変更)"_sj, 0, 0, 0, 0x000000, 0xf0fbff},
    {"DIFF差分表示(削除)"_sj, 0, 0, 0, 0x000000, 0xf0fbff},
    {"対括弧の強調表示"_sj, 0, 1, 0, 0x000080, 0xf0fbff},
    {"ブックマーク"_sj, 1, 0, 0, 0xf0fbff, 0xc08000},
};

struct TypeName {
  const char* name;
  const char* exts;
};

constexpr TypeName kTypeNames[kTypeSlots] = {
    {"基本"_sj, ""},
    {"テキスト"_sj, "txt,log,1st,err,ps"},
    {"C/C++", "c,cpp,cxx,cc,cp,c++,h,hpp,hxx,hh,hp,h++,rc,hm"},
    {"HTML", "html,htm,shtml,plg"},
    {"PL/SQL", "sql,plsql"},
    {"COBOL", "cbl,cpy,pco,cob"},
    {"Java", "java,jav"},
    {"アセンブラ"_sj, "asm"},
    {"AWK", "awk"},
    {"MS-DOSバッチファイル"_sj, "bat"},
    {"Pascal", "dpr,pas"},
    {"TeX", "tex,ltx,sty,bib,log,blg,aux,bbl,toc,lof,lot,idx,ind,glo"},
    {"Perl", "cgi,pl,pm"},
    {"Visual Basic", "bas,frm,cls,ctl,pag,dob,dsr,vb"},
    {"リッチテキスト"_sj, "rtf"},
    {"設定ファイル"_sj, "ini,inf,cnf,kwd,col"},
    {"設定17"_sj, ""},
    {"設定18"_sj, ""},
    {"設定19"_sj, ""},
    {"設定20"_sj, ""},
};

enum ColorCode { kNUM = 13, kSQT = 26, kWQT = 27, kURL = 28, kVER = 11, kBRC = 42 };

void Show(TypeSettings& t, std::initializer_list<int> codes, int on) {
  for (int code : codes) t.Colors[code].bShow = on;
}

void SetBaseType(TypeSettings& t) {
  t = TypeSettings{};
  t.nWrapColumn = 10240;
  t.nCharSpacing = 0;
  t.nLineSpace = 1;
  t.nTabWidth = 4;
  CopyText(t.szTabViewString, "^       ");
  for (int32_t& k : t.nKeywordSelect) k = -1;
  for (int i = 0; i < CLineCommentSet::kCount; ++i) t.LineComments.Set(i, "", -1);
  for (int i = 0; i < CCommentDelimiters::kPairs; ++i) t.BlockComments.SetPair(i, "", "");
  t.nColorCount = kColorItemCount;
  for (int i = 0; i < kColorItemCount; ++i) {
    ColorItem& c = t.Colors[i];
    c.nCode = i;
    c.bShow = kColors[i].show;
    c.bBold = kColors[i].bold;
    c.bUnderline = kColors[i].underline;
    c.colText = kColors[i].text;
    c.colBack = kColors[i].back;
    CopyText(c.szName, kColors[i].name);
  }
  t.bCountDocumentLines = 1;
  t.nLineNumberSeparator = 1;
  t.cLineTermChar = ':';
  t.nDefaultOutline = 3;
  t.nImeState = 256;
  t.bHtmlHelpIsSingle = 1;
  for (RegexKeywordRecord& r : t.RegexKeywords) r.nColorCode = 29;
  t.bAutoIndent = 1;
  t.bAutoIndent_ZENSPACE = 1;
}

}  // namespace

void CShareData::SetDefaultTypes(SharedSettings& s) {
  SetBaseType(s.TypeList[0]);
  for (int i = 1; i < kTypeSlots; ++i) s.TypeList[i] = s.TypeList[0];
  for (int i = 0; i < kTypeSlots; ++i) {
    s.TypeList[i].nIndex = i;
    CopyText(s.TypeList[i].szTypeName, kTypeNames[i].name);
    CopyText(s.TypeList[i].szTypeExts, kTypeNames[i].exts);
  }
  TypeSettings* t = s.TypeList;

  Show(t[0], {kSQT, kWQT}, 0);

  t[1].nWrapColumn = 120;
  Show(t[1], {kSQT, kWQT}, 0);
  t[1].bKinsokuHead = t[1].bKinsokuTail = t[1].bKinsokuRet = t[1].bKinsokuKuto = 0;
  CopyText(t[1].szKinsokuHead, "!%),.:;?]}￠°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！％），．：；？］｝｡｣､･ﾞﾟ￠"_sj);
  CopyText(t[1].szKinsokuTail, "$([{￡\\‘“〈《「『【〔＄（［｛｢￡￥"_sj);

  t[2].LineComments.Set(0, "//", -1);
  t[2].BlockComments.SetPair(0, "/*", "*/");
  t[2].BlockComments.SetPair(1, "#if 0", "#endif");
  t[2].nKeywordSelect[0] = 0;
  t[2].nDefaultOutline = 1;
  t[2].nSmartIndent = 1;
  Show(t[2], {kNUM, kBRC}, 1);
  t[2].bUseHokanByFile = 1;

  t[3].BlockComments.SetPair(0, "<!--", "-->");
  t[3].nKeywordSelect[0] = 1;
  Show(t[3], {kSQT}, 0);

  t[4].LineComments.Set(0, "--", -1);
  t[4].BlockComments.SetPair(0, "/*", "*/");
  t[4].nQuoteEscape = 1;
  CopyText(t[4].szIndentChars, "|★"_sj);
  t[4].nKeywordSelect[0] = 2;
  t[4].nDefaultOutline = 2;

  t[5].LineComments.Set(0, "*", 6);
  t[5].LineComments.Set(1, "D", 6);
  t[5].nQuoteEscape = 1;
  CopyText(t[5].szIndentChars, "*");
  t[5].nKeywordSelect[0] = 3;
  t[5].nDefaultOutline = 5;
  Show(t[5], {kVER}, 1);
  t[5].nVertLineIdx[0] = 7;
  t[5].nVertLineIdx[1] = 8;
  t[5].nVertLineIdx[2] = 12;
  t[5].nVertLineIdx[3] = 73;

  t[6].LineComments.Set(0, "//", -1);
  t[6].BlockComments.SetPair(0, "/*", "*/");
  t[6].nKeywordSelect[0] = 4;
  t[6].nDefaultOutline = 4;
  t[6].nSmartIndent = 1;
  Show(t[6], {kNUM, kBRC}, 1);

  t[7].LineComments.Set(0, ";", -1);
  t[7].nDefaultOutline = 6;
  Show(t[7], {kNUM}, 1);

  t[8].LineComments.Set(0, "#", -1);
  t[8].nDefaultOutline = 3;
  t[8].nKeywordSelect[0] = 6;

  t[9].LineComments.Set(0, "REM ", -1);
  t[9].nDefaultOutline = 3;
  t[9].nKeywordSelect[0] = 7;

  t[10].LineComments.Set(0, "//", -1);
  t[10].BlockComments.SetPair(0, "{", "}");
  t[10].BlockComments.SetPair(1, "(*", "*)");
  t[10].nQuoteEscape = 1;
  t[10].nKeywordSelect[0] = 8;
  Show(t[10], {kNUM}, 1);

  t[11].LineComments.Set(0, "%", -1);
  t[11].nDefaultOutline = 11;
  t[11].nKeywordSelect[0] = 9;
  t[11].nKeywordSelect[1] = 10;
  Show(t[11], {kSQT, kWQT}, 0);

  t[12].LineComments.Set(0, "#", -1);
  t[12].nDefaultOutline = 7;
  t[12].nKeywordSelect[0] = 11;
  t[12].nKeywordSelect[1] = 12;
  Show(t[12], {kNUM, kBRC}, 1);

  t[13].LineComments.Set(0, "'", -1);
  t[13].nDefaultOutline = 8;
  t[13].nKeywordSelect[0] = 13;
  t[13].nKeywordSelect[1] = 14;
  Show(t[13], {kNUM}, 1);
  t[13].nQuoteEscape = 1;
  Show(t[13], {kSQT}, 0);

  t[14].nDefaultOutline = 3;
  t[14].nKeywordSelect[0] = 15;
  Show(t[14], {kNUM}, 1);
  t[14].nQuoteEscape = 0;
  Show(t[14], {kSQT, kWQT, kURL}, 0);

  t[15].LineComments.Set(0, "//", -1);
  t[15].LineComments.Set(1, ";", -1);
  t[15].nDefaultOutline = 3;
  Show(t[15], {kSQT, kWQT}, 0);
}
