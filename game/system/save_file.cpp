#include "game/system/save_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <vector>

#include "game/text/backlog.h"
#include "game/app/error_box.h"
#include "game/system/file_utils.h"
#include "game/text/message_window.h"
#include "game/stage/picture_layers.h"
#include "game/app/run_state.h"
#include "game/system/scene_gallery.h"
#include "game/system/script_buttons.h"
#include "game/script/script_loader.h"
#include "game/script/script_symbol_table.h"
#include "game/script/script_text.h"
#include "game/script/script_tokens.h"
#include "game/sound/sound_channels.h"
#include "game/text/text_box.h"
#include "platform/file.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/window_application.h"

namespace {

constexpr int kMaxCallDepth = 10000;
constexpr int kWindowStates = 4;

template <size_t N>
bool Terminated(const char (&text)[N]) {
  return std::memchr(text, '\0', N) != nullptr;
}

bool TextsTerminated(const EngineStateRecord& b) {
  if (!Terminated(b.messageText) || !Terminated(b.interpreter.scriptName)) return false;
  for (const PictureLayer& layer : b.layers) {
    if (!Terminated(layer.fileName)) return false;
  }
  for (const MusicRecord& music : b.music) {
    if (!Terminated(music.name)) return false;
  }
  const MessageState& message = b.presentation.message;
  if (!Terminated(message.speakerName) || !Terminated(message.singleVoice)) return false;
  for (const VoicePrefix& prefix : message.voicePrefixes) {
    if (!Terminated(prefix.speaker) || !Terminated(prefix.series)) return false;
  }
  for (const ScriptSymbol& entry : b.symbolTable) {
    if (!Terminated(entry.name)) return false;
  }
  return true;
}

// Every link names an entry or none, and following links from any entry ends: each entry has at
// most one link, so a walk that comes back to an entry of its own walk has found a loop.
bool ChainsSound(const EngineStateRecord& b) {
  for (const ScriptSymbol& entry : b.symbolTable) {
    if (entry.next < -1 || entry.next >= kSymbolCount) return false;
  }
  // 0 not seen, 1 on the current walk, 2 known to end.
  std::vector<uint8_t> mark(kSymbolCount, 0);
  for (int start = 0; start < kSymbolCount; ++start) {
    int i = start;
    while (i != -1 && mark[i] == 0) {
      mark[i] = 1;
      i = b.symbolTable[i].next;
    }
    if (i != -1 && mark[i] == 1) return false;
    for (i = start; i != -1 && mark[i] == 1; i = b.symbolTable[i].next) mark[i] = 2;
  }
  return true;
}

// Each keyword is found on its name's chain with its own token, as the table was built.
bool KeywordsPresent(const EngineStateRecord& b) {
  for (const ScriptKeyword& keyword : ScriptKeywords()) {
    bool found = false;
    // The chains were checked not to loop, so this walk ends.
    for (int32_t i = HashName(keyword.name); i != -1 && !found; i = b.symbolTable[i].next) {
      const ScriptSymbol& entry = b.symbolTable[i];
      found = std::string_view(entry.name) == keyword.name && entry.token == keyword.token;
    }
    if (!found) return false;
  }
  return true;
}

void ZeroIfNotFinite(float& value) {
  if (!std::isfinite(value)) value = 0.0f;
}

void ShowVersionBox() { SaveInfoBox("セーブデータのバージョンが違うため読み込めません"_sj); }

// The pictures, buttons, texts and sounds of the game being left, before a save replaces it.
void ResetPresentation() {
  for (int layer = 0; layer < kLayerCount; ++layer) ClearPicture(layer);
  for (int box = 0; box < kTextBoxCount; ++box) HideTextBox(box);
  for (int button = 0; button < kScriptButtonCount; ++button) ClearButton(button);
  // Closed without its click: the load's own click has sounded.
  BacklogOpen = false;
  HideTextBox(kBacklogTextBox);
  Backlog.count = 0;
  Backlog.position = 0;
  Backlog.filledPosition = -1;
  for (int channel = 0; channel < kSeChannelCount; ++channel) StopSe(channel);
  FadeOutBgm();
  SceneReplay = false;
  if (SceneGallery.active) EndSceneMode();
}

}  // namespace

void SaveInfoBox(std::string_view text) {
  platform::MessageBox(GetAppWindowHandle(), text, "情報"_sj, MB_OK);
}

std::string SaveSlotPath(int slot) {
  char path[40];
  std::snprintf(path, sizeof path, "savedata\\data%03d.sav", slot);
  return path;
}

std::string SaveThumbnailPath(std::string_view savePath) {
  std::string path(savePath);
  for (size_t at = path.find(".sav"); at != std::string::npos; at = path.find(".sav", at + 4)) {
    path.replace(at, 4, ".bmp");
  }
  return path;
}

bool CheckSaveBlock(const EngineStateRecord& b) {
  if (!TextsTerminated(b)) return false;
  for (const PictureLayer& layer : b.layers) {
    if (layer.keyCount < 0 || layer.keyCount > kLayerKeyCount) return false;
  }
  if (b.presentation.window.state < 0 || b.presentation.window.state >= kWindowStates) return false;
  const InterpreterState& interp = b.interpreter;
  for (int32_t depth : {interp.gosubDepth, interp.forDepth, interp.macroDepth}) {
    if (depth < 0 || depth > kMaxCallDepth) return false;
  }
  if (b.scriptLine < 1) return false;
  return ChainsSound(b) && KeywordsPresent(b);
}

void MakeSaveBlockHarmless(EngineStateRecord& b) {
  for (PictureLayer& layer : b.layers) {
    for (float* value : {&layer.x, &layer.y, &layer.z, &layer.auxFactor, &layer.motionTime, &layer.lastKeyTime}) {
      ZeroIfNotFinite(*value);
    }
    for (LayerKey& key : layer.keys) {
      for (float* value : {&key.time, &key.x, &key.y, &key.z}) ZeroIfNotFinite(*value);
    }
  }
  ZeroIfNotFinite(b.presentation.camera.time);
  ZeroIfNotFinite(b.presentation.camera.duration);
  ZeroIfNotFinite(b.presentation.quake.time);
  ZeroIfNotFinite(b.presentation.quake.duration);
  ScreenFades& fades = b.presentation.fades;
  fades.black.level = std::clamp(fades.black.level, 0, 255);
  fades.white.level = std::clamp(fades.white.level, 0, 255);
}

bool WriteSaveBlock(std::string_view path) {
  if (!ScriptText.loaded()) return false;
  CreateDirectories(kSaveFolder);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&EngineStateSnapshot);
  if (platform::WriteFileAtomically(path, std::span(bytes, sizeof EngineStateSnapshot)) != platform::WriteStatus::kOk) {
    ErrorBox("セーブデータの書き込みに失敗しました"_sj);
    return false;
  }
  return true;
}

bool LoadSaveFile(std::string_view path) {
  if (!FileExists(path)) return false;
  // A file far larger than any save is not read into memory at all.
  if (platform::FileInfo info; platform::QueryFileInfo(path, info) && info.size > 2 * sizeof(EngineStateRecord)) {
    ShowVersionBox();
    return false;
  }
  CFileBuffer file;
  // A file that is there but cannot be read (a folder in its place, a read error) is no save of
  // another version: the box says what the player can look at.
  if (file.Read(std::string(path)) != 0) {
    SaveInfoBox("セーブデータを読み込めません\n"_sj + std::string(path));
    return false;
  }
  return LoadSaveBlock(std::span(file.GetData(), file.GetSize()));
}

bool LoadSaveBlock(std::span<const unsigned char> bytes) {
  if (bytes.size() != sizeof(EngineStateRecord)) {
    ShowVersionBox();
    return false;
  }
  // The block is checked whole where it lies, before anything of the game changes; it is copied
  // to a place of its own only when it does not lie aligned (a save is almost 1 MB).
  std::unique_ptr<EngineStateRecord> copy;
  const EngineStateRecord* block = nullptr;
  if (reinterpret_cast<uintptr_t>(bytes.data()) % alignof(EngineStateRecord) == 0) {
    block = std::launder(reinterpret_cast<const EngineStateRecord*>(bytes.data()));
  } else {
    copy = std::make_unique_for_overwrite<EngineStateRecord>();
    std::memcpy(static_cast<void*>(copy.get()), bytes.data(), sizeof(EngineStateRecord));
    block = copy.get();
  }
  if (!CheckSaveBlock(*block)) {
    ShowVersionBox();
    return false;
  }
  ResetPresentation();
  std::memcpy(&EngineState, block, sizeof EngineState);
  copy.reset();
  MakeSaveBlockHarmless(EngineState);
  RestoreScriptLine();
  // Curve handles in the file name nothing of this run: the layers rebuild them before any drawing.
  ReloadPictures();
  ResumeBgm();
  // The key wait under way belonged to the game left; the resumed message starts its own.
  KeyWaitStarted = false;
  return true;
}
