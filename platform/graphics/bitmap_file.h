#pragma once
// Bitmaps in the system's bitmap file format, as pictures travel in stored
// forms and as image tools read and write them.

#include <string>
#include <string_view>

#include "platform/graphics/graphics.h"

namespace tv {

class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
};

// A whole bitmap file. Opaque bitmaps of at most 256 colours take a palette
// of 8-bit indices; others keep 32 bits and their alpha.
std::string EncodeBitmapFile(const TBitmap& bitmap);

// Reads uncompressed files of 1, 4, 8, 24 and 32 bits per pixel, rows bottom
// up or top down. Raises EInvalidGraphic "Invalid bitmap file: ..." for
// anything else, including sizes the data does not hold.
TBitmap DecodeBitmapFile(std::string_view file);

}  // namespace tv
