#include "platform/libav.h"

#include <dlfcn.h>

namespace platform {
namespace {

#define VREL_STR2(x) #x
#define VREL_STR(x) VREL_STR2(x)

// The sonames of the libraries the build was made against: a newer major version is another
// interface.
constexpr const char* kAvutil = "libavutil.so." VREL_STR(LIBAVUTIL_VERSION_MAJOR);
constexpr const char* kAvcodec = "libavcodec.so." VREL_STR(LIBAVCODEC_VERSION_MAJOR);
constexpr const char* kAvformat = "libavformat.so." VREL_STR(LIBAVFORMAT_VERSION_MAJOR);
constexpr const char* kSwresample = "libswresample.so." VREL_STR(LIBSWRESAMPLE_VERSION_MAJOR);
constexpr const char* kSwscale = "libswscale.so." VREL_STR(LIBSWSCALE_VERSION_MAJOR);

struct Loaded {
  LibAv functions;
  bool complete = false;
};

// The handles stay open for the life of the process: decoders and films may be in use until exit.
Loaded Load() {
  Loaded loaded;
  void* const avutil = dlopen(kAvutil, RTLD_NOW | RTLD_LOCAL);
  void* const avcodec = dlopen(kAvcodec, RTLD_NOW | RTLD_LOCAL);
  void* const avformat = dlopen(kAvformat, RTLD_NOW | RTLD_LOCAL);
  void* const swresample = dlopen(kSwresample, RTLD_NOW | RTLD_LOCAL);
  void* const swscale = dlopen(kSwscale, RTLD_NOW | RTLD_LOCAL);
  bool complete = true;
#define VREL_LIBAV_RESOLVE(library, name)                                                                 \
  loaded.functions.name = library ? reinterpret_cast<decltype(&::name)>(dlsym(library, #name)) : nullptr; \
  complete = complete && loaded.functions.name != nullptr;
  VREL_LIBAV_FUNCTIONS(VREL_LIBAV_RESOLVE)
#undef VREL_LIBAV_RESOLVE
  loaded.complete = complete;
  if (complete) loaded.functions.av_log_set_level(AV_LOG_QUIET);
  return loaded;
}

const Loaded& Libraries() {
  static const Loaded loaded = Load();
  return loaded;
}

}  // namespace

bool LibAvAvailable() { return Libraries().complete; }

const LibAv& Av() { return Libraries().functions; }

}  // namespace platform
