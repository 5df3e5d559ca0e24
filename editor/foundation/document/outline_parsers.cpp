#include "editor/foundation/document/outline_parsers.h"

void ParseOutlineOfType(CEditDoc& doc, int nOutlineType, COutlineItemList& list) {
  using namespace outline_type;
  switch (nOutlineType) {
    case kCpp: ParseOutlineCpp(doc, list); break;
    case kPlsql: ParseOutlinePlsql(doc, list); break;
    case kJava: ParseOutlineJava(doc, list); break;
    case kCobol: ParseOutlineCobol(doc, list); break;
    case kAsm: ParseOutlineAsm(doc, list); break;
    case kPerl: ParseOutlinePerl(doc, list); break;
    case kVisualBasic: ParseOutlineVb(doc, list); break;
    case kWzText: ParseOutlineWzText(doc, list); break;
    case kHtml: ParseOutlineHtml(doc, list); break;
    case kTex: ParseOutlineTex(doc, list); break;
    case kRuleFile: ParseOutlineByRules(doc, list); break;
    case kBookmarks: ParseOutlineBookmarks(doc, list); break;
    default: ParseOutlineText(doc, list); break;
  }
}
