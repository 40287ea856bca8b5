#pragma once
// Component trees in the binary component stream: the signature "TPF0",
// then the root: its class and object name, its properties (published ones
// that differ from their defaults, then defined ones) ended by an end of
// list, then the components it owns, each written the same way, ended by an
// end of list.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/component.h"
#include "platform/components/properties.h"
#include "platform/components/stream_items.h"

namespace tv {

inline constexpr std::string_view kStreamSignature = "TPF0";

// A binary form file as resource tools leave it: FF 0A 00 (a resource of
// type RCDATA), the resource's name with a NUL, two bytes of memory flags,
// the form's size in four bytes, then the form ("TPF0...").
struct TResourceHeader {
  std::string Name;              // the form's class name in capitals
  std::uint16_t Flags = 0x1030;  // moveable, pure, discardable
};
// Whether File begins with such a header.
bool HasResourceHeader(std::string_view file);
// The header of a wrapped file, and in Form the form it wraps; raises
// EReadError for a header cut short or a size other than the rest's.
TResourceHeader SplitResourceHeader(std::string_view file, std::string_view& form);
std::string WrapInResourceHeader(const TResourceHeader& header, std::string_view form);

class TWriter : public TFiler {
 public:
  // The whole stream of Root and what it owns.
  static std::string WriteRoot(const TComponent& root);

  // Value writers for the routines of defined properties.
  void WriteString(std::string_view text) { items_.WriteString(text); }
  void WriteInteger(std::int64_t value) { items_.WriteInteger(value); }
  void WriteBoolean(bool value) { items_.WriteBoolean(value); }
  void WriteIdent(std::string_view ident) { items_.WriteIdent(ident); }
  void WriteFloat(double value) { items_.WriteFloat(value); }
  void WriteBinary(std::string_view data) { items_.WriteBinary(data); }
  void WriteListBegin() { items_.WriteListBegin(); }
  void WriteListEnd() { items_.WriteListEnd(); }

  // Writes the property's name and lets WriteData write its value, when
  // HasData says there is one.
  void DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                      std::function<void(TWriter&)> writeData, bool hasData) override;

 private:
  void WriteComponent(const TComponent& component, const TComponent& root);
  void WriteProperties(const TObject& object, const std::string& prefix);
  void WriteProperty(const TObject& object, const TPropertyInfo& p, const std::string& name);
  void WriteOrdinal(const TObject& object, const TPropertyInfo& p, const std::string& name);
  void WriteEvent(const TObject& object, const TPropertyInfo& p, const std::string& name);
  void WriteNested(const TObject* nested, const std::string& name);
  void WriteReference(const TObject* target, const std::string& name);
  TItemWriter items_;
  std::string prefix_;  // the dotted path of the object whose defined properties are written
};

class TReader : public TFiler {
 public:
  // Reads the stream into Root (which must be of the stream's root class)
  // and creates what it owns through the class registry. After the whole
  // tree, every component read hears Loaded, in reading order. On an error
  // the components created so far are freed and the error passes on.
  static void ReadRoot(std::string_view bytes, TComponent& root);

  // Value readers for the routines of defined properties.
  // An 8-bit string as it stands; a wide or UTF-8 string converted to
  // Windows-1252, refused where a character has no code there.
  std::string ReadString();
  std::int64_t ReadInteger() { return items_.ReadInteger(); }
  bool ReadBoolean() { return items_.ReadBoolean(); }
  std::string ReadIdent() { return items_.ReadIdent(); }
  double ReadFloat() { return items_.ReadFloat(); }
  std::string ReadBinary() { return items_.ReadBinary(); }
  void ReadListBegin() { items_.ReadListBegin(); }
  void ReadListEnd() { items_.ReadListEnd(); }
  bool EndOfList() const { return items_.EndOfList(); }
  TValueType NextValue() const { return items_.NextValue(); }

  // Reads the current property's value with ReadData when Name is the
  // property being read.
  void DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                      std::function<void(TWriter&)> writeData, bool hasData) override;

 private:
  explicit TReader(std::string_view bytes) : items_(bytes) {}
  void ReadComponent(TComponent& component, TComponent& root);
  void ReadProperty(TComponent& component);
  static std::string UniqueRootName(const TComponent& root, const std::string& name);
  void SetProperty(TObject& object, std::string_view path, std::string_view fullName);
  void SetNestedProperty(TObject& object, std::string_view head, std::string_view rest,
                         std::string_view fullName);
  long long ReadOrdinal(const TPropertyInfo& p);
  void ReadEvent(TObject& object, const TPropertyInfo& p);
  void ResolveReferences(TComponent& root);
  // Whether one of Object's defined properties took the value of Name.
  bool ReadDefined(TPersistent& object, std::string_view name);

  TItemReader items_;
  TComponent* root_ = nullptr;
  TComponent* current_ = nullptr;  // whose property is being read
  // A reference to a component by name, bound when the whole tree is read.
  struct TFixup {
    TObject* Object;
    const TPropertyInfo* Property;
    std::string Component, Target;
  };
  std::vector<TFixup> fixups_;
  std::string pending_;            // the defined property being read, until one takes it
  std::vector<TComponent*> read_;  // in reading order
  int depth_ = 0;                  // components open while reading
};

}  // namespace tv
