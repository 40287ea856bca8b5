#pragma once
// Panels, bevels, images and pages.

#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/ui/controls.h"

namespace tv {

enum class TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
using enum TPanelBevel;
inline constexpr auto kPanelBevelNames = EnumNameArray("bvNone", "bvLowered", "bvRaised", "bvSpace");
static_assert(kPanelBevelNames.size() == 1 + static_cast<std::size_t>(TPanelBevel::bvSpace));
constexpr TEnumNames EnumNames(TPanelBevel) {
  return kPanelBevelNames;
}

class TCustomPanel : public TCustomControl {
  TV_PUBLISHED_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* owner);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel bevel) { bevelOuter_ = bevel; }
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel bevel) { bevelInner_ = bevel; }

 private:
  TPanelBevel bevelOuter_ = bvRaised, bevelInner_ = bvNone;
};

class TPanel : public TCustomPanel {
  TV_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
using enum TBevelShape;
enum class TBevelStyle { bsLowered, bsRaised };
inline constexpr auto kBevelShapeNames =
    EnumNameArray("bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer");
static_assert(kBevelShapeNames.size() == 1 + static_cast<std::size_t>(TBevelShape::bsSpacer));
constexpr TEnumNames EnumNames(TBevelShape) {
  return kBevelShapeNames;
}
inline constexpr auto kBevelStyleNames = EnumNameArray("bsLowered", "bsRaised");
static_assert(kBevelStyleNames.size() == 1 + static_cast<std::size_t>(TBevelStyle::bsRaised));
constexpr TEnumNames EnumNames(TBevelStyle) {
  return kBevelStyleNames;
}

class TBevel : public TGraphicControl {
  TV_PUBLISHED_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape) { shape_ = shape; }
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style) { style_ = style; }

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = TBevelStyle::bsLowered;
};

class TImage : public TGraphicControl {
  TV_PUBLISHED_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* owner);
  TPicture& Picture() { return picture_; }
  const TPicture& Picture() const { return picture_; }
  // Sized to its picture whenever the picture changes.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value) { center_ = value; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value) { stretch_ = value; }
  // The picture changed: take its size when sized to it.
  void PictureChanged();
  void Loaded() override;

 private:
  TPicture picture_;
  bool autoSize_ = false, center_ = false, stretch_ = false;
};

class TTabSheet;

class TCustomTabControl : public TWinControl {
  TV_CLASS(TCustomTabControl, TWinControl)
 public:
  explicit TCustomTabControl(TComponent* owner);
};

class TPageControl : public TCustomTabControl {
  TV_PUBLISHED_CLASS(TPageControl, TCustomTabControl)
 public:
  explicit TPageControl(TComponent* owner);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const;
  TTabSheet* ActivePage() const { return activePage_; }
  // Shows Page (one of this control's) and hides the others; null hides all.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  // The next or the previous visible page, wrapping round: Ctrl+Tab.
  void SelectNextPage(bool forward);

 protected:
  void InsertControl(TControl* control) override;
  void RemoveControl(TControl* control) override;
  sys::TRect AlignArea() const override;

 private:
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

class TTabSheet : public TWinControl {
  TV_PUBLISHED_CLASS(TTabSheet, TWinControl)
 public:
  explicit TTabSheet(TComponent* owner);
  TPageControl* PageControl() const;
  int PageIndex() const;
};

}  // namespace tv
