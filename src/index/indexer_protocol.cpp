#include "index/indexer_protocol.h"

#include <vector>

#include "platform/field_line.h"

namespace korvane {

std::string FormatRequest(const IndexerRequest& request) {
  if (request.kind == IndexerRequest::Kind::Fail) {
    return JoinFields({"fail", request.path, request.reason});
  }
  return JoinFields({"index", request.path});
}

std::string FormatReply(const IndexerReply& reply) {
  if (reply.databaseError) return JoinFields({"dberror", reply.reason});
  return JoinFields({"done", ClipStatusText(reply.status), reply.reason});
}

std::optional<IndexerRequest> ParseRequest(std::string_view line) {
  const auto fields = SplitFields(line);
  if (!fields || (*fields)[0].empty()) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  if (f[0] == "index" && f.size() == 2 && !f[1].empty()) {
    return IndexerRequest{IndexerRequest::Kind::Index, f[1], ""};
  }
  if (f[0] == "fail" && f.size() == 3 && !f[1].empty()) {
    return IndexerRequest{IndexerRequest::Kind::Fail, f[1], f[2]};
  }
  return std::nullopt;
}

std::optional<IndexerReply> ParseReply(std::string_view line) {
  const auto fields = SplitFields(line);
  if (!fields) return std::nullopt;
  const std::vector<std::string>& f = *fields;
  if (f[0] == "dberror" && f.size() == 2) return IndexerReply{true, ClipStatus::Unknown, f[1]};
  if (f[0] == "done" && f.size() == 3) {
    const ClipStatus status = ClipStatusFromText(f[1]);
    if (status == ClipStatus::Unknown) return std::nullopt;
    return IndexerReply{false, status, f[2]};
  }
  return std::nullopt;
}

}  // namespace korvane
