#pragma once
// The product's description that a form carries: name, logo, icon, version
// and support addresses, shown by the About dialogs.

#include <cstdint>
#include <string>

#include "platform/components/component.h"
#include "platform/graphics/graphics.h"
#include "platform/rtl/enum_names.h"

namespace tv {

enum class TTevrinReleaseType { rtFinalRelease, rtAlphaRelease, rtBetaRelease, rtReleaseCandidate };
using enum TTevrinReleaseType;
inline constexpr auto kReleaseTypeNames =
    EnumNameArray("rtFinalRelease", "rtAlphaRelease", "rtBetaRelease", "rtReleaseCandidate");
static_assert(kReleaseTypeNames.size() ==
              1 + static_cast<std::size_t>(TTevrinReleaseType::rtReleaseCandidate));
constexpr TEnumNames EnumNames(TTevrinReleaseType) {
  return kReleaseTypeNames;
}
enum class TTvProjectInfoAboutDialogStyle { adVersion1, adVersion2 };
using enum TTvProjectInfoAboutDialogStyle;
inline constexpr auto kAboutDialogStyleNames = EnumNameArray("adVersion1", "adVersion2");
static_assert(kAboutDialogStyleNames.size() ==
              1 + static_cast<std::size_t>(TTvProjectInfoAboutDialogStyle::adVersion2));
constexpr TEnumNames EnumNames(TTvProjectInfoAboutDialogStyle) {
  return kAboutDialogStyleNames;
}

// The maker's addresses, under a domain reserved for examples.
inline constexpr const char* kMakerHomepage = "www.tevrin.example";
inline constexpr const char* kMakerSupportEMail = "support@tevrin.example";

class TTvProjectInfo : public TComponent {
  TV_PUBLISHED_CLASS(TTvProjectInfo, TComponent)
 public:
  explicit TTvProjectInfo(TComponent* owner);

  const std::string& ProjectName() const { return projectName_; }
  void SetProjectName(const std::string& name);
  // Setting a logo or an icon copies the image; the caller keeps its own.
  const TBitmap& ProjectLogo() const { return logo_; }
  void SetProjectLogo(const TBitmap& logo) { logo_.Assign(&logo); }
  const TBitmap& ProjectIcon() const { return icon_; }
  void SetProjectIcon(const TBitmap& icon) { icon_.Assign(&icon); }
  const std::string& ProjectHomepage() const { return projectHomepage_; }
  void SetProjectHomepage(const std::string& address) { projectHomepage_ = address; }
  std::uint16_t VersionMajor() const { return versionMajor_; }
  void SetVersionMajor(std::uint16_t value) { versionMajor_ = value; }
  std::uint16_t VersionMinor() const { return versionMinor_; }
  void SetVersionMinor(std::uint16_t value) { versionMinor_ = value; }
  std::uint16_t VersionBuild() const { return versionBuild_; }
  void SetVersionBuild(std::uint16_t value) { versionBuild_ = value; }
  TTevrinReleaseType VersionRelease() const { return versionRelease_; }
  void SetVersionRelease(TTevrinReleaseType value) { versionRelease_ = value; }
  const std::string& SupportEMail() const { return supportEMail_; }
  void SetSupportEMail(const std::string& address) { supportEMail_ = address; }
  const std::string& SupportHomepage() const { return supportHomepage_; }
  void SetSupportHomepage(const std::string& address) { supportHomepage_ = address; }
  TTvProjectInfoAboutDialogStyle AboutDialogStyle() const { return aboutDialogStyle_; }
  void SetAboutDialogStyle(TTvProjectInfoAboutDialogStyle style) { aboutDialogStyle_ = style; }

  // "Version 1.05", "Version 2.03.7 beta", "Version 1.00 RC2", ...
  std::string VersionText() const;

  // Shows the About dialog of AboutDialogStyle modally, filled from this
  // description and translated into the application's language; owned by
  // this component's owner, else by the application when it has a main
  // form, else by nobody. The dialog is gone when this returns.
  void ShowAboutDialog();

 private:
  std::string projectName_;
  TBitmap logo_, icon_;
  std::string projectHomepage_ = kMakerHomepage;
  std::uint16_t versionMajor_ = 0, versionMinor_ = 0, versionBuild_ = 0;
  TTevrinReleaseType versionRelease_ = rtFinalRelease;
  std::string supportEMail_ = kMakerSupportEMail;
  std::string supportHomepage_ = kMakerHomepage;
  TTvProjectInfoAboutDialogStyle aboutDialogStyle_ = adVersion1;
};

}  // namespace tv
