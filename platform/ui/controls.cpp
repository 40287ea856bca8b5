#include "platform/ui/controls.h"

#include <algorithm>

#include "platform/rtl/lists.h"
#include "platform/ui/backend.h"
#include "platform/ui/forms.h"

namespace tv {

const std::vector<std::pair<std::string, long long>>& ColorIdents() {
  static const std::vector<std::pair<std::string, long long>> idents = {{"clBlack", clBlack},
                                                                        {"clMaroon", clMaroon},
                                                                        {"clGreen", clGreen},
                                                                        {"clOlive", clOlive},
                                                                        {"clNavy", clNavy},
                                                                        {"clPurple", clPurple},
                                                                        {"clTeal", clTeal},
                                                                        {"clGray", clGray},
                                                                        {"clSilver", clSilver},
                                                                        {"clRed", clRed},
                                                                        {"clLime", clLime},
                                                                        {"clYellow", clYellow},
                                                                        {"clBlue", clBlue},
                                                                        {"clFuchsia", clFuchsia},
                                                                        {"clAqua", clAqua},
                                                                        {"clWhite", clWhite},
                                                                        {"clWindowText", clWindowText},
                                                                        {"clBtnFace", clBtnFace},
                                                                        {"clWindow", clWindow}};
  return idents;
}

const std::vector<std::pair<std::string, long long>>& CursorIdents() {
  static const std::vector<std::pair<std::string, long long>> idents = {{"crDefault", crDefault},
                                                                        {"crHandPoint", crHandPoint}};
  return idents;
}

// --- TFont

void TFont::PublishOwn() {
  using T = TFont;
  RegisterProperties(
      StaticClassInfo(),
      {WithDefault(WithIdents(IntegerProperty("Color", &T::Color, &T::SetColor), ColorIdents()),
                   clWindowText),
       StringProperty("Name", &T::Name, &T::SetName),
       WithDefault(IntegerProperty("Size", &T::Size, &T::SetSize), 8),
       SetOfProperty("Style", &T::Style, &T::SetStyle, kFontStyleNames)});
}

TFont::TFont() {}

void TFont::Changed() {
  if (OnChange) OnChange();
}

void TFont::SetName(const std::string& name) {
  name_ = name;
  Changed();
}

void TFont::SetSize(int size) {
  size_ = size;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  style_ = style;
  Changed();
}

void TFont::SetColor(TColor color) {
  color_ = color;
  Changed();
}

bool TFont::operator==(const TFont& other) const {
  return name_ == other.name_ && size_ == other.size_ && style_ == other.style_ && color_ == other.color_;
}

void TFont::Assign(const TPersistent* source) {
  if (const auto* font = ClassCast<TFont>(source)) {
    name_ = font->name_;
    size_ = font->size_;
    style_ = font->style_;
    color_ = font->color_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// --- TControl

namespace {

// Stored only where the control has a font of its own.
TPropertyInfo FontProperty() {
  TPropertyInfo info =
      ObjectProperty("Font", static_cast<const TFont& (TControl::*)() const>(&TControl::Font));
  info.IsStored = [](const TObject& o) { return !static_cast<const TControl&>(o).ParentFont(); };
  return info;
}

}  // namespace

void TControl::PublishOwn() {
  using T = TControl;
  RegisterProperties(
      StaticClassInfo(),
      {IntegerProperty("Left", &T::Left, &T::SetLeft), IntegerProperty("Top", &T::Top, &T::SetTop),
       IntegerProperty("Width", &T::Width, &T::SetWidth),
       IntegerProperty("Height", &T::Height, &T::SetHeight),
       WithDefault(EnumProperty("Align", &T::Align, &T::SetAlign), alNone),
       WithDefault(WithIdents(IntegerProperty("Cursor", &T::Cursor, &T::SetCursor), CursorIdents()),
                   crDefault),
       StringProperty("Hint", &T::Hint, &T::SetHint),
       WithDefault(BooleanProperty("Visible", &T::Visible, &T::SetVisible), 1),
       WithDefault(BooleanProperty("Enabled", &T::Enabled, &T::SetEnabled), 1),
       WithDefault(WithIdents(IntegerProperty("Color", &T::Color, &T::SetColor), ColorIdents()), clBtnFace),
       FontProperty(), WithDefault(BooleanProperty("ParentFont", &T::ParentFont, &T::SetParentFont), 1)});
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this] {
    if (!takingParentFont_) parentFont_ = false;
    FontChanged();
    Changed();
  };
}

TControl::~TControl() {
  font_.OnChange = nullptr;
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_ != nullptr) parent_->RemoveControl(this);
  if (parent != nullptr) parent->InsertControl(this);
}

TCustomForm* TControl::ParentForm() const {
  const TControl* control = this;
  while (control->parent_ != nullptr) control = control->parent_;
  return const_cast<TCustomForm*>(ClassCast<TCustomForm>(control));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (parent_ != nullptr && align_ != alNone) parent_->AlignControls();
  if (auto* self = ClassCast<TWinControl>(this)) self->AlignControls();
  Changed();
}

TControl::TPoint TControl::ClientToScreen(TPoint point) const {
  const TPoint moved{point.X + left_, point.Y + top_};
  return parent_ != nullptr ? parent_->ClientToScreen(moved) : moved;
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (parent_ != nullptr && align_ != alNone) parent_->AlignControls();
  Changed();
}

void TControl::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Changed();
}

bool TControl::Reachable() const {
  for (const TControl* c = this; c != nullptr; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void TControl::SetText(const std::string& text) {
  text_ = text;
  Changed();
}

void TControl::SetColor(TColor color) {
  color_ = color;
  Changed();
}

void TControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_ != nullptr) parent_->AlignControls();
  Changed();
}

void TControl::SetParentFont(bool parentFont) {
  parentFont_ = parentFont;
  if (parentFont) TakeParentFont();
}

void TControl::TakeParentFont() {
  if (!parentFont_ || parent_ == nullptr) return;
  takingParentFont_ = true;
  font_.Assign(&parent_->font_);
  takingParentFont_ = false;
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* control = ClassCast<TWinControl>(parent)) SetParent(control);
}

void TControl::Changed() {
  UiBackend().ControlChanged(*this);
}

// --- TWinControl

void TWinControl::PublishOwn() {
  using T = TWinControl;
  RegisterProperties(StaticClassInfo(),
                     {IntegerProperty("TabOrder", &T::TabOrder, &T::SetTabOrder),
                      WithDefault(BooleanProperty("TabStop", &T::TabStop, &T::SetTabStop), 0)});
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  // The owner frees the children; a parent going first leaves them without one.
  while (!controls_.empty()) controls_.back()->SetParent(nullptr);
}

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) throw EListError(ListIndexErrorText(index));
  return controls_[static_cast<std::size_t>(index)];
}

std::vector<TWinControl*> TWinControl::TabList() const {
  return tabList_;
}

int TWinControl::TabOrder() const {
  if (Parent() == nullptr) return -1;
  const auto& list = Parent()->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

// Taking a place in the tab order moves the others up or down, as the
// system's tab order does; a place past the end is the last one.
void TWinControl::SetTabOrder(int order) {
  if (Parent() == nullptr) return;
  auto& list = Parent()->tabList_;
  list.erase(std::find(list.begin(), list.end(), this));
  const auto at = static_cast<std::size_t>(std::clamp(order, 0, static_cast<int>(list.size())));
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = ParentForm()) form->SetActiveControl(this);
}

bool TWinControl::Focused() const {
  const TCustomForm* form = ParentForm();
  return form != nullptr && form->ActiveControl() == this;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* window = ClassCast<TWinControl>(control)) tabList_.push_back(window);
  control->TakeParentFont();
  if (control->Align() != alNone) AlignControls();
}

void TWinControl::RemoveControl(TControl* control) {
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  auto tab = std::find(tabList_.begin(), tabList_.end(), control);
  if (tab != tabList_.end()) tabList_.erase(tab);
  control->parent_ = nullptr;
  if (TCustomForm* form = ParentForm(); form != nullptr) form->ControlRemoved(control);
  if (control->Align() != alNone) AlignControls();
}

void TWinControl::FontChanged() {
  for (TControl* control : controls_) control->TakeParentFont();
}

void TWinControl::AlignControls() {
  const sys::TRect area = AlignArea();
  int left = area.Left, top = area.Top, right = area.Right, bottom = area.Bottom;
  for (TAlign side : {alTop, alBottom, alLeft, alRight, alClient})
    for (TControl* c : controls_) {
      if (c->align_ != side || !c->visible_) continue;
      // Set directly: a child placed by its parent must not align it again.
      switch (side) {
        case alTop: c->top_ = top, c->left_ = left, c->width_ = right - left, top += c->height_; break;
        case alBottom:
          bottom -= c->height_, c->top_ = bottom, c->left_ = left, c->width_ = right - left;
          break;
        case alLeft: c->left_ = left, c->top_ = top, c->height_ = bottom - top, left += c->width_; break;
        case alRight: right -= c->width_, c->left_ = right, c->top_ = top, c->height_ = bottom - top; break;
        default:
          c->left_ = left, c->top_ = top, c->width_ = std::max(right - left, 0),
          c->height_ = std::max(bottom - top, 0);
      }
      if (auto* window = ClassCast<TWinControl>(c)) window->AlignControls();
      c->Changed();
    }
}

void TWinControl::GetChildren(std::vector<TComponent*>& children, const TComponent& root) const {
  if (this == &root) TComponent::GetChildren(children, root);
  for (TControl* control : controls_)
    if (control->Owner() == &root && this != &root) children.push_back(control);
}

}  // namespace tv
