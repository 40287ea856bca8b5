#pragma once
// Where a dialog opens: near the window it belongs to, and not closer than
// 50 pixels to the right and bottom edges of the desktop's work area.

#include "platform/ui/forms.h"

namespace tv {

// Owner a form: 50 pixels right of and below it; the application: the same
// from its main form; another control: the point (50, 50) of its client
// area; none of these: the middle of the screen. Then a dialog that would
// come closer than 50 pixels to the work area's bottom or right edge moves
// up or left; the top and left edges are not corrected.
void PlaceNearOwner(TCustomForm& dialog);

}  // namespace tv
