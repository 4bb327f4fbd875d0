#include "libav_library.h"

#include <dlfcn.h>

#include <string_view>

namespace korvane {

namespace {

// The soname of the libavformat whose headers this was compiled with: another major version
// has another ABI.
#define KORVANE_STRINGIFY2(x) #x
#define KORVANE_STRINGIFY(x) KORVANE_STRINGIFY2(x)
constexpr const char* kLibAvFormat = "libavformat.so." KORVANE_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR);

struct Loaded {
  LibAv av;
  bool ok = false;
  std::string why;
};

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& out, std::string& why) {
  out = reinterpret_cast<Fn>(dlsym(handle, name));
  if (out == nullptr && why.empty()) why = std::string(kLibAvFormat) + " has no " + name;
  return out != nullptr;
}

Loaded Load() {
  Loaded l;
  // Never unloaded: the process reads clip after clip with it.
  void* handle = dlopen(kLibAvFormat, RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* error = dlerror();
    l.why = error != nullptr ? error : std::string(kLibAvFormat) + " cannot be loaded";
    return l;
  }
  LibAv& a = l.av;
  decltype(&::av_log_set_level) setLogLevel = nullptr;
  // dlsym on the handle also searches libavformat's own dependencies, libavcodec and libavutil.
  l.ok = Resolve(handle, "avformat_open_input", a.openInput, l.why) &
         Resolve(handle, "avformat_close_input", a.closeInput, l.why) &
         Resolve(handle, "av_read_frame", a.readFrame, l.why) &
         Resolve(handle, "avcodec_descriptor_get", a.descriptorGet, l.why) &
         Resolve(handle, "av_packet_alloc", a.packetAlloc, l.why) &
         Resolve(handle, "av_packet_free", a.packetFree, l.why) &
         Resolve(handle, "av_packet_unref", a.packetUnref, l.why) &
         Resolve(handle, "av_strerror", a.strError, l.why) &
         Resolve(handle, "av_rescale", a.rescale, l.why) &
         Resolve(handle, "av_rescale_q", a.rescaleQ, l.why) &
         Resolve(handle, "av_log_set_level", setLogLevel, l.why);
  // A damaged clip would otherwise fill the indexer's standard error, which the program reads.
  if (l.ok) setLogLevel(AV_LOG_QUIET);
  return l;
}

}  // namespace

const LibAv* LoadLibAv(std::string& why) {
  static const Loaded loaded = Load();
  why = loaded.why;
  return loaded.ok ? &loaded.av : nullptr;
}

bool LibAvLoaded() {
  void* handle = dlopen(kLibAvFormat, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);  // only the count NOLOAD added
  return handle != nullptr;
}

}  // namespace korvane
