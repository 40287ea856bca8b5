// The product's description: its defaults, the version text, copies of its
// pictures, and its place in a stored form.

#include "dialogs/project_info.h"

#include <gtest/gtest.h>

#include "platform/components/class_registry.h"
#include "platform/components/component_stream.h"
#include "platform/system/shell.h"

namespace tv {
namespace {

TEST(TTvProjectInfo, VersionTextOfEveryReleaseType) {
  const struct {
    int Major, Minor, Build;
    TTevrinReleaseType Release;
    const char* Text;
  } cases[] = {
      {1, 0, 0, rtFinalRelease, "Version 1.00"},
      {1, 5, 0, rtFinalRelease, "Version 1.05"},
      {1, 12, 0, rtFinalRelease, "Version 1.12"},
      {1, 100, 0, rtFinalRelease, "Version 1.100"},
      {2, 3, 7, rtBetaRelease, "Version 2.03.7 beta"},
      {1, 0, 0, rtAlphaRelease, "Version 1.00 alpha"},
      {1, 0, 2, rtReleaseCandidate, "Version 1.00 RC2"},
      {1, 0, 3, rtFinalRelease, "Version 1.00.3"},
      {1, 0, 0, rtBetaRelease, "Version 1.00 beta"},
      {1, 0, 4, rtAlphaRelease, "Version 1.00.4 alpha"},
      {1, 0, 0, rtReleaseCandidate, "Version 1.00 RC"},
      {65535, 9, 65535, rtFinalRelease, "Version 65535.09.65535"},
  };
  TTvProjectInfo info(nullptr);
  for (const auto& c : cases) {
    info.SetVersionMajor(static_cast<std::uint16_t>(c.Major));
    info.SetVersionMinor(static_cast<std::uint16_t>(c.Minor));
    info.SetVersionBuild(static_cast<std::uint16_t>(c.Build));
    info.SetVersionRelease(c.Release);
    EXPECT_EQ(info.VersionText(), c.Text);
  }
}

TEST(TTvProjectInfo, DefaultsPicturesAndStoredForm) {
  RegisterComponentClass<TTvProjectInfo>();
  TTvProjectInfo info(nullptr);
  info.SetName("piVexal");
  EXPECT_EQ(info.ProjectHomepage(), "www.tevrin.example");
  EXPECT_EQ(info.SupportEMail(), "support@tevrin.example");
  EXPECT_EQ(info.AboutDialogStyle(), adVersion1);
  EXPECT_EQ(info.ProjectLogo().Handle(), nullptr);
  TBitmap logo;
  logo.SetSize(2, 1);
  logo.SetPixel(1, 0, 0xFF0000FFu);
  info.SetProjectLogo(logo);
  logo.SetPixel(1, 0, 0);  // the component keeps its own copy
  EXPECT_EQ(info.ProjectLogo().Pixel(1, 0), 0xFF0000FFu);
  info.SetProjectName("tevrinVexal");
  info.SetVersionMajor(1);
  info.SetAboutDialogStyle(adVersion2);

  const std::string stored = TWriter::WriteRoot(info);
  EXPECT_NE(stored.find("\x0BProjectName\x06\x0BtevrinVexal"), std::string::npos);
  EXPECT_NE(stored.find("\x10"
                        "AboutDialogStyle\x07\x0A"
                        "adVersion2"),
            std::string::npos);
  TTvProjectInfo copy(nullptr);
  TReader::ReadRoot(stored, copy);
  EXPECT_EQ(copy.ProjectLogo().Pixel(1, 0), 0xFF0000FFu);
  EXPECT_EQ(copy.VersionText(), "Version 1.00");
  EXPECT_EQ(TWriter::WriteRoot(copy), stored);
}

TEST(ShellOpen, RequestsGoToTheHookInsteadOfTheDesktop) {
  std::vector<std::string> opened;
  auto previous = sys::SetShellOpenHook([&](const sys::TShellOpen& r) {
    opened.push_back(r.Verb + " " + r.File + " " + std::to_string(r.ShowCommand));
  });
  sys::ShellOpen({nullptr, "open", "mailto:", "", "", sys::kShowNormal});
  sys::SetShellOpenHook(previous);
  EXPECT_EQ(opened, std::vector<std::string>{"open mailto: 1"});
}

}  // namespace
}  // namespace tv
