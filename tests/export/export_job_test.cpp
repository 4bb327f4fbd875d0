// Whole exports on generated sample clips with the real indexer program: stale and fresh index
// entries, an index that cannot be written, a clip that keeps changing, a folder's trips.
#include "export/export_job.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <pugixml.hpp>
#include <thread>

#include "index/index_reader.h"
#include "support/file_text.h"
#include "support/sample_paths.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

std::string Indexer() {
  return test::ProgramDir() + "korvane-indexer";
}

int LineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class ExportJob : public testing::Test {
 protected:
  ExportResult Export(CClipPoints& source, std::vector<std::string> clips, ExportFormat format,
                      bool byTrip = false) {
    ExportRequest request;
    request.format = format;
    request.clips = std::move(clips);
    request.byTrip = byTrip;
    request.outputPath = output_;
    request.zone = CameraTimeZone{false, 480};
    request.clockOffsets = offsets_;
    return RunExport(request, source);
  }
  test::TempDir dir_;
  ClockOffsets offsets_;
  std::string output_ = dir_.str() + "out";
};

TEST_F(ExportJob, IndexesAStaleClipThenReadsItFromTheIndexAtFullRate) {
  const std::string index = dir_.str() + "index.sqlite";
  for (int run = 0; run < 2; ++run) {
    CClipPoints source(index, Indexer());
    const ExportResult result = Export(source, {test::CuesClip(641)}, ExportFormat::Csv);
    ASSERT_EQ(result.error, "") << run;
    EXPECT_EQ(result.counts.written, 641);
    EXPECT_EQ(LineCount(test::ReadFileText(output_)), 642);  // header + every cue
    EXPECT_EQ(CIndexReader(index).GetClip(test::CuesClip(641)).status, ClipStatus::Indexed);
  }
}

TEST_F(ExportJob, AnIndexThatCannotBeWrittenGivesWayToAPrivateOne) {
  CClipPoints source("/proc/korvane/index.sqlite", Indexer());
  const ExportResult result = Export(source, {test::CuesClip(5)}, ExportFormat::Csv);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(LineCount(test::ReadFileText(output_)), 6);
}

// A GPS log's times are the receiver's UTC: the camera's zone (+08:00 here) is not taken off,
// and it has no G columns to fill, but its GGA's altitude.
TEST_F(ExportJob, AClipWithAGpsLogGoesOutInItsUtcTimesWithoutGValues) {
  CClipPoints source(dir_.str() + "index.sqlite", Indexer());
  const ExportResult result =
      Export(source, {test::SamplePath("mixed/sidecar_only.mp4")}, ExportFormat::Csv);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.counts.written, 190);
  const std::string csv = test::ReadFileText(output_);
  const std::size_t start = csv.find('\n') + 1;
  const std::string firstRow = csv.substr(start, csv.find('\n', start) + 1 - start);
  EXPECT_EQ(firstRow.rfind("sidecar_only.mp4,0,2026-05-18T06:30:00Z,38.72", 0), 0u) << firstRow;
  // No G columns; the altitude of the moment's GGA.
  EXPECT_NE(firstRow.find(",,,,35.0\n"), std::string::npos) << firstRow;
}

// The camera clock offset goes onto the camera's times before its zone comes off, back over
// midnight here; a GPS log's receiver times take neither, whatever its folder's offset.
TEST_F(ExportJob, CameraTimesTakeTheirFoldersClockOffsetAndGpsLogTimesDoNot) {
  const std::string camera = test::CuesClip(5);
  const std::string log = test::SamplePath("mixed/sidecar_only.mp4");
  for (const std::string& clip : {camera, log}) {
    offsets_.Set(clip.substr(0, clip.rfind('/') + 1), -14 * 3600);
  }
  CClipPoints source(dir_.str() + "index.sqlite", Indexer());
  const ExportResult result = Export(source, {camera, log}, ExportFormat::Csv);
  ASSERT_EQ(result.error, "");
  const std::string csv = test::ReadFileText(output_);
  const std::string cameraName = camera.substr(camera.rfind('/') + 1);
  EXPECT_NE(csv.find("\n" + cameraName + ",0,2026-05-17T10:30:00Z,"), std::string::npos) << csv;
  EXPECT_NE(csv.find("\nsidecar_only.mp4,0,2026-05-18T06:30:00Z,"), std::string::npos) << csv;
}

// The log names the family of every clip written, once a family with its clips counted, in the
// order first met; a clip without telemetry is its own line and no family's.
TEST_F(ExportJob, TheLogCountsTheClipsEachSourceFamilyGave) {
  const std::vector<std::string> clips = {test::CuesClip(5), test::NoSubtitleClip(),
                                          test::SamplePath("mixed/sidecar_only.mp4"),
                                          test::DefaultClip()};
  CClipPoints source(dir_.str() + "index.sqlite", Indexer());
  const ExportResult result = Export(source, clips, ExportFormat::Gpx);
  ASSERT_EQ(result.error, "");
  ASSERT_EQ(result.log.size(), 3u);
  EXPECT_TRUE(result.log[0].starts_with(clips[1] + ": ")) << result.log[0];
  EXPECT_EQ(std::vector(result.log.begin() + 1, result.log.end()),
            (std::vector<std::string>{"2 clips read from Camera subtitle track",
                                      "1 clip read from NMEA log beside the clip"}));
}

TEST_F(ExportJob, AnExportOnAFullDiskSaysSoAndKeepsThePreviousFile) {
  const std::string clip = test::CuesClip(640);
  {
    CClipPoints indexed(dir_.str() + "index.sqlite", Indexer());
    ASSERT_EQ(Export(indexed, {clip}, ExportFormat::Gpx).error, "");
  }
  test::WriteFileText(output_, "the previous export\n");
  // A file-size limit the track overflows fails its write as a full disk does.
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 << 10, 64 << 10};
    setrlimit(RLIMIT_FSIZE, &limit);
    CClipPoints source(dir_.str() + "index.sqlite", Indexer());
    const ExportResult result = Export(source, {clip}, ExportFormat::Gpx);
    const bool saysDiskFull = WriteFailureOf(result.writeError) == WriteFailure::DiskFull &&
                              result.error.starts_with("cannot write " + output_ + ": ");
    _exit(saysDiskFull ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(test::ReadFileText(output_), "the previous export\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("out") &&
                 entry.path().string() != output_)
        << "no part file left: " << entry.path();
  }
}

TEST_F(ExportJob, AClipThatKeepsChangingFailsAndLeavesNoFile) {
  // The file grows after every indexing run, as a clip still being copied does.
  const std::string clip = dir_.str() + "growing.mp4";
  std::filesystem::copy_file(test::CuesClip(5), clip);
  const std::string script = dir_.str() + "indexer.sh";
  test::WriteFileText(script,
                      "#!/bin/sh\n'" + Indexer() + "' \"$@\"\nprintf x >> '" + clip + "'\n");
  chmod(script.c_str(), 0755);
  CClipPoints source(dir_.str() + "index.sqlite", script);
  const ExportResult result = Export(source, {clip}, ExportFormat::Gpx);
  EXPECT_NE(result.error.find("changed while it was exported"), std::string::npos) << result.error;
  EXPECT_FALSE(std::filesystem::exists(output_));
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path())) {
    EXPECT_FALSE(entry.path().filename().string().starts_with("out")) << "no part file left";
  }
}

// The indexer reading `path` (its command line names it), or 0 when none is.
pid_t IndexerReading(const std::string& path) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string line = test::ReadFileText((entry.path() / "cmdline").string());
    if (line.find("korvane-indexer") != std::string::npos && line.find(path) != std::string::npos) {
      return static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
    }
  }
  return 0;
}

TEST_F(ExportJob, AClipOverItsProcessorTimeIsStoredFailedAndNotReadAgain) {
  const std::string stuck = dir_.str() + "stuck.mp4";
  ASSERT_EQ(mkfifo(stuck.c_str(), 0600), 0);  // never fed: the indexer waits on it
  std::atomic<int> signalled{0};
  std::atomic<bool> done{false};
  // Sends the kernel's signal at the processor-time limit to whichever indexer has opened the
  // clip (a writer can open the pipe only then).
  std::thread limit([&] {
    while (!done) {
      if (const int fd = open(stuck.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) {
        if (const pid_t pid = IndexerReading(stuck); pid > 0 && kill(pid, SIGXCPU) == 0) {
          ++signalled;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  CClipPoints source(dir_.str() + "index.sqlite", Indexer());
  for (int run = 0; run < 2; ++run) {
    const ExportResult result = Export(source, {stuck}, ExportFormat::Csv);
    EXPECT_EQ(result.error, "no telemetry to export (used more than 20 s of processor time)");
  }
  done = true;
  limit.join();
  EXPECT_EQ(signalled, 1) << "the failed clip was read again";
}

TEST_F(ExportJob, AFolderGoesOutAsOneTrackPerTripEachMomentOnce) {
  // Two front clips of the same moments form one trip; the rear camera's clips add nothing: their
  // moments are the fronts', whose telemetry is taken, and a rear without any is not reported.
  std::vector<std::string> clips;
  for (const char* name : {"0001_F.mp4", "0002_F.mp4", "0001_R.mp4", "0002_R.mp4"}) {
    clips.push_back(dir_.str() + name);
    std::filesystem::copy_file(clips.size() == 4 ? test::NoSubtitleClip() : test::CuesClip(5),
                               clips.back());
  }
  // A clip that has no moment's front is reported.
  clips.push_back(dir_.str() + "0003_R.mp4");
  std::filesystem::copy_file(test::NoSubtitleClip(), clips.back());
  CClipPoints source(dir_.str() + "index.sqlite", Indexer());
  const ExportResult result = Export(source, clips, ExportFormat::Gpx, true);
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.tracks, 1);
  ASSERT_EQ(result.log.size(), 2u);
  EXPECT_TRUE(result.log[0].starts_with(clips.back() + ": ")) << result.log[0];
  EXPECT_EQ(result.log[1], "2 clips read from Camera subtitle track");
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_file(output_.c_str()));
  EXPECT_EQ(doc.select_nodes("/gpx/trk").size(), 1u);
  EXPECT_EQ(doc.select_nodes("/gpx/trk/trkseg/trkpt").size(), 10u);
  EXPECT_STREQ(doc.select_node("/gpx/trk/trkseg/trkpt/time").node().text().get(),
               "2026-05-18T00:30:00Z");
}

}  // namespace
}  // namespace korvane
