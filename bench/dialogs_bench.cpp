// The second About dialog from its stored form (read, translated, shown to
// a driver that closes it at once, destroyed) against the same controls
// made in code with the same properties, without stream or translator.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "dialogs/about_dialogs.h"
#include "dialogs/dialog_classes.h"
#include "dialogs/project_info.h"
#include "platform/graphics/bitmap_file.h"
#include "platform/ui/headless/headless_backend.h"

namespace tv {
namespace {

void BM_AboutDialogFromStoredForm(benchmark::State& state) {
  RegisterDialogClasses();
  TTvProjectInfo info(nullptr);
  info.SetProjectName("tevrinVexal");
  info.SetAboutDialogStyle(adVersion2);
  TModalDriverScope driver([](TCustomForm& form) { form.Close(); });
  for (auto _ : state) info.ShowAboutDialog();
}
BENCHMARK(BM_AboutDialogFromStoredForm)->Unit(benchmark::kMicrosecond);

struct TPlace {
  int Left, Top, Width, Height;
};

template <class T>
T* Make(TForm& form, TWinControl* parent, const char* name, TPlace at) {
  auto* control = new T(&form);
  control->SetName(name);
  control->SetParent(parent);
  control->SetBounds(at.Left, at.Top, at.Width, at.Height);
  return control;
}

TLabel* Label(TForm& form, TWinControl* parent, const char* name, TPlace at, const char* caption) {
  auto* label = Make<TLabel>(form, parent, name, at);
  label->SetCaption(caption);
  return label;
}

TLabel* Link(TForm& form, TWinControl* parent, const char* name, TPlace at, const char* caption) {
  TLabel* link = Label(form, parent, name, at, caption);
  link->SetCursor(crHandPoint);
  link->Font().SetColor(clBlue);
  link->Font().SetName("MS Sans Serif");
  link->Font().SetStyle(FontStyle(fsUnderline));
  link->SetParentFont(false);
  link->OnClick = [](TObject*) {};
  return link;
}

TBevel* Line(TForm& form, TWinControl* parent, const char* name, TPlace at, TBevelShape shape, TAlign align) {
  auto* line = Make<TBevel>(form, parent, name, at);
  line->SetShape(shape);
  line->SetAlign(align);
  return line;
}

// The logo as a program without stored forms would have it: a bitmap file
// among its resources, decoded when the dialog is made.
std::string LogoFile() {
  RegisterDialogClasses();
  TTvProjectInfo info(nullptr);
  std::string file;
  TModalDriverScope driver([&file](TCustomForm& form) {
    file = EncodeBitmapFile(static_cast<TwTevrinAboutV2&>(form).imLogo->Picture().Bitmap());
    form.Close();
  });
  info.SetAboutDialogStyle(adVersion2);
  info.ShowAboutDialog();
  return file;
}

// Every control and property of the stored form, the texts already in
// German, so that the difference is the stream and the translator.
void BM_AboutDialogInCode(benchmark::State& state) {
  const std::string logoFile = LogoFile();
  TModalDriverScope driver([](TCustomForm& form) { form.Close(); });
  for (auto _ : state) {
    TForm form(nullptr);
    form.SetName("wTevrinAboutV2");
    form.Font().SetName("MS Sans Serif");
    form.SetBorderStyle(bsDialog);
    form.SetPosition(poDefaultPosOnly);
    form.SetClientWidth(440);
    form.SetClientHeight(310);
    form.SetCaption(
        "Info \xFC"
        "ber tevrinVexal");
    auto* buttons = Make<TPanel>(form, &form, "pnButtons", {0, 275, 440, 35});
    buttons->SetAlign(alBottom);
    buttons->SetTabOrder(0);
    buttons->SetBevelOuter(bvNone);
    auto* ok = Make<TButton>(form, buttons, "btOk", {360, 6, 75, 25});
    ok->SetCaption("Ok");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetCancel(true);
    auto* body = Make<TPanel>(form, &form, "pnBody", {0, 0, 440, 275});
    body->SetAlign(alClient);
    body->SetColor(clWhite);
    body->SetTabOrder(1);
    body->SetBevelOuter(bvNone);
    Line(form, body, "Bevel1", {152, 188, 277, 2}, bsTopLine, alNone);
    TLabel* version = Label(form, body, "txVersion", {152, 68, 80, 13}, "Version 1.00");
    version->Font().SetName("MS Sans Serif");
    version->Font().SetStyle(FontStyle(fsBold));
    version->SetParentFont(false);
    Label(form, body, "txCopyright", {152, 100, 250, 13},
          "Copyright \xA9 2026 tevrin. Alle Rechte vorbehalten.");
    TLabel* freeware =
        Label(form, body, "txFreeware", {152, 132, 253, 33},
              "Dieses Programm ist Freeware. Es darf ohne Beschr\xE4nkung weitergegeben werden.");
    freeware->SetWordWrap(true);
    freeware->SetAutoSize(false);
    Label(form, body, "txEMailLabel", {152, 200, 36, 13}, "E-Mail:");
    Link(form, body, "txEMail", {228, 200, 120, 13}, "support@tevrin.example");
    Link(form, body, "txUrl", {228, 220, 110, 13}, "www.tevrin.example");
    Make<TImage>(form, body, "imIcon", {12, 20, 128, 128});
    Label(form, body, "txHomepage", {152, 220, 59, 13}, "Homepage:");
    Line(form, body, "bvLine1", {0, 0, 440, 2}, bsTopLine, alTop);
    Line(form, body, "bvLine2", {0, 273, 440, 2}, bsBottomLine, alBottom);
    auto* logo = Make<TImage>(form, body, "imLogo", {148, 19, 166, 28});
    logo->Picture().Bitmap() = DecodeBitmapFile(logoFile);
    form.ShowModal();
  }
}
BENCHMARK(BM_AboutDialogInCode)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
