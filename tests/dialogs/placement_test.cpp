// Where the About dialogs open, against a desktop of the test's own.

#include "dialogs/placement.h"

#include <gtest/gtest.h>

#include "platform/ui/ext_controls.h"

namespace tv {
namespace {

struct TDesktop {
  explicit TDesktop(sys::TRect workArea) { sys::OverrideDesktop(workArea, sys::TRect{0, 0, 800, 600}); }
  ~TDesktop() { sys::OverrideDesktop(std::nullopt, std::nullopt); }
};

// A fixed dialog of 200 by 100 outside (the border adds 6 and 25).
std::unique_ptr<TForm> Dialog(TComponent* owner) {
  auto dialog = std::make_unique<TForm>(owner);
  dialog->SetBorderStyle(bsDialog);
  dialog->SetClientWidth(194);
  dialog->SetClientHeight(75);
  return dialog;
}

TEST(PlaceNearOwner, FollowsItsOwnerAndKeepsAwayFromTheRightAndBottomEdges) {
  TForm owner(nullptr);
  owner.SetBorderStyle(bsDialog);
  owner.SetBounds(100, 100, 300, 200);
  auto* panel = new TPanel(&owner);
  panel->SetParent(&owner);
  panel->SetBounds(10, 20, 100, 100);
  const struct {
    const char* Name;
    sys::TRect WorkArea;
    TComponent* Owner;
    int Left, Top;
  } cases[] = {
      {"owner form + 50", {0, 0, 800, 570}, &owner, 150, 150},
      {"the point (50, 50) of another control",
       {0, 0, 800, 570},
       panel,
       100 + 3 + 10 + 50,
       100 + 22 + 20 + 50},
      {"no owner: centred on the screen", {0, 0, 800, 570}, nullptr, 300, 250},
      {"too near the bottom: moved up", {0, 0, 800, 280}, &owner, 150, 130},
      {"too near the right: moved left", {0, 0, 390, 570}, &owner, 140, 150},
      {"both, on a work area that does not start at 0", {100, 50, 360, 260}, &owner, 110, 110},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TDesktop desktop(c.WorkArea);
    auto dialog = Dialog(nullptr);
    if (c.Owner != nullptr) c.Owner->InsertComponent(dialog.get());
    PlaceNearOwner(*dialog);
    EXPECT_EQ(dialog->Left(), c.Left);
    EXPECT_EQ(dialog->Top(), c.Top);
    EXPECT_EQ(dialog->Width(), 200);
    if (c.Owner != nullptr) c.Owner->RemoveComponent(dialog.get());
  }
}

TEST(PlaceNearOwner, TheApplicationPlacesByItsMainForm) {
  TDesktop desktop({0, 0, 800, 570});
  TForm main(nullptr);
  main.SetBounds(20, 30, 300, 200);
  Application().SetMainForm(&main);
  auto dialog = Dialog(&Application());
  PlaceNearOwner(*dialog);
  EXPECT_EQ(dialog->Left(), 70);
  EXPECT_EQ(dialog->Top(), 80);
  Application().SetMainForm(nullptr);
}

}  // namespace
}  // namespace tv
