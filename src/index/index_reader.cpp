#include "index/index_reader.h"

#include "index/point_blob.h"

namespace korvane {

namespace {

constexpr const char* kSelectClip =
    "SELECT size, mtime_ns, duration_ms, first_camera_time, last_camera_time, point_count,"
    " distance_m, max_speed_kmh, status, reason, event_count, event_threshold_mg, event_flip_y,"
    " source, has_g_sensor, clock, in_clip, extracted, beside_files FROM clip WHERE path = ?1";
constexpr const char* kSelectPoints =
    "SELECT points FROM clip_track JOIN clip ON clip.id = clip_track.clip_id WHERE path = ?1";
constexpr const char* kSelectEvents =
    "SELECT media_ms, kind, peak_g, latitude, longitude FROM clip_event"
    " JOIN clip ON clip.id = clip_event.clip_id WHERE path = ?1 ORDER BY media_ms";
constexpr const char* kSelectOverview =
    "SELECT overview FROM clip_track JOIN clip ON clip.id = clip_track.clip_id WHERE path = ?1";

// The blob column of a one-row query on `clipPath`; empty when there is none or it is malformed.
std::vector<IndexPoint> ReadPoints(SqliteStatement& statement, const std::string& clipPath) {
  statement.BindText(1, clipPath);
  std::vector<IndexPoint> points;
  if (statement.Step() == SQLITE_ROW) {
    points = UnpackPoints(statement.ColumnBlob(0)).value_or(std::vector<IndexPoint>{});
  }
  statement.Reset();
  return points;
}

}  // namespace

bool CIndexReader::Ready() {
  const FileIdentity now = IdentityOf(path_);
  if (db_.IsOpen() && now == opened_) return true;
  clip_.Finalize();
  points_.Finalize();
  overview_.Finalize();
  events_.Finalize();
  db_.Close();
  if (!now.exists || !OpenIndexForReading(path_, db_)) return false;
  if (clip_.Prepare(db_, kSelectClip) != SQLITE_OK ||
      points_.Prepare(db_, kSelectPoints) != SQLITE_OK ||
      overview_.Prepare(db_, kSelectOverview) != SQLITE_OK ||
      events_.Prepare(db_, kSelectEvents) != SQLITE_OK) {
    clip_.Finalize();
    points_.Finalize();
    overview_.Finalize();
    events_.Finalize();
    db_.Close();
    return false;
  }
  opened_ = now;
  return true;
}

ClipSummary CIndexReader::GetClip(const std::string& clipPath) {
  ClipSummary s;
  s.path = clipPath;
  if (!Ready()) return s;
  clip_.BindText(1, clipPath);
  if (clip_.Step() == SQLITE_ROW) {
    s.size = clip_.ColumnInt(0);
    s.mtimeNs = clip_.ColumnInt(1);
    s.durationMs = clip_.ColumnInt(2);
    s.firstCameraTime = clip_.ColumnInt(3);
    s.lastCameraTime = clip_.ColumnInt(4);
    s.pointCount = static_cast<std::int32_t>(clip_.ColumnInt(5));
    s.distanceM = clip_.ColumnDouble(6);
    s.maxSpeedKmh = static_cast<float>(clip_.ColumnDouble(7));
    s.status = ClipStatusFromText(clip_.ColumnText(8));
    s.reason = std::string(clip_.ColumnText(9));
    s.eventCount = static_cast<std::int32_t>(clip_.ColumnInt(10));
    s.eventRules.thresholdG = static_cast<double>(clip_.ColumnInt(11)) / 1000.0;
    s.eventRules.flipY = clip_.ColumnInt(12) != 0;
    s.source = std::string(clip_.ColumnText(13));
    s.traits.gSensor = clip_.ColumnInt(14) != 0;
    s.traits.clock = SourceClockFromText(clip_.ColumnText(15)).value_or(SourceClock::Camera);
    s.traits.inClip = clip_.ColumnInt(16) != 0;
    s.traits.extracted = clip_.ColumnInt(17) != 0;
    s.besideFiles = std::string(clip_.ColumnText(18));
  }
  clip_.Reset();
  return s;
}

std::vector<ClipSummary> CIndexReader::GetClips(std::span<const std::string> clipPaths) {
  std::vector<ClipSummary> clips;
  for (const std::string& clipPath : clipPaths) {
    ClipSummary s = GetClip(clipPath);
    if (s.status != ClipStatus::Unknown) clips.push_back(std::move(s));
  }
  return clips;
}

std::vector<IndexPoint> CIndexReader::GetPoints(const std::string& clipPath) {
  if (!Ready()) return {};
  return ReadPoints(points_, clipPath);
}

std::vector<DriveEvent> CIndexReader::GetEvents(const std::string& clipPath) {
  std::vector<DriveEvent> events;
  if (!Ready()) return events;
  events_.BindText(1, clipPath);
  while (events_.Step() == SQLITE_ROW) {
    const std::optional<DriveEventKind> kind = DriveEventKindFromText(events_.ColumnText(1));
    if (!kind) continue;  // a kind this program does not know
    events.push_back(DriveEvent{*kind, static_cast<float>(events_.ColumnDouble(2)),
                                static_cast<std::int32_t>(events_.ColumnInt(0)),
                                events_.ColumnDouble(3), events_.ColumnDouble(4)});
  }
  events_.Reset();
  return events;
}

std::vector<OverviewLine> CIndexReader::GetOverviews(std::span<const std::string> clipPaths) {
  std::vector<OverviewLine> lines;
  if (!Ready()) return lines;
  // One transaction, so the lines come from one state of the index even while the indexer writes.
  db_.Exec("BEGIN");
  for (const std::string& clipPath : clipPaths) {
    std::vector<IndexPoint> points = ReadPoints(overview_, clipPath);
    if (!points.empty()) lines.push_back({clipPath, std::move(points)});
  }
  db_.Exec("COMMIT");
  return lines;
}

}  // namespace korvane
