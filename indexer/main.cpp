// korvane-indexer: indexes clips' telemetry into the index, the index's only writer. A separate
// process on purpose: a malformed clip may crash it, never the program's window.
//   korvane-indexer [--db PATH] CLIP...                    index the clips, one reply line each
//   korvane-indexer [--db PATH] --serve [--background]     requests on stdin, replies on stdout
// The protocol is in index/indexer_protocol.h. --background lowers the CPU and I/O priority.
// --cpu-seconds N gives each clip N s of processor time instead of the usual budget.
// Exit codes: 0 done, 2 bad command line, 3 the index cannot be written, 4 a clip used up its
// processor time (index/indexer_limits.h).
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "clip_indexer.h"
#include "index/index_database.h"
#include "index/index_writer.h"
#include "index/indexer_limits.h"
#include "index/indexer_protocol.h"
#include "platform/process_limits.h"
#include "platform/process_priority.h"

namespace korvane {
namespace {

constexpr int kExitUsage = 2;
constexpr int kExitDatabase = 3;

IndexerReply Handle(const IndexerRequest& request, CIndexWriter& writer, int processorSeconds) {
  IndexerReply reply;
  std::string error;
  if (request.kind == IndexerRequest::Kind::Fail) {
    const ClipSummary failed = FailedClip(request.path, request.reason);
    error = writer.Store(failed, {}, {});
    reply.status = ClipStatus::Failed;
    reply.reason = request.reason;
  } else {
    SetProcessorTimeFromNow(processorSeconds);
    try {
      const IndexedClip clip = IndexClip(request.path);
      error = writer.Store(clip.summary, clip.points, clip.overview, clip.events);
      reply.status = clip.summary.status;
      reply.reason = clip.summary.reason;
    } catch (const std::bad_alloc&) {
      // What the clip made us allocate is freed by now; its failure can be stored.
      error = writer.Store(FailedClip(request.path, MemoryLimitReason()), {}, {});
      reply.status = ClipStatus::Failed;
      reply.reason = MemoryLimitReason();
    }
  }
  if (!error.empty()) reply = IndexerReply{true, ClipStatus::Unknown, error};
  return reply;
}

void WriteReply(const IndexerReply& reply) {
  const std::string line = FormatReply(reply);
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fflush(stdout);
}

int Serve(CIndexWriter& writer, int processorSeconds) {
  std::string line;
  while (std::getline(std::cin, line)) {
    const auto request = ParseRequest(line);
    if (!request) {
      WriteReply({true, ClipStatus::Unknown, "bad request"});
      continue;
    }
    const IndexerReply reply = Handle(*request, writer, processorSeconds);
    WriteReply(reply);
    if (std::ferror(stdout)) return 0;  // the program has gone
  }
  return 0;
}

int Run(int argc, char** argv) {
  std::string db = IndexDatabasePath();
  bool serve = false;
  bool background = false;
  int processorSeconds = kClipProcessorSeconds;
  std::vector<std::string> clips;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--db" && i + 1 < argc) {
      db = argv[++i];
    } else if (arg == "--serve") {
      serve = true;
    } else if (arg == "--background") {
      background = true;
    } else if (arg == "--cpu-seconds" && i + 1 < argc) {
      processorSeconds = std::atoi(argv[++i]);
    } else if (arg.starts_with("--")) {
      std::fprintf(stderr, "korvane-indexer: unknown option %s\n", arg.c_str());
      return kExitUsage;
    } else {
      clips.push_back(arg);
    }
  }
  if (serve == !clips.empty()) {
    std::fprintf(stderr, "usage: korvane-indexer [--db PATH] CLIP... | --serve [--background]\n");
    return kExitUsage;
  }
  // An indexer belongs to the program that started it (the window, an export): it ends with it,
  // even when that program crashed.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (serve && getppid() == 1) return 0;
  // The program lowers a serving indexer's priority itself right after starting it; this covers
  // indexers started by hand.
  if (background) SetBackgroundPriority(0);
  // A file-size limit shows as a failed write (an index that cannot grow), not a killed process.
  signal(SIGXFSZ, SIG_IGN);
  signal(SIGPIPE, SIG_IGN);
  // A clip over its processor time ends us with a code the program records as a failed clip
  // (the default would dump core).
  signal(SIGXCPU, [](int) { _exit(kExitProcessorTime); });
  if (!kSanitizerBuild) SetAddressSpaceLimit(kIndexerAddressSpace);

  CIndexWriter writer(db);
  if (serve) return Serve(writer, processorSeconds);
  int status = 0;
  for (const std::string& clip : clips) {
    const IndexerReply reply =
        Handle({IndexerRequest::Kind::Index, clip, ""}, writer, processorSeconds);
    WriteReply(reply);
    if (reply.databaseError) status = kExitDatabase;
  }
  return status;
}

}  // namespace
}  // namespace korvane

int main(int argc, char** argv) {
  return korvane::Run(argc, argv);
}
