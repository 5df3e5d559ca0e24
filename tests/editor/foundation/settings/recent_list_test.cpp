#include "editor/foundation/settings/recent_list.h"

#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/settings/recent_menus.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"

namespace {

class RecordingDrawer : public IMenuDrawer {
 public:
  struct Item {
    UINT id;
    std::string text;
    int icon;
  };
  bool MyAppendMenu(HMENU menu, UINT flags, uintptr_t id, const char* text, bool, int iconCommand) override {
    items.push_back({static_cast<UINT>(id), text, iconCommand});
    return AppendMenu(menu, flags, id, text);
  }
  bool IsMenuIconOn() const override { return iconsOn; }
  std::vector<Item> items;
  bool iconsOn = true;
};

class RecentListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
  }
  RecentFileRecord File(const char* path, int code = 0) {
    RecentFileRecord r = kEmptyRecentFileRecord;
    std::strcpy(r.szPath, path);
    r.nCharCode = code;
    return r;
  }
  static bool AddFile(CRecentFileMenu& menu, const char* path, int code = 0) {
    RecentFileRecord r = kEmptyRecentFileRecord;
    std::strcpy(r.szPath, path);
    r.nCharCode = code;
    return menu.AddRecord(&r);
  }
  const ScopedNamedObjects names{"CShareData-test-recent"};
  std::unique_ptr<SharedSettings> record;
  CShareData share;
};

TEST_F(RecentListTest, BindingsPointAtTheRecordsArrays) {
  struct Case {
    int type;
    size_t array;
    size_t count;
    int capacity;
  } const cases[] = {
      {0, offsetof(SharedSettings, RecentFiles), offsetof(SharedSettings, nRecentFileCount), 36},
      {1, offsetof(SharedSettings, szRecentFolders), offsetof(SharedSettings, nRecentFolderCount), 36},
      {2, offsetof(SharedSettings, szSearchKeys), offsetof(SharedSettings, nSearchKeyCount), 30},
      {3, offsetof(SharedSettings, szReplaceKeys), offsetof(SharedSettings, nReplaceKeyCount), 30},
      {4, offsetof(SharedSettings, szGrepFiles), offsetof(SharedSettings, nGrepFileCount), 30},
      {5, offsetof(SharedSettings, szGrepFolders), offsetof(SharedSettings, nGrepFolderCount), 30},
      {6, offsetof(SharedSettings, szCmdArr), offsetof(SharedSettings, nCmdArrNum), 32},
      {7, offsetof(SharedSettings, EditWindowList), offsetof(SharedSettings, nEditWindowCount), 256},
      {8, offsetof(SharedSettings, szTagJumpKeywords), offsetof(SharedSettings, nTagJumpKeywordCount), 30},
  };
  const std::vector<size_t> expectedArrays = {170636, 255780, 273504, 281308, 289112, 296916, 323044, 34396, 1754972};
  for (const Case& c : cases) {
    EXPECT_EQ(c.array, expectedArrays[c.type]) << c.type;
    CRecentList list;
    ASSERT_TRUE(list.BindToShareData(record.get(), c.type)) << c.type;
    EXPECT_EQ(list.GetCapacity(), c.capacity);
    // The count the list reads is the record's own int at that offset.
    auto* count = reinterpret_cast<int32_t*>(reinterpret_cast<char*>(record.get()) + c.count);
    *count = 1;
    EXPECT_EQ(list.GetItem(0), reinterpret_cast<char*>(record.get()) + c.array) << c.type;
    *count = 0;
  }
  CRecentList list;
  EXPECT_FALSE(list.BindToShareData(record.get(), 9));
  EXPECT_FALSE(list.BindToShareData(nullptr, 0));
}

TEST_F(RecentListTest, PathsCompareExactlyAndReusedItemsMoveToTop) {
  CRecentFileMenu files(&share);
  ASSERT_TRUE(AddFile(files, "/w/a.txt"));
  ASSERT_TRUE(AddFile(files, "/w/B.txt"));
  ASSERT_TRUE(AddFile(files, "/w/b.txt"));  // another file on this system
  EXPECT_EQ(files.GetCount(), 3);
  RecentFileRecord r = File("/w/a.txt", 4);
  r.nY = 77;
  ASSERT_TRUE(files.AddRecord(&r));
  EXPECT_EQ(files.GetCount(), 3);
  RecentFileRecord out{};
  ASSERT_TRUE(files.GetRecord(0, &out));
  EXPECT_STREQ(out.szPath, "/w/a.txt");
  EXPECT_EQ(out.nY, 77);
  EXPECT_TRUE(files.GetRecordByPath("/w/B.txt", &out));
  EXPECT_FALSE(files.GetRecordByPath("/W/A.TXT", &out));
  // The folder went to the recent folders once.
  CRecentFolderMenu folders(&share);
  EXPECT_EQ(folders.List().GetCount(), 1);
  EXPECT_STREQ(folders.GetPath(0), "/w/");

  // Grep patterns still ignore case.
  CRecentList patterns;
  patterns.BindToShareData(record.get(), CRecentList::kGrepFiles);
  ASSERT_TRUE(patterns.AppendItem("*.CPP"));
  ASSERT_TRUE(patterns.AppendItem("*.cpp"));
  EXPECT_EQ(patterns.GetCount(), 2);  // "*.*" and the pattern
  EXPECT_STREQ(patterns.GetItem(0), "*.cpp");
}

TEST_F(RecentListTest, FullListDropsTheLastNonFavourite) {
  CRecentList keys;
  keys.BindToShareData(record.get(), CRecentList::kSearchKeys);
  for (int i = 0; i < 30; ++i) ASSERT_TRUE(keys.AppendItem(std::to_string(i).c_str()));
  ASSERT_TRUE(keys.AppendItem("new"));
  EXPECT_EQ(keys.GetCount(), 30);
  EXPECT_STREQ(keys.GetItem(0), "new");
  EXPECT_STREQ(keys.GetItem(29), "1");  // "0" fell off

  // Search keys have no favourites; recent folders do.
  EXPECT_FALSE(keys.SetFavorite(0, true));
  CRecentList folders;
  folders.BindToShareData(record.get(), CRecentList::kRecentFolders);
  record->Common.nOPENFOLDERArrNum_MAX = 36;
  for (int i = 0; i < 36; ++i) {
    ASSERT_TRUE(folders.AppendItem(("/f" + std::to_string(i)).c_str()));
  }
  for (int i = 0; i < 36; ++i) folders.SetFavorite(i, true);
  EXPECT_FALSE(folders.AppendItem("/g"));
  EXPECT_EQ(folders.FindItem("/g"), -1);
  folders.SetFavorite(20, false);
  const std::string dropped = folders.GetItem(20);
  EXPECT_TRUE(folders.AppendItem("/g"));
  EXPECT_EQ(folders.FindItem(dropped.c_str()), -1);
}

TEST_F(RecentListTest, FavouritesClimbIntoTheVisibleRange) {
  CRecentFolderMenu menu(&share);
  CRecentList& list = menu.List();
  for (int i = 0; i < 10; ++i) list.AppendItem(("/d" + std::to_string(i)).c_str());
  // "/d0" is at position 9.
  ASSERT_STREQ(list.GetItem(9), "/d0");
  list.SetFavorite(9, true);
  ASSERT_TRUE(list.KeepFavoritesVisible(5));
  const int at = list.FindItem("/d0");
  EXPECT_LE(at, 4);
  EXPECT_TRUE(list.IsFavorite(at));
  list.AppendItem("/new");
  EXPECT_LE(list.FindItem("/d0"), 4);
  EXPECT_EQ(record->Common.nOPENFOLDERArrNum_MAX, 5);
  EXPECT_FALSE(list.KeepFavoritesVisible(37));
  EXPECT_FALSE(list.KeepFavoritesVisible(-1));
}

TEST_F(RecentListTest, PathsThatDoNotFitAreRefusedOtherTextsCutOnAWholeCharacter) {
  CRecentFolderMenu folders(&share);
  const std::string longPath = "/" + std::string(259, 'p');
  EXPECT_FALSE(folders.AddFolder(longPath.c_str()));
  EXPECT_EQ(folders.List().GetCount(), 0);
  EXPECT_TRUE(folders.AddFolder(longPath.substr(0, 259).c_str()));

  CRecentList keys;
  keys.BindToShareData(record.get(), CRecentList::kSearchKeys);
  std::string text(258, 'k');
  text += "漢"_sj;  // the double-byte character would straddle the slot's end
  ASSERT_TRUE(keys.AppendItem(text.c_str()));
  EXPECT_EQ(std::strlen(keys.GetItem(0)), 258u);
}

TEST_F(RecentListTest, HostileCountsAreClamped) {
  record->nRecentFolderCount = 9999;
  record->Common.nOPENFOLDERArrNum_MAX = -4;
  CRecentList list;
  // A visible maximum out of range refuses the binding...
  EXPECT_FALSE(list.BindToShareData(record.get(), CRecentList::kRecentFolders));
  record->Common.nOPENFOLDERArrNum_MAX = 3;
  ASSERT_TRUE(list.BindToShareData(record.get(), CRecentList::kRecentFolders));
  // ...and a count beyond the capacity is cut back before anything walks it.
  EXPECT_EQ(list.GetCount(), 36);
  EXPECT_EQ(record->nRecentFolderCount, 36);
  record->nSearchKeyCount = -5;
  CRecentList keys;
  keys.BindToShareData(record.get(), CRecentList::kSearchKeys);
  EXPECT_EQ(keys.GetCount(), 0);
  EXPECT_EQ(keys.GetItem(0), nullptr);
}

TEST_F(RecentListTest, PopupTexts) {
  record->Common.nMRUArrNum_MAX = 15;
  CRecentFileMenu files(&share);
  for (int i = 11; i >= 0; --i) {
    std::string path = "/p/f" + std::to_string(i);
    if (i == 1) path = "/p/a&b";
    AddFile(files, path.c_str(), i == 2 ? 4 : 0);
  }
  files.List().SetFavorite(3, true);
  RecordingDrawer drawer;
  HMENU popup = files.CreatePopup(drawer);
  ASSERT_EQ(drawer.items.size(), 12u);
  EXPECT_EQ(drawer.items[0].text, "&0 /p/f0");
  EXPECT_EQ(drawer.items[0].id, 11000u);
  EXPECT_EQ(drawer.items[1].text, "&1 /p/a&&b");
  EXPECT_EQ(drawer.items[2].text, "&2 /p/f2  [UTF-8]");
  EXPECT_EQ(drawer.items[3].icon, 31113);
  EXPECT_EQ(drawer.items[10].text, "&A /p/f10");
  EXPECT_EQ(GetMenuItemCount(popup), 12);
  DestroyMenu(popup);

  drawer.items.clear();
  drawer.iconsOn = false;
  DestroyMenu(files.CreatePopup(drawer));
  EXPECT_EQ(drawer.items[3].text, std::string("&3 ") + "★ "_sj + "/p/f3");

  // A visible maximum of 0 shows nothing; the list keeps its items.
  record->Common.nOPENFOLDERArrNum_MAX = 0;
  CRecentFolderMenu folders(&share);
  drawer.items.clear();
  HMENU empty = folders.CreatePopup(drawer);
  EXPECT_EQ(GetMenuItemCount(empty), 0);
  EXPECT_EQ(folders.List().GetCount(), 1);
  DestroyMenu(empty);
}

}  // namespace
