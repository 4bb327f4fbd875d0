#include "telemetry/track_store.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "telemetry/coord_transform.h"
#include "telemetry/cue_time.h"
#include "telemetry/telemetry_parser.h"

namespace korvane {

CTrackStore::CTrackStore() : chunks_(std::make_unique<std::unique_ptr<TrackChunk>[]>(kMaxChunks)) {
  for (std::int32_t i = 0; i < kInitialChunks; ++i) Grow();
}

const TrackChunk* CTrackStore::chunk(std::int32_t index) const {
  if (index < 0 || index >= chunkCount()) return nullptr;
  return chunks_[index].get();
}

TrackChunk* CTrackStore::chunk(std::int32_t index) {
  return const_cast<TrackChunk*>(std::as_const(*this).chunk(index));
}

void CTrackStore::SetConsumedChunks(std::int32_t consumed) {
  consumedChunks_.store(std::clamp(consumed, 0, readyChunks()), std::memory_order_relaxed);
}

void CTrackStore::Reset() {
  currentChunk_.store(0);
  consumedChunks_.store(0);
  readyChunks_.store(0);
  totalPoints_.store(0);
  const std::int32_t count = chunkCount();
  for (std::int32_t i = 0; i < count; ++i) chunks_[i]->count = 0;
}

bool CTrackStore::Grow() {
  const std::int32_t count = chunkCount();
  if (count >= kMaxChunks) return false;
  chunks_[count].reset(new (std::nothrow) TrackChunk());
  if (!chunks_[count]) return false;
  // Release: a reader that sees the new count also sees the chunk.
  chunkCount_.store(count + 1, std::memory_order_release);
  return true;
}

int CTrackStore::Append(TrackChunk* chunk, const TelemetryRecord* record) {
  if (chunk == nullptr || record == nullptr) return -1;
  if (chunk->count < 0 || chunk->count >= chunk->capacity ||
      chunk->count >= TrackChunk::kCapacity) {
    return -1;
  }
  TelemetryRecord& point = chunk->points[chunk->count];
  point.valid = record->valid;
  if (record->valid) {
    // Only what the track's readers use; hemisphere and degree parts stay as the slot had them.
    point.year = record->year;
    point.month = record->month;
    point.day = record->day;
    point.hour = record->hour;
    point.minute = record->minute;
    point.second = record->second;
    point.longitude = record->longitude;
    point.latitude = record->latitude;
    point.speedKmh = record->speedKmh;
    point.accelX = record->accelX;
    point.accelY = record->accelY;
    point.accelZ = record->accelZ;
    point.mediaTimeMs = record->mediaTimeMs;
  }
  ++chunk->count;
  return chunk->count >= chunk->capacity ? 1 : 0;
}

int CTrackStore::AppendNext(const TelemetryRecord& record) {
  const std::int32_t current = currentChunk();
  if (current == chunkCount() && !Grow()) return -1;
  const int result = Append(chunk(current), &record);
  if (result == 1) currentChunk_.store(current + 1, std::memory_order_relaxed);
  if (result >= 0) totalPoints_.fetch_add(1, std::memory_order_relaxed);
  return result;
}

void CTrackStore::MarkReady(std::int32_t chunks) {
  const std::int32_t target = std::min(chunks, chunkCount());
  if (target > readyChunks()) readyChunks_.store(target, std::memory_order_release);
}

namespace {

// The slot's line starts at its first non-NUL byte; the copy is terminated even when the slot is
// not. A kept cue ends in the line breaks of its blank line: they are cut, or the last field of
// the line would carry them into its length rule and a line the live parser takes would be lost.
void CopySlotLine(const char* slot, char (&line)[kLineSlotSize + 1]) {
  std::size_t start = 0;
  if (slot != nullptr) {
    while (start < kLineSlotSize && slot[start] == '\0') ++start;
  }
  const std::size_t length = slot == nullptr ? 0 : kLineSlotSize - start;
  if (length > 0) std::memcpy(line, slot + start, length);
  line[length] = '\0';
  std::size_t end = std::strlen(line);
  while (end > 0 && (line[end - 1] == '\n' || line[end - 1] == '\r')) line[--end] = '\0';
}

bool ConvertForMap(TrackChunk& chunk, std::uint8_t mapKind, const std::string& locale) {
  switch (mapKind) {
    case kMapKindBaidu:
      return ConvertChunkForBaidu(chunk.count, chunk.points.data());
    case kMapKindGoogle:
      return ConvertChunkForGoogle(chunk.count, chunk.points.data(), locale);
    default:
      return false;  // maps in WGS-84 read longitude/latitude directly
  }
}

}  // namespace

int ProcessBatch(std::int32_t batchIndex, IPipelineLines& pipeline, CTrackStore& store,
                 std::uint8_t mapKind, const std::string& locale) {
  if (pipeline.state() == PipelineState::Stopping) return -1;

  const std::int32_t lines = std::clamp(pipeline.lineCount(), 0, kLineSlotCount);
  CTelemetryParser& parser = pipeline.parser();
  char line[kLineSlotSize + 1];
  for (std::int32_t i = 0; i < lines; ++i) {
    CopySlotLine(pipeline.lineSlot(i), line);
    parser.ParseFull(line);
    TelemetryRecord point = parser.record();
    point.mediaTimeMs = CueStartMs(line);
    store.AppendNext(point);
  }
  if (pipeline.state() == PipelineState::Stopping) return -1;

  TrackChunk* chunk = store.chunk(batchIndex);
  if (chunk == nullptr) return 0;
  const bool converted = ConvertForMap(*chunk, mapKind, locale);
  store.MarkReady(batchIndex + 1);
  if (pipeline.state() == PipelineState::Stopping) return -1;

  if (batchIndex == 0) pipeline.clearStopRequested();
  pipeline.notify(kExtractorChunkReady);
  if (batchIndex == 0) pipeline.notify(kExtractorFirstChunkOrNothing);
  return converted ? 1 : 0;
}

std::int32_t LoadWholeTrack(std::span<const TelemetryRecord> records, CTrackStore& store,
                            std::uint8_t mapKind, const std::string& locale) {
  store.Reset();
  for (const TelemetryRecord& record : records) {
    if (store.AppendNext(record) < 0) break;
  }
  const std::int32_t chunks =
      (store.totalPoints() + TrackChunk::kCapacity - 1) / TrackChunk::kCapacity;
  for (std::int32_t i = 0; i < chunks; ++i) ConvertForMap(*store.chunk(i), mapKind, locale);
  store.MarkReady(chunks);
  return store.totalPoints();
}

}  // namespace korvane
