// Forms read from their stored descriptions and operated as a person would,
// through the headless backend and its modal driver.

#include "platform/ui/forms.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/components/component_stream.h"
#include "platform/components/published.h"
#include "platform/components/text_form.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/backend.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/ext_controls.h"
#include "platform/ui/form_dump.h"
#include "platform/ui/headless/form_operator.h"
#include "platform/ui/headless/headless_backend.h"
#include "platform/ui/std_controls.h"

namespace tv {
namespace {

// Every control kind the dialogs use, nested as they nest them.
const char* const kSampleForm = R"(object wSample: TwSample
  Left = 200
  Top = 100
  Font.Name = 'MS Sans Serif'
  Caption = 'Sample'
  BorderStyle = bsDialog
  Position = poScreenCenter
  ClientWidth = 400
  ClientHeight = 300
  ActiveControl = edName
  OnCreate = FormCreate
  object pnTop: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 39
    Align = alTop
    Color = clWhite
    TabOrder = 0
    BevelOuter = bvNone
    object imLogo: TImage
      Left = 4
      Top = 3
      Width = 10
      Height = 10
      AutoSize = True
    end
  end
  object btOk: TButton
    Left = 232
    Top = 268
    Width = 75
    Height = 25
    TabOrder = 1
    Caption = 'Ok'
    ModalResult = 1
    Default = True
  end
  object btCancel: TButton
    Left = 316
    Top = 268
    Width = 75
    Height = 25
    TabOrder = 2
    Caption = 'Abbrechen'
    ModalResult = 2
    Cancel = True
  end
  object pcPages: TPageControl
    Left = 8
    Top = 44
    Width = 385
    Height = 217
    TabOrder = 3
    ActivePage = tsFirst
    object tsFirst: TTabSheet
      Caption = '&Einstellungen'
      object txName: TLabel
        Left = 8
        Top = 12
        Width = 40
        Height = 13
        Caption = '&SCAN.EXE:'
        FocusControl = edName
      end
      object txLink: TLabel
        Left = 8
        Top = 150
        Width = 100
        Height = 13
        Cursor = crHandPoint
        Hint = 'Link'
        Font.Color = clBlue
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsUnderline]
        ParentFont = False
        Caption = 'www.example.org'
        OnClick = LinkClick
      end
      object edName: TEdit
        Left = 8
        Top = 32
        Width = 277
        Height = 21
        TabOrder = 0
        Text = 'scan.exe'
      end
      object cbHide: TCheckBox
        Left = 8
        Top = 64
        Width = 309
        Height = 17
        TabOrder = 1
        Caption = 'Konsolenfenster w'#228'hrend des Scannens &verbergen'
        Checked = True
      end
      object btSelect: TButton
        Left = 298
        Top = 28
        Width = 75
        Height = 25
        TabOrder = 2
        Caption = '&Ausw'#228'hlen'
        OnClick = btSelectClick
      end
      object Bevel1: TBevel
        Left = 8
        Top = 100
        Width = 300
        Height = 2
        Shape = bsTopLine
      end
    end
    object tsSecond: TTabSheet
      Caption = 'Protokoll'
      object mmLog: TMemo
        Left = 4
        Top = 8
        Width = 369
        Height = 150
        Font.Name = 'Courier New'
        ParentFont = False
        TabOrder = 0
        ReadOnly = True
        Lines.Strings = (
          'one'
          'two')
        ScrollBars = ssBoth
      end
    end
  end
  object dOpen: TOpenDialog
    DefaultExt = 'exe'
    Filter = 'Programme (*.exe)|*.exe'
    Title = 'SCAN.EXE lokalisieren'
  end
end
)";

class TwSample : public TForm {
  TV_PUBLISHED_CLASS(TwSample, TForm)
 public:
  explicit TwSample(TComponent* owner) : TForm(owner) {}
  ~TwSample() override { ++destroyed; }
  void FormCreate(TObject*) { createdWith = edName->Text(); }
  void LinkClick(TObject* sender) { clicked.push_back(static_cast<TComponent*>(sender)->Name()); }
  void btSelectClick(TObject*) {
    dOpen->SetFileName(edName->Text());
    if (dOpen->Execute()) edName->SetText(dOpen->FileName());
  }

  TEdit* edName = nullptr;
  TCheckBox* cbHide = nullptr;
  TOpenDialog* dOpen = nullptr;
  TMemo* mmLog = nullptr;
  TPageControl* pcPages = nullptr;
  std::string createdWith;
  std::vector<std::string> clicked;
  static inline std::atomic<int> destroyed = 0;
};

void TwSample::PublishOwn() {
  using T = TwSample;
  RegisterMethods(StaticClassInfo(),
                  {Method("FormCreate", &T::FormCreate), Method("LinkClick", &T::LinkClick),
                   Method("btSelectClick", &T::btSelectClick)});
  RegisterFields(StaticClassInfo(),
                 {Field("edName", &T::edName), Field("cbHide", &T::cbHide), Field("dOpen", &T::dOpen),
                  Field("mmLog", &T::mmLog), Field("pcPages", &T::pcPages)});
}

std::unique_ptr<TwSample> Sample() {
  RegisterFormResource("TwSample", kSampleForm);
  return CreateForm<TwSample>();
}

TEST(Forms, ReadFromTheirStoredDescriptionAndWrittenBackAsStored) {
  auto form = Sample();
  EXPECT_EQ(form->createdWith, "scan.exe");  // OnCreate after the whole form is read
  ASSERT_NE(form->mmLog, nullptr);
  EXPECT_EQ(form->mmLog->Lines().Count(), 2);
  EXPECT_EQ(form->mmLog->Font().Name(), "Courier New");
  EXPECT_EQ(form->FindComponent("txName")->ClassName(), "TLabel");
  EXPECT_EQ(static_cast<TLabel*>(form->FindComponent("txName"))->FocusControl(), form->edName);
  EXPECT_EQ(form->ActiveControl(), form->edName);
  EXPECT_EQ(form->Width(), 406);  // the dialog frame around the client area
  EXPECT_EQ(form->Height(), 325);
  EXPECT_EQ(ObjectBinaryToText(TWriter::WriteRoot(*form)), kSampleForm);
}

TEST(Forms, DumpShowsWhatAPersonSees) {
  auto form = Sample();
  EXPECT_EQ(DumpForm(*form),
            "TwSample wSample at 200,100 size 406x325 \"Sample\" hidden\n"
            "  TPanel pnTop at 0,0 size 400x39 \"\"\n"
            "    TImage imLogo at 4,3 size 10x10\n"
            "  TButton btOk at 232,268 size 75x25 \"Ok\" default\n"
            "  TButton btCancel at 316,268 size 75x25 \"Abbrechen\" cancel\n"
            "  TPageControl pcPages at 8,44 size 385x217 page tsFirst\n"
            "    TTabSheet tsFirst at 4,24 size 377x189 \"&Einstellungen\"\n"
            "      TLabel txName at 8,12 size 40x13 \"&SCAN.EXE:\"\n"
            "      TLabel txLink at 8,150 size 100x13 \"www.example.org\"\n"
            "      TEdit edName at 8,32 size 277x21 \"scan.exe\" focused\n"
            "      TCheckBox cbHide at 8,64 size 309x17 \"Konsolenfenster w\xE4hrend des Scannens "
            "&verbergen\" checked\n"
            "      TButton btSelect at 298,28 size 75x25 \"&Ausw\xE4hlen\"\n"
            "      TBevel Bevel1 at 8,100 size 300x2\n"
            "    TTabSheet tsSecond at 4,24 size 377x189 \"Protokoll\" hidden\n"
            "      TMemo mmLog at 4,8 size 369x150 readonly\n"
            "        | one\n"
            "        | two\n"
            "  TOpenDialog dOpen\n");
}

// The tables that forms fill on first use (classes, properties, methods
// and fields, stored descriptions) are filled and read by several threads at
// once: every form comes out whole. The tsan preset runs this test first.
TEST(Concurrency, FormsAreMadeFromTheirStoredDescriptionsInSeveralThreadsAtOnce) {
  std::atomic<int> whole{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 25; ++i)
        if (ObjectBinaryToText(TWriter::WriteRoot(*Sample())) == kSampleForm) ++whole;
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(whole, 100);
}

TEST(Forms, ModalDriverOperatesTheFormAsAPersonWould) {
  auto form = Sample();
  {
    // Headless without a driver: over at once (the system's backend would
    // show a window and wait for a person).
    std::unique_ptr<TUiBackend> system = SetUiBackend(NewHeadlessBackend());
    EXPECT_EQ(form->ShowModal(), mrCancel);
    SetUiBackend(std::move(system));
  }
  std::vector<std::string> fileDialogs;
  int answers = 0;
  TModalDriverScope scope(
      [&](TCustomForm& shown) {
        TFormOperator person(shown);
        EXPECT_TRUE(shown.Visible());
        EXPECT_THROW(person.Type("mmLog", "x"), EInvalidOperation);  // on the page not shown
        person.Type("edName", "C:\\McAfee\\scan.exe");
        person.SetChecked("cbHide", false);
        person.Click("btSelect");  // cancelled: the text stays
        EXPECT_EQ(person.Text("edName"), "C:\\McAfee\\scan.exe");
        person.Click("btSelect");  // answered: the chosen path replaces it
        person.ShowPage("tsSecond");
        EXPECT_THROW(person.Type("mmLog", "x"), EInvalidOperation);  // read-only
        EXPECT_THROW(person.Click("edName"), EInvalidOperation);     // now hidden
        person.ShowPage("tsFirst");
        person.Click("txLink");
        person.Click("btOk");
      },
      [&](TOpenDialog& dialog) -> std::optional<std::string> {
        fileDialogs.push_back(dialog.Title() + " " + dialog.Filter() + " " + dialog.FileName());
        if (answers++ == 0) return std::nullopt;
        return "D:\\Tools\\scan.exe";
      });
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->edName->Text(), "D:\\Tools\\scan.exe");
  EXPECT_FALSE(form->cbHide->Checked());
  EXPECT_EQ(form->clicked, std::vector<std::string>{"txLink"});
  EXPECT_EQ(fileDialogs, (std::vector<std::string>{
                             "SCAN.EXE lokalisieren Programme (*.exe)|*.exe C:\\McAfee\\scan.exe",
                             "SCAN.EXE lokalisieren Programme (*.exe)|*.exe C:\\McAfee\\scan.exe",
                         }));
}

TEST(Forms, KeysReachDefaultCancelAndAccelerators) {
  auto form = Sample();
  const struct {
    std::function<void(TFormOperator&)> Keys;
    int Result;
  } cases[] = {
      {[](TFormOperator& p) { p.PressEnter(); }, mrOk},
      {[](TFormOperator& p) { p.PressEscape(); }, mrCancel},
      {[](TFormOperator& p) { p.Close(); }, mrCancel},
      {[](TFormOperator&) {}, mrCancel},
  };
  for (const auto& c : cases) {
    TModalDriverScope scope([&](TCustomForm& shown) {
      TFormOperator person(shown);
      c.Keys(person);
    });
    EXPECT_EQ(form->ShowModal(), c.Result);
  }
  form->SetVisible(true);  // shown without a modal run
  TFormOperator person(*form);
  person.ShowPage("tsSecond");
  person.PressAlt('e');  // the page's accelerator
  EXPECT_EQ(form->pcPages->ActivePage()->Name(), "tsFirst");
  form->SetActiveControl(nullptr);
  person.PressAlt('S');  // a label moves the focus to its control
  EXPECT_TRUE(form->edName->Focused());
  person.PressAlt('v');  // a check box toggles
  EXPECT_FALSE(form->cbHide->Checked());

  const struct {
    std::string Caption;
    char Accelerator;
    std::string Shown;
  } captions[] = {{"&SCAN.EXE:", 'S', "SCAN.EXE:"},
                  {"Tom && Jerry", 0, "Tom & Jerry"},
                  {"&&&x", 'X', "&x"},
                  {"end&", 0, "end"},
                  {"", 0, ""}};
  for (const auto& c : captions) {
    EXPECT_EQ(AcceleratorOf(c.Caption), c.Accelerator) << c.Caption;
    EXPECT_EQ(StripAccelerator(c.Caption), c.Shown) << c.Caption;
  }
}

TEST(Forms, ReleaseDestroysAtTheNextMessageProcessing) {
  TwSample::destroyed = 0;
  RegisterFormResource("TwSample", kSampleForm);
  auto* owned = CreateForm<TwSample>(Application());
  EXPECT_EQ(Application().FindComponent("wSample"), owned);
  owned->Release();
  owned->Release();  // twice is once
  EXPECT_EQ(TwSample::destroyed, 0);
  Application().ProcessMessages();
  EXPECT_EQ(TwSample::destroyed, 1);
  EXPECT_EQ(Application().FindComponent("wSample"), nullptr);
  Application().ProcessMessages();
  EXPECT_EQ(TwSample::destroyed, 1);

  // A released form that goes otherwise first is not destroyed twice.
  auto form = Sample();
  form->Release();
  form.reset();
  Application().ProcessMessages();
  EXPECT_EQ(TwSample::destroyed, 2);
}

TEST(Forms, ClassChainsAndPropertyKindsAreWhatTheTranslatorWalks) {
  auto form = Sample();
  const struct {
    const char* Name;
    std::vector<std::string> Ancestors;
  } chains[] = {
      {"txName",
       {"TLabel", "TCustomLabel", "TGraphicControl", "TControl", "TComponent", "TPersistent", "TObject"}},
      {"btOk",
       {"TButton", "TButtonControl", "TWinControl", "TControl", "TComponent", "TPersistent", "TObject"}},
      {"mmLog",
       {"TMemo", "TCustomMemo", "TCustomEdit", "TWinControl", "TControl", "TComponent", "TPersistent",
        "TObject"}},
      {"pnTop",
       {"TPanel", "TCustomPanel", "TCustomControl", "TWinControl", "TControl", "TComponent", "TPersistent",
        "TObject"}},
  };
  for (const auto& c : chains) EXPECT_EQ(form->FindComponent(c.Name)->ClassInfo().Ancestors(), c.Ancestors);
  EXPECT_EQ(form->ClassInfo().Ancestors()[1], "TForm");

  const struct {
    const char* Component;
    const char* Property;
    TPropertyKind Kind;
  } kinds[] = {
      {"txName", "Caption", TPropertyKind::pkString},   {"txName", "Hint", TPropertyKind::pkString},
      {"edName", "Text", TPropertyKind::pkString},      {"cbHide", "Checked", TPropertyKind::pkBoolean},
      {"mmLog", "Lines", TPropertyKind::pkClass},       {"wSample", "Caption", TPropertyKind::pkString},
      {"tsFirst", "Caption", TPropertyKind::pkString},  {"txName", "Font", TPropertyKind::pkClass},
      {"pnTop", "Align", TPropertyKind::pkEnumeration}, {"btOk", "OnClick", TPropertyKind::pkEvent},
  };
  for (const auto& k : kinds) {
    const TComponent* c = SameText(k.Component, "wSample") ? form.get() : form->FindComponent(k.Component);
    EXPECT_NE(FindProperty(*c, k.Property, k.Kind), nullptr) << k.Component << "." << k.Property;
  }
  EXPECT_EQ(FindProperty(*form->FindComponent("edName"), "Caption"), nullptr);  // an edit shows Text
  SetStrProp(*form->FindComponent("txName"), "Caption", "&Scanner:");
  EXPECT_EQ(static_cast<TControl*>(form->FindComponent("txName"))->Caption(), "&Scanner:");
  auto* lines = dynamic_cast<TStrings*>(GetObjectProp(*form->mmLog, "Lines"));
  ASSERT_NE(lines, nullptr);
  lines->Put(1, "zwei");
  EXPECT_EQ(form->mmLog->Text(), "one\r\nzwei");
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

TEST(Forms, BadStoredFormsAreRefusedByNameAndFreed) {
  const struct {
    std::string Text;
    std::string Message;
  } cases[] = {
      {Replaced(kSampleForm, "TBevel", "TSpinEdit"), "Form TwSample: Class TSpinEdit not found"},
      {Replaced(kSampleForm, "Shape = bsTopLine", "Shade = bsTopLine"),
       "Form TwSample: Error reading Bevel1.Shade: Property Shade does not exist"},
      {Replaced(kSampleForm, "OnClick = btSelectClick", "OnClick = btPickClick"),
       "Form TwSample: Error reading btSelect.OnClick: Method btPickClick does not exist in TwSample"},
      {Replaced(kSampleForm, "FocusControl = edName", "FocusControl = edMissing"),
       "Form TwSample: Error reading txName.FocusControl: Component edMissing does not exist in wSample"},
      {Replaced(kSampleForm, "FocusControl = edName", "FocusControl = Bevel1"),
       "Form TwSample: Error reading txName.FocusControl: TBevel is not a TWinControl"},
      {Replaced(kSampleForm, "object cbHide: TCheckBox", "object cbHidden: TCheckBox"),
       "Form TwSample: Component cbHide of TwSample is missing from wSample"},
      {Replaced(kSampleForm, "  end\nend\n", "  end\n"), "Form TwSample: Line 137: 'end' expected"},
  };
  for (const auto& c : cases) {
    RegisterFormResource("TwSample", c.Text);
    TwSample::destroyed = 0;
    try {
      CreateForm<TwSample>(Application());
      ADD_FAILURE() << c.Message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    EXPECT_EQ(TwSample::destroyed, 1);  // the half-read form is gone
    EXPECT_EQ(Application().FindComponent("wSample"), nullptr);
  }
  RegisterFormResource("TwSample", kSampleForm);
}

}  // namespace
}  // namespace tv
