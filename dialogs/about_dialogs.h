#pragma once
// The two About dialogs of the project information, read from their stored
// forms and translated by their translators.

#include "platform/ui/ext_controls.h"
#include "platform/ui/forms.h"
#include "platform/ui/std_controls.h"
#include "translator/app_translator.h"

namespace tv {

// What both dialogs have: their translator, the texts the project
// information fills in, the logo, and the two links.
class TwTevrinAboutBase : public TForm {
  TV_PUBLISHED_CLASS(TwTevrinAboutBase, TForm)
 public:
  explicit TwTevrinAboutBase(TComponent* owner);

  // Placement near the owner (both styles).
  virtual void FormCreate(TObject* sender);
  // "mailto:" and "http://" + the label's caption, opened by the system.
  void txEMailClick(TObject* sender);
  void txUrlClick(TObject* sender);

  TtvTranslator* Translator = nullptr;
  TImage* imLogo = nullptr;
  TLabel *txVersion = nullptr, *txCopyright = nullptr, *txFreeware = nullptr;
  TLabel *txEMail = nullptr, *txUrl = nullptr;
  TButton* btOk = nullptr;
};

// Style 1: logo on a white band above, the application's icon beside the texts.
class TwTevrinAbout : public TwTevrinAboutBase {
  TV_PUBLISHED_CLASS(TwTevrinAbout, TwTevrinAboutBase)
 public:
  explicit TwTevrinAbout(TComponent* owner);
  // Also shows the plug-in's own icon, when its module carries one.
  void FormCreate(TObject* sender) override;
  TImage* imAppIcon = nullptr;
};

// Style 2: a large icon beside the texts on a white body.
class TwTevrinAboutV2 : public TwTevrinAboutBase {
  TV_PUBLISHED_CLASS(TwTevrinAboutV2, TwTevrinAboutBase)
 public:
  explicit TwTevrinAboutV2(TComponent* owner);
  TImage* imIcon = nullptr;
};

}  // namespace tv
