#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/components/class_registry.h"
#include "platform/components/component.h"
#include "platform/components/properties.h"
#include "platform/rtl/lists.h"

namespace tv {
namespace {

std::vector<std::string> destroyed;

class TProbe : public TComponent {
  TV_CLASS(TProbe, TComponent)
 public:
  explicit TProbe(TComponent* owner) : TComponent(owner) { Listen(); }
  ~TProbe() override { destroyed.push_back(Name()); }
  void Notification(TComponent* c, TOperation op) override {
    heard.push_back((op == TOperation::opInsert ? "+" : "-") + c->Name());
    TComponent::Notification(c, op);
  }
  void Loaded() override {
    TComponent::Loaded();
    ++loadedCalls;
  }
  std::vector<std::string> heard;
  int loadedCalls = 0;
};

TProbe* Make(TComponent* owner, const std::string& name) {
  auto* p = new TProbe(nullptr);
  p->SetName(name);
  if (owner != nullptr) owner->InsertComponent(p);
  return p;
}

TEST(TComponent, OwnerFreesItsComponentsLastFirst) {
  destroyed.clear();
  {
    TProbe owner(nullptr);
    owner.SetName("owner");
    TProbe* a = Make(&owner, "a");
    Make(&owner, "b");
    Make(a, "a1");
    EXPECT_EQ(owner.ComponentCount(), 2);
    EXPECT_EQ(owner.Components(1)->Name(), "b");
    EXPECT_EQ(a->Owner(), &owner);
    EXPECT_EQ(a->ComponentIndex(), 0);
  }
  // Each destructor starts before it frees what it owns: the owner first,
  // then its components last first, each with its own.
  EXPECT_EQ(destroyed, (std::vector<std::string>{"owner", "b", "a", "a1"}));
}

TEST(TComponent, FreeingAComponentTakesItOutOfItsOwner) {
  TProbe owner(nullptr);
  TProbe* a = Make(&owner, "a");
  Make(&owner, "b");
  delete a;
  EXPECT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.FindComponent("a"), nullptr);
  EXPECT_THROW(owner.Components(1), EListError);
}

TEST(TComponent, InsertionAndRemovalAreHeardThroughTheTree) {
  TProbe owner(nullptr);
  TProbe* a = Make(&owner, "a");
  TProbe* b = Make(&owner, "b");
  owner.RemoveComponent(a);
  EXPECT_EQ(owner.heard, (std::vector<std::string>{"+a", "+b", "-a"}));
  EXPECT_EQ(b->heard, (std::vector<std::string>{"+b", "-a"}));
  EXPECT_EQ(a->Owner(), nullptr);
  delete a;
  // A plain component passes the news on to the listeners it owns, also
  // those it took after it joined its own owner.
  auto* plain = new TComponent(&owner);
  TProbe* inner = Make(plain, "inner");
  Make(&owner, "c");
  EXPECT_EQ(inner->heard, (std::vector<std::string>{"+inner", "+c"}));
  delete plain;
}

TEST(TComponent, NamesAreIdentifiersAndUniqueWithinTheOwner) {
  TProbe owner(nullptr);
  TProbe* a = Make(&owner, "btOk");
  EXPECT_EQ(owner.FindComponent("BTOK"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  // A refused component stays with its maker.
  auto duplicate = std::make_unique<TProbe>(nullptr);
  duplicate->SetName("btok");
  try {
    owner.InsertComponent(duplicate.get());
    ADD_FAILURE() << "duplicate accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "A component named btok already exists");
  }
  try {
    a->SetName("1st");
    ADD_FAILURE() << "bad name accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message(), "'1st' is not a valid component name");
  }
  EXPECT_EQ(a->Name(), "btOk");
  a->SetName("BTOK");      // itself is no duplicate
  a->SetName("btCancel");  // a renamed component is found by its new name only
  EXPECT_EQ(owner.FindComponent("btok"), nullptr);
  EXPECT_EQ(owner.FindComponent("BTCANCEL"), a);
  duplicate->SetName("btOk");
  owner.InsertComponent(duplicate.release());
  a->SetName("");
  EXPECT_EQ(owner.FindComponent("btCancel"), nullptr);
  EXPECT_NE(owner.FindComponent("btOk"), nullptr);
  EXPECT_TRUE(IsValidIdent("_x9"));
  EXPECT_FALSE(IsValidIdent("a-b"));
}

TEST(TComponent, StateFlagsAndLoaded) {
  TProbe c(nullptr);
  c.SetState(csLoading);
  c.SetState(csReading);
  EXPECT_TRUE(c.InState(csLoading));
  c.Loaded();
  EXPECT_FALSE(c.InState(csLoading));
  EXPECT_TRUE(c.InState(csReading));
  EXPECT_EQ(c.loadedCalls, 1);
  EXPECT_FALSE(c.InState(csDestroying));
}

TEST(ClassRegistry, CreatesRegisteredClassesByName) {
  RegisterComponentClass<TProbe>();
  EXPECT_EQ(FindComponentClass("tprobe"), &TProbe::StaticClassInfo());
  TProbe owner(nullptr);
  TComponent* made = CreateComponent("TProbe", &owner);
  EXPECT_EQ(made->ClassName(), "TProbe");
  EXPECT_EQ(made->Owner(), &owner);
  EXPECT_EQ(FindComponentClass("TNothing"), nullptr);
  try {
    CreateComponent("TNothing", &owner);
    ADD_FAILURE();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNothing not found");
  }
}

enum class TAlign { alNone, alTop, alClient };
constexpr auto kAlignNames = EnumNameArray("alNone", "alTop", "alClient");
static_assert(kAlignNames.size() == 1 + static_cast<std::size_t>(TAlign::alClient));
constexpr TEnumNames EnumNames(TAlign) {
  return kAlignNames;
}

class TLabelLike : public TComponent {
  TV_PUBLISHED_CLASS(TLabelLike, TComponent)
 public:
  explicit TLabelLike(TComponent* owner) : TComponent(owner) {}
  std::string caption;
  TAlign align = TAlign::alClient;
  TStringList lines;
  std::function<void()> onClick;
};

void TLabelLike::PublishOwn() {
  using T = TLabelLike;
  RegisterProperties(StaticClassInfo(),
                     {StringProperty("Caption", &T::caption, &T::caption),
                      EnumProperty("Align", &T::align, nullptr, {"alNone", "alTop", "alClient"}),
                      ObjectProperty("Lines", &T::lines), EventProperty("OnClick", &T::onClick)});
}

TEST(Properties, FoundByNameAlongTheClassChain) {
  TLabelLike label(nullptr);
  label.SetName("txInfo");
  std::vector<std::string> names;
  for (const TPropertyInfo* p : GetPropertyList(label)) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "Tag", "Caption", "Align", "Lines", "OnClick"}));
  EXPECT_EQ(GetStrProp(label, "name"), "txInfo");
  SetStrProp(label, "CAPTION",
             "\xDC"
             "ber...");  // Ü
  EXPECT_EQ(label.caption,
            "\xDC"
            "ber...");
  EXPECT_EQ(GetEnumProp(label, "Align"), "alClient");
  EXPECT_EQ(GetOrdProp(label, "Align"), 2);
  SetOrdProp(label, "Tag", 7);
  EXPECT_EQ(label.Tag(), 7);
  EXPECT_EQ(GetObjectProp(label, "Lines"), &label.lines);
  EXPECT_NE(FindProperty(label, "OnClick", TPropertyKind::pkEvent), nullptr);
  EXPECT_EQ(FindProperty(label, "Caption", TPropertyKind::pkClass), nullptr);
  EXPECT_EQ(FindProperty(TProbe(nullptr), "Caption"), nullptr);
}

// Accessor pairs and data members, booleans and enumerations written as
// ordinals, a read-only property.
class TKnobLike : public TComponent {
  TV_PUBLISHED_CLASS(TKnobLike, TComponent)
 public:
  explicit TKnobLike(TComponent* owner) : TComponent(owner) {}
  int Position() const { return position_; }
  void SetPosition(int position) { position_ = position; }
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align) { align_ = align; }
  std::string Hint() const { return "hint"; }
  bool enabled = false;

 private:
  int position_ = 0;
  TAlign align_ = TAlign::alNone;
};

void TKnobLike::PublishOwn() {
  using T = TKnobLike;
  RegisterProperties(StaticClassInfo(),
                     {IntegerProperty("Position", &T::Position, &T::SetPosition),
                      BooleanProperty("Enabled", &T::enabled, &T::enabled),
                      EnumProperty("Align", &T::Align, &T::SetAlign), StringProperty("Hint", &T::Hint)});
}

TEST(Properties, DeclaredWithAccessorsOrMembers) {
  TKnobLike knob(nullptr);
  SetOrdProp(knob, "Position", -12);
  EXPECT_EQ(knob.Position(), -12);
  EXPECT_EQ(GetOrdProp(knob, "position"), -12);
  SetOrdProp(knob, "Enabled", 5);
  EXPECT_TRUE(knob.enabled);
  EXPECT_EQ(GetOrdProp(knob, "Enabled"), 1);
  SetOrdProp(knob, "Align", 1);
  EXPECT_EQ(knob.Align(), TAlign::alTop);
  EXPECT_EQ(GetEnumProp(knob, "Align"), "alTop");
  EXPECT_EQ(GetStrProp(knob, "Hint"), "hint");
  try {
    SetStrProp(knob, "Hint", "x");
    ADD_FAILURE();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), "Property Hint is read-only");
  }
}

TEST(Properties, WrongNamesAndKindsAreErrors) {
  TLabelLike label(nullptr);
  auto expect = [](auto f, const std::string& message) {
    try {
      f();
      ADD_FAILURE() << message;
    } catch (const EPropertyError& e) {
      EXPECT_EQ(e.Message(), message);
    }
  };
  expect([&] { GetStrProp(label, "Hint"); }, "Property Hint does not exist");
  expect([&] { GetStrProp(label, "Lines"); }, "Invalid property type: Lines");
  expect([&] { GetObjectProp(label, "Caption"); }, "Invalid property type: Caption");
  expect([&] { SetOrdProp(label, "Align", 1); }, "Property Align is read-only");
}

// What a class publishes is declared once, ancestors first, however many
// threads look it up at once.
std::vector<std::string> published;
std::mutex publishedLock;

void NotePublished(const char* name) {
  const std::lock_guard<std::mutex> hold(publishedLock);
  published.emplace_back(name);
}

class TBaseOnce : public TComponent {
  TV_PUBLISHED_CLASS(TBaseOnce, TComponent)
 public:
  using TComponent::TComponent;
  int size = 0;
};

class TDerivedOnce : public TBaseOnce {
  TV_PUBLISHED_CLASS(TDerivedOnce, TBaseOnce)
 public:
  using TBaseOnce::TBaseOnce;
  std::string title;
};

void TBaseOnce::PublishOwn() {
  NotePublished("TBaseOnce");
  RegisterProperties(StaticClassInfo(), {IntegerProperty("Size", &TBaseOnce::size, &TBaseOnce::size)});
}

void TDerivedOnce::PublishOwn() {
  NotePublished("TDerivedOnce");
  RegisterProperties(StaticClassInfo(),
                     {StringProperty("Title", &TDerivedOnce::title, &TDerivedOnce::title)});
}

TEST(Properties, PublishedOnceAncestorsFirstFromAnyThread) {
  std::vector<std::thread> threads;
  std::atomic<int> found{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      TDerivedOnce object(nullptr);
      if (FindProperty(object, "Size") != nullptr && FindProperty(object, "Title") != nullptr) ++found;
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(found, 4);
  EXPECT_EQ(published, (std::vector<std::string>{"TBaseOnce", "TDerivedOnce"}));
  // The ancestor, looked up afterwards, has its own table only.
  TBaseOnce base(nullptr);
  EXPECT_EQ(FindProperty(base, "Title"), nullptr);
}

TEST(TPersistent, AssignWithoutSupportNamesBothClasses) {
  TProbe a(nullptr);
  TLabelLike b(nullptr);
  try {
    a.Assign(&b);
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TLabelLike to a TProbe");
  }
  EXPECT_THROW(a.Assign(nullptr), EConvertError);
}

}  // namespace
}  // namespace tv
