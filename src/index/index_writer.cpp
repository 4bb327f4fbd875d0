#include "index/index_writer.h"

#include <cmath>

#include "index/point_blob.h"

namespace korvane {

namespace {

constexpr const char* kUpsertClip = R"sql(
INSERT INTO clip(path, size, mtime_ns, duration_ms, first_camera_time, last_camera_time,
                 point_count, distance_m, max_speed_kmh, status, reason, event_count,
                 event_threshold_mg, event_flip_y, source, has_g_sensor, clock, in_clip,
                 extracted, beside_files)
VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18, ?19,
       ?20)
ON CONFLICT(path) DO UPDATE SET
  size = excluded.size, mtime_ns = excluded.mtime_ns, duration_ms = excluded.duration_ms,
  first_camera_time = excluded.first_camera_time, last_camera_time = excluded.last_camera_time,
  point_count = excluded.point_count, distance_m = excluded.distance_m,
  max_speed_kmh = excluded.max_speed_kmh, status = excluded.status, reason = excluded.reason,
  event_count = excluded.event_count, event_threshold_mg = excluded.event_threshold_mg,
  event_flip_y = excluded.event_flip_y, source = excluded.source,
  has_g_sensor = excluded.has_g_sensor, clock = excluded.clock, in_clip = excluded.in_clip,
  extracted = excluded.extracted, beside_files = excluded.beside_files
RETURNING id
)sql";

constexpr const char* kStoreTrack =
    "INSERT OR REPLACE INTO clip_track(clip_id, points, overview) VALUES(?1, ?2, ?3)";
constexpr const char* kDeleteEvents = "DELETE FROM clip_event WHERE clip_id = ?1";
constexpr const char* kStoreEvent =
    "INSERT INTO clip_event(clip_id, media_ms, kind, peak_g, latitude, longitude)"
    " VALUES(?1, ?2, ?3, ?4, ?5, ?6)";

// Runs a statement on the clip's id alone (SQLITE_DONE when it ran).
int RunForClip(SqliteDb& db, const char* sql, std::int64_t id) {
  SqliteStatement statement;
  int rc = statement.Prepare(db, sql);
  if (rc != SQLITE_OK) return rc;
  statement.Bind(1, id);
  return statement.Step();
}

int StoreEvents(SqliteDb& db, std::int64_t id, std::span<const DriveEvent> events) {
  int rc = RunForClip(db, kDeleteEvents, id);
  if (rc != SQLITE_DONE || events.empty()) return rc;
  SqliteStatement insert;
  rc = insert.Prepare(db, kStoreEvent);
  if (rc != SQLITE_OK) return rc;
  for (const DriveEvent& e : events) {
    insert.Bind(1, id);
    insert.Bind(2, std::int64_t{e.mediaMs});
    insert.BindText(3, DriveEventKindText(e.kind));
    insert.Bind(4, static_cast<double>(e.peakG));
    insert.Bind(5, e.latitude);
    insert.Bind(6, e.longitude);
    rc = insert.Step();
    if (rc != SQLITE_DONE) return rc;
    insert.Reset();
  }
  return SQLITE_DONE;
}

bool IsCorrupt(int rc) {
  return (rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB;
}

}  // namespace

std::string CIndexWriter::Open() {
  const WriterOpenResult opened = OpenIndexForWriting(path_, db_);
  movedAside_ = movedAside_ || opened.movedAside;
  opened_ = opened.rc == SQLITE_OK ? IdentityOf(path_) : FileIdentity{};
  return opened.error;
}

std::string CIndexWriter::Store(const ClipSummary& summary, std::span<const IndexPoint> points,
                                std::span<const IndexPoint> overview,
                                std::span<const DriveEvent> events) {
  // A writer holding a file that was deleted would write into nothing anyone reads again.
  if (!db_.IsOpen() || IdentityOf(path_) != opened_) {
    if (std::string error = Open(); !error.empty()) return error;
  }
  int rc = Write(summary, points, overview, events);
  if (IsCorrupt(rc)) {
    db_.Close();
    if (std::string error = Open(); !error.empty()) return error;
    rc = Write(summary, points, overview, events);
  }
  if (rc == SQLITE_OK) return "";
  return "cannot store in " + path_ + ": " + sqlite3_errstr(rc);
}

int CIndexWriter::Write(const ClipSummary& s, std::span<const IndexPoint> points,
                        std::span<const IndexPoint> overview, std::span<const DriveEvent> events) {
  int rc = db_.Exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return rc;
  SqliteStatement clip;
  rc = clip.Prepare(db_, kUpsertClip);
  if (rc == SQLITE_OK) {
    clip.BindText(1, s.path);
    clip.Bind(2, s.size);
    clip.Bind(3, s.mtimeNs);
    clip.Bind(4, s.durationMs);
    clip.Bind(5, s.firstCameraTime);
    clip.Bind(6, s.lastCameraTime);
    clip.Bind(7, std::int64_t{s.pointCount});
    clip.Bind(8, s.distanceM);
    clip.Bind(9, static_cast<double>(s.maxSpeedKmh));
    clip.BindText(10, ClipStatusText(s.status));
    clip.BindText(11, s.reason);
    // The count is of the events stored, whatever the summary was given.
    clip.Bind(12, static_cast<std::int64_t>(events.size()));
    clip.Bind(13, static_cast<std::int64_t>(std::llround(s.eventRules.thresholdG * 1000)));
    clip.Bind(14, std::int64_t{s.eventRules.flipY ? 1 : 0});
    clip.BindText(15, s.source);
    clip.Bind(16, std::int64_t{s.traits.gSensor ? 1 : 0});
    clip.BindText(17, SourceClockText(s.traits.clock));
    clip.Bind(18, std::int64_t{s.traits.inClip ? 1 : 0});
    clip.Bind(19, std::int64_t{s.traits.extracted ? 1 : 0});
    clip.BindText(20, s.besideFiles);
    rc = clip.Step();
  }
  std::int64_t id = 0;
  if (rc == SQLITE_ROW) {
    id = clip.ColumnInt(0);
    rc = clip.Step();  // runs the statement to its end before the next one writes
  }
  clip.Finalize();
  if (rc == SQLITE_DONE) {
    SqliteStatement track;
    rc = track.Prepare(db_, kStoreTrack);
    if (rc == SQLITE_OK) {
      track.Bind(1, id);
      track.BindBlob(2, PackPoints(points));
      track.BindBlob(3, PackPoints(overview));
      rc = track.Step();
    }
  }
  if (rc == SQLITE_DONE) rc = StoreEvents(db_, id, events);
  if (rc == SQLITE_DONE) rc = db_.Exec("COMMIT");
  if (rc != SQLITE_OK) db_.Exec("ROLLBACK");
  return rc;
}

}  // namespace korvane
