#include "subtitle_track_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
}

#include <algorithm>
#include <limits>
#include <memory>

#include "cue_text.h"

namespace korvane {

namespace {

std::string AvErrorText(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

struct InputCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

std::int32_t ClampMs(std::int64_t ms) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      ms, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

SubtitleTrackRead ReadSubtitleTrack(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue) {
  SubtitleTrackRead result;
  AVFormatContext* raw = nullptr;
  if (const int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr); rc < 0) {
    result.error = AvErrorText(rc);
    return result;
  }
  std::unique_ptr<AVFormatContext, InputCloser> input(raw);
  result.opened = true;
  if (input->duration != AV_NOPTS_VALUE && input->duration > 0) {
    result.durationMs = av_rescale(input->duration, 1000, AV_TIME_BASE);
  }

  // No avformat_find_stream_info: it would decode video to probe it, and the container header
  // already names the subtitle codec.
  AVStream* track = nullptr;
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    AVStream* stream = input->streams[i];
    if (track == nullptr && stream->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE) {
      track = stream;
    } else {
      stream->discard = AVDISCARD_ALL;
    }
  }
  if (track == nullptr) return result;
  result.hasSubtitle = true;
  const AVCodecDescriptor* codec = avcodec_descriptor_get(track->codecpar->codec_id);
  result.textSubtitle = codec != nullptr && (codec->props & AV_CODEC_PROP_TEXT_SUB) != 0;
  if (!result.textSubtitle) return result;
  const bool movText = track->codecpar->codec_id == AV_CODEC_ID_MOV_TEXT;

  const std::int64_t startMs =
      input->start_time != AV_NOPTS_VALUE ? av_rescale(input->start_time, 1000, AV_TIME_BASE) : 0;
  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  if (!packet) {
    result.error = "out of memory";
    return result;
  }
  for (;;) {
    const int rc = av_read_frame(input.get(), packet.get());
    if (rc == AVERROR_EOF) break;
    if (rc < 0) {
      result.error = AvErrorText(rc);
      break;
    }
    if (packet->stream_index == track->index && packet->data != nullptr) {
      const std::string_view sample(reinterpret_cast<const char*>(packet->data),
                                    static_cast<std::size_t>(packet->size));
      const std::string_view text = movText ? MovTextCueText(sample) : sample;
      const std::int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      if (!text.empty()) {
        const std::int64_t ms =
            pts != AV_NOPTS_VALUE ? av_rescale_q(pts, track->time_base, AVRational{1, 1000}) : 0;
        onCue(ClampMs(ms - startMs), text);
        ++result.cues;
      }
    }
    av_packet_unref(packet.get());
  }
  return result;
}

}  // namespace korvane
