// The commands a user can assign, ordered into 17 categories for the settings pages, the command
// list and the menus. Categories 15 (the external macro slots) and 16 (the custom menus) take their
// entries and names from the shared settings.
#pragma once

#include <string>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"

class CCommandCatalog {
 public:
  static constexpr int kCategoryCount = 17;
  static constexpr int kMacroCategory = 15;
  static constexpr int kCustomMenuCategory = 16;

  explicit CCommandCatalog(const SharedSettings* settings) : m_pShareData(settings) {}

  // Null for an index outside 0-16.
  static const char* GetCategoryName(int category);
  static int GetCategorySize(int category);
  int GetCommandId(int category, int index) const;
  // The display name into buffer (at most size - 1 bytes, terminated); true when it is not empty.
  bool GetCommandNameAt(int category, int index, char* buffer, int size) const;
  bool GetCommandName(int commandId, char* buffer, int size) const;

  // The texts a category combo box and a command list box show.
  static std::vector<std::string> CategoryComboTexts();
  std::vector<std::string> CommandListTexts(int category) const;

 private:
  const SharedSettings* m_pShareData;
};
