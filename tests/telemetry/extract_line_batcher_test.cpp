#include "telemetry/extract_line_batcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

// Records what the track builder would see: each batch's index and its lines.
class RecordingSink : public IBatchSink {
 public:
  explicit RecordingSink(const LineBatcher& batcher) : batcher_(batcher) {}

  int ProcessBatch(std::int32_t batchIndex) override {
    Batch batch{batchIndex, {}};
    for (int i = 0; i < batcher_.lineCount(); ++i) batch.lines.emplace_back(batcher_.slot(i));
    batches.push_back(batch);
    return answer;
  }
  void NothingKept() override { ++nothingKept; }

  struct Batch {
    std::int32_t index;
    std::vector<std::string> lines;
  };
  std::vector<Batch> batches;
  int nothingKept = 0;
  int answer = 1;

 private:
  const LineBatcher& batcher_;
};

std::string Message(int n) {
  return "message " + std::to_string(n);
}

// Runs one stream of `messages` numbered messages through the batcher.
void RunStream(LineBatcher& batcher, RecordingSink& sink, int messages) {
  batcher.BeginRun();
  for (int n = 1; n <= messages; ++n) {
    if (!batcher.Add(Message(n), sink)) break;
  }
  batcher.Finish(sink);
}

struct BatchCase {
  int messages;
  std::vector<int> batchSizes;  // lines per batch, in order
  bool lastAppended;  // the final batch ends with the run's last message, appended once more
  int nothingKept;
};

class LineBatching : public testing::TestWithParam<BatchCase> {};

TEST_P(LineBatching, KeepsOneMessageInTenAndBatchesThemBySixtyFour) {
  const BatchCase& c = GetParam();
  LineBatcher batcher;
  RecordingSink sink(batcher);
  RunStream(batcher, sink, c.messages);

  ASSERT_EQ(sink.batches.size(), c.batchSizes.size());
  int kept = 0;  // index of the next kept message: 1, 11, 21, ...
  for (std::size_t b = 0; b < sink.batches.size(); ++b) {
    const auto& batch = sink.batches[b];
    EXPECT_EQ(batch.index, static_cast<std::int32_t>(b));
    ASSERT_EQ(static_cast<int>(batch.lines.size()), c.batchSizes[b]) << "batch " << b;
    const bool last = b + 1 == sink.batches.size();
    for (std::size_t i = 0; i < batch.lines.size(); ++i) {
      if (last && c.lastAppended && i + 1 == batch.lines.size()) {
        EXPECT_EQ(batch.lines[i], Message(c.messages));
      } else {
        EXPECT_EQ(batch.lines[i], Message(1 + 10 * kept++));
      }
    }
  }
  EXPECT_EQ(sink.nothingKept, c.nothingKept);
  EXPECT_EQ(batcher.batchCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, LineBatching,
    testing::Values(BatchCase{0, {}, false, 1},        // nothing at all: 518 only
                    BatchCase{1, {2}, true, 0},        // the one message twice
                    BatchCase{5, {2}, true, 0},        // message 1, then message 5
                    BatchCase{630, {64}, true, 0},     // 63 kept + the last fill the chunk
                    BatchCase{640, {64}, false, 0},    // one full batch, nothing pending
                    BatchCase{641, {64, 2}, true, 0},  // message 641 kept and appended
                    BatchCase{1280, {64, 64}, false, 0}, BatchCase{1290, {64, 64, 2}, true, 0}),
    [](const testing::TestParamInfo<BatchCase>& info) {
      return std::to_string(info.param.messages) + "Messages";
    });

TEST(LineBatcher, CutsLinesTo127BytesAndZeroFillsTheSlot) {
  LineBatcher batcher;
  RecordingSink sink(batcher);
  batcher.BeginRun();
  batcher.Add(std::string(300, 'a'), sink);
  batcher.Add("short", sink);
  batcher.Finish(sink);
  ASSERT_EQ(sink.batches.size(), 1u);
  EXPECT_EQ(sink.batches[0].lines[0], std::string(127, 'a'));
  EXPECT_EQ(sink.batches[0].lines[1], "short");
  const char* second = batcher.slot(1);
  for (int i = 5; i < kLineSlotSize; ++i) ASSERT_EQ(second[i], '\0') << i;
}

TEST(LineBatcher, KeepsLeadingNulBytesOfAMessage) {
  LineBatcher batcher;
  RecordingSink sink(batcher);
  batcher.BeginRun();
  batcher.Add(std::string("\0\0tail", 6), sink);
  batcher.Finish(sink);
  EXPECT_EQ(std::string(batcher.slot(0), 6), std::string("\0\0tail", 6));
}

TEST(LineBatcher, StopsWhenTheTrackBuilderSaysStoppingAndReportsNothingMore) {
  LineBatcher batcher;
  RecordingSink sink(batcher);
  sink.answer = -1;
  RunStream(batcher, sink, 2000);
  ASSERT_EQ(sink.batches.size(), 1u);  // the loop ended at the first -1
  EXPECT_EQ(sink.nothingKept, 0);
  EXPECT_EQ(batcher.batchCount(), 0);
}

TEST(LineBatcher, ANewRunStartsFromTheFirstMessageAgain) {
  LineBatcher batcher;
  RecordingSink sink(batcher);
  RunStream(batcher, sink, 7);  // leaves the message counter mid-cycle in a careless implementation
  sink.batches.clear();
  RunStream(batcher, sink, 641);
  ASSERT_EQ(sink.batches.size(), 2u);
  EXPECT_EQ(sink.batches[0].index, 0);
  EXPECT_EQ(sink.batches[0].lines[0], Message(1));
  EXPECT_EQ(sink.batches[1].lines, (std::vector<std::string>{Message(641), Message(641)}));
}

TEST(LineBatcher, SlotIndexOutOfRangeIsNull) {
  LineBatcher batcher;
  EXPECT_EQ(batcher.slot(-1), nullptr);
  EXPECT_EQ(batcher.slot(kLineSlotCount), nullptr);
  EXPECT_NE(batcher.slot(kLineSlotCount - 1), nullptr);
}

}  // namespace
}  // namespace korvane
