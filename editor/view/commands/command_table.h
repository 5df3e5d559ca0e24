// The commands that macros and settings files may name: each command's number, macro name and the
// types of its arguments and result. The two tables are constant, in display order, and each ends
// with a row whose id is -1; lookups walk them.
#pragma once

#include <cstdint>

// Argument and result types, numbered as the script engines number their variant types.
constexpr uint16_t kVtEmpty = 0;
constexpr uint16_t kVtInt = 3;
constexpr uint16_t kVtText = 8;

struct MacroFuncInfo {
  int32_t m_nFuncID;
  const char* m_pszFuncName;
  uint16_t m_varArguments[4];
  uint16_t m_varResult;
  uint16_t m_reserved;
};

extern const MacroFuncInfo m_MacroFuncInfoArr[];            // the commands: 236 rows and the end row
extern const MacroFuncInfo m_MacroFuncInfoNotCommandArr[];  // the functions: 16 rows and the end row

class CMacro {
 public:
  // The command row, else the function row, of an id; null when neither has one.
  static const MacroFuncInfo* GetFuncInfoByID(int nFuncID);
};

// The macro name of an id into pszFuncName (at most nFuncNameSize - 1 bytes); with pszFuncNameJapanese
// also the display name (at most 255 bytes, empty without one). Null when the id has no row.
char* GetMacroFuncName(int nFuncID, char* pszFuncName, int nFuncNameSize, char* pszFuncNameJapanese = nullptr);

// The command id of a macro name ("S_" in front is allowed; case matters); -1 when none. Functions
// are not looked up. With pszFuncNameJapanese also the display name (at most 255 bytes).
int GetMacroFuncIdByName(const char* pszFuncName, char* pszFuncNameJapanese = nullptr);

// Whether a key macro records the command.
bool IsRecordableCommand(int nFuncID);
