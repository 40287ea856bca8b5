#include "dialogs/placement.h"

namespace tv {

namespace {

constexpr int kOffset = 50;

}  // namespace

void PlaceNearOwner(TCustomForm& dialog) {
  const sys::TRect area = Screen().WorkAreaRect();
  TComponent* owner = dialog.Owner();
  const TCustomForm* anchor = dynamic_cast<TCustomForm*>(owner);
  if (anchor == nullptr && owner == &Application()) anchor = Application().MainForm();
  int left = 0, top = 0;
  if (anchor != nullptr) {
    left = anchor->Left() + kOffset;
    top = anchor->Top() + kOffset;
  } else if (const auto* control = dynamic_cast<const TControl*>(owner)) {
    const TControl::TPoint point = control->ClientToScreen({kOffset, kOffset});
    left = point.X;
    top = point.Y;
  } else {
    left = (Screen().Width() - dialog.Width()) / 2;
    top = (Screen().Height() - dialog.Height()) / 2;
  }
  if (top + dialog.Height() > area.Bottom - kOffset) top = area.Bottom - dialog.Height() - kOffset;
  if (left + dialog.Width() > area.Right - kOffset) left = area.Right - dialog.Width() - kOffset;
  dialog.SetBounds(left, top, dialog.Width(), dialog.Height());
}

}  // namespace tv
