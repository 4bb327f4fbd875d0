// The line protocol between the program and a serving indexer process: one request line on the
// indexer's standard input, one reply line on its standard output. Fields are separated by tabs;
// a backslash, tab or line feed inside a field is escaped, so any path fits on one line.
//   requests:  index <TAB> path            index the clip now
//              fail <TAB> path <TAB> reason mark the clip failed (after a crash or time-out)
//   replies:   done <TAB> status <TAB> reason   the clip is stored with that status
//              dberror <TAB> reason             nothing stored: the index cannot be written
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "index/index_point.h"

namespace korvane {

struct IndexerRequest {
  enum class Kind { Index, Fail };
  Kind kind = Kind::Index;
  std::string path;
  std::string reason;  // Fail only
};

struct IndexerReply {
  bool databaseError = false;
  ClipStatus status = ClipStatus::Unknown;  // when stored
  std::string reason;
};

// Each ends in "\n".
std::string FormatRequest(const IndexerRequest& request);
std::string FormatReply(const IndexerReply& reply);
// A line without its "\n". nullopt for an unknown verb, a wrong field count, a bad escape or an
// unknown status.
std::optional<IndexerRequest> ParseRequest(std::string_view line);
std::optional<IndexerReply> ParseReply(std::string_view line);

}  // namespace korvane
