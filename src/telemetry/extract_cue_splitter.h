// Cuts the extractor's SRT byte stream into cues, the stream's "messages": one cue runs up to and
// including the blank line that ends it. Reads may merge several cues or cut one anywhere; the
// splitter joins what a read cut and keeps only the head of each cue that the pipeline stores.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

class CueSplitter {
 public:
  // `keep`: how many leading bytes of each cue are kept (the rest is counted, not stored).
  explicit CueSplitter(std::size_t keep);

  // Forgets any partial cue, for a new stream.
  void Reset();

  // Consumes bytes of `data` up to the end of the next complete cue and returns how many it
  // consumed (all of `data` when no cue ended in it). ready() then tells whether a cue ended.
  // Blank lines between cues belong to no cue; empty data returns 0.
  std::size_t Feed(std::string_view data);

  // End of the stream: a last cue that no blank line ended is complete too. True when there was
  // one (then ready() is true and cue() holds it).
  bool Finish();

  bool ready() const { return ready_; }
  // The head (at most `keep` bytes) of the cue that just ended; valid while ready().
  std::string_view cue() const { return cue_; }

 private:
  void DropTakenCue();

  std::size_t keep_;
  std::string cue_;
  bool atLineStart_ = true;  // the last byte that counts ended a line ('\r' does not count)
  bool hasText_ = false;     // the current cue has a byte other than a line end
  bool ready_ = false;
};

}  // namespace korvane
