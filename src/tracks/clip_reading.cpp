#include "tracks/clip_reading.h"

namespace korvane {

CClipReading::CClipReading(std::string indexPath, std::string indexerProgram,
                           std::function<void()> done)
    : points_(std::move(indexPath), std::move(indexerProgram)), done_(std::move(done)) {}

CClipReading::~CClipReading() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    waiting_.reset();
  }
  points_.Cancel();
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void CClipReading::Start(const std::string& path) {
  {
    std::lock_guard lock(mutex_);
    waiting_ = path;
    if (!thread_.joinable()) thread_ = std::thread(&CClipReading::Loop, this);
  }
  wake_.notify_all();
}

std::optional<CClipReading::Read> CClipReading::Take(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!read_ || read_->path != path) return std::nullopt;
  std::optional<Read> taken = std::move(read_);
  read_.reset();
  return taken;
}

void CClipReading::Loop() {
  for (;;) {
    std::string path;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || waiting_; });
      if (stop_) return;
      path = std::move(*waiting_);
      waiting_.reset();
    }
    Read read{path, {}, {}};
    std::vector<ClipSummary> summaries;
    const std::string error = points_.Refresh({path}, summaries);
    if (!error.empty() || summaries.empty()) {
      read.summary.path = path;
      read.summary.status = ClipStatus::Failed;
      read.summary.reason = error.empty() ? "the indexer could not read it" : error;
    } else {
      read.summary = std::move(summaries.front());
      std::string reason;
      if (read.summary.status == ClipStatus::Indexed &&
          !points_.Points(read.summary, read.points, reason)) {
        read.summary.status = ClipStatus::Failed;
        read.summary.reason = reason;
      }
    }
    {
      std::lock_guard lock(mutex_);
      read_ = std::move(read);
    }
    if (done_) done_();
  }
}

}  // namespace korvane
