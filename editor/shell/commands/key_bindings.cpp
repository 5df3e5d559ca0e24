#include "editor/shell/commands/key_bindings.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "editor/shell/commands/command_catalog.h"
#include "editor/view/commands/command_display_names.h"
#include "editor/view/commands/command_table.h"
#include "platform/sjis_literal.h"
#include "platform/string_resource.h"

namespace {

constexpr int kModifierCombinations = 8;

// Counts come from the shared record: never walk past its slots.
int ClampCount(int n) { return n < 0 ? 0 : (n > kKeyAssignSlots ? kKeyAssignSlots : n); }

std::string KeyText(const KeyAssignRecord& record, int m) {
  std::string text;
  if (m & 1) text += "Shift+";
  if (m & 2) text += "Ctrl+";
  if (m & 4) text += "Alt+";
  text.append(record.szKeyName, strnlen(record.szKeyName, sizeof record.szKeyName));
  return text;
}

template <typename Visit>
void ForEachBinding(int n, const KeyAssignRecord* records, int nFuncId, Visit visit) {
  if (!records) return;
  n = ClampCount(n);
  for (int m = 0; m < kModifierCombinations; ++m)
    for (int i = 0; i < n; ++i)
      if (records[i].nCommands[m] == nFuncId && !visit(records[i], m)) return;
}

}  // namespace

HACCEL CreateKeyAccelerators(int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr) {
  if (!pKeyNameArr) return nullptr;
  std::vector<ACCEL> accels;
  const int n = ClampCount(nKeyNameArrNum);
  for (int i = 0; i < n; ++i) {
    const KeyAssignRecord& r = pKeyNameArr[i];
    if (r.nKeyCode == 0) continue;
    for (int m = 0; m < kModifierCombinations; ++m) {
      if (r.nCommands[m] == 0) continue;
      ACCEL a{};
      a.fVirt = FVIRTKEY | FNOINVERT | ((m & 1) ? FSHIFT : 0) | ((m & 2) ? FCONTROL : 0) | ((m & 4) ? FALT : 0);
      a.key = r.nKeyCode;
      a.cmd = static_cast<uint16_t>(m * 256 + r.nKeyCode);
      accels.push_back(a);
    }
  }
  return CreateAcceleratorTable(accels.data(), static_cast<int>(accels.size()));
}

int FindKeyCommand(int nAccelCmd, int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr) {
  if (!pKeyNameArr) return 0;
  const int key = nAccelCmd & 0xFF;
  const int m = (nAccelCmd >> 8) & 0xFF;
  if (m >= kModifierCombinations) return 0;
  const int n = ClampCount(nKeyNameArrNum);
  for (int i = 0; i < n; ++i)
    if (pKeyNameArr[i].nKeyCode == key) return pKeyNameArr[i].nCommands[m];
  return 0;
}

int MakeKeyAssignList(HINSTANCE hInstance, int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, CMemory& cMemList,
                      const CCommandCatalog* pcCatalog) {
  cMemList.AssignString("キー\t機能名\t関数名\t機能番号\tキーマクロ記録可/不可"_sj);
  cMemList.AppendString("\r\n-----\t-----\t-----\t-----\t-----\r\n");
  if (!pKeyNameArr) return 0;
  RegisterCommandDisplayNames();
  int lines = 0;
  const int n = ClampCount(nKeyNameArrNum);
  for (int m = 0; m < kModifierCombinations; ++m) {
    for (int i = 0; i < n; ++i) {
      const int id = pKeyNameArr[i].nCommands[m];
      if (id == 0) continue;
      std::string line = KeyText(pKeyNameArr[i], m);
      char display[256] = "";
      const bool named = pcCatalog ? pcCatalog->GetCommandName(id, display, sizeof display)
                                   : LoadString(hInstance, static_cast<UINT>(id), display, sizeof display) > 0;
      line += '\t';
      line += named ? display : "---名前が定義されていない-----"_sj;
      char macroName[256] = "";
      GetMacroFuncName(id, macroName, sizeof macroName);
      line += '\t';
      line += macroName;
      char number[16];
      std::snprintf(number, sizeof number, "\t%d\t", id);
      line += number;
      line += IsRecordableCommand(id) ? "○"_sj : "×"_sj;
      line += "\r\n";
      cMemList.AppendString(line.c_str());
      ++lines;
    }
  }
  return lines;
}

bool GetKeyNameForCommand(int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, CMemory& cMemList, int nFuncId) {
  bool found = false;
  ForEachBinding(nKeyNameArrNum, pKeyNameArr, nFuncId, [&](const KeyAssignRecord& r, int m) {
    cMemList.AssignString(KeyText(r, m).c_str());
    found = true;
    return false;
  });
  return found;
}

int GetAllKeyNamesForCommand(int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, std::vector<std::string>& names,
                             int nFuncId) {
  names.clear();
  ForEachBinding(nKeyNameArrNum, pKeyNameArr, nFuncId, [&](const KeyAssignRecord& r, int m) {
    names.push_back(KeyText(r, m));
    return true;
  });
  return static_cast<int>(names.size());
}

void GetMenuLabelWithKey(HINSTANCE hInstance, int nKeyNameArrNum, const KeyAssignRecord* pKeyNameArr, int nFuncId,
                         std::string& label, bool bGetKeyStr) {
  if (label.empty()) {
    label = "-- undefined name --";
    RegisterCommandDisplayNames();
    char display[256];
    if (LoadString(hInstance, static_cast<UINT>(nFuncId), display, sizeof display) > 0) label = display;
  }
  if (!bGetKeyStr) return;
  if (nFuncId < 10000 || nFuncId > 12999) label += '\t';
  CMemory key;
  if (GetKeyNameForCommand(nKeyNameArrNum, pKeyNameArr, key, nFuncId)) label.append(key.View());
}
