// The same bytes loaded into a memory surface under every name the game chooses a way by: "bma",
// "png", "bmp" and "tga" by their own readers (at full size and scaled), anything else through the
// picture loader (BMP, JPEG, GIF) into heap storage and into a device-independent section.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "sdk/graphics/mem_plane.h"
#include "sdk/graphics/mem_plane_impl.h"

namespace {

void Load(const std::string& name, bool dibSection, double scale) {
  CMemPlane plane;
  plane.GetImpl()->SetUseDIBSection(dibSection);
  plane.Load(name, 0, scale);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  for (const char* ext : {"bma", "png", "bmp", "tga"}) {
    const std::string name = std::string("image.") + ext;
    fuzz::WriteFile(name, {data, size});
    Load(name, false, 100.0);
    if (std::string_view(ext) != "bma") Load(name, false, 37.5);
  }
  fuzz::WriteFile("image.jpg", {data, size});
  Load("image.jpg", false, 100.0);
  Load("image.jpg", true, 100.0);
  return 0;
}
