#include "game/system/system_menu.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "game/app/config.h"
#include "game/app/frame_input.h"
#include "game/app/frame_scale.h"
#include "game/app/run_state.h"
#include "game/app/script_app.h"
#include "game/script/engine_state.h"
#include "game/sound/sound_channels.h"
#include "game/stage/image_cache.h"
#include "game/stage/picture_layers.h"
#include "game/system/file_utils.h"
#include "game/system/game_menu_refresh.h"
#include "game/system/save_file.h"
#include "game/system/save_thumbnail.h"
#include "game/text/backlog.h"
#include "game/text/cursor_prompt.h"
#include "game/text/fixed_text.h"
#include "game/text/full_width.h"
#include "game/text/message_window.h"
#include "game/text/text_box.h"
#include "game/text/tool_tip.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "platform/win_types.h"
#include "sdk/framework/window_application.h"

namespace {

// The screens are laid out for an 800-pixel-wide picture whatever the window's size.
constexpr int32_t kLayoutWidth = 800;
constexpr int kPageTextBox = 9;
constexpr int kFirstCaptionBox = 3;
constexpr int kClickSound = 4;
constexpr int kButtonSound = 7;
constexpr int32_t kCoolDownAt60 = 20;
constexpr int32_t kWindowOpen = 1;
constexpr int kOpaque = 256;
constexpr int kCaptionBytes = 256;  // the message text at the head of a save

// Slot i of a page: two columns, three rows.
constexpr int32_t SlotX(int i) { return 106 + 334 * (i % 2); }
constexpr int32_t SlotY(int i) { return 91 + 119 * (i / 2); }

struct Size {
  int32_t width = 0;
  int32_t height = 0;
};

// A picture that could not be loaded takes no room.
Size SizeOf(const CMemPlane* image) {
  Size size;
  if (image) image->GetSize(&size.width, &size.height);
  return size;
}

bool CursorIn(int32_t left, int32_t top, int32_t width, int32_t height) {
  const int64_t cx = FrameInput.cursorX;
  const int64_t cy = FrameInput.cursorY;
  return left < cx && cx < int64_t{left} + width && top < cy && cy < int64_t{top} + height;
}

void Draw(CMemPlane* image, int32_t x, int32_t y) {
  if (image) DrawSprite(image, x, y, kOpaque, 0, 1);
}

bool AskQuit() {
  return platform::MessageBox(GetAppWindowHandle(), "本当に終了しますか？"_sj, "確認"_sj, MB_YESNO) == IDYES;
}

int32_t ClampedPage(int32_t page) { return std::clamp(page, 0, kSavePages - 1); }

void SetDisplayWindowed(bool windowed) {
  Config.windowMode = windowed;
  if (RunningScriptApp) RunningScriptApp->SetDisplayMode(!windowed);
  RefreshGameMenu();
}

// "yyyy/mm/dd hh:mm<BR>" and the message at the head of the save; the empty slot's text when there
// is no save, and a slot that cannot be read says so: shown empty, a save would replace it unseen.
std::string SlotCaption(const std::string& savePath, bool& found) {
  std::unique_ptr<FileTimeRecord> record = OpenFileKeepTimes(savePath);
  found = record != nullptr;
  if (!record) {
    if (FileExists(savePath)) return "----/--/-- --:--<BR><BR><BR>読み込めないデータ<HR>"_sj;
    return "0000/00/00 00:00<BR><BR><BR>NO DATA<HR>";
  }
  unsigned char head[kCaptionBytes] = {};
  const size_t got = record->file.ReadSome(0, head);
  const std::string_view read(reinterpret_cast<const char*>(head), got);
  const std::string_view text = read.substr(0, read.find('\0'));
  const std::string message(text.substr(0, SjisFitLength(text, kCaptionBytes - 1)));
  const int64_t writeNs = record->writeNs;
  CloseFileRestoreTimes(std::move(record));
  std::tm local{};
  if (!LocalTimeOfNs(writeNs, &local)) local = {};
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%02d/%02d/%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                local.tm_hour, local.tm_min);
  return std::string(stamp) + "<BR>" + message + "<HR>";
}

struct Slider {
  int32_t* value;
  int32_t x;
  int32_t y;
  bool sound;  // the volumes take effect at once
};

struct Switch {
  bool* value;
  int32_t onX;
  int32_t offX;
  int32_t y;
  const char* onTip;
  const char* offTip;
  bool sound;
};

}  // namespace

CSystemMenu::CSystemMenu()
    : m_saveTab(LoadImageShared("cg\\system_save.png", 100)),
      m_loadTab(LoadImageShared("cg\\system_load.png", 100)),
      m_bar(LoadImageShared("cg\\system_bar.png", 100)),
      m_onOver(LoadImageShared("cg\\system_onover.png", 100)),
      m_onSelect(LoadImageShared("cg\\system_onSelect.png", 100)),
      m_offOver(LoadImageShared("cg\\system_offOVer.png", 100)),
      m_offSelect(LoadImageShared("cg\\system_offSelect.png", 100)),
      m_right(LoadImageShared("cg\\system_right.png", 100)),
      m_left(LoadImageShared("cg\\system_left.png", 100)),
      m_rightOver(LoadImageShared("cg\\system_right_over.png", 100)),
      m_leftOver(LoadImageShared("cg\\system_left_over.png", 100)),
      m_backToGame(LoadImageShared(Config.backToGameButton.file, 100)),
      m_backToTitle(LoadImageShared(Config.backToTitleButton.file, 100)),
      m_windowMode(LoadImageShared(Config.windowModeButton.file, 100)),
      m_fullScreenMode(LoadImageShared(Config.fullScreenModeButton.file, 100)),
      m_quit(LoadImageShared(Config.quitButton.file, 100)),
      m_auto(LoadImageShared(Config.autoButton.file, 100)),
      m_skip(LoadImageShared(Config.skipButton.file, 100)),
      m_backlog(LoadImageShared(Config.backlogButton.file, 100)),
      m_quickSave(LoadImageShared(Config.quickSaveButton.file, 100)),
      m_quickLoad(LoadImageShared(Config.quickLoadButton.file, 100)),
      m_system(LoadImageShared(Config.systemButton.file, 100)) {
  CreateTextBox(kPageTextBox, 16, RGB(128, 128, 128), RGB(192, 192, 192), 0);
  for (int i = 0; i < kSlotsPerPage; ++i) CreateTextBox(kFirstCaptionBox + i, 10, RGB(0, 0, 0), RGB(128, 128, 128), 0);
}

CSystemMenu::~CSystemMenu() = default;

const CMemPlane* CSystemMenu::SlotThumbnail(int slot) const {
  return slot >= 0 && slot < kSlotsPerPage ? m_thumbnails[static_cast<size_t>(slot)].get() : nullptr;
}

bool CSystemMenu::Pressed() {
  if (!FrameInput.leftHeld || m_coolDown != 0) return false;
  m_coolDown = static_cast<int32_t>(kCoolDownAt60 / FrameScale());
  PlaySystemSe(kButtonSound);
  ResetInputEdges();
  AnswerPressUnderWay();
  return true;
}

bool CSystemMenu::Hit(bool inside, CMemPlane* image, int32_t drawX, int32_t drawY, const char* tip) {
  if (!inside) return false;
  Draw(image, drawX, drawY);
  SetCursorKind(1);
  if (tip && *tip && RunningScriptApp && RunningScriptApp->ToolTip()) {
    RunningScriptApp->ToolTip()->Show(tip, static_cast<float>(drawX), static_cast<float>(drawY));
  }
  return Pressed();
}

bool CSystemMenu::HitScreenButton(int32_t x, int32_t y, CMemPlane* image, const char* tip) {
  const Size size = SizeOf(image);
  return Hit(CursorIn(x, y, size.width, size.height), image, x, y, tip);
}

bool CSystemMenu::HitBarButton(int32_t x, int32_t y, int32_t width, int32_t height, CMemPlane* image, const char* tip) {
  // Hit where the window stands now; the hover picture goes where the window is configured to be.
  const int32_t drawX = static_cast<int32_t>(int64_t{Config.messageWindowX} + x);
  const int32_t drawY = static_cast<int32_t>(int64_t{Config.messageWindowY} + y);
  return Hit(HitWindowButton(x, y, width, height), image, drawX, drawY, tip);
}

bool CSystemMenu::CursorOverWindowButton() const {
  const std::pair<const ConfigButton*, const CMemPlane*> buttons[] = {
      {&Config.skipButton, m_skip.get()},           {&Config.autoButton, m_auto.get()},
      {&Config.quickSaveButton, m_quickSave.get()}, {&Config.quickLoadButton, m_quickLoad.get()},
      {&Config.backlogButton, m_backlog.get()},     {&Config.systemButton, m_system.get()},
  };
  for (const auto& [button, image] : buttons) {
    const Size size = SizeOf(image);
    if (HitWindowButton(button->x, button->y, size.width, size.height)) return true;
  }
  return false;
}

void CSystemMenu::OnFrame() {
  if (m_coolDown > 0) --m_coolDown;
  ReleaseClosedScreens();
  if (SaveScreenOpen || LoadScreenOpen) {
    SaveLoadScreen();
  } else if (SettingsScreenOpen) {
    SettingsScreen();
  } else {
    WindowButtons();
  }
}

// The screens may be closed from outside (back to title, a load, the window menu): what they held
// goes, and their captions leave the screen with them.
void CSystemMenu::ReleaseClosedScreens() {
  if (!SettingsScreenOpen) m_settingsBackground.reset();
  if (!SaveScreenOpen && !LoadScreenOpen && (m_screenBackground || m_shownPage != -1)) {
    ClearSlots();
    m_screenBackground.reset();
    m_noData.reset();
  }
}

void CSystemMenu::ClearSlots() {
  m_shownPage = -1;
  for (auto& thumbnail : m_thumbnails) thumbnail.reset();
  for (int box = kFirstCaptionBox; box <= kPageTextBox; ++box) HideTextBox(box);
}

void CSystemMenu::CloseAllScreens() {
  SaveScreenOpen = false;
  LoadScreenOpen = false;
  SettingsScreenOpen = false;
  // The next load screen is the player's own unless the script opens it again.
  LoadScreenByScript = false;
}

void CSystemMenu::SaveLoadScreen() {
  const bool loading = !SaveScreenOpen;
  if (!m_screenBackground || m_screenBackgroundIsLoad != loading) {
    m_screenBackground = LoadImageCached(loading ? Config.loadScreenFile : Config.saveScreenFile, 100);
    m_screenBackgroundIsLoad = loading;
    m_noData = LoadImageCached(Config.noDataFile, 100);
  }
  Draw(m_screenBackground.get(), 0, 0);
  const auto leave = [this](bool screensClose) {
    if (screensClose) CloseAllScreens();
    ClearSlots();
    m_screenBackground.reset();
  };

  if (HitScreenButton(Config.quitButton.x, Config.quitButton.y, m_quit.get(), nullptr) && AskQuit()) {
    QuitRequest = true;
  }
  if (!LoadScreenByScript && HitScreenButton(0, 0, m_saveTab.get(), nullptr)) {
    SaveScreenOpen = true;
    LoadScreenOpen = false;
    leave(false);
    return;
  }
  if (HitScreenButton(kLayoutWidth - SizeOf(m_loadTab.get()).width, 0, m_loadTab.get(), nullptr)) {
    LoadScreenOpen = true;
    SaveScreenOpen = false;
    leave(false);
    return;
  }
  if (HitScreenButton(Config.backToGameButton.x, Config.backToGameButton.y, m_backToGame.get(), nullptr)) {
    leave(true);
    ResetInputEdges();
    return;
  }
  if (FrameInput.rightHeld) SettingsScreenOpen = false;
  if (HitScreenButton(Config.backToTitleButton.x, Config.backToTitleButton.y, m_backToTitle.get(), nullptr)) {
    ReturnToTitle();
    leave(true);
    ResetInputEdges();
    return;
  }
  if (FrameInput.rightClick) {
    leave(true);
    ResetInputEdges();
    return;
  }

  // A page from the settings file may lie outside the hundred pages.
  int32_t& page = Config.savePage;
  page = ClampedPage(page);
  if (page != m_shownPage) {
    m_shownPage = page;
    UpdateSlots();
    char number[16];
    std::snprintf(number, sizeof number, "%03d", page + 1);
    SetTextBoxPos(kPageTextBox, 380, 40, 320, 32);
    SetTextBoxText(kPageTextBox, ToFullWidth(number));
    SetTextBoxProgress(kPageTextBox, kTextBoxShowAll);
  }

  const Size slotSize = SizeOf(m_noData.get());
  for (int i = 0; i < kSlotsPerPage; ++i) {
    const std::string path = SaveSlotPath(page * kSlotsPerPage + i);
    const bool exists = FileExists(path);
    // A save without a thumbnail it can show looks like an empty slot, but still loads.
    CMemPlane* thumbnail = exists ? m_thumbnails[static_cast<size_t>(i)].get() : nullptr;
    Draw(thumbnail ? thumbnail : m_noData.get(), SlotX(i), SlotY(i));
    if (!CursorIn(SlotX(i), SlotY(i), slotSize.width, slotSize.height)) continue;
    SetCursorKind(1);
    if (!FrameInput.click) continue;
    PlaySystemSe(kClickSound);
    if (!loading) {
      Save(path);
      m_shownPage = -1;
      ResetInputEdges();
      continue;
    }
    ResetInputEdges();
    if (exists) {
      leave(true);
      m_noData.reset();
      Load(path);
      return;
    }
  }

  if (FrameInput.scrollDown && page < kSavePages - 2) ++page;
  if (FrameInput.scrollUp && page > 0) --page;
  if (page > 0) {
    Draw(m_left.get(), 200, 36);
    if (HitScreenButton(200, 36, m_leftOver.get(), nullptr)) --page;
  }
  if (page < kSavePages - 1) {
    Draw(m_right.get(), 570, 36);
    if (HitScreenButton(570, 36, m_rightOver.get(), nullptr)) ++page;
  }
  page = ClampedPage(page);
}

void CSystemMenu::SettingsScreen() {
  if (!m_settingsBackground) m_settingsBackground = LoadImageCached(Config.systemBackgroundFile, 100);
  Draw(m_settingsBackground.get(), 0, 0);
  // The right button closes the screen, but the frame's buttons still answer the left one.
  if (FrameInput.rightHeld) {
    SettingsScreenOpen = false;
    ResetInputEdges();
  }

  const ConfigButton& title = Config.backToTitleButton;
  if (HitScreenButton(title.x, title.y, m_backToTitle.get(), "タイトルに戻ります"_sj)) {
    ReturnToTitle();
    SettingsScreenOpen = false;
    return;
  }
  const ConfigButton& game = Config.backToGameButton;
  if (HitScreenButton(game.x, game.y, m_backToGame.get(), "ゲームに戻ります。回想シーンの場合は回想を抜けます"_sj)) {
    SettingsScreenOpen = false;
    if (SceneReplay) ReturnToGame();
    return;
  }
  const ConfigButton& windowed = Config.windowModeButton;
  if (Config.windowMode) Draw(m_windowMode.get(), windowed.x, windowed.y);
  if (HitScreenButton(windowed.x, windowed.y, m_windowMode.get(), "画面をウィンドウモードに設定します"_sj) &&
      !Config.windowMode) {
    SetDisplayWindowed(true);
  }
  const ConfigButton& full = Config.fullScreenModeButton;
  if (!Config.windowMode) Draw(m_fullScreenMode.get(), full.x, full.y);
  if (HitScreenButton(full.x, full.y, m_fullScreenMode.get(), "画面をフリスクリーンモードに設定します"_sj) &&
      Config.windowMode) {
    SetDisplayWindowed(false);
  }
  if (HitScreenButton(Config.quitButton.x, Config.quitButton.y, m_quit.get(), "ゲームを終了します"_sj) && AskQuit()) {
    QuitRequest = true;
  }
  if (HitScreenButton(0, 0, m_saveTab.get(), nullptr)) {
    SaveScreenOpen = true;
    LoadScreenOpen = false;
    return;
  }
  if (HitScreenButton(kLayoutWidth - SizeOf(m_loadTab.get()).width, 0, m_loadTab.get(), nullptr)) {
    LoadScreenOpen = true;
    SaveScreenOpen = false;
    return;
  }

  const Size bar = SizeOf(m_bar.get());
  const Slider sliders[] = {
      {&Config.autoSpeed, 165, 241, false},   {&Config.messageSpeed, 165, 148, false},
      {&Config.bgm.volume, 496, 148, true},   {&Config.se.volume, 496, 264, true},
      {&Config.voice.volume, 496, 397, true},
  };
  for (const Slider& s : sliders) {
    if (bar.width > 0) {
      const int64_t shown = int64_t{std::clamp(*s.value, 0, 100)} * bar.width / 100;
      DrawSpriteClipped(m_bar.get(), s.x, s.y, static_cast<int>(shown));
    }
    // A bar without width has no inside, so it is never divided by.
    if (!FrameInput.leftHeld || !CursorIn(s.x, s.y, bar.width, bar.height)) continue;
    const int64_t value = (int64_t{FrameInput.cursorX} - s.x) * 100 / bar.width;
    *s.value = static_cast<int32_t>(std::min<int64_t>(value, 100));
    // The text box reads the text speed every frame; the volumes go to the channels now.
    if (s.sound) ApplySoundSettings();
    RefreshGameMenu();
  }

  const Switch switches[] = {
      {&Config.effectsOn, 267, 319, 348, "画面効果をオンにします"_sj, "画面効果をオフにします"_sj, false},
      {&Config.autoOn, 267, 319, 213, "オートモード(メッセージ自動送り)をオンにします"_sj,
       "オートモード(メッセージ自動送り)をオフにします"_sj, false},
      {&SkipMode, 267, 319, 120, "メッセージスキップを設定します"_sj, "メッセージスキップを解除します"_sj, false},
      {&Config.se.on, 597, 650, 236, "効果音をオンにします"_sj, "効果音をオフにします"_sj, true},
      {&Config.voice.on, 597, 649, 369, "音声をオンにします"_sj, "音声をオフにします"_sj, true},
      {&Config.bgm.on, 595, 647, 120, "音楽をオンにします"_sj, "音楽をオフにします"_sj, true},
  };
  for (const Switch& s : switches) {
    if (*s.value) {
      Draw(m_onSelect.get(), s.onX, s.y);
    } else {
      Draw(m_offSelect.get(), s.offX, s.y);
    }
    for (const bool on : {true, false}) {
      if (!HitScreenButton(on ? s.onX : s.offX, s.y, on ? m_onOver.get() : m_offOver.get(), on ? s.onTip : s.offTip)) {
        continue;
      }
      *s.value = on;
      RefreshGameMenu();
      if (s.sound) ApplySoundSettings();
    }
  }
}

void CSystemMenu::WindowButtons() {
  const bool windowOpen = EngineState.presentation.window.state == kWindowOpen;
  if (windowOpen && !BacklogOpen) {
    const auto bar = [this](const ConfigButton& button, const std::shared_ptr<CMemPlane>& image, const char* tip) {
      const Size size = SizeOf(image.get());
      return HitBarButton(button.x, button.y, size.width, size.height, image.get(), tip);
    };
    if (bar(Config.skipButton, m_skip, "次の選択肢までメッセージをスキップします"_sj)) {
      SkipMode = !SkipMode;
      RefreshGameMenu();
    }
    if (bar(Config.autoButton, m_auto, "メッセージの自動で先に進めます"_sj)) {
      Config.autoOn = !Config.autoOn;
      RefreshGameMenu();
    }
    if (bar(Config.quickSaveButton, m_quickSave, "クイックセーブします"_sj)) WriteSaveBlock(kQuickSavePath);
    if (bar(Config.quickLoadButton, m_quickLoad, "クイックロードします"_sj)) {
      // A load of no file does nothing at all: the press says why.
      if (FileExists(kQuickSavePath)) {
        Load(kQuickSavePath);
      } else {
        SaveInfoBox("クイックセーブデータがないため、クイックロードできません"_sj);
      }
    }
    if (bar(Config.backlogButton, m_backlog, "バックログを開きます"_sj)) OpenBacklog();
    if (bar(Config.systemButton, m_system, "システム設定画面を表示します"_sj)) SettingsScreenOpen = true;
    if (SkipMode) {
      Draw(m_skip.get(), Config.messageWindowX + Config.skipButton.x, Config.messageWindowY + Config.skipButton.y);
    }
    if (Config.autoOn) {
      Draw(m_auto.get(), Config.messageWindowX + Config.autoButton.x, Config.messageWindowY + Config.autoButton.y);
    }
  }
  // The backlog's close button has no picture: the backlog window shows it in its corner.
  constexpr int32_t kCloseX = 48, kCloseY = 0, kCloseSize = 32;
  if (BacklogOpen && Hit(CursorIn(kCloseX, kCloseY, kCloseSize, kCloseSize), nullptr, kCloseX, kCloseY, nullptr)) {
    CloseBacklog();
  }
}

bool CSystemMenu::Save(std::string_view path) {
  const bool saved = SaveSlot(path, RunningScriptApp ? RunningScriptApp->GamePicture() : nullptr);
  RefreshGameMenu();
  return saved;
}

bool CSystemMenu::Load(std::string_view path) {
  // The file is checked whole first: a refused one leaves the screens as they are.
  if (!LoadSaveFile(path)) return false;
  for (auto& thumbnail : m_thumbnails) thumbnail.reset();
  m_screenBackground.reset();
  m_settingsBackground.reset();
  m_noData.reset();
  SettingsScreenOpen = false;
  LoadScreenByScript = false;
  m_shownPage = -1;
  SaveScreenOpen = false;
  LoadScreenOpen = false;
  RefreshGameMenu();
  return true;
}

void CSystemMenu::UpdateSlots() {
  const int32_t page = ClampedPage(m_shownPage);
  for (int i = 0; i < kSlotsPerPage; ++i) {
    HideTextBox(kFirstCaptionBox + i);
    HideTextBox(kPageTextBox);
    auto& thumbnail = m_thumbnails[static_cast<size_t>(i)];
    thumbnail.reset();
    const std::string path = SaveSlotPath(page * kSlotsPerPage + i);
    bool found = false;
    const std::string caption = SlotCaption(path, found);
    if (found) thumbnail = LoadSlotThumbnail(path);
    SetTextBoxPos(kFirstCaptionBox + i, SlotX(i) + 124, SlotY(i), 150, 119);
    SetTextBoxText(kFirstCaptionBox + i, caption);
    SetTextBoxProgress(kFirstCaptionBox + i, kTextBoxShowAll);
  }
}

void CSystemMenu::OpenLoadScreenFromScript() {
  m_shownPage = -1;
  LoadScreenOpen = true;
  LoadScreenByScript = true;
}
