#include "index/index_database.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/xdg_folders.h"

namespace korvane {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE clip(
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE,
  size INTEGER NOT NULL,
  mtime_ns INTEGER NOT NULL,
  duration_ms INTEGER NOT NULL,
  first_camera_time INTEGER NOT NULL,
  last_camera_time INTEGER NOT NULL,
  point_count INTEGER NOT NULL,
  distance_m REAL NOT NULL,
  max_speed_kmh REAL NOT NULL,
  status TEXT NOT NULL,
  reason TEXT NOT NULL,
  event_count INTEGER NOT NULL,
  event_threshold_mg INTEGER NOT NULL,
  event_flip_y INTEGER NOT NULL,
  source TEXT NOT NULL,
  has_g_sensor INTEGER NOT NULL,
  clock TEXT NOT NULL,
  in_clip INTEGER NOT NULL,
  extracted INTEGER NOT NULL,
  beside_files TEXT NOT NULL);
CREATE TABLE clip_track(
  clip_id INTEGER PRIMARY KEY REFERENCES clip(id) ON DELETE CASCADE,
  points BLOB NOT NULL,
  overview BLOB NOT NULL);
CREATE TABLE clip_event(
  clip_id INTEGER NOT NULL REFERENCES clip(id) ON DELETE CASCADE,
  media_ms INTEGER NOT NULL,
  kind TEXT NOT NULL,
  peak_g REAL NOT NULL,
  latitude REAL NOT NULL,
  longitude REAL NOT NULL);
CREATE INDEX clip_event_clip ON clip_event(clip_id, media_ms);
)sql";

enum class FileState { Fresh, Ours, Bad };

// What the opened file is. Any error reading it other than "busy" counts as a bad file; a
// read-only or unopenable file shows up later, when it is written.
FileState Inspect(SqliteDb& db, int& rc) {
  const std::int64_t appId = db.QueryInt("PRAGMA application_id", -1, &rc);
  if (rc != SQLITE_OK) return FileState::Bad;
  const std::int64_t version = db.QueryInt("PRAGMA user_version", -1, &rc);
  if (rc != SQLITE_OK) return FileState::Bad;
  const std::int64_t tables = db.QueryInt("SELECT count(*) FROM sqlite_schema", -1, &rc);
  if (rc != SQLITE_OK) return FileState::Bad;
  if (appId == 0 && version == 0 && tables == 0) return FileState::Fresh;
  if (appId != kIndexApplicationId || version != kIndexSchemaVersion) return FileState::Bad;
  SqliteStatement check;
  rc = check.Prepare(db, "PRAGMA quick_check(1)");
  if (rc != SQLITE_OK) return FileState::Bad;
  rc = check.Step();
  if (rc != SQLITE_ROW || check.ColumnText(0) != "ok") return FileState::Bad;
  rc = SQLITE_OK;
  return FileState::Ours;
}

bool IsBusy(int rc) {
  return (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED;
}

void MoveAside(const std::string& path) {
  const std::string aside = MovedAsidePath(path);
  std::rename(path.c_str(), aside.c_str());
  std::rename((path + "-wal").c_str(), (aside + "-wal").c_str());
  std::remove((path + "-shm").c_str());
}

int CreateSchema(SqliteDb& db) {
  std::string sql = "BEGIN IMMEDIATE;";
  sql += kSchema;
  sql += "PRAGMA application_id=" + std::to_string(kIndexApplicationId) + ";";
  sql += "PRAGMA user_version=" + std::to_string(kIndexSchemaVersion) + ";";
  sql += "COMMIT;";
  const int rc = db.Exec(sql.c_str());
  if (rc != SQLITE_OK) db.Exec("ROLLBACK");
  return rc;
}

// Holds an exclusive lock on a file beside the index while one writer checks or rebuilds it.
class WriterLock {
 public:
  explicit WriterLock(const std::string& indexPath)
      : fd_(::open((indexPath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~WriterLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

std::string IndexDatabasePath() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  std::string folder;
  if (cache != nullptr && cache[0] == '/') {
    folder = cache;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return "";
    folder = home + "/.cache";
  }
  return folder + "/korvane/index.sqlite";
}

std::string MovedAsidePath(const std::string& indexPath) {
  return indexPath + ".bad";
}

FileIdentity IdentityOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {st.st_dev, st.st_ino, true};
}

WriterOpenResult OpenIndexForWriting(const std::string& path, SqliteDb& db) {
  WriterOpenResult result;
  db.Close();
  if (path.empty()) return {SQLITE_CANTOPEN, "no index path (no home folder)", false};
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  WriterLock lock(path);
  if (!lock.held()) return {SQLITE_CANTOPEN, "cannot write beside " + path, false};

  for (int attempt = 0; attempt < 2; ++attempt) {
    int rc = db.Open(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
    if (rc != SQLITE_OK) return {rc, "cannot open " + path + ": " + sqlite3_errstr(rc), false};
    sqlite3_busy_timeout(db.handle(), kIndexBusyTimeoutMs);
    FileState state = Inspect(db, rc);
    if (state == FileState::Bad && IsBusy(rc)) {
      db.Close();
      return {rc, "index busy: " + std::string(sqlite3_errstr(rc)), false};
    }
    if (state == FileState::Bad && attempt == 0) {
      db.Close();
      MoveAside(path);
      result.movedAside = true;
      continue;
    }
    if (state == FileState::Bad) break;
    // WAL lets the program read while the indexer writes; it is stored in the file once set.
    // No syncs: the index is derived from the clips, and SQLite without them still survives a
    // crash of the program; only a crash of the system can damage the file, and the next open
    // checks it (Inspect) and rebuilds one that fails. Each sync would cost a first look at a
    // clip several times what reading its track does.
    rc = db.Exec("PRAGMA synchronous=OFF; PRAGMA journal_mode=WAL; PRAGMA foreign_keys=ON");
    if (rc == SQLITE_OK && state == FileState::Fresh) rc = CreateSchema(db);
    if (rc != SQLITE_OK) {
      result.rc = rc;
      result.error = "cannot write " + path + ": " + db.errorMessage();
      db.Close();
      return result;
    }
    return result;
  }
  db.Close();
  return {SQLITE_CORRUPT, "a new index at " + path + " still does not read back", true};
}

bool OpenIndexForReading(const std::string& path, SqliteDb& db) {
  if (path.empty() || !IdentityOf(path).exists) return false;
  if (db.Open(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX) != SQLITE_OK) return false;
  sqlite3_busy_timeout(db.handle(), kIndexBusyTimeoutMs);
  int rc = SQLITE_OK;
  const bool ours =
      db.QueryInt("PRAGMA application_id", -1, &rc) == kIndexApplicationId && rc == SQLITE_OK &&
      db.QueryInt("PRAGMA user_version", -1, &rc) == kIndexSchemaVersion && rc == SQLITE_OK;
  if (!ours) db.Close();
  return ours;
}

}  // namespace korvane
