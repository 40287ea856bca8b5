// Bitmaps as files and as picture data in stored forms.

#include "platform/graphics/bitmap_file.h"

#include <gtest/gtest.h>

#include "platform/components/class_registry.h"
#include "platform/components/component_stream.h"
#include "platform/components/properties.h"

namespace tv {
namespace {

std::string Bytes(std::initializer_list<unsigned> values) {
  std::string s;
  for (unsigned v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string Le(std::uint32_t value, int bytes = 4) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return s;
}

// A file as other tools write it: Height negative for rows top down.
std::string File(int bits, std::int32_t width, std::int32_t height, const std::string& palette,
                 const std::string& rows, std::uint32_t compression = 0) {
  const std::uint32_t offset = 54 + static_cast<std::uint32_t>(palette.size());
  return "BM" + Le(offset + static_cast<std::uint32_t>(rows.size())) + Le(0) + Le(offset) + Le(40) +
         Le(static_cast<std::uint32_t>(width)) + Le(static_cast<std::uint32_t>(height)) + Le(1, 2) +
         Le(static_cast<std::uint32_t>(bits), 2) + Le(compression) + Le(0) + Le(0) + Le(0) +
         Le(static_cast<std::uint32_t>(palette.size() / 4)) + Le(0) + palette + rows;
}

std::vector<std::uint32_t> Pixels(const TBitmap& bitmap) {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) pixels.push_back(bitmap.Pixel(x, y));
  return pixels;
}

TEST(BitmapFile, ReadsEveryUncompressedDepth) {
  const std::string blackWhite = Bytes({0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
  const struct {
    const char* Name;
    std::string File;
    std::vector<std::uint32_t> Pixels;  // 3 by 2, top row first
  } cases[] = {
      {"1 bit, bottom up",
       File(1, 3, 2, blackWhite, Bytes({0xA0, 0, 0, 0, 0x40, 0, 0, 0})),
       {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
      {"4 bits, top down",
       File(4, 3, -2, blackWhite, Bytes({0x01, 0x00, 0, 0, 0x10, 0x10, 0, 0})),
       {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
      {"24 bits, rows padded",
       File(24, 3, 2, "", Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0,  //
                                 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0})),
       {0xFF070809, 0xFF040506, 0xFF010203, 0xFF030201, 0xFF060504, 0xFF090807}},
      {"32 bits keep alpha",
       File(32, 3, -2, "", Le(0x80112233) + Le(0) + Le(1) + Le(2) + Le(3) + Le(4)),
       {0x80112233, 0, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const TBitmap bitmap = DecodeBitmapFile(c.File);
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(Pixels(bitmap), c.Pixels);
  }
}

TEST(BitmapFile, WritesAPaletteWhenItCanAndKeepsEveryPixel) {
  TBitmap few, translucent;
  few.SetSize(5, 3);
  translucent.SetSize(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      few.SetPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(x * 0x10101));
      translucent.SetPixel(x, y, static_cast<std::uint32_t>((x + y) << 24 | 0x123456));
    }
  const std::string small = EncodeBitmapFile(few), wide = EncodeBitmapFile(translucent);
  EXPECT_EQ(Le(8, 2), small.substr(28, 2));
  EXPECT_EQ(Le(5), small.substr(46, 4));  // five colours
  EXPECT_EQ(small.size(), 54 + 5 * 4 + 3 * 8u);
  EXPECT_EQ(Le(32, 2), wide.substr(28, 2));
  EXPECT_EQ(wide.size(), 54 + 5 * 3 * 4u);
  EXPECT_EQ(Pixels(DecodeBitmapFile(small)), Pixels(few));
  EXPECT_EQ(Pixels(DecodeBitmapFile(wide)), Pixels(translucent));
}

TEST(BitmapFile, RefusesWhatItCannotReadWithoutReadingPastTheData) {
  const std::string good = File(24, 1, 1, "", Bytes({1, 2, 3, 0}));
  const struct {
    std::string File;
    std::string Message;
  } cases[] = {
      {good.substr(0, 53), "no bitmap header"},
      {good.substr(0, good.size() - 1), "data cut short"},
      {File(24, 1, 1, "", Bytes({1, 2, 3, 0}), 1), "compressed bitmaps are not supported"},
      {File(16, 1, 1, "", Bytes({1, 2, 3, 0})), "16 bits per pixel"},
      {File(24, 70000, 70000, "", ""), "size 70000 by 70000"},
      {File(24, 0, 1, "", ""), "size 0 by 1"},
      {File(1, 1, 1, Bytes({0, 0, 0, 0}), Bytes({0x80, 0, 0, 0})), "colour index 1 outside the palette"},
  };
  for (const auto& c : cases) {
    try {
      DecodeBitmapFile(c.File);
      ADD_FAILURE() << c.Message;
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(e.Message(), "Invalid bitmap file: " + c.Message);
    }
  }
}

class TImageHolder : public TComponent {
  TV_PUBLISHED_CLASS(TImageHolder, TComponent)
 public:
  explicit TImageHolder(TComponent* owner) : TComponent(owner) {}
  TPicture picture;
};

void TImageHolder::PublishOwn() {
  RegisterProperties(StaticClassInfo(), {ObjectProperty("Picture", &TImageHolder::picture)});
}

TEST(PictureData, TravelsInTheComponentStream) {
  TImageHolder image(nullptr);
  image.SetName("imLogo");
  EXPECT_EQ(TWriter::WriteRoot(image).find("Picture.Data"), std::string::npos);  // nothing to keep
  TBitmap& logo = image.picture.Bitmap();
  logo.SetSize(4, 2);
  logo.SetPixel(3, 1, 0xFF00FF00u);
  const std::string bytes = TWriter::WriteRoot(image);
  const std::string file = EncodeBitmapFile(logo);
  EXPECT_NE(bytes.find("\x0CPicture.Data\x0A" + Le(static_cast<std::uint32_t>(12 + file.size())) +
                       "\x07TBitmap" + Le(static_cast<std::uint32_t>(file.size())) + file),
            std::string::npos);

  TImageHolder copy(nullptr);
  TReader::ReadRoot(bytes, copy);
  EXPECT_EQ(Pixels(copy.picture.Bitmap()), Pixels(logo));
  EXPECT_EQ(TWriter::WriteRoot(copy), bytes);

  std::string cut = bytes;  // the file's length no longer matches
  cut.replace(cut.find("TBitmap") + 7, 4, Le(static_cast<std::uint32_t>(file.size() - 1)));
  TImageHolder refused(nullptr);
  try {
    TReader::ReadRoot(cut, refused);
    ADD_FAILURE();
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(),
              "Error reading imLogo.Picture.Data: Invalid bitmap data: the length does not match");
  }
}

}  // namespace
}  // namespace tv
