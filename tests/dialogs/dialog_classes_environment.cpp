// The test program enters the dialogs' classes and stored forms before any
// test, as the plug-in's setup entry and the tools do before they show one.

#include <gtest/gtest.h>

#include "dialogs/dialog_classes.h"

namespace {

class TDialogClasses : public testing::Environment {
 public:
  void SetUp() override { tv::RegisterDialogClasses(); }
};

[[maybe_unused]] testing::Environment* const registered =
    testing::AddGlobalTestEnvironment(new TDialogClasses);

}  // namespace
