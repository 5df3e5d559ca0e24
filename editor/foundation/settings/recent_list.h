// A most-recently-used view over one history array of the shared record: item 0 is the newest,
// favourites survive, a re-used item moves to the top. The view only points into the record;
// every count it finds there is clamped before it is used, since another process may write it.
#pragma once

#include <cstdint>

#include "editor/foundation/settings/shared_settings.h"

class CRecentList {
 public:
  enum ListType {
    kRecentFiles = 0,
    kRecentFolders = 1,
    kSearchKeys = 2,
    kReplaceKeys = 3,
    kGrepFiles = 4,
    kGrepFolders = 5,
    kCommands = 6,
    kEditWindows = 7,
    kTagJumpKeywords = 8,
  };

  CRecentList() = default;

  bool BindToShareData(SharedSettings* settings, int type);
  bool Create(char* array, int32_t* count, uint8_t* favorites, int capacity, int32_t* visibleMax, int itemSize,
              int keyOffset, int keyLength, int compareMode);
  void Reset();
  bool IsValid();

  int GetCount();
  int GetCapacity() const { return m_nCapacity; }
  int GetVisibleMax();
  char* GetItem(int i);
  char* GetItemKey(int i);
  int FindItem(const char* key);
  // A whole item of the list's size; for text lists a text. A path list refuses a path that does
  // not fit its slot; other texts are cut on a whole character.
  bool AppendItem(const char* item);
  bool DeleteItem(int i);
  bool DeleteAll();
  bool MoveItem(int from, int to);
  bool CopyItem(int source, int target);
  bool ZeroItem(int i);
  bool SetFavorite(int i, bool flag);
  bool IsFavorite(int i);
  int FindLastWithFavorite(int start, bool flag);
  bool KeepFavoritesVisible(int visibleMax);
  bool ApplyVisibleMax();

 private:
  bool Matches(const char* itemKey, const char* key) const;
  void WriteItem(int slot, const char* item);

  SharedSettings* m_pShareData = nullptr;
  bool m_bBound = false;
  int m_nCapacity = 0;
  int m_nItemSize = 0;
  int m_nKeyOffset = 0;
  int m_nKeyLength = 0;
  int m_nCompareMode = 0;
  bool m_bPathList = false;
  char* m_pArray = nullptr;
  int32_t* m_pCount = nullptr;
  int32_t* m_pVisibleMax = nullptr;
  uint8_t* m_pFavorites = nullptr;
};
