#include "export/clip_points.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "index/clip_file.h"
#include "index/indexer_limits.h"
#include "index/indexer_protocol.h"
#include "platform/process.h"

namespace korvane {
namespace {

// A file's entry can be used when it was made from the file as it is now and the indexer did
// finish it (a failure may have been a time-out of a low-priority run: the export tries again),
// or failed it on one of a clip's limits, which another try would hit again.
bool IsFresh(const ClipSummary& stored, std::string& factsError) {
  return IsStoredRowCurrent(stored, factsError) &&
         (stored.status != ClipStatus::Failed || IsClipLimitReason(stored.reason));
}

}  // namespace

CClipPoints::CClipPoints(std::string indexPath, std::string indexerProgram,
                         ImportedTracksOf importedTracks)
    : indexerProgram_(std::move(indexerProgram)),
      importedTracks_(std::move(importedTracks)),
      shared_(std::move(indexPath)) {}

CClipPoints::~CClipPoints() {
  private_.reset();
  if (!privateFolder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(privateFolder_, ignored);
  }
}

CIndexReader& CClipPoints::ReaderFor(const std::string& clip) {
  return private_ && inPrivate_[clip] ? *private_ : shared_;
}

bool CClipPoints::UsePrivateIndex(std::string& reason) {
  if (private_) return true;
  const char* tmp = getenv("TMPDIR");
  std::string pattern =
      std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/korvane-export-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) {
    reason = "cannot make a temporary index: " + std::string(std::strerror(errno));
    return false;
  }
  privateFolder_ = pattern;
  private_ = std::make_unique<CIndexReader>(privateFolder_ + "/index.sqlite");
  return true;
}

bool CClipPoints::RunIndexer(const std::string& db, const std::vector<std::string>& clips,
                             std::string& reason) {
  std::size_t next = 0;
  // One process for the clips; when a clip ends it (a crash), that clip is left out and the rest
  // go to a new one.
  while (next < clips.size()) {
    if (cancelled_) {
      reason = "the reading was cancelled";
      return false;
    }
    ChildProcess indexer;
    ProcessOptions options;
    options.program = indexerProgram_;
    options.args = {"--db", db};
    options.args.insert(options.args.end(), clips.begin() + static_cast<std::ptrdiff_t>(next),
                        clips.end());
    options.pipeStdout = true;
    if (const int rc = indexer.Start(options); rc != 0) {
      reason = "cannot start " + indexerProgram_ + ": " + std::strerror(rc);
      return false;
    }
    running_ = indexer.pid();
    // A cancel that came before the pid was known ends this run here.
    if (cancelled_) kill(indexer.pid(), SIGKILL);
    std::string pending;
    char buffer[4096];
    for (ssize_t got; (got = indexer.ReadStdout(buffer, sizeof buffer)) > 0;) {
      pending.append(buffer, static_cast<std::size_t>(got));
      for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
        const auto reply = ParseReply(std::string_view(pending).substr(0, end));
        pending.erase(0, end + 1);
        if (reply && reply->databaseError) {
          reason = reply->reason;
          return false;
        }
        ++next;
      }
    }
    indexer.WaitForExit(-1);
    running_ = 0;
    if (cancelled_) {
      reason = "the reading was cancelled";
      return false;
    }
    if (indexer.exitCode() == 0) return true;
    if (indexer.exitCode() == 3) {
      reason = "the index cannot be written";
      return false;
    }
    // The clip it was reading when it ended; one over its limits is stored as failed, so it is
    // not read again until it changes.
    if (IsClipLimitEnd(indexer.exitCode())) {
      StoreFailed(db, clips[next], IndexerEndReason(indexer.exitCode()));
    }
    ++next;
  }
  return true;
}

void CClipPoints::StoreFailed(const std::string& db, const std::string& clip,
                              const std::string& why) {
  ChildProcess indexer;
  ProcessOptions options;
  options.program = indexerProgram_;
  options.args = {"--db", db, "--serve"};
  options.pipeStdin = true;
  if (indexer.Start(options) != 0) return;
  const std::string request = FormatRequest({IndexerRequest::Kind::Fail, clip, why});
  indexer.WriteStdin(request.data(), request.size());
  indexer.CloseStdin();
  indexer.WaitForExit(5000);
}

void CClipPoints::Cancel() {
  cancelled_ = true;
  if (const pid_t pid = running_.load(); pid > 0) kill(pid, SIGKILL);
}

std::string CClipPoints::Refresh(const std::vector<std::string>& clips,
                                 std::vector<ClipSummary>& summaries) {
  std::vector<std::string> stale;
  for (const std::string& clip : clips) {
    std::string ignored;
    if (!IsFresh(ReaderFor(clip).GetClip(clip), ignored)) stale.push_back(clip);
  }
  if (!stale.empty()) {
    std::string reason;
    const bool sharedTaken = !private_ && RunIndexer(shared_.path(), stale, reason);
    if (!sharedTaken) {
      if (!UsePrivateIndex(reason)) return reason;
      if (!RunIndexer(private_->path(), stale, reason)) return reason;
      for (const std::string& clip : stale) inPrivate_[clip] = true;
    }
  }
  summaries.clear();
  for (const std::string& clip : clips) {
    ClipSummary s = ReaderFor(clip).GetClip(clip);
    if (s.status == ClipStatus::Unknown) {
      s.status = ClipStatus::Failed;
      s.reason = "the indexer could not read it";
    }
    summaries.push_back(std::move(s));
  }
  imported_.clear();
  if (!importedTracks_) return {};
  for (ImportedTrack& track : importedTracks_(clips)) {
    const auto row = std::find_if(summaries.begin(), summaries.end(), [&](const ClipSummary& s) {
      return s.path == track.summary.path;
    });
    if (row == summaries.end() || track.points.empty()) continue;
    imported_[row->path] = std::move(track.points);
    *row = std::move(track.summary);
  }
  return {};
}

bool CClipPoints::Points(ClipSummary& summary, std::vector<IndexPoint>& points,
                         std::string& reason) {
  if (const auto found = imported_.find(summary.path); found != imported_.end()) {
    points = found->second;
    return true;
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    CIndexReader& reader = ReaderFor(summary.path);
    points = reader.GetPoints(summary.path);
    const ClipSummary stored = reader.GetClip(summary.path);
    std::string factsError;
    // The entry must still be the one the summary came from, and the file still that file.
    if (IsFresh(stored, factsError) && IsUpToDate(summary, stored) &&
        stored.pointCount == static_cast<std::int32_t>(points.size())) {
      return true;
    }
    if (!factsError.empty()) {
      reason = factsError;
      return false;
    }
    if (attempt == 1) break;
    const std::string db = reader.path();
    if (!RunIndexer(db, {summary.path}, reason)) return false;
    summary = ReaderFor(summary.path).GetClip(summary.path);
  }
  reason = "the file changed while it was exported";
  points.clear();
  return false;
}

}  // namespace korvane
