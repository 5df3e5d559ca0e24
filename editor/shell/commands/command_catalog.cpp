#include "editor/shell/commands/command_catalog.h"

#include <cstring>
#include <span>

#include "editor/foundation/text/sjis_char.h"
#include "editor/view/commands/command_display_names.h"
#include "platform/sjis_literal.h"
#include "platform/string_resource.h"

namespace {

constexpr int kFile[] = {30101, 30102, 30108, 30103, 30104, 30120, 30105, 30107, 31320, 30109, 30119,
                         30111, 30112, 30113, 30114, 30117, 30115, 30116, 30150, 30151, 30152, 30162,
                         30160, 30161, 30170, 30171, 30180, 30185, 30190, 31321, 30195};
constexpr int kEdit[] = {30210, 30211, 30221, 30222, 30230, 30231, 30232, 30233, 30240, 30241, 30242, 30243, 30244,
                         30245, 30250, 30260, 30261, 30262, 30263, 30280, 30281, 30282, 30283, 30284, 30285};
constexpr int kCaret[] = {30311, 30312, 30313, 30314, 30315, 30316, 30320, 30321, 30332, 30333, 30340, 30341, 30342,
                          30343, 30350, 30351, 30360, 30920, 30909, 30370, 30371, 30372, 30380, 30381, 30382, 30383};
constexpr int kSelect[] = {30400, 30401, 30410, 30411, 30412, 30413, 30414, 30415, 30416, 30420, 30421,
                           30432, 30433, 30440, 30441, 30442, 30443, 30450, 30451, 30482, 30483};
constexpr int kBox[] = {30510};
constexpr int kClipboard[] = {30601, 30602, 30608, 30603, 30604, 30605, 30610,
                              30611, 30612, 30622, 30620, 30621, 30630};
constexpr int kInsert[] = {30790, 30791, 30792};
constexpr int kConvert[] = {30800, 30801, 30810, 30817, 30815, 30816, 30811, 30812, 30813, 30814, 30830, 30831, 30850,
                            30851, 30852, 30853, 30856, 30854, 30855, 30860, 30861, 30862, 30863, 30870, 30880};
constexpr int kSearch[] = {30901, 30908, 30902, 30903, 30904, 30905, 30909, 30910, 30920, 30930, 30931, 30940,
                           30945, 30941, 30943, 30944, 30946, 30950, 30976, 30978, 30979, 30980, 30960, 30970,
                           30971, 30972, 30973, 30974, 30981, 30982, 30983, 30984, 30985, 30986};
constexpr int kMode[] = {31001, 31081, 31082, 31083, 31099};
constexpr int kSettings[] = {31100, 31101, 31103, 31102, 31110, 31111, 31112, 31120, 31140, 30152, 31113};
constexpr int kMacro[] = {31250, 31251, 31252, 31253, 31270};
constexpr int kWindow[] = {31310, 31311, 31312, 31320, 31321, 31340, 31341, 31336, 31333,
                           31330, 31331, 31332, 31334, 31350, 31352, 31351, 31360, 31370};
constexpr int kSupport[] = {31430, 31440, 31441, 31445, 31450, 31451, 31455};
constexpr int kOther[] = {0};

struct Category {
  const char* name;
  std::span<const int> ids;
};

const Category kCategories[CCommandCatalog::kCategoryCount] = {
    {"ファイル操作系"_sj, kFile},   {"編集系"_sj, kEdit},        {"カーソル移動系"_sj, kCaret},
    {"選択系"_sj, kSelect},         {"矩形選択系"_sj, kBox},     {"クリップボード系"_sj, kClipboard},
    {"挿入系"_sj, kInsert},         {"変換系"_sj, kConvert},     {"検索系"_sj, kSearch},
    {"モード切り替え系"_sj, kMode}, {"設定系"_sj, kSettings},    {"マクロ系"_sj, kMacro},
    {"ウィンドウ系"_sj, kWindow},   {"支援"_sj, kSupport},       {"その他"_sj, kOther},
    {"外部マクロ"_sj, {}},          {"カスタムメニュー"_sj, {}},
};

constexpr int kMacroFirstId = 31600;
constexpr int kCustomMenuRightClickId = 31580;
constexpr int kCustomMenuBaseId = 31500;

// Copies text cut to size - 1 bytes on a whole character; true when something was copied.
bool CopyName(const char* text, size_t limit, char* buffer, int size) {
  if (!buffer || size < 1) return false;
  const int n = WholeCharsPrefixLength(text, static_cast<int>(strnlen(text, limit)), size - 1);
  std::memcpy(buffer, text, n);
  buffer[n] = '\0';
  return n > 0;
}

bool LoadResourceName(int id, char* buffer, int size) {
  RegisterCommandDisplayNames();
  if (!buffer || size < 1) return false;
  return LoadString(nullptr, static_cast<UINT>(id), buffer, size) > 0;
}

}  // namespace

const char* CCommandCatalog::GetCategoryName(int category) {
  return category >= 0 && category < kCategoryCount ? kCategories[category].name : nullptr;
}

int CCommandCatalog::GetCategorySize(int category) {
  if (category == kMacroCategory) return kMacroSlots;
  if (category == kCustomMenuCategory) return kCustomMenuCount;
  if (category < 0 || category >= kCategoryCount) return 0;
  return static_cast<int>(kCategories[category].ids.size());
}

int CCommandCatalog::GetCommandId(int category, int index) const {
  if (index < 0 || index >= GetCategorySize(category)) return 0;
  if (category == kMacroCategory)
    return m_pShareData && m_pShareData->MacroSlots[index].File[0] != '\0' ? kMacroFirstId + index : 0;
  if (category == kCustomMenuCategory) return index == 0 ? kCustomMenuRightClickId : kCustomMenuBaseId + index;
  return kCategories[category].ids[index];
}

bool CCommandCatalog::GetCommandNameAt(int category, int index, char* buffer, int size) const {
  if (category == kMacroCategory || category == kCustomMenuCategory) {
    if (index < 0 || index >= GetCategorySize(category)) return false;
    const int id = category == kMacroCategory ? kMacroFirstId + index
                                              : (index == 0 ? kCustomMenuRightClickId : kCustomMenuBaseId + index);
    return GetCommandName(id, buffer, size);
  }
  return LoadResourceName(GetCommandId(category, index), buffer, size);
}

bool CCommandCatalog::GetCommandName(int commandId, char* buffer, int size) const {
  if (commandId >= kMacroFirstId && commandId < kMacroFirstId + kMacroSlots) {
    if (buffer && size > 0) buffer[0] = '\0';
    if (!m_pShareData) return false;
    const MacroSlotRecord& slot = m_pShareData->MacroSlots[commandId - kMacroFirstId];
    if (slot.File[0] == '\0') return false;
    return slot.Name[0] != '\0' ? CopyName(slot.Name, sizeof slot.Name, buffer, size)
                                : CopyName(slot.File, sizeof slot.File, buffer, size);
  }
  int menu = -1;
  if (commandId == kCustomMenuRightClickId)
    menu = 0;
  else if (commandId > kCustomMenuBaseId && commandId < kCustomMenuBaseId + kCustomMenuCount)
    menu = commandId - kCustomMenuBaseId;
  if (menu >= 0) {
    if (buffer && size > 0) buffer[0] = '\0';
    return m_pShareData &&
           CopyName(m_pShareData->Common.szCMN[menu], sizeof m_pShareData->Common.szCMN[menu], buffer, size);
  }
  return LoadResourceName(commandId, buffer, size);
}

std::vector<std::string> CCommandCatalog::CategoryComboTexts() {
  std::vector<std::string> texts;
  for (const Category& c : kCategories) texts.emplace_back(c.name);
  return texts;
}

std::vector<std::string> CCommandCatalog::CommandListTexts(int category) const {
  std::vector<std::string> texts;
  char name[256];
  for (int i = 0; i < GetCategorySize(category); ++i) {
    if (GetCommandNameAt(category, i, name, sizeof name))
      texts.emplace_back(name);
    else if (category == kMacroCategory)
      texts.emplace_back("unavailable");
    else if (category == kCustomMenuCategory)
      texts.emplace_back("");
    else
      texts.emplace_back("--未定義--"_sj);
  }
  return texts;
}
