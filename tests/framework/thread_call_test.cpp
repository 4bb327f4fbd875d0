// Calls handed to an object's thread: one queued from a worker runs on the object's thread, after
// the calls queued before it, and sees what the worker wrote before queuing it (which a
// ThreadSanitizer build checks); one made on the object's own thread runs at once.
#include "framework/thread_call.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QThread>
#include <string>
#include <thread>
#include <vector>

#include "support/framework_test_window.h"

namespace DuiLib {
namespace {

using korvane::test::PumpUntil;

TEST(ThreadCall, ACallFromAWorkerRunsOnTheObjectsThreadInTurnWithWhatTheWorkerWrote) {
  QObject target;
  std::vector<std::string> notes(3);  // each written by the worker before the call that reads it
  std::vector<std::string> seen;      // touched by the calls only, on the target's thread
  std::vector<bool> onTargetThread;
  std::thread worker([&] {
    for (std::size_t i = 0; i < notes.size(); ++i) {
      notes[i] = "call " + std::to_string(i);
      QueueCall(&target, [&, i] {
        onTargetThread.push_back(QThread::currentThread() == target.thread());
        seen.push_back(notes[i]);
      });
    }
  });
  // The calls run while the worker may still be queuing: only the queue orders the two threads.
  ASSERT_TRUE(PumpUntil([&] { return seen.size() == 3; }));
  worker.join();
  EXPECT_EQ(seen, (std::vector<std::string>{"call 0", "call 1", "call 2"}));
  EXPECT_EQ(onTargetThread, std::vector<bool>(3, true));
}

TEST(ThreadCall, ACallOnTheObjectsOwnThreadRunsAtOnce) {
  QObject target;
  bool ran = false;
  RunOnThreadOf(&target, [&] { ran = true; });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace DuiLib
