// The index file: where it lives, its schema, and opening it for the one writer (the indexer) or
// for readers. The index is derived data: a file that is corrupt or of another schema is moved
// aside and rebuilt, never repaired, and losing it loses nothing the user made.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>

#include "index/sqlite_db.h"

namespace korvane {

// 2: the driving events of each clip and their count in its row. 3: points whose camera date is
// not a real date carry kNoCameraTime. 4: each clip's telemetry source and whether its points
// carry G values. 5: the source's traits and the files beside the clip in each row; points with
// milliseconds, altitude, heading and g. 6: rows read by the readers of the cameras' own tracks
// (GoPro, SigmaStar, Vueroid, Thinkware, LIGOGPS, Novatek TS), which an older row of the same
// clip never tried. An index of another version is moved aside and built again, as any derived
// data; a version is bumped when a new reader may find telemetry an older row said was not there.
constexpr std::int64_t kIndexSchemaVersion = 6;
// Marks the file as this program's index ("KRVX"), so a foreign SQLite file is never taken for it.
constexpr std::int64_t kIndexApplicationId = 0x4B525658;
constexpr int kIndexBusyTimeoutMs = 5000;

// $XDG_CACHE_HOME/korvane/index.sqlite ($XDG_CACHE_HOME when absolute, else ~/.cache); empty
// without a home folder.
std::string IndexDatabasePath();
// Where a bad index file goes: the path plus ".bad" (one moved-aside copy is kept, the newest).
std::string MovedAsidePath(const std::string& indexPath);

// Identity of the file at a path, to notice it being deleted or replaced under an open connection.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool exists = false;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
FileIdentity IdentityOf(const std::string& path);

struct WriterOpenResult {
  int rc = SQLITE_OK;  // SQLITE_OK, or why the index cannot be written (READONLY, CANTOPEN, ...)
  std::string error;   // for the log, empty on success
  bool movedAside = false;  // a corrupt or foreign file was moved aside and a new one made
};

// Opens (creating the folder and the file when missing) the index for writing: WAL, busy
// time-out, schema checked with a quick integrity check. A corrupt, foreign or other-version file
// is moved to MovedAsidePath (its WAL beside it) and a fresh index is made. Writers of several
// processes serialise this step on a lock file beside the index.
WriterOpenResult OpenIndexForWriting(const std::string& path, SqliteDb& db);

// Opens an existing index read-only with the busy time-out. False (and nothing held) when the file
// is missing, unreadable, or not an index of this schema version.
bool OpenIndexForReading(const std::string& path, SqliteDb& db);

}  // namespace korvane
