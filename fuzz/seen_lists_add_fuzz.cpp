// scene.ini as the game reads it at start, then scenes and pictures added as a run adds them: the
// names come from the same input, so the file's counts and names meet additions of every length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

#include "game/system/seen_lists.h"
#include "platform/message_box.h"

namespace {

void Write(const char* name, std::string_view bytes) {
  std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

template <int N>
void CheckList(const SeenNameList<N>& list) {
  if (list.count < 0 || list.count > N || list.maximum < 0 || list.maximum > N) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    char folder[] = "/tmp/vrel-seen-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    platform::SetMessageBoxHook([](const platform::MessageBoxRequest&) { return IDOK; });
    return true;
  }();
  (void)ready;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Write("scene.ini", input);
  Write("picture.ini", "[Pictures]\r\nPicture=0\r\nMaxPicture=4\r\n");
  SceneProfile = CIniProfile();
  PictureProfile = CIniProfile();
  SeenSceneList = {};
  SeenPictureList = {};
  if (!SceneProfile.ReadProfile("scene.ini") || !PictureProfile.ReadProfile("picture.ini") ||
      !ExchangeSeenLists(kSeenListsRead)) {
    return 0;
  }
  // Every line of the input is also a name to add, as a script would give it.
  size_t start = 0;
  for (int added = 0; added < 16 && start <= input.size(); ++added) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view name = input.substr(start, end - start);
    AddSeenScene(name);
    AddSeenPicture(name);
    IsSceneSeen(name);
    CheckList(SeenSceneList);
    CheckList(SeenPictureList);
    start = end + 1;
  }
  return 0;
}
