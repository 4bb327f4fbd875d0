#include "telemetry/snapshot_exif.h"

#include <cerrno>
#include <exiv2/exiv2.hpp>
#include <filesystem>
#include <system_error>

namespace korvane {

std::string WriteExifTags(const std::string& path, const std::vector<ExifTag>& tags) {
  namespace fs = std::filesystem;
  const fs::path original(path);
  const fs::path copy = fs::path(path + ".exif-part");
  std::error_code error;
  errno = 0;
  fs::copy_file(original, copy, fs::copy_options::overwrite_existing, error);
  if (error) {
    // A copy cut short by a full disk is not left beside the picture.
    std::error_code ignored;
    // The copy's own errno tells a full disk; its error code says only EIO for a short copy.
    const int why = errno != 0 ? errno : error.value();
    fs::remove(copy, ignored);
    errno = why;
    return "cannot copy the snapshot: " + error.message();
  }
  std::string failure;
  try {
    auto image = Exiv2::ImageFactory::open(copy.string());
    if (image.get() == nullptr || image->imageType() != Exiv2::ImageType::png) {
      failure = "not a PNG picture";
    } else {
      image->readMetadata();
      Exiv2::ExifData& exif = image->exifData();
      for (const ExifTag& tag : tags) {
        Exiv2::Exifdatum& datum = exif[tag.key];
        if (datum.setValue(tag.value) != 0) {
          failure = "exiv2 refused " + tag.key + " = " + tag.value;
          break;
        }
      }
      if (failure.empty()) image->writeMetadata();
    }
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (failure.empty()) {
    fs::rename(copy, original, error);
    if (error) failure = "cannot replace the snapshot: " + error.message();
  }
  if (failure.empty()) return failure;
  const int why = error ? error.value() : errno;
  fs::remove(copy, error);
  errno = why;
  return failure;
}

}  // namespace korvane
