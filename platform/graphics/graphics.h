#pragma once
// Pictures as far as picture values and dialog images need them: a bitmap of
// 32-bit pixels, and a picture that holds a copy of any graphic.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/persistent.h"

namespace tv {

class EInvalidGraphicOperation : public Exception {
 public:
  using Exception::Exception;
};

class TGraphic : public TPersistent {
  TV_CLASS(TGraphic, TPersistent)
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const = 0;
  virtual std::unique_ptr<TGraphic> Clone() const = 0;
  // The graphic's stored form, as a picture keeps it in a form.
  virtual std::string SaveData() const = 0;
  virtual void LoadData(std::string_view data) = 0;
  // "Data": a graphic kept by a component of its own (not in a picture)
  // stores its data, when it has any.
  void DefineProperties(TFiler& filer) override;
};

class TBitmap : public TGraphic {
  TV_CLASS(TBitmap, TGraphic)
 public:
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  bool Empty() const override { return width_ == 0 || height_ == 0; }
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }
  // A 4-byte length, then the bitmap file.
  std::string SaveData() const override;
  void LoadData(std::string_view data) override;

  // Negative sizes count as 0; new pixels are 0, kept ones keep their place.
  void SetSize(int width, int height);
  // ARGB; raises EInvalidGraphicOperation "Bitmap index out of range" outside.
  std::uint32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, std::uint32_t color);
  // Width by Height pixels, row by row from the top; their count must match.
  void SetPixels(int width, int height, std::vector<std::uint32_t> pixels);
  // The pixel store, null while the bitmap is empty.
  const void* Handle() const { return Empty() ? nullptr : pixels_.data(); }

  void Assign(const TPersistent* source) override;

 private:
  std::size_t Index(int x, int y) const;
  int width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

class TPicture : public TPersistent {
  TV_CLASS(TPicture, TPersistent)
 public:
  TGraphic* Graphic() const { return graphic_.get(); }
  // Keeps a copy of Graphic; null empties the picture.
  void SetGraphic(const TGraphic* graphic);
  // The picture's bitmap, made (empty) when the picture holds none.
  TBitmap& Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // From a picture or a graphic, as a copy; null empties the picture.
  void Assign(const TPersistent* source) override;
  // "Data": the graphic's class name as a short string, then its data.
  void DefineProperties(TFiler& filer) override;
  // Told when the picture takes another graphic (an image sizes itself).
  std::function<void()> OnChange;

 private:
  void Changed();
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace tv
