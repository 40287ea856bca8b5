#pragma once
// Controls: components with a place on a parent, a text, a font and a click.
// They keep all their state in members; a backend shows them (or not).

#include <string>
#include <vector>

#include "platform/components/component.h"
#include "platform/components/properties.h"
#include "platform/system/desktop.h"

namespace tv {

class TWinControl;
class TCustomForm;

// Colours as the system stores them: 0x00BBGGRR, or a system colour with
// the high bit set.
using TColor = long long;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clWindowText = 0x80000008;
inline constexpr TColor clBtnFace = 0x8000000F;
inline constexpr TColor clWindow = 0x80000005;
const std::vector<std::pair<std::string, long long>>& ColorIdents();

using TCursor = long long;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHandPoint = -21;
const std::vector<std::pair<std::string, long long>>& CursorIdents();

enum TFontStyle : unsigned { fsBold, fsItalic, fsUnderline, fsStrikeOut };
inline constexpr auto kFontStyleNames = EnumNameArray("fsBold", "fsItalic", "fsUnderline", "fsStrikeOut");
static_assert(kFontStyleNames.size() == 1 + static_cast<std::size_t>(fsStrikeOut));
using TFontStyles = unsigned;  // a bit per TFontStyle
constexpr TFontStyles FontStyle(TFontStyle style) {
  return 1u << style;
}

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;
inline constexpr auto kAlignNames =
    EnumNameArray("alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient");
static_assert(kAlignNames.size() == 1 + static_cast<std::size_t>(TAlign::alClient));
constexpr TEnumNames EnumNames(TAlign) {
  return kAlignNames;
}

class TFont : public TPersistent {
  TV_PUBLISHED_CLASS(TFont, TPersistent)
 public:
  TFont();
  const std::string& Name() const { return name_; }
  void SetName(const std::string& name);
  int Size() const { return size_; }
  void SetSize(int size);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  bool operator==(const TFont& other) const;

  void Assign(const TPersistent* source) override;
  // Told of every change, so that a control knows its font is its own.
  std::function<void()> OnChange;

 private:
  void Changed();
  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
};

class TControl : public TComponent {
  TV_PUBLISHED_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  // The form the control stands on, or null.
  TCustomForm* ParentForm() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  virtual void SetBounds(int left, int top, int width, int height);
  // A point of the control's client area in screen coordinates.
  struct TPoint {
    int X = 0, Y = 0;
  };
  virtual TPoint ClientToScreen(TPoint point) const;

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Visible and enabled, and so are all its parents: a person can reach it.
  bool Reachable() const;

  // Caption and Text are one text; each class publishes the name it shows.
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& text) { SetText(text); }
  virtual std::string Text() const { return text_; }
  virtual void SetText(const std::string& text);

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint) { hint_ = hint; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor) { cursor_ = cursor; }
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool parentFont);

  // Runs the click handler, as a person's click does.
  virtual void Click();
  TNotifyEvent OnClick;

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  // The backend's view of the control: anything that shows changed.
  virtual void Changed();

 protected:
  // A control takes its parent's font while it has none of its own.
  void TakeParentFont();
  virtual void FontChanged() {}

 private:
  friend class TWinControl;
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true;
  std::string text_, hint_;
  TCursor cursor_ = crDefault;
  TColor color_ = clBtnFace;
  TAlign align_ = alNone;
  TFont font_;
  bool parentFont_ = true;
  bool takingParentFont_ = false;
};

// Drawn by its parent; it has no window of its own.
class TGraphicControl : public TControl {
  TV_CLASS(TGraphicControl, TControl)
 public:
  using TControl::TControl;
};

// Has a window: holds controls, takes the focus, has a place in the tab order.
class TWinControl : public TControl {
  TV_PUBLISHED_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const;
  // The window controls in tab order.
  std::vector<TWinControl*> TabList() const;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop) { tabStop_ = tabStop; }

  bool CanFocus() const { return Reachable(); }
  // Makes this control the active control of its form.
  void SetFocus();
  bool Focused() const;

  void GetChildren(std::vector<TComponent*>& children, const TComponent& root) const override;

 protected:
  // Children take part in the parent's layout and fonts.
  virtual void InsertControl(TControl* control);
  virtual void RemoveControl(TControl* control);
  void FontChanged() override;
  // Places the aligned children in the client area, in the order of their
  // alignment (top, bottom, left, right, client) and of their place.
  void AlignControls();
  // Where aligned children go, in the control's own coordinates.
  virtual sys::TRect AlignArea() const { return {0, 0, Width(), Height()}; }

  bool tabStop_ = false;

 private:
  friend class TControl;
  std::vector<TControl*> controls_;  // in order of insertion
  std::vector<TWinControl*> tabList_;
};

// A window control that draws itself (panels).
class TCustomControl : public TWinControl {
  TV_CLASS(TCustomControl, TWinControl)
 public:
  using TWinControl::TWinControl;
};

// Registers every control class of the framework with the class registry,
// once, so that stored forms can name them.
void RegisterControlClasses();

}  // namespace tv
