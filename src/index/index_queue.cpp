#include "index/index_queue.h"

namespace korvane {

std::vector<int> NearestFirst(int count, int current) {
  std::vector<int> order;
  if (count <= 0) return order;
  if (current < 0 || current >= count) current = 0;
  order.reserve(static_cast<std::size_t>(count));
  order.push_back(current);
  for (int distance = 1; static_cast<int>(order.size()) < count; ++distance) {
    if (current + distance < count) order.push_back(current + distance);
    if (current - distance >= 0) order.push_back(current - distance);
  }
  return order;
}

void IndexQueue::Reset(std::vector<std::string> clips) {
  waiting_.clear();
  crashes_.clear();
  for (std::string& clip : clips) {
    waiting_.push_back({IndexerRequest::Kind::Index, std::move(clip), ""});
  }
  total_ = waiting_.size();
  done_ = 0;
}

std::optional<IndexerRequest> IndexQueue::Next() {
  if (waiting_.empty()) return std::nullopt;
  IndexerRequest next = std::move(waiting_.front());
  waiting_.pop_front();
  return next;
}

void IndexQueue::Answered(const IndexerRequest&) {
  ++done_;
}

void IndexQueue::Crashed(const IndexerRequest& request, const std::string& reason) {
  if (request.kind == IndexerRequest::Kind::Fail) {
    ++done_;
    return;
  }
  if (++crashes_[request.path] == 1) {
    waiting_.push_front(request);
  } else {
    MarkFailed(request.path, reason);
  }
}

void IndexQueue::TimedOut(const IndexerRequest& request, const std::string& reason) {
  if (request.kind == IndexerRequest::Kind::Fail) {
    ++done_;
    return;
  }
  MarkFailed(request.path, reason);
}

void IndexQueue::MarkFailed(const std::string& path, const std::string& reason) {
  waiting_.push_front({IndexerRequest::Kind::Fail, path, reason});
}

}  // namespace korvane
