#include "platform/graphics/graphics.h"

#include <algorithm>

#include "platform/components/component_stream.h"
#include "platform/graphics/bitmap_file.h"

namespace tv {

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < std::min(height, height_); ++y)
    for (int x = 0; x < std::min(width, width_); ++x)
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
          pixels_[Index(x, y)];
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
}

void TBitmap::SetPixels(int width, int height, std::vector<std::uint32_t> pixels) {
  if (width <= 0 || height <= 0 ||
      pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    throw EInvalidGraphicOperation("Bitmap size and pixels do not agree");
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
}

std::size_t TBitmap::Index(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw EInvalidGraphicOperation("Bitmap index out of range");
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
}

std::uint32_t TBitmap::Pixel(int x, int y) const {
  return pixels_[Index(x, y)];
}

void TBitmap::SetPixel(int x, int y, std::uint32_t color) {
  pixels_[Index(x, y)] = color;
}

void TBitmap::Assign(const TPersistent* source) {
  if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
    if (bitmap != this) *this = *bitmap;
    return;
  }
  if (source == nullptr) {
    SetSize(0, 0);
    return;
  }
  TGraphic::Assign(source);
}

std::string TBitmap::SaveData() const {
  const std::string file = EncodeBitmapFile(*this);
  std::string data;
  for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((file.size() >> (8 * i)) & 0xFF));
  return data + file;
}

void TBitmap::LoadData(std::string_view data) {
  std::size_t length = 0;
  for (int i = 3; i >= 0 && data.size() >= 4; --i)
    length = (length << 8) | static_cast<unsigned char>(data[i]);
  if (data.size() < 4 || length != data.size() - 4)
    throw EInvalidGraphic("Invalid bitmap data: the length does not match");
  *this = DecodeBitmapFile(data.substr(4));
}

namespace {

// The graphic classes a stored picture may name.
std::unique_ptr<TGraphic> NewGraphic(std::string_view className) {
  if (className == TBitmap::StaticClassInfo().Name) return std::make_unique<TBitmap>();
  throw EInvalidGraphic("Unknown picture class " + std::string(className));
}

}  // namespace

void TGraphic::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Data", [this](TReader& reader) { LoadData(reader.ReadBinary()); },
      [this](TWriter& writer) { writer.WriteBinary(SaveData()); }, !Empty());
}

void TPicture::DefineProperties(TFiler& filer) {
  auto read = [this](TReader& reader) {
    const std::string data = reader.ReadBinary();
    const std::size_t nameLength = data.empty() ? 0 : static_cast<unsigned char>(data[0]);
    if (data.size() < 1 + nameLength) throw EInvalidGraphic("Invalid picture data: no class name");
    std::unique_ptr<TGraphic> graphic = NewGraphic(std::string_view(data).substr(1, nameLength));
    graphic->LoadData(std::string_view(data).substr(1 + nameLength));
    graphic_ = std::move(graphic);
    Changed();
  };
  auto write = [this](TWriter& writer) {
    const std::string name = graphic_->ClassName();
    writer.WriteBinary(static_cast<char>(name.size()) + name + graphic_->SaveData());
  };
  filer.DefineProperty("Data", read, write, graphic_ != nullptr && !graphic_->Empty());
}

void TPicture::Changed() {
  if (OnChange) OnChange();
}

void TPicture::SetGraphic(const TGraphic* graphic) {
  graphic_ = graphic != nullptr ? graphic->Clone() : nullptr;
  Changed();
}

TBitmap& TPicture::Bitmap() {
  auto* bitmap = dynamic_cast<TBitmap*>(graphic_.get());
  if (bitmap == nullptr) {
    graphic_ = std::make_unique<TBitmap>();
    bitmap = static_cast<TBitmap*>(graphic_.get());
  }
  return *bitmap;
}

void TPicture::Assign(const TPersistent* source) {
  if (source == nullptr) {
    graphic_.reset();
    Changed();
  } else if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
    if (picture != this) SetGraphic(picture->Graphic());
  } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(graphic);
  } else {
    TPersistent::Assign(source);
  }
}

}  // namespace tv
