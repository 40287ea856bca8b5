#include "platform/ui/ext_controls.h"

#include <algorithm>

#include "platform/rtl/lists.h"

namespace tv {

// --- TCustomPanel

void TCustomPanel::PublishOwn() {
  using T = TCustomPanel;
  RegisterProperties(StaticClassInfo(),
                     {StringProperty("Caption", &TControl::Caption, &TControl::SetCaption),
                      WithDefault(EnumProperty("BevelOuter", &T::BevelOuter, &T::SetBevelOuter), bvRaised),
                      WithDefault(EnumProperty("BevelInner", &T::BevelInner, &T::SetBevelInner), bvNone)});
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {}

// --- TBevel

void TBevel::PublishOwn() {
  using T = TBevel;
  RegisterProperties(StaticClassInfo(),
                     {WithDefault(EnumProperty("Shape", &T::Shape, &T::SetShape), TBevelShape::bsBox),
                      WithDefault(EnumProperty("Style", &T::Style, &T::SetStyle), TBevelStyle::bsLowered)});
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {}

// --- TImage

void TImage::PublishOwn() {
  using T = TImage;
  RegisterProperties(StaticClassInfo(),
                     {ObjectProperty("Picture", static_cast<const TPicture& (T::*)() const>(&T::Picture)),
                      WithDefault(BooleanProperty("AutoSize", &T::AutoSize, &T::SetAutoSize), 0),
                      WithDefault(BooleanProperty("Center", &T::Center, &T::SetCenter), 0),
                      WithDefault(BooleanProperty("Stretch", &T::Stretch, &T::SetStretch), 0),
                      EventProperty("OnClick", &TControl::OnClick)});
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::SetAutoSize(bool value) {
  autoSize_ = value;
  PictureChanged();
}

void TImage::PictureChanged() {
  // While a stream reads the image its stored size stands; Loaded sizes it.
  if (autoSize_ && !InState(csLoading) && picture_.Width() > 0 && picture_.Height() > 0)
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
  Changed();
}

void TImage::Loaded() {
  TGraphicControl::Loaded();
  PictureChanged();
}

// --- TCustomTabControl, TPageControl

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
  tabStop_ = true;
}

void TPageControl::PublishOwn() {
  using T = TPageControl;
  RegisterProperties(
      StaticClassInfo(),
      {ComponentProperty("ActivePage", &T::ActivePage, &T::SetActivePage),
       WithDefault(BooleanProperty("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop), 1)});
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) throw EListError(ListIndexErrorText(index));
  return pages_[static_cast<std::size_t>(index)];
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && page->PageControl() != this) return;
  activePage_ = page;
  for (TTabSheet* sheet : pages_) sheet->SetVisible(sheet == page);
  Changed();
}

int TPageControl::ActivePageIndex() const {
  auto it = std::find(pages_.begin(), pages_.end(), activePage_);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::SelectNextPage(bool forward) {
  if (pages_.empty()) return;
  const int count = PageCount();
  int index = ActivePageIndex();
  for (int step = 0; step < count; ++step) {
    index = ((forward ? index + 1 : index - 1) % count + count) % count;
    if (pages_[static_cast<std::size_t>(index)]->Enabled()) {
      SetActivePage(pages_[static_cast<std::size_t>(index)]);
      return;
    }
  }
}

sys::TRect TPageControl::AlignArea() const {
  // The tabs take the top; a thin frame surrounds the page.
  return {4, 24, std::max(Width() - 4, 4), std::max(Height() - 4, 24)};
}

void TPageControl::InsertControl(TControl* control) {
  TCustomTabControl::InsertControl(control);
  auto* sheet = dynamic_cast<TTabSheet*>(control);
  if (sheet == nullptr) return;
  pages_.push_back(sheet);
  sheet->SetAlign(alClient);
  // The first page shows until another is chosen.
  if (activePage_ == nullptr)
    SetActivePage(sheet);
  else
    sheet->SetVisible(false);
}

void TPageControl::RemoveControl(TControl* control) {
  auto it = std::find(pages_.begin(), pages_.end(), control);
  if (it != pages_.end()) pages_.erase(it);
  TCustomTabControl::RemoveControl(control);
  if (control == activePage_) SetActivePage(pages_.empty() ? nullptr : pages_.front());
}

// --- TTabSheet

void TTabSheet::PublishOwn() {
  // Its page control places and shows it: only the caption is its own.
  using T = TControl;
  RegisterProperties(
      StaticClassInfo(),
      {NotStored(IntegerProperty("Left", &T::Left, &T::SetLeft)),
       NotStored(IntegerProperty("Top", &T::Top, &T::SetTop)),
       NotStored(IntegerProperty("Width", &T::Width, &T::SetWidth)),
       NotStored(IntegerProperty("Height", &T::Height, &T::SetHeight)),
       NotStored(BooleanProperty("Visible", &T::Visible, &T::SetVisible)),
       NotStored(EnumProperty("Align", &T::Align, &T::SetAlign)),
       NotStored(IntegerProperty("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)),
       StringProperty("Caption", &TControl::Caption, &TControl::SetCaption)});
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TPageControl* TTabSheet::PageControl() const {
  return dynamic_cast<TPageControl*>(Parent());
}

int TTabSheet::PageIndex() const {
  const TPageControl* pages = PageControl();
  if (pages == nullptr) return -1;
  for (int i = 0; i < pages->PageCount(); ++i)
    if (pages->Pages(i) == this) return i;
  return -1;
}

}  // namespace tv
