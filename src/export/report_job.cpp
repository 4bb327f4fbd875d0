#include "export/report_job.h"

namespace korvane {

ReportResult ReportClips(const std::vector<std::string>& clips, CClipPoints& source) {
  ReportResult result;
  std::vector<ClipSummary> summaries;
  if (result.error = source.Refresh(clips, summaries); !result.error.empty()) return result;
  for (ClipSummary& summary : summaries) {
    std::vector<IndexPoint> points;
    std::string reason = summary.reason;
    const bool read = summary.status != ClipStatus::Failed &&
                      (summary.pointCount <= 0 || source.Points(summary, points, reason));
    if (read) {
      result.reports.push_back(ReportOfClip(summary, points));
    } else {
      result.failures.push_back(summary.path + ": could not be indexed: " + reason);
    }
  }
  return result;
}

}  // namespace korvane
