// Component trees through the binary stream: published, nested and defined
// properties, owned components, the order of Loaded and the state flags, and
// the refusals that leave no half-built tree.

#include "platform/components/component_stream.h"

#include <gtest/gtest.h>

#include "platform/components/class_registry.h"
#include "platform/components/properties.h"
#include "platform/components/published.h"
#include "platform/components/text_form.h"
#include "platform/rtl/lists.h"

namespace tv {
namespace {

enum class TStyle { stPlain, stBold, stFramed };

// A nested persistent object, as a font is.
class TLook : public TPersistent {
  TV_PUBLISHED_CLASS(TLook, TPersistent)
 public:
  TLook() {}
  std::string face;
  int size = 8;
};

void TLook::PublishOwn() {
  RegisterProperties(StaticClassInfo(),
                     {StringProperty("Face", &TLook::face, &TLook::face),
                      WithDefault(IntegerProperty("Size", &TLook::size, &TLook::size), 8)});
}

std::vector<std::string> loadedOrder;
constexpr int kDepthLimit = 64;

class TWidget : public TComponent {
  TV_PUBLISHED_CLASS(TWidget, TComponent)
 public:
  explicit TWidget(TComponent* owner) : TComponent(owner) {}
  // A value that is no published property, as the translator's stored texts.
  void DefineProperties(TFiler& filer) override {
    filer.DefineProperty(
        "Secret", [this](TReader& reader) { secret = reader.ReadString(); },
        [this](TWriter& writer) { writer.WriteString(secret); }, !secret.empty());
  }
  // A widget stands in the block of the widget it is placed on, as a
  // control in its parent's.
  TComponent* GetParentComponent() const override { return parent; }
  void SetParentComponent(TComponent* component) override { parent = component; }
  void GetChildren(std::vector<TComponent*>& children, const TComponent& root) const override {
    if (this == &root) return TComponent::GetChildren(children, root);
    for (int i = 0; i < root.ComponentCount(); ++i)
      if (root.Components(i)->GetParentComponent() == this) children.push_back(root.Components(i));
  }
  void Loaded() override {
    loadedStates.push_back(ComponentState());
    loadedOrder.push_back(Name());
    TComponent::Loaded();
  }
  std::string caption, secret;
  int left = 0;
  bool visible = true;
  TStyle style = TStyle::stPlain;
  unsigned marks = 0;
  double ratio = 0;
  long long color = 0;
  TNotifyEvent onClick;
  TComponent* parent = nullptr;
  TStringList lines;
  TLook look;
  std::vector<unsigned> loadedStates;
};

void TWidget::PublishOwn() {
  using T = TWidget;
  RegisterProperties(
      StaticClassInfo(),
      {StringProperty("Caption", &T::caption, &T::caption), IntegerProperty("Left", &T::left, &T::left),
       WithDefault(BooleanProperty("Visible", &T::visible, &T::visible), 1),
       WithDefault(EnumProperty("Style", &T::style, {"stPlain", "stBold", "stFramed"}), 0),
       ObjectProperty("Lines", &T::lines), ObjectProperty("Look", &T::look),
       SetOfProperty("Marks", &T::marks, &T::marks, {"mkFirst", "mkSecond", "mkThird"}),
       FloatProperty("Ratio", &T::ratio, &T::ratio),
       WithDefault(WithIdents(IntegerProperty("Color", &T::color, &T::color), {{"clWhite", 0xFFFFFF}}), 0),
       EventProperty("OnClick", &T::onClick)});
  RegisterComponentClass<TWidget>();
}

std::unique_ptr<TWidget> SampleTree() {
  auto root = std::make_unique<TWidget>(nullptr);
  root->SetName("wMain");
  root->caption =
      "\xDC"
      "ber";  // Über
  root->left = -70000;
  root->style = TStyle::stFramed;
  root->lines.Add("one");
  root->lines.Add(std::string(300, 'x'));
  root->look.face = "MS Sans Serif";
  root->look.size = 10;
  root->secret = "hidden";
  root->marks = 0b101;
  root->ratio = -2.5;
  auto* first = new TWidget(root.get());
  first->SetName("btOk");
  first->visible = false;
  auto* second = new TWidget(root.get());
  second->SetName("txInfo");
  second->SetTag(3);
  auto* panel = new TWidget(root.get());
  panel->SetName("pnBody");
  auto* inner = new TWidget(root.get());
  inner->SetName("txInner");
  inner->parent = panel;
  return root;
}

TEST(ComponentStream, WriteReadWriteGivesTheSameBytes) {
  const std::string bytes = TWriter::WriteRoot(*SampleTree());
  EXPECT_EQ(bytes.substr(0, 4), "TPF0");
  TWidget copy(nullptr);
  loadedOrder.clear();
  TReader::ReadRoot(bytes, copy);
  EXPECT_EQ(TWriter::WriteRoot(copy), bytes);

  EXPECT_EQ(copy.Name(), "wMain");
  EXPECT_EQ(copy.caption,
            "\xDC"
            "ber");
  EXPECT_EQ(copy.left, -70000);
  EXPECT_EQ(copy.style, TStyle::stFramed);
  EXPECT_EQ(copy.lines.Count(), 2);
  EXPECT_EQ(copy.look.face, "MS Sans Serif");
  EXPECT_EQ(copy.look.size, 10);
  EXPECT_EQ(copy.secret, "hidden");
  EXPECT_EQ(copy.marks, 0b101u);
  EXPECT_EQ(copy.ratio, -2.5);
  ASSERT_EQ(copy.ComponentCount(), 4);
  auto* ok = static_cast<TWidget*>(copy.FindComponent("btOk"));
  ASSERT_NE(ok, nullptr);
  EXPECT_FALSE(ok->visible);
  EXPECT_EQ(copy.FindComponent("txInfo")->Tag(), 3);
  // Loaded in reading order, each while still loading but no longer reading.
  EXPECT_EQ(loadedOrder, (std::vector<std::string>{"wMain", "btOk", "txInfo", "pnBody", "txInner"}));
  // A component nested in another's block belongs to the root and has the
  // other as its parent.
  TComponent* inner = copy.FindComponent("txInner");
  EXPECT_EQ(inner->Owner(), &copy);
  EXPECT_EQ(inner->GetParentComponent(), copy.FindComponent("pnBody"));
  EXPECT_NE(bytes.find(std::string("\x06pnBody", 7) + "\x00\x00\x07TWidget\x07txInner"), std::string::npos);
  EXPECT_EQ(ok->loadedStates, std::vector<unsigned>{csLoading});
  EXPECT_EQ(ok->ComponentState(), 0u);
}

TEST(ComponentStream, DefaultsAndEmptyValuesAreNotWritten) {
  TWidget plain(nullptr);
  plain.SetName("w");
  // Class, name, Left (no default), end of properties, end of components.
  EXPECT_EQ(TWriter::WriteRoot(plain), std::string("TPF0\x07TWidget\x01w\x04Left\x02\x00\x00\x00", 23));
}

TEST(ComponentStream, SetsAreMemberNamesAndUnknownMembersAreRefused) {
  TWidget w(nullptr);
  w.SetName("w");
  w.marks = 0b110;
  std::string bytes = TWriter::WriteRoot(w);
  const std::string set = std::string("\x05Marks\x0B\x08mkSecond\x07mkThird\x00", 25);
  ASSERT_NE(bytes.find(set), std::string::npos);
  TWidget copy(nullptr);
  TReader::ReadRoot(bytes, copy);
  EXPECT_EQ(copy.marks, 0b110u);
  bytes.replace(bytes.find("mkThird"), 7, "mkFifth");
  TWidget refused(nullptr);
  EXPECT_THROW(TReader::ReadRoot(bytes, refused), EReadError);
}

// A form-like root: its stored form binds handlers to its methods and its
// components to its fields.
class TDialogWidget : public TWidget {
  TV_PUBLISHED_CLASS(TDialogWidget, TWidget)
 public:
  explicit TDialogWidget(TComponent* owner) : TWidget(owner) {}
  void OkClick(TObject* sender) { clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
  TWidget* btOk = nullptr;
  std::vector<std::string> clicks;
};

void TDialogWidget::PublishOwn() {
  RegisterMethods(StaticClassInfo(), {Method("OkClick", &TDialogWidget::OkClick)});
  RegisterFields(StaticClassInfo(), {Field("btOk", &TDialogWidget::btOk)});
}

std::string Dialog(const std::string& button, const std::string& color = "clWhite",
                   const std::string& handler = "OkClick") {
  return ObjectTextToBinary("object wDialog: TDialogWidget\n  Left = 0\n  Color = " + color + "\n  object " +
                            button + ": TWidget\n    Left = 1\n    OnClick = " + handler + "\n  end\nend\n");
}

TEST(ComponentStream, HandlersFieldsAndNamedValuesBindByName) {
  const std::string bytes = Dialog("btOk");
  TDialogWidget dialog(nullptr);
  TReader::ReadRoot(bytes, dialog);
  EXPECT_EQ(dialog.color, 0xFFFFFF);
  ASSERT_EQ(dialog.btOk, dialog.FindComponent("btOk"));
  dialog.btOk->onClick(dialog.btOk);
  EXPECT_EQ(dialog.clicks, std::vector<std::string>{"btOk"});
  EXPECT_EQ(TWriter::WriteRoot(dialog), bytes);  // the handler and the colour by their names

  const struct {
    std::string Bytes;
    std::string Message;
  } refusals[] = {
      {Dialog("btOk", "clWhite", "Missing"),
       "Error reading btOk.OnClick: Method Missing does not exist in TDialogWidget"},
      {Dialog("btOther"), "Component btOk of TDialogWidget is missing from wDialog"},
      {Dialog("btOk", "clPurple"),
       "Invalid property value at position " + std::to_string(bytes.find("clWhite") - 2)},
  };
  for (const auto& r : refusals) {
    TDialogWidget refused(nullptr);
    try {
      TReader::ReadRoot(r.Bytes, refused);
      ADD_FAILURE() << r.Message;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), r.Message);
    }
    EXPECT_EQ(refused.ComponentCount(), 0);
  }
}

std::string ReadError(const std::string& bytes, TWidget& root) {
  try {
    TReader::ReadRoot(bytes, root);
  } catch (const Exception& e) {
    return e.what();
  }
  return "read";
}

// A root with a chain of Depth widgets, each placed on the one before.
std::string NestedTree(int depth) {
  TWidget root(nullptr);
  root.SetName("w");
  TWidget* parent = &root;
  for (int i = 0; i < depth; ++i) {
    auto* w = new TWidget(&root);
    w->SetName("n" + std::to_string(i));
    w->parent = parent;
    parent = w;
  }
  return TWriter::WriteRoot(root);
}

// The 64th widget stands on the 65th level: refused where its name begins.
std::size_t NestedAt(int depth) {
  return NestedTree(depth).find("\x03n" + std::to_string(kDepthLimit - 1) + "\x04Left");
}

TEST(ComponentStream, RefusalsNameWhatTheyRefuseAndLeaveNoComponents) {
  TWidget deepest(nullptr);
  TReader::ReadRoot(NestedTree(63), deepest);  // 64 levels with the root
  EXPECT_EQ(deepest.ComponentCount(), 63);

  const std::string good = TWriter::WriteRoot(*SampleTree());
  std::string unknownProperty = good;
  unknownProperty.replace(unknownProperty.find("Caption"), 7, "Captio2");
  std::string unknownClass = good;
  unknownClass.replace(unknownClass.rfind("TWidget"), 7, "TWidgex");
  const struct {
    std::string Bytes;
    std::string Message;
  } cases[] = {
      {"XPF0", "Invalid stream format: no TPF0 signature"},
      {std::string("TPF0\x05TLook\x01w\x00\x00", 15), "The stream holds a TLook, not a TWidget"},
      {unknownProperty, "Error reading wMain.Captio2: Property Captio2 does not exist"},
      {unknownClass, "Class TWidgex not found"},
      {good.substr(0, good.size() - 3), "Stream read error at position " + std::to_string(good.size() - 3)},
      {NestedTree(65), "Components nested deeper than 64 levels at position " + std::to_string(NestedAt(65))},
  };
  for (const auto& c : cases) {
    TWidget root(nullptr);
    EXPECT_EQ(ReadError(c.Bytes, root), c.Message);
    EXPECT_EQ(root.ComponentCount(), 0);  // nothing half-built stays
    EXPECT_EQ(root.ComponentState(), 0u);
  }
}

}  // namespace
}  // namespace tv

namespace tv {
namespace {

// A designer's wide strings and flags as components read them: wide texts
// in Windows-1252 where it has every character, refused with the
// property's name where it has not; flags read over.
TEST(ComponentStream, WideStringsAndFlagsAsComponentsReadThem) {
  const std::string form =
      "inherited w: TWidget\n"
      "  Caption = 'Gr'#246#223'e '#8364\n"
      "  Lines.Strings = (\n"
      "    #8216'quoted'#8217\n"
      "    'plain')\n"
      "  inline child: TWidget [0]\n"
      "    Caption = #1041\n"
      "  end\n"
      "end\n";
  TWidget root(nullptr);
  EXPECT_EQ(ReadError(ObjectTextToBinary(form), root),
            "Error reading child.Caption: Text with a character that Windows-1252 does not have: U+0411");
  std::string readable = form;
  readable.replace(readable.find("#1041"), 5, "'ok'");
  TWidget read(nullptr);
  TReader::ReadRoot(ObjectTextToBinary(readable), read);
  EXPECT_EQ(read.caption,
            "Gr\xF6\xDF"
            "e \x80");
  ASSERT_EQ(read.lines.Count(), 2);
  EXPECT_EQ(read.lines.Strings(0), "\x91quoted\x92");
  ASSERT_NE(read.FindComponent("child"), nullptr);
  EXPECT_EQ(static_cast<TWidget*>(read.FindComponent("child"))->caption, "ok");
}

}  // namespace
}  // namespace tv
