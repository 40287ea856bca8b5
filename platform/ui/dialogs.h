#pragma once
// The system's common dialogs, as components a form carries.

#include <string>

#include "platform/components/component.h"

namespace tv {

class TCommonDialog : public TComponent {
  TV_CLASS(TCommonDialog, TComponent)
 public:
  using TComponent::TComponent;
};

class TOpenDialog : public TCommonDialog {
  TV_PUBLISHED_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* owner);
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
  // Pairs of description and pattern: "Programme (*.exe)|*.exe".
  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& filter) { filter_ = filter; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }

  // Asks the person for a file; true with FileName set to the chosen file's
  // full path when one was chosen.
  bool Execute();

 private:
  std::string defaultExt_, filter_, title_, initialDir_, fileName_;
  int filterIndex_ = 1;
};

}  // namespace tv
