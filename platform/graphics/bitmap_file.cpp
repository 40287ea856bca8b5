#include "platform/graphics/bitmap_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace tv {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kOpaque = 0xFF000000u;
// A stored form or a scanner's picture never needs more; a hostile header
// must not make us allocate gigabytes.
constexpr std::uint64_t kMaxPixels = 16u * 1024u * 1024u;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch

void Put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t Get(std::string_view in, std::size_t at, int bytes) {
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(in[at + i]);
  return value;
}

[[noreturn]] void Invalid(const std::string& why) {
  throw EInvalidGraphic("Invalid bitmap file: " + why);
}

std::size_t RowStride(std::uint64_t width, int bits) {
  return static_cast<std::size_t>((width * static_cast<unsigned>(bits) + 31) / 32 * 4);
}

// The colours of an opaque bitmap when there are at most 256 of them.
bool OpaquePalette(const TBitmap& bitmap, std::map<std::uint32_t, int>& palette) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t pixel = bitmap.Pixel(x, y);
      if ((pixel & kOpaque) != kOpaque) return false;
      if (palette.emplace(pixel, 0).second && palette.size() > 256) return false;
    }
  int index = 0;
  for (auto& entry : palette) entry.second = index++;
  return true;
}

void PutHeaders(std::string& out, const TBitmap& bitmap, int bits, std::size_t colours) {
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize + 4 * colours;
  const std::size_t image =
      RowStride(static_cast<std::uint64_t>(bitmap.Width()), bits) * static_cast<std::size_t>(bitmap.Height());
  out.append("BM");
  Put(out, offset + image, 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  Put(out, kInfoHeaderSize, 4);
  Put(out, static_cast<std::uint32_t>(bitmap.Width()), 4);
  Put(out, static_cast<std::uint32_t>(bitmap.Height()), 4);
  Put(out, 1, 2);
  Put(out, static_cast<unsigned>(bits), 2);
  Put(out, 0, 4);  // uncompressed
  Put(out, image, 4);
  Put(out, kPixelsPerMetre, 4);
  Put(out, kPixelsPerMetre, 4);
  Put(out, colours, 4);
  Put(out, 0, 4);
}

void PutRows(std::string& out, const TBitmap& bitmap, int bits, const std::map<std::uint32_t, int>& palette) {
  const std::size_t stride = RowStride(static_cast<std::uint64_t>(bitmap.Width()), bits);
  for (int y = bitmap.Height() - 1; y >= 0; --y) {
    const std::size_t start = out.size();
    for (int x = 0; x < bitmap.Width(); ++x) {
      const std::uint32_t pixel = bitmap.Pixel(x, y);
      if (bits == 8)
        Put(out, static_cast<unsigned>(palette.at(pixel)), 1);
      else
        Put(out, pixel, 4);
    }
    out.append(stride - (out.size() - start), '\0');
  }
}

struct TLayout {
  std::int64_t Width = 0, Height = 0;  // height as stored: negative for top-down rows
  int Bits = 0;
  std::size_t Colours = 0, PaletteAt = 0, PixelsAt = 0;
};

TLayout ReadLayout(std::string_view file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file.substr(0, 2) != "BM")
    Invalid("no bitmap header");
  TLayout layout;
  const std::uint32_t headerSize = Get(file, 14, 4);
  if (headerSize < kInfoHeaderSize || headerSize > file.size() - kFileHeaderSize) Invalid("unknown header");
  layout.Width = static_cast<std::int32_t>(Get(file, 18, 4));
  layout.Height = static_cast<std::int32_t>(Get(file, 22, 4));
  layout.Bits = static_cast<int>(Get(file, 28, 2));
  if (Get(file, 30, 4) != 0) Invalid("compressed bitmaps are not supported");
  if (layout.Bits != 1 && layout.Bits != 4 && layout.Bits != 8 && layout.Bits != 24 && layout.Bits != 32)
    Invalid(std::to_string(layout.Bits) + " bits per pixel");
  const std::uint64_t height = static_cast<std::uint64_t>(layout.Height < 0 ? -layout.Height : layout.Height);
  if (layout.Width <= 0 || height == 0 || static_cast<std::uint64_t>(layout.Width) * height > kMaxPixels)
    Invalid("size " + std::to_string(layout.Width) + " by " + std::to_string(layout.Height));
  if (layout.Bits <= 8) {
    const std::uint32_t used = Get(file, 46, 4);
    layout.Colours = used == 0 ? std::size_t{1} << layout.Bits : used;
    if (layout.Colours > (std::size_t{1} << layout.Bits)) Invalid("palette of " + std::to_string(used));
  }
  layout.PaletteAt = kFileHeaderSize + headerSize;
  layout.PixelsAt = Get(file, 10, 4);
  const std::uint64_t end = static_cast<std::uint64_t>(layout.PixelsAt) +
                            RowStride(static_cast<std::uint64_t>(layout.Width), layout.Bits) * height;
  if (layout.PaletteAt + 4 * layout.Colours > file.size() || end > file.size()) Invalid("data cut short");
  return layout;
}

std::uint32_t PixelAt(std::string_view row, std::size_t column, const TLayout& layout,
                      const std::vector<std::uint32_t>& palette) {
  const std::size_t bit = column * static_cast<std::size_t>(layout.Bits);
  const unsigned byte = static_cast<unsigned char>(row[bit / 8]);
  const unsigned shift = 8 - static_cast<unsigned>(layout.Bits) - bit % 8;
  const unsigned index = (byte >> shift) & ((1u << layout.Bits) - 1);
  if (index >= palette.size()) Invalid("colour index " + std::to_string(index) + " outside the palette");
  return palette[index];
}

// One row into Out, the format chosen once per row: a form's logo is
// decoded every time its dialog is made.
void DecodeRow(std::string_view row, const TLayout& layout, const std::vector<std::uint32_t>& palette,
               std::uint32_t* out, std::size_t width) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(row.data());
  auto word = [bytes](std::size_t at, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
  };
  switch (layout.Bits) {
    case 32:
      for (std::size_t x = 0; x < width; ++x) out[x] = word(4 * x, 4);
      return;
    case 24:
      for (std::size_t x = 0; x < width; ++x) out[x] = kOpaque | word(3 * x, 3);
      return;
    case 8: {
      // Indexes outside the palette are looked for once the row is done,
      // so that the loop has no branch.
      std::array<std::uint32_t, 256> table{};
      std::copy(palette.begin(), palette.end(), table.begin());
      unsigned highest = 0;
      for (std::size_t x = 0; x < width; ++x) {
        highest = std::max<unsigned>(highest, bytes[x]);
        out[x] = table[bytes[x]];
      }
      if (highest >= palette.size())
        Invalid("colour index " + std::to_string(highest) + " outside the palette");
      return;
    }
    default:
      for (std::size_t x = 0; x < width; ++x) out[x] = PixelAt(row, x, layout, palette);
  }
}

}  // namespace

std::string EncodeBitmapFile(const TBitmap& bitmap) {
  std::map<std::uint32_t, int> palette;
  const int bits = OpaquePalette(bitmap, palette) ? 8 : 32;
  if (bits == 32) palette.clear();
  std::string out;
  PutHeaders(out, bitmap, bits, palette.size());
  for (const auto& entry : palette) Put(out, entry.first & ~kOpaque, 4);
  PutRows(out, bitmap, bits, palette);
  return out;
}

TBitmap DecodeBitmapFile(std::string_view file) {
  const TLayout layout = ReadLayout(file);
  std::vector<std::uint32_t> palette;
  for (std::size_t i = 0; i < layout.Colours; ++i)
    palette.push_back(kOpaque | (Get(file, layout.PaletteAt + 4 * i, 4) & ~kOpaque));
  const bool bottomUp = layout.Height > 0;
  const std::int64_t height = bottomUp ? layout.Height : -layout.Height;
  const std::size_t stride = RowStride(static_cast<std::uint64_t>(layout.Width), layout.Bits);
  const auto width = static_cast<std::size_t>(layout.Width);
  std::vector<std::uint32_t> pixels(width * static_cast<std::size_t>(height));
  for (std::int64_t row = 0; row < height; ++row) {
    const std::string_view data =
        file.substr(layout.PixelsAt + static_cast<std::size_t>(row) * stride, stride);
    const auto y = static_cast<std::size_t>(bottomUp ? height - 1 - row : row);
    DecodeRow(data, layout, palette, pixels.data() + y * width, width);
  }
  TBitmap bitmap;
  bitmap.SetPixels(static_cast<int>(layout.Width), static_cast<int>(height), std::move(pixels));
  return bitmap;
}

}  // namespace tv
