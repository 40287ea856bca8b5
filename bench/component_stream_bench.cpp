// Reading a stream of 2,000 components with ten string and integer
// properties each into a component tree, against the same names and values
// copied into maps by a bare loop over the items; and the text-to-binary
// conversion of the same tree, in bytes per second.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/components/class_registry.h"
#include "platform/components/component_stream.h"
#include "platform/components/properties.h"
#include "platform/components/text_form.h"

namespace {

constexpr int kComponents = 2000;

class TBenchItem : public tv::TComponent {
  TV_PUBLISHED_CLASS(TBenchItem, tv::TComponent)
 public:
  explicit TBenchItem(tv::TComponent* owner) : tv::TComponent(owner) {}
  std::string caption, hint, text, title, note;
  int left = 0, top = 0, width = 0, height = 0, order = 0;
};

void TBenchItem::PublishOwn() {
  using T = TBenchItem;
  tv::RegisterProperties(
      StaticClassInfo(),
      {tv::StringProperty("Caption", &T::caption, &T::caption),
       tv::StringProperty("Hint", &T::hint, &T::hint), tv::StringProperty("Text", &T::text, &T::text),
       tv::StringProperty("Title", &T::title, &T::title), tv::StringProperty("Note", &T::note, &T::note),
       tv::IntegerProperty("Left", &T::left, &T::left), tv::IntegerProperty("Top", &T::top, &T::top),
       tv::IntegerProperty("Width", &T::width, &T::width),
       tv::IntegerProperty("Height", &T::height, &T::height),
       tv::IntegerProperty("Order", &T::order, &T::order)});
  tv::RegisterComponentClass<TBenchItem>();
}

struct TFixture {
  std::string binary, text;
  TFixture() {
    TBenchItem root(nullptr);
    root.SetName("wRoot");
    for (int i = 0; i < kComponents; ++i) {
      auto* item = new TBenchItem(&root);
      item->SetName("item" + std::to_string(i));
      item->caption = "Caption " + std::to_string(i);
      item->hint = "A hint for item " + std::to_string(i);
      item->text = "Text";
      item->title = "Title " + std::to_string(i % 7);
      item->note = "Note";
      item->left = i;
      item->top = i * 3;
      item->width = 75;
      item->height = 25;
      item->order = i % 13;
    }
    binary = tv::TWriter::WriteRoot(root);
    text = tv::ObjectBinaryToText(binary);
  }
};

const TFixture& Fixture() {
  static const TFixture fixture;
  return fixture;
}

void BM_ReadComponentTree(benchmark::State& state) {
  const std::string& binary = Fixture().binary;
  for (auto _ : state) {
    TBenchItem root(nullptr);
    tv::TReader::ReadRoot(binary, root);
    benchmark::DoNotOptimize(root.ComponentCount());
  }
}

// The same names and values into maps, walking the items without any
// component, property lookup or class registry.
void BM_BareLoopIntoMaps(benchmark::State& state) {
  const std::string& binary = Fixture().binary;
  for (auto _ : state) {
    std::vector<std::map<std::string, std::string>> objects;
    tv::TItemReader items(binary);
    items.ReadBytes(4);
    auto readObject = [&](auto& self) -> void {
      auto& values = objects.emplace_back();
      values["class"] = items.ReadShortString();
      values["name"] = items.ReadShortString();
      while (!items.EndOfList()) {
        std::string name = items.ReadShortString();
        const tv::TValueType type = items.NextValue();
        values[std::move(name)] = type == tv::TValueType::vaString || type == tv::TValueType::vaLString
                                      ? items.ReadString()
                                      : std::to_string(items.ReadInteger());
      }
      items.ReadListEnd();
      while (!items.EndOfList()) self(self);
      items.ReadListEnd();
    };
    readObject(readObject);
    benchmark::DoNotOptimize(objects.size());
  }
}

void BM_TextToBinary(benchmark::State& state) {
  const std::string& text = Fixture().text;
  for (auto _ : state) benchmark::DoNotOptimize(tv::ObjectTextToBinary(text).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

// A form of 2.5 MB as real designers' files are: inherited and inline
// objects with their places, wide captions, every kind of float, integers
// of 64 bits, sets, lists and binary data; converted each way.
const std::string& LargeFormText() {
  static const std::string text = [] {
    std::string t = "inherited wLarge: TwLarge\n";
    for (int i = 0; t.size() < 2500000; ++i) {
      const std::string n = std::to_string(i);
      t += (i % 3 == 0   ? "  inline frame"
            : i % 3 == 1 ? "  inherited panel"
                         : "  object label") +
           n + ": TItem" + (i % 2 ? " [" + n + "]" : "") + "\n";
      t += "    Caption = #1041#1072'" + n + " Gr'#246#223'e '#8364\n";
      t += "    Hint = 'An ordinary hint for item " + n + "'\n";
      t += "    Ratio = 0." + n + "\n";
      t += "    Scale = 1." + n + "s\n";
      t += "    Stamp = 4" + n + ".4481893519d\n";
      t += "    Price = " + n + "00c\n";
      t += "    Exact = 2." + n + "f\n";
      t += "    Big = 90071992547" + n + "\n";
      t += "    Style = [fsBold, fsItalic]\n";
      t += "    Lines.Strings = (\n      'one'\n      'two " + n + "')\n";
      if (i % 10 == 0) t += "    Data = {\n      0A54426974" + std::string(64, 'F') + "}\n";
      t += "  end\n";
    }
    return t + "end\n";
  }();
  return text;
}

void BM_LargeFormTextToBinary(benchmark::State& state) {
  const std::string& text = LargeFormText();
  for (auto _ : state) benchmark::DoNotOptimize(tv::ObjectTextToBinary(text).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

void BM_LargeFormBinaryToText(benchmark::State& state) {
  const std::string binary = tv::ObjectTextToBinary(LargeFormText());
  for (auto _ : state) benchmark::DoNotOptimize(tv::ObjectBinaryToText(binary).size());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(LargeFormText().size()));
}

BENCHMARK(BM_ReadComponentTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeFormTextToBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeFormBinaryToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLoopIntoMaps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
