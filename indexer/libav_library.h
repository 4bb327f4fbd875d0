// libavformat and the parts of libavcodec and libavutil the subtitle reader calls, opened on the
// first call rather than linked: they bring some 130 shared libraries whose loading outweighed the
// whole read of a clip whose track the program reads itself, so a clip that needs no demuxer
// never pays for them.
#pragma once
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
}

#include <string>

namespace korvane {

// The functions, each resolved from the libavformat of the major version built against (its
// dependencies bring the other two). Logging is set quiet once on loading.
struct LibAv {
  decltype(&::avformat_open_input) openInput = nullptr;
  decltype(&::avformat_close_input) closeInput = nullptr;
  decltype(&::av_read_frame) readFrame = nullptr;
  decltype(&::avcodec_descriptor_get) descriptorGet = nullptr;
  decltype(&::av_packet_alloc) packetAlloc = nullptr;
  decltype(&::av_packet_free) packetFree = nullptr;
  decltype(&::av_packet_unref) packetUnref = nullptr;
  decltype(&::av_strerror) strError = nullptr;
  decltype(&::av_rescale) rescale = nullptr;
  decltype(&::av_rescale_q) rescaleQ = nullptr;
};

// The loaded functions, or nullptr with `why` set when the libraries or one of the functions are
// missing (the same answer on every later call). Thread-safe; loads at most once.
const LibAv* LoadLibAv(std::string& why);

// Whether this process has loaded libavformat (by LoadLibAv or otherwise).
bool LibAvLoaded();

}  // namespace korvane
