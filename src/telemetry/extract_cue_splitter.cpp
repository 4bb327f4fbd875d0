#include "telemetry/extract_cue_splitter.h"

namespace korvane {

CueSplitter::CueSplitter(std::size_t keep) : keep_(keep) {
  cue_.reserve(keep);
}

void CueSplitter::Reset() {
  cue_.clear();
  atLineStart_ = true;
  hasText_ = false;
  ready_ = false;
}

void CueSplitter::DropTakenCue() {
  if (!ready_) return;
  cue_.clear();
  hasText_ = false;
  ready_ = false;
}

std::size_t CueSplitter::Feed(std::string_view data) {
  DropTakenCue();
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c == '\n') {
      if (atLineStart_ && hasText_) {
        if (cue_.size() < keep_) cue_.push_back(c);
        ready_ = true;
        return i + 1;
      }
      atLineStart_ = true;
    } else if (c != '\r') {
      atLineStart_ = false;
      hasText_ = true;
    }
    // Line ends before the first text are the gap between two cues, not part of either.
    if (hasText_ && cue_.size() < keep_) cue_.push_back(c);
  }
  return data.size();
}

bool CueSplitter::Finish() {
  DropTakenCue();
  atLineStart_ = true;
  if (!hasText_) {
    cue_.clear();
    return false;
  }
  ready_ = true;
  return true;
}

}  // namespace korvane
