// The second About dialog from its stored form (read, translated, shown to
// a driver that closes it at once, destroyed) against the same controls
// made in code with the same properties, without stream or translator.

#include <benchmark/benchmark.h>

#include "dialogs/about_dialogs.h"
#include "dialogs/project_info.h"
#include "platform/ui/headless/headless_backend.h"

namespace tv {
namespace {

void BM_AboutDialogFromStoredForm(benchmark::State& state) {
  TTvProjectInfo info(nullptr);
  info.SetProjectName("tevrinVexal");
  info.SetAboutDialogStyle(adVersion2);
  TModalDriverScope driver([](TCustomForm& form) { form.Close(); });
  for (auto _ : state) info.ShowAboutDialog();
}
BENCHMARK(BM_AboutDialogFromStoredForm)->Unit(benchmark::kMicrosecond);

TLabel* Label(TWinControl* parent, const char* name, int left, int top, int width, int height,
              const char* caption) {
  auto* label = new TLabel(parent->Owner() != nullptr ? parent->Owner() : parent);
  label->SetName(name);
  label->SetParent(parent);
  label->SetBounds(left, top, width, height);
  label->SetCaption(caption);
  return label;
}

void BM_AboutDialogInCode(benchmark::State& state) {
  TBitmap logo;
  logo.SetSize(166, 28);
  TModalDriverScope driver([](TCustomForm& form) { form.Close(); });
  for (auto _ : state) {
    TForm form(nullptr);
    form.SetName("wTevrinAboutV2");
    form.SetBorderStyle(bsDialog);
    form.SetClientWidth(440);
    form.SetClientHeight(310);
    form.SetCaption(
        "Info \xFC"
        "ber tevrinVexal");
    auto* buttons = new TPanel(&form);
    buttons->SetName("pnButtons");
    buttons->SetParent(&form);
    buttons->SetBounds(0, 275, 440, 35);
    buttons->SetAlign(alBottom);
    auto* ok = new TButton(&form);
    ok->SetName("btOk");
    ok->SetParent(buttons);
    ok->SetBounds(360, 6, 75, 25);
    ok->SetCaption("Ok");
    auto* body = new TPanel(&form);
    body->SetName("pnBody");
    body->SetParent(&form);
    body->SetAlign(alClient);
    body->SetColor(clWhite);
    for (const char* bevel : {"Bevel1", "bvLine1", "bvLine2"}) {
      auto* b = new TBevel(&form);
      b->SetName(bevel);
      b->SetParent(body);
      b->SetBounds(152, 188, 277, 2);
    }
    Label(body, "txVersion", 152, 68, 80, 13, "Version 1.00")->Font().SetStyle(FontStyle(fsBold));
    Label(body, "txCopyright", 152, 100, 250, 13, "Copyright \xA9 2026 tevrin. Alle Rechte vorbehalten.");
    Label(body, "txFreeware", 152, 132, 253, 33, "Dieses Programm ist Freeware.")->SetWordWrap(true);
    Label(body, "txEMailLabel", 152, 200, 36, 13, "E-Mail:");
    Label(body, "txEMail", 228, 200, 120, 13, "support@tevrin.example")->Font().SetColor(clBlue);
    Label(body, "txUrl", 228, 220, 110, 13, "www.tevrin.example")->Font().SetColor(clBlue);
    Label(body, "txHomepage", 152, 220, 59, 13, "Homepage:");
    for (const char* name : {"imIcon", "imLogo"}) {
      auto* image = new TImage(&form);
      image->SetName(name);
      image->SetParent(body);
      image->Picture().Assign(&logo);
    }
    form.ShowModal();
  }
}
BENCHMARK(BM_AboutDialogInCode)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tv

BENCHMARK_MAIN();
