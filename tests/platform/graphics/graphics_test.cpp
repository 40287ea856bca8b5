#include "platform/graphics/graphics.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(TBitmap, SizePixelsAndHandle) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Handle(), nullptr);
  bitmap.SetSize(3, 2);
  EXPECT_NE(bitmap.Handle(), nullptr);
  bitmap.SetPixel(2, 1, 0xFF102030u);
  bitmap.SetSize(4, 3);  // grows around the kept pixels
  EXPECT_EQ(bitmap.Pixel(2, 1), 0xFF102030u);
  EXPECT_EQ(bitmap.Pixel(3, 2), 0u);
  EXPECT_THROW(bitmap.Pixel(4, 0), EInvalidGraphicOperation);
  EXPECT_THROW(bitmap.SetPixel(0, -1, 1), EInvalidGraphicOperation);
  bitmap.SetSize(-5, 2);
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_EQ(bitmap.Handle(), nullptr);
}

TEST(TPicture, HoldsCopiesOfGraphics) {
  TBitmap logo;
  logo.SetSize(2, 2);
  logo.SetPixel(1, 1, 7);
  TPicture picture;
  EXPECT_EQ(picture.Graphic(), nullptr);
  picture.Assign(&logo);
  logo.SetPixel(1, 1, 9);  // the picture keeps its own copy
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Bitmap().Pixel(1, 1), 7u);
  EXPECT_EQ(picture.Width(), 2);

  TPicture other;
  other.Assign(&picture);
  picture.Bitmap().SetPixel(0, 0, 5);
  EXPECT_EQ(other.Bitmap().Pixel(0, 0), 0u);
  EXPECT_EQ(other.Graphic()->ClassName(), "TBitmap");

  other.Assign(nullptr);
  EXPECT_EQ(other.Graphic(), nullptr);
  EXPECT_EQ(other.Height(), 0);
  class TOther : public TPersistent {
    TV_CLASS(TOther, TPersistent)
  };
  TOther notAGraphic;
  try {
    other.Assign(&notAGraphic);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TOther to a TPicture");
  }
}

}  // namespace
}  // namespace tv
