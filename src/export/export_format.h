// The formats a track is exported in, and their names on the command line and as file types.
#pragma once
#include <optional>
#include <string_view>

namespace korvane {

enum class ExportFormat { Gpx, Kml, Csv };

// "gpx", "kml" or "csv" in any ASCII case; nullopt for anything else.
std::optional<ExportFormat> ParseExportFormat(std::string_view name);
// "gpx", "kml", "csv": the command-line name and the file extension.
std::string_view ExportFormatName(ExportFormat format);

}  // namespace korvane
