#include "subtitle_track_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include "cue_text.h"
#include "libav_library.h"
#include "telemetry/clip_time_range.h"
#include "telemetry/mp4_boxes.h"
#include "telemetry/mp4_sample_table.h"
#include "telemetry/mp4_track_samples.h"

namespace korvane {

namespace {

std::string AvErrorText(const LibAv& av, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av.strError(code, text, sizeof text);
  return text;
}

std::int32_t ClampMs(std::int64_t ms) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      ms, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The largest cue read through the sample table; a telemetry line is cut to 127 bytes anyway.
constexpr std::size_t kMaxCueBytes = 64 * 1024;

// Whether libavformat makes a subtitle stream of the track: by its handler or by its format.
bool IsMp4SubtitleTrack(const Mp4TrackHeader& h) {
  for (const char* handler : {"subp", "clcp", "sbtl", "subt", "text"}) {
    if (h.HandlerIs(handler)) return true;
  }
  for (const char* format : {"tx3g", "text", "c608", "c708", "wvtt", "stpp"}) {
    if (h.FormatIs(format)) return true;
  }
  return false;
}

// The MP4 answer the demuxer would give, read through the sample table: the clip has no subtitle
// track, or its first one is timed text. nullopt when the demuxer must decide: not an MP4 (a
// transport stream, a file without `moov`), or a first subtitle track of another format.
std::optional<SubtitleTrackRead> ReadMp4SubtitleTrack(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue) {
  const CMp4File file(path);
  if (!file.open()) return std::nullopt;
  const std::vector<Mp4Track> tracks =
      ReadMp4Tracks(file.size(), file.readAt(), [](const Mp4TrackHeader&) { return false; });
  if (tracks.empty()) return std::nullopt;
  SubtitleTrackRead result;
  result.opened = true;
  // The movie header's, which is what the demuxer gives as the container's.
  result.durationMs = Mp4DurationMs(path);
  const Mp4TrackHeader* subtitle = nullptr;
  for (const Mp4Track& track : tracks) {
    if (subtitle == nullptr && IsMp4SubtitleTrack(track.header)) subtitle = &track.header;
  }
  if (subtitle == nullptr) return result;
  if (!subtitle->FormatIs("tx3g") && !subtitle->FormatIs("text")) return std::nullopt;
  result.hasSubtitle = result.textSubtitle = true;
  const std::uint32_t id = subtitle->id;
  const Mp4TrackSamplesRead read = ForEachMp4TrackSample(
      file.size(), file.readAt(), [id](const Mp4TrackHeader& h) { return h.id == id; },
      kMaxCueBytes,
      [&](std::span<const std::uint8_t> bytes, std::int64_t startMs, std::int64_t) {
        const std::string_view text =
            MovTextCueText({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        if (text.empty()) return;
        onCue(ClampMs(startMs), text);
        ++result.cues;
      });
  result.error = read.problem;
  return result;
}

}  // namespace

SubtitleTrackRead ReadSubtitleTrackWithDemuxer(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue) {
  SubtitleTrackRead result;
  std::string why;
  const LibAv* loaded = LoadLibAv(why);
  if (loaded == nullptr) {
    result.error = "the demuxer is missing: " + why;
    return result;
  }
  const LibAv& av = *loaded;
  AVFormatContext* raw = nullptr;
  if (const int rc = av.openInput(&raw, path.c_str(), nullptr, nullptr); rc < 0) {
    result.error = AvErrorText(av, rc);
    return result;
  }
  const auto closeInput = [&av](AVFormatContext* context) { av.closeInput(&context); };
  std::unique_ptr<AVFormatContext, decltype(closeInput)> input(raw, closeInput);
  result.opened = true;
  if (input->duration != AV_NOPTS_VALUE && input->duration > 0) {
    result.durationMs = av.rescale(input->duration, 1000, AV_TIME_BASE);
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
  const AVCodecDescriptor* codec = av.descriptorGet(track->codecpar->codec_id);
  result.textSubtitle = codec != nullptr && (codec->props & AV_CODEC_PROP_TEXT_SUB) != 0;
  if (!result.textSubtitle) return result;
  const bool movText = track->codecpar->codec_id == AV_CODEC_ID_MOV_TEXT;

  const std::int64_t startMs =
      input->start_time != AV_NOPTS_VALUE ? av.rescale(input->start_time, 1000, AV_TIME_BASE) : 0;
  const auto freePacket = [&av](AVPacket* packet) { av.packetFree(&packet); };
  std::unique_ptr<AVPacket, decltype(freePacket)> packet(av.packetAlloc(), freePacket);
  if (!packet) {
    result.error = "out of memory";
    return result;
  }
  for (;;) {
    const int rc = av.readFrame(input.get(), packet.get());
    if (rc == AVERROR_EOF) break;
    if (rc < 0) {
      result.error = AvErrorText(av, rc);
      break;
    }
    if (packet->stream_index == track->index && packet->data != nullptr) {
      const std::string_view sample(reinterpret_cast<const char*>(packet->data),
                                    static_cast<std::size_t>(packet->size));
      const std::string_view text = movText ? MovTextCueText(sample) : sample;
      const std::int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      if (!text.empty()) {
        const std::int64_t ms =
            pts != AV_NOPTS_VALUE ? av.rescaleQ(pts, track->time_base, AVRational{1, 1000}) : 0;
        onCue(ClampMs(ms - startMs), text);
        ++result.cues;
      }
    }
    av.packetUnref(packet.get());
  }
  return result;
}

SubtitleTrackRead ReadSubtitleTrack(
    const std::string& path, const std::function<void(std::int32_t, std::string_view)>& onCue) {
  if (std::optional<SubtitleTrackRead> read = ReadMp4SubtitleTrack(path, onCue)) return *read;
  return ReadSubtitleTrackWithDemuxer(path, onCue);
}

}  // namespace korvane
