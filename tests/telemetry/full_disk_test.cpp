// Every file the program keeps in its data folder, and the snapshot's tags, written on a full
// disk: each write is tried in a child process whose file-size limit the write overflows (as a
// full disk fails it), must say it failed and that the disk is full (errno, which the window turns
// into words), and must leave the file as it was and nothing beside it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/profile_file.h"
#include "platform/write_failure.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"
#include "telemetry/clock_offset_store.h"
#include "telemetry/snapshot_exif.h"
#include "telemetry/snapshot_tags.h"
#include "telemetry/track_import_store.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

constexpr rlim_t kLimitBytes = 8192;  // every write below needs more

// Every file under `folder`: its path, size and a hash of its bytes.
std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    const std::string bytes = test::ReadFileText(entry.path());
    files[entry.path()] =
        std::to_string(bytes.size()) + " bytes, " + std::to_string(std::hash<std::string>{}(bytes));
  }
  return files;
}

// True when `write` reported a failure, for a full disk, in a child limited to kLimitBytes per
// file.
bool FailsOnAFullDisk(const std::function<bool()>& write) {
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails (EFBIG), as on a full disk
    rlimit limit{kLimitBytes, kLimitBytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    errno = 0;
    if (write()) _exit(0);
    _exit(WriteFailureOf(errno) == WriteFailure::DiskFull ? 1 : 2);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

struct FullDiskWrite {
  const char* name;
  // Writes what the data folder holds before (any size), then returns the write to try.
  std::function<std::function<bool()>(const std::string& data)> prepare;
};

const std::string kLong(9000, 'x');

class FullDisk : public testing::TestWithParam<FullDiskWrite> {};

TEST_P(FullDisk, AFailedWriteSaysSoAndLeavesTheFileAsItWas) {
  test::TempDir dir;
  const std::string data = dir.str() + "data/";
  fs::create_directories(data);
  const std::function<bool()> write = GetParam().prepare(data);
  const auto before = FilesUnder(data);
  ASSERT_FALSE(before.empty());
  EXPECT_TRUE(FailsOnAFullDisk(write));
  EXPECT_EQ(FilesUnder(data), before);
}

std::function<bool()> Settings(const std::string& data) {
  const std::string ini = data + "setting.ini";
  EXPECT_TRUE(WriteProfileString(ini, "Setting", "Language", "English"));
  // A value is cut to 254 characters, so a file over the limit takes many of them.
  for (int i = 0; i < 40; ++i) {
    EXPECT_TRUE(WriteProfileString(ini, "Setting", "Key" + std::to_string(i), kLong));
  }
  return [ini] { return WriteProfileString(ini, "Setting", "Language", "Japanese"); };
}

std::function<bool()> ClockOffset(const std::string& data) {
  ClockOffsets offsets;
  std::string error;
  EXPECT_TRUE(StoreClockOffset(data, "/media/card/DCIM", 3600, offsets, error)) << error;
  return [data] {
    ClockOffsets stored;
    std::string ignored;
    return StoreClockOffset(data, "/media/card/" + kLong, 60, stored, ignored);
  };
}

std::function<bool()> FolderImport(const std::string& data) {
  const std::string small = data + "../small.gpx", large = data + "../large.gpx";
  test::WriteFileText(small, "<gpx></gpx>\n");
  test::WriteFileText(large, "<gpx><!--" + kLong + "--></gpx>\n");
  std::string error;
  EXPECT_TRUE(StoreFolderImport(data, "/media/card/DCIM", small, error)) << error;
  return [data, large] {
    std::string ignored;
    return StoreFolderImport(data, "/media/card/DCIM", large, ignored);
  };
}

std::function<bool()> ImportChoice(const std::string& data) {
  std::string error;
  EXPECT_TRUE(StoreImportChoice(data, "/media/card/DCIM/a.mp4", true, error)) << error;
  return [data] {
    std::string ignored;
    return StoreImportChoice(data, "/media/card/DCIM/" + kLong + ".mp4", true, ignored);
  };
}

std::function<bool()> SnapshotTags(const std::string& data) {
  const std::string png = data + "shot.png";
  EXPECT_EQ(std::system(("convert -size 200x200 plasma:fractal '" + png + "'").c_str()), 0);
  EXPECT_GT(fs::file_size(png), kLimitBytes);
  return [png] {
    TelemetryRecord record;
    record.valid = true;
    record.year = 2026;
    record.month = 5;
    record.day = 18;
    record.latitude = 22.5;
    record.longitude = 113.9;
    return WriteExifTags(png, SnapshotExifTags(record)).empty();
  };
}

INSTANTIATE_TEST_SUITE_P(Writes, FullDisk,
                         testing::Values(FullDiskWrite{"Settings", Settings},
                                         FullDiskWrite{"ClockOffset", ClockOffset},
                                         FullDiskWrite{"FolderImport", FolderImport},
                                         FullDiskWrite{"ImportChoice", ImportChoice},
                                         FullDiskWrite{"SnapshotTags", SnapshotTags}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
