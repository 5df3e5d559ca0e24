#include "platform/drop_files.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/dropped_files.h"
#include "platform/gui_app.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"

namespace platform {

struct DroppedFiles {
  HWND window = nullptr;
  POINT point{};
  std::vector<std::string> paths;  // exact
  std::string refused;             // the names left out, one a line, for the message
  bool refusalShown = false;
};

namespace {

constexpr UINT kCountQuery = 0xFFFFFFFF;

// The drops not yet finished. A drop whose window went before it was finished can never be asked
// for again: it goes when the next drop comes.
std::vector<std::unique_ptr<DroppedFiles>>& Drops() {
  static std::vector<std::unique_ptr<DroppedFiles>> drops;
  return drops;
}

// The drop a handle names; null for a finished drop or anything else. The handle is compared, never
// followed, before it is found.
DroppedFiles* Find(HDROP hdrop) {
  if (!hdrop || !IsGuiThread()) return nullptr;
  for (const auto& drop : Drops()) {
    if (drop.get() == hdrop) return IsWindow(drop->window) ? drop.get() : nullptr;
  }
  return nullptr;
}

void ShowRefusal(DroppedFiles& drop) {
  if (drop.refused.empty() || drop.refusalShown) return;
  drop.refusalShown = true;
  const std::string text = "次のファイルは名前にShift-JISで表せない文字を含むため、開きません。"_sj + drop.refused;
  MessageBox(drop.window, text, GetWindowText(drop.window), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

void PostDroppedFiles(HWND window, POINT point, const std::vector<std::string>& hostPaths) {
  auto& drops = Drops();
  std::erase_if(drops, [](const auto& drop) { return !IsWindow(drop->window); });
  auto drop = std::make_unique<DroppedFiles>();
  drop->window = window;
  drop->point = point;
  for (const std::string& host : hostPaths) {
    std::string exact;
    if (ExactPathFromHost(host, exact)) {
      drop->paths.push_back(std::move(exact));
    } else {
      drop->refused += "\r\n\"" + Utf8ToSjis(host) + "\"";
    }
  }
  const HDROP handle = drop.get();
  drops.push_back(std::move(drop));
  if (!PostMessage(window, WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0)) DragFinish(handle);
}

UINT DragQueryFile(HDROP hdrop, UINT index, char* buffer, UINT size) {
  DroppedFiles* drop = Find(hdrop);
  if (!drop) return 0;
  ShowRefusal(*drop);
  // The box's loop may have let the window go, and the drop with it.
  if (Find(hdrop) != drop) return 0;
  if (index == kCountQuery) return static_cast<UINT>(drop->paths.size());
  if (index >= drop->paths.size()) {
    if (buffer && size > 0) buffer[0] = '\0';
    return 0;
  }
  const std::string& path = drop->paths[index];
  if (!buffer) return static_cast<UINT>(path.size());
  if (size == 0) return 0;
  // A path cut to fit would name another file.
  if (path.size() >= size) {
    buffer[0] = '\0';
    return 0;
  }
  std::memcpy(buffer, path.data(), path.size());
  buffer[path.size()] = '\0';
  return static_cast<UINT>(path.size());
}

BOOL DragQueryPoint(HDROP hdrop, POINT* point) {
  const DroppedFiles* drop = Find(hdrop);
  if (!drop || !point) return 0;
  *point = drop->point;
  return 1;
}

void DragFinish(HDROP hdrop) {
  if (!hdrop || !IsGuiThread()) return;
  std::erase_if(Drops(), [hdrop](const auto& drop) { return drop.get() == hdrop; });
}

}  // namespace platform
