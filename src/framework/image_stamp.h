// Stamps one line of text into the bottom edge of a picture file: a dark band across the full
// width with the text in white, sized from the picture's height. The picture's own pixels above
// the band are kept; the file is replaced only once the stamped picture is written whole.
#pragma once
#include <string>

namespace DuiLib {

// False (file untouched) when the picture cannot be read or the stamped one cannot be written;
// an empty line stamps nothing and returns true.
bool StampBottomLine(const std::string& path, const std::string& line);

}  // namespace DuiLib
