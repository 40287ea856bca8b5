#pragma once
// The standard controls: buttons, check boxes, labels, edits and memos.

#include <string>

#include "platform/rtl/lists.h"
#include "platform/ui/controls.h"

namespace tv {

class TButtonControl : public TWinControl {
  TV_PUBLISHED_CLASS(TButtonControl, TWinControl)
 public:
  explicit TButtonControl(TComponent* owner);
};

class TButton : public TButtonControl {
  TV_PUBLISHED_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // Enter presses the default button, Escape the cancel button.
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Hands the modal result to the form, then runs the handler.
  void Click() override;

 private:
  int modalResult_ = 0;
  bool default_ = false, cancel_ = false;
};

class TCustomCheckBox : public TButtonControl {
  TV_PUBLISHED_CLASS(TCustomCheckBox, TButtonControl)
 public:
  explicit TCustomCheckBox(TComponent* owner);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // A click toggles the box, then runs the handler.
  void Click() override;

 private:
  bool checked_ = false;
};

class TCheckBox : public TCustomCheckBox {
  TV_CLASS(TCheckBox, TCustomCheckBox)
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

class TCustomLabel : public TGraphicControl {
  TV_PUBLISHED_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* owner);
  // The control that its accelerator focuses.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* control) { focusControl_ = control; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value) { autoSize_ = value; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TWinControl* focusControl_ = nullptr;
  bool wordWrap_ = false, autoSize_ = true;
};

class TLabel : public TCustomLabel {
  TV_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

class TCustomEdit : public TWinControl {
  TV_PUBLISHED_CLASS(TCustomEdit, TWinControl)
 public:
  explicit TCustomEdit(TComponent* owner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  // One line: what follows a line break is dropped, as the system's edit
  // drops it from pasted text (a settings value never spans lines).
  void SetText(const std::string& text) override;

 private:
  bool readOnly_ = false;
};

class TEdit : public TCustomEdit {
  TV_CLASS(TEdit, TCustomEdit)
 public:
  using TCustomEdit::TCustomEdit;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
using enum TScrollStyle;
inline constexpr auto kScrollStyleNames = EnumNameArray("ssNone", "ssHorizontal", "ssVertical", "ssBoth");
static_assert(kScrollStyleNames.size() == 1 + static_cast<std::size_t>(TScrollStyle::ssBoth));
constexpr TEnumNames EnumNames(TScrollStyle) {
  return kScrollStyleNames;
}

// Its text is its lines, each ended by CR LF but the last.
class TCustomMemo : public TCustomEdit {
  TV_PUBLISHED_CLASS(TCustomMemo, TCustomEdit)
 public:
  explicit TCustomMemo(TComponent* owner);
  TStrings& Lines() { return lines_; }
  const TStrings& Lines() const { return lines_; }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value) { scrollBars_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  std::string Text() const override;
  void SetText(const std::string& text) override;

 private:
  TTextLines lines_;  // a whole log may be shown
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
};

class TMemo : public TCustomMemo {
  TV_CLASS(TMemo, TCustomMemo)
 public:
  using TCustomMemo::TCustomMemo;
};

// The letter after a single "&" of a caption, upper-cased; 0 for none. "&&"
// is an ampersand of the text.
char AcceleratorOf(const std::string& caption);
// The caption as shown: "&" markers gone, "&&" as one ampersand.
std::string StripAccelerator(const std::string& caption);

}  // namespace tv
