#include "dialogs/project_info.h"

#include <memory>

#include "dialogs/about_dialogs.h"
#include "platform/components/properties.h"

namespace tv {

// A stored bitmap travels as its picture data, so that a form keeps the
// product's logo and icon.
void TTvProjectInfo::PublishOwn() {
  using T = TTvProjectInfo;
  RegisterProperties(
      StaticClassInfo(),
      {StringProperty("ProjectName", &T::ProjectName, &T::SetProjectName),
       ObjectProperty("ProjectLogo", &T::ProjectLogo), ObjectProperty("ProjectIcon", &T::ProjectIcon),
       StringProperty("ProjectHomepage", &T::ProjectHomepage, &T::SetProjectHomepage),
       WithDefault(IntegerProperty("VersionMajor", &T::VersionMajor, &T::SetVersionMajor), 0),
       WithDefault(IntegerProperty("VersionMinor", &T::VersionMinor, &T::SetVersionMinor), 0),
       WithDefault(IntegerProperty("VersionBuild", &T::VersionBuild, &T::SetVersionBuild), 0),
       WithDefault(EnumProperty("VersionRelease", &T::VersionRelease, &T::SetVersionRelease), rtFinalRelease),
       StringProperty("SupportEMail", &T::SupportEMail, &T::SetSupportEMail),
       StringProperty("SupportHomepage", &T::SupportHomepage, &T::SetSupportHomepage),
       WithDefault(EnumProperty("AboutDialogStyle", &T::AboutDialogStyle, &T::SetAboutDialogStyle),
                   adVersion1)});
}

TTvProjectInfo::TTvProjectInfo(TComponent* owner) : TComponent(owner) {}

void TTvProjectInfo::SetProjectName(const std::string& name) {
  if (name != projectName_) projectName_ = name;
}

std::string TTvProjectInfo::VersionText() const {
  std::string text = "Version " + std::to_string(versionMajor_) + ".";
  if (versionMinor_ < 10) text += "0";
  text += std::to_string(versionMinor_);
  const std::string build = std::to_string(versionBuild_);
  const bool hasBuild = versionBuild_ != 0;
  switch (versionRelease_) {
    case rtFinalRelease:
      if (hasBuild) text += "." + build;
      break;
    case rtAlphaRelease: text += (hasBuild ? "." + build : std::string()) + " alpha"; break;
    case rtBetaRelease: text += (hasBuild ? "." + build : std::string()) + " beta"; break;
    case rtReleaseCandidate: text += " RC" + (hasBuild ? build : std::string()); break;
  }
  return text;
}

void TTvProjectInfo::ShowAboutDialog() {
  TComponent* owner = Owner();
  if (owner == nullptr && Application().MainForm() != nullptr) owner = &Application();
  // Freed when shown, also when an owner holds it.
  auto create = [owner]<class TDialog>() -> std::unique_ptr<TwTevrinAboutBase> {
    if (owner == nullptr) return CreateForm<TDialog>();
    return std::unique_ptr<TwTevrinAboutBase>(CreateForm<TDialog>(*owner));
  };
  const std::unique_ptr<TwTevrinAboutBase> dialog = aboutDialogStyle_ == adVersion2
                                                        ? create.operator()<TwTevrinAboutV2>()
                                                        : create.operator()<TwTevrinAbout>();
  if (!projectName_.empty()) dialog->SetCaption(dialog->Translator->GetString("About") + " " + projectName_);
  dialog->txVersion->SetCaption(VersionText());
  if (logo_.Handle() != nullptr) dialog->imLogo->Picture().Assign(&logo_);
  if (auto* v2 = dynamic_cast<TwTevrinAboutV2*>(dialog.get()); v2 != nullptr && icon_.Handle() != nullptr)
    v2->imIcon->Picture().Assign(&icon_);
  dialog->txEMail->SetCaption(supportEMail_);
  dialog->txUrl->SetCaption(supportHomepage_);
  dialog->txFreeware->SetCaption(dialog->Translator->GetString("Freeware"));
  dialog->ShowModal();
}

}  // namespace tv
