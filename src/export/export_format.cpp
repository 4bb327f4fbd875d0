#include "export/export_format.h"

#include "platform/ascii_text.h"

namespace korvane {

std::optional<ExportFormat> ParseExportFormat(std::string_view name) {
  for (const ExportFormat format : {ExportFormat::Gpx, ExportFormat::Kml, ExportFormat::Csv}) {
    if (EqualsIgnoringAsciiCase(name, ExportFormatName(format))) return format;
  }
  return std::nullopt;
}

std::string_view ExportFormatName(ExportFormat format) {
  switch (format) {
    case ExportFormat::Gpx:
      return "gpx";
    case ExportFormat::Kml:
      return "kml";
    case ExportFormat::Csv:
      return "csv";
  }
  return "gpx";
}

}  // namespace korvane
