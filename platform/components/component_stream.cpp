#include "platform/components/component_stream.h"

#include <cstdio>
#include <utility>

#include "platform/components/class_registry.h"
#include "platform/components/properties.h"
#include "platform/components/published.h"
#include "platform/rtl/code_page.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

const std::string* IdentOf(const TPropertyInfo& p, long long value) {
  for (const auto& [ident, v] : p.Idents)
    if (v == value) return &ident;
  return nullptr;
}

}  // namespace

// --- TWriter

std::string TWriter::WriteRoot(const TComponent& root) {
  TWriter writer;
  writer.items_.Bytes().append(kStreamSignature);
  writer.WriteComponent(root, root);
  return std::move(writer.items_.Bytes());
}

void TWriter::WriteComponent(const TComponent& component, const TComponent& root) {
  items_.WriteShortString(component.ClassName());
  items_.WriteShortString(component.Name());
  WriteProperties(component, "");
  items_.WriteListEnd();
  std::vector<TComponent*> children;
  component.GetChildren(children, root);
  for (const TComponent* child : children) WriteComponent(*child, root);
  items_.WriteListEnd();
}

// Published properties, then the defined ones; nested objects' properties
// under their dotted path.
void TWriter::WriteProperties(const TObject& object, const std::string& prefix) {
  for (const TPropertyInfo* p : GetPropertyList(object)) {
    if (prefix.empty() && SameText(p->Name, "Name")) continue;  // the object's header holds it
    if (p->IsStored && !p->IsStored(object)) continue;
    WriteProperty(object, *p, prefix + p->Name);
  }
  if (auto* persistent = dynamic_cast<const TPersistent*>(&object)) {
    const std::string outer = std::exchange(prefix_, prefix);
    // Defining is the object's business even where writing changes nothing.
    const_cast<TPersistent*>(persistent)->DefineProperties(*this);
    prefix_ = outer;
  }
}

void TWriter::WriteProperty(const TObject& object, const TPropertyInfo& p, const std::string& name) {
  switch (p.Kind) {
    case TPropertyKind::pkString: {
      if (!p.SetString) return;  // nothing could read it back
      const std::string value = p.GetString(object);
      if (value.empty()) return;
      items_.WriteShortString(name);
      items_.WriteString(value);
      return;
    }
    case TPropertyKind::pkInteger:
    case TPropertyKind::pkBoolean:
    case TPropertyKind::pkEnumeration:
    case TPropertyKind::pkSet: WriteOrdinal(object, p, name); return;
    case TPropertyKind::pkFloat: {
      if (!p.SetFloat) return;
      const double value = p.GetFloat(object);
      if (value == 0) return;
      items_.WriteShortString(name);
      items_.WriteFloat(value);
      return;
    }
    case TPropertyKind::pkClass:
      if (p.SetObject)
        WriteReference(p.GetObject(object), name);
      else
        WriteNested(p.GetObject(object), name);
      return;
    case TPropertyKind::pkEvent: WriteEvent(object, p, name); return;
  }
}

// Only handlers that a stream bound by name have a name to write; those set
// by code are the code's business.
void TWriter::WriteEvent(const TObject& object, const TPropertyInfo& p, const std::string& name) {
  const auto* component = dynamic_cast<const TComponent*>(&object);
  const std::string* method = component != nullptr ? component->HandlerName(p.Name) : nullptr;
  if (method == nullptr || !p.HasHandler(object)) return;
  items_.WriteShortString(name);
  items_.WriteIdent(*method);
}

void TWriter::WriteOrdinal(const TObject& object, const TPropertyInfo& p, const std::string& name) {
  if (!p.SetOrdinal) return;
  const long long value = p.GetOrdinal(object);
  if (p.DefaultOrdinal && *p.DefaultOrdinal == value) return;
  items_.WriteShortString(name);
  const bool named = value >= 0 && value < static_cast<long long>(p.EnumNames.size());
  if (p.Kind == TPropertyKind::pkBoolean) {
    items_.WriteBoolean(value != 0);
  } else if (p.Kind == TPropertyKind::pkSet) {
    std::vector<std::string> members;
    for (std::size_t bit = 0; bit < p.EnumNames.size() && bit < 64; ++bit)
      if ((static_cast<unsigned long long>(value) >> bit) & 1u) members.push_back(p.EnumNames[bit]);
    items_.WriteSet(members);
  } else if (p.Kind == TPropertyKind::pkEnumeration && named) {
    items_.WriteIdent(p.EnumNames[static_cast<std::size_t>(value)]);
  } else if (const std::string* ident = IdentOf(p, value)) {
    items_.WriteIdent(*ident);
  } else {
    items_.WriteInteger(value);
  }
}

void TWriter::WriteReference(const TObject* target, const std::string& name) {
  const auto* component = dynamic_cast<const TComponent*>(target);
  if (component == nullptr || component->Name().empty()) return;
  items_.WriteShortString(name);
  items_.WriteIdent(component->Name());
}

void TWriter::WriteNested(const TObject* nested, const std::string& name) {
  if (nested == nullptr || dynamic_cast<const TComponent*>(nested) != nullptr)
    return;  // references to components live elsewhere
  if (auto* strings = dynamic_cast<const TStrings*>(nested)) {
    if (strings->Count() == 0) return;
    items_.WriteShortString(name + ".Strings");
    items_.WriteListBegin();
    for (int i = 0; i < strings->Count(); ++i) items_.WriteString(strings->Get(i));
    items_.WriteListEnd();
    return;
  }
  WriteProperties(*nested, name + ".");
}

void TWriter::DefineProperty(const std::string& name, std::function<void(TReader&)>,
                             std::function<void(TWriter&)> writeData, bool hasData) {
  if (!hasData || !writeData) return;
  items_.WriteShortString(prefix_ + name);
  writeData(*this);
}

// --- resource header

namespace {
// Three bytes, the last a NUL.
constexpr std::string_view kResourceStart{"\xFF\x0A\x00", 3};
}  // namespace

bool HasResourceHeader(std::string_view file) {
  return file.substr(0, kResourceStart.size()) == kResourceStart;
}

TResourceHeader SplitResourceHeader(std::string_view file, std::string_view& form) {
  TResourceHeader header;
  const std::size_t nameEnd = file.find('\0', kResourceStart.size());
  if (!HasResourceHeader(file) || nameEnd == std::string_view::npos || file.size() - nameEnd < 7)
    throw EReadError("Resource header cut short");
  header.Name = std::string(file.substr(kResourceStart.size(), nameEnd - kResourceStart.size()));
  auto byte = [&](std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(file[at]));
  };
  header.Flags = static_cast<std::uint16_t>(byte(nameEnd + 1) | byte(nameEnd + 2) << 8);
  const std::uint32_t size =
      byte(nameEnd + 3) | byte(nameEnd + 4) << 8 | byte(nameEnd + 5) << 16 | byte(nameEnd + 6) << 24;
  form = file.substr(nameEnd + 7);
  if (form.size() != size)
    throw EReadError("Resource header gives " + std::to_string(size) + " bytes, the file holds " +
                     std::to_string(form.size()));
  return header;
}

std::string WrapInResourceHeader(const TResourceHeader& header, std::string_view form) {
  if (header.Name.find('\0') != std::string::npos) throw EWriteError("Resource name with a NUL");
  std::string file(kResourceStart);
  file += header.Name;
  file += '\0';
  for (int i = 0; i < 2; ++i) file += static_cast<char>((header.Flags >> (8 * i)) & 0xFF);
  const auto size = static_cast<std::uint32_t>(form.size());
  for (int i = 0; i < 4; ++i) file += static_cast<char>((size >> (8 * i)) & 0xFF);
  file.append(form);
  return file;
}

// --- TReader

void TReader::ReadRoot(std::string_view bytes, TComponent& root) {
  TReader reader(bytes);
  if (bytes.substr(0, kStreamSignature.size()) != kStreamSignature)
    throw EReadError("Invalid stream format: no TPF0 signature");
  reader.items_.ReadBytes(kStreamSignature.size());
  const int ownedBefore = root.ComponentCount();
  try {
    // Flags of an inherited or inline root change nothing here: the root
    // is the object given.
    reader.items_.ReadObjectPrefix();
    const std::string className = reader.items_.ReadShortString();
    if (!SameText(className, root.ClassName()))
      throw EReadError("The stream holds a " + className + ", not a " + root.ClassName());
    reader.root_ = &root;
    reader.ReadComponent(root, root);
    reader.ResolveReferences(root);
    BindFields(root);
  } catch (...) {
    // No half-built tree: what this read created goes, newest first.
    while (root.ComponentCount() > ownedBefore) delete root.Components(root.ComponentCount() - 1);
    root.ClearState(csReading);
    root.ClearState(csLoading);
    throw;
  }
  for (TComponent* component : reader.read_) component->ClearState(csReading);
  for (TComponent* component : reader.read_) component->Loaded();
}

void TReader::ReadComponent(TComponent& component, TComponent& root) {
  if (depth_ >= kMaxNesting)
    throw EReadError("Components nested deeper than " + std::to_string(kMaxNesting) + " levels at position " +
                     std::to_string(items_.Position()));
  ++depth_;
  component.SetState(csReading);
  component.SetState(csLoading);
  read_.push_back(&component);
  const std::string name = items_.ReadShortString();
  component.SetName(&component == root_ ? UniqueRootName(component, name) : name);
  while (!items_.EndOfList()) ReadProperty(component);
  items_.ReadListEnd();
  // Every component read belongs to the root, however deep it stands; the
  // block it stands in is its parent where it takes one.
  while (!items_.EndOfList()) {
    // The flags (inherited, inline, place among the children) say how a
    // designer made the object; read here, it is made as any other.
    items_.ReadObjectPrefix();
    const std::string className = items_.ReadShortString();
    TComponent* child = CreateComponent(className, &root);
    child->SetParentComponent(&component);
    ReadComponent(*child, root);
  }
  items_.ReadListEnd();
  --depth_;
}

// A second form of a class beside the first in the same owner (a dialog
// opened twice) takes the stored name with "_1", "_2", ... appended.
std::string TReader::UniqueRootName(const TComponent& root, const std::string& name) {
  const TComponent* owner = root.Owner();
  if (owner == nullptr || name.empty()) return name;
  std::string unique = name;
  for (int n = 1;; ++n) {
    const TComponent* other = owner->FindComponent(unique);
    if (other == nullptr || other == &root) return unique;
    unique = name + "_" + std::to_string(n);
  }
}

std::string TReader::ReadString() {
  const TValueType type = items_.NextValue();
  if (type != TValueType::vaWString && type != TValueType::vaUTF8String) return items_.ReadString();
  const std::u16string units = items_.ReadWideString();
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00);
    const int byte = UnicodeToCp1252(cp);
    if (byte < 0) {
      char code[16];
      std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
      throw EPropertyError(std::string("Text with a character that Windows-1252 does not have: ") + code);
    }
    text += static_cast<char>(byte);
  }
  return text;
}

void TReader::ReadProperty(TComponent& component) {
  // A view into the stream: a form reads many properties, and each name is
  // only looked up.
  const std::string_view name = items_.ReadShortStringView();
  current_ = &component;
  try {
    SetProperty(component, name, name);
  } catch (const EReadError&) {
    throw;  // the stream itself is at fault, and says where
  } catch (const Exception& e) {
    // A value the property or its defined reader refuses.
    throw EReadError("Error reading " + component.Name() + "." + std::string(name) + ": " + e.what());
  }
}

void TReader::SetProperty(TObject& object, std::string_view path, std::string_view fullName) {
  const std::size_t dot = path.find('.');
  if (dot != std::string_view::npos) {
    SetNestedProperty(object, path.substr(0, dot), path.substr(dot + 1), fullName);
    return;
  }
  // A published property first; only a name the class does not publish is
  // asked of its defined properties, as designers read streams (and the
  // many published ones need no pass through DefineProperties).
  const TPropertyInfo* p = FindProperty(object, path);
  if (p == nullptr) {
    if (auto* persistent = ClassCast<TPersistent>(&object);
        persistent != nullptr && ReadDefined(*persistent, path))
      return;
    throw EPropertyError("Property " + std::string(path) + " does not exist");
  }
  switch (p->Kind) {
    case TPropertyKind::pkString:
      if (!p->SetString) throw EPropertyError("Property " + p->Name + " is read-only");
      p->SetString(object, ReadString());
      return;
    case TPropertyKind::pkInteger:
    case TPropertyKind::pkBoolean:
    case TPropertyKind::pkEnumeration:
    case TPropertyKind::pkSet:
      if (!p->SetOrdinal) throw EPropertyError("Property " + p->Name + " is read-only");
      p->SetOrdinal(object, ReadOrdinal(*p));
      return;
    case TPropertyKind::pkFloat:
      if (!p->SetFloat) throw EPropertyError("Property " + p->Name + " is read-only");
      p->SetFloat(object, items_.ReadFloat());
      return;
    case TPropertyKind::pkEvent: ReadEvent(object, *p); return;
    case TPropertyKind::pkClass:
      if (!p->SetObject) throw EPropertyError("Property " + p->Name + " is read-only");
      // The component named may come later in the stream: bound at the end.
      fixups_.push_back({&object, p, current_->Name(), items_.ReadIdent()});
      return;
  }
}

void TReader::SetNestedProperty(TObject& object, std::string_view head, std::string_view rest,
                                std::string_view fullName) {
  const TPropertyInfo* p = FindProperty(object, head, TPropertyKind::pkClass);
  TObject* nested = p != nullptr ? p->GetObject(object) : nullptr;
  if (nested == nullptr || ClassCast<TComponent>(nested) != nullptr)
    throw EPropertyError("Property " + std::string(fullName) + " does not exist");
  if (auto* strings = ClassCast<TStrings>(nested); strings != nullptr && SameText(rest, "Strings")) {
    items_.ReadListBegin();
    strings->Clear();
    while (!items_.EndOfList()) strings->Add(ReadString());
    items_.ReadListEnd();
    return;
  }
  SetProperty(*nested, rest, fullName);
}

long long TReader::ReadOrdinal(const TPropertyInfo& p) {
  if (p.Kind == TPropertyKind::pkBoolean) return items_.ReadBoolean() ? 1 : 0;
  const std::size_t at = items_.Position();
  auto member = [&](const std::string& ident) {
    for (std::size_t i = 0; i < p.EnumNames.size(); ++i)
      if (SameText(p.EnumNames[i], ident)) return static_cast<long long>(i);
    throw EReadError("Invalid property value at position " + std::to_string(at));
  };
  if (p.Kind == TPropertyKind::pkSet) {
    unsigned long long bits = 0;
    for (const std::string& ident : items_.ReadSet()) {
      const long long bit = member(ident);
      if (bit >= 64) throw EReadError("Invalid property value at position " + std::to_string(at));
      bits |= 1ull << bit;
    }
    return static_cast<long long>(bits);
  }
  if (items_.NextValue() != TValueType::vaIdent) return items_.ReadInteger();
  const std::string ident = items_.ReadIdent();
  if (p.Kind == TPropertyKind::pkEnumeration) return member(ident);
  for (const auto& [name, value] : p.Idents)
    if (SameText(name, ident)) return value;
  throw EReadError("Invalid property value at position " + std::to_string(at));
}

// A handler named in the stream is a method of the root, as a button's click
// is a method of its form.
void TReader::ReadEvent(TObject& object, const TPropertyInfo& p) {
  const std::string method = items_.ReadIdent();
  if (!p.SetNotify) throw EPropertyError("Event " + p.Name + " cannot be bound by name");
  if (SameText(method, "nil")) {
    p.SetNotify(object, nullptr);
    return;
  }
  const TMethodInfo* found = FindMethod(*root_, method);
  if (found == nullptr) throw EPropertyError("Method " + method + " does not exist in " + root_->ClassName());
  p.SetNotify(object, found->Bind(*root_));
  if (auto* component = ClassCast<TComponent>(&object)) component->SetHandlerName(p.Name, method);
}

void TReader::ResolveReferences(TComponent& root) {
  for (const TFixup& fixup : fixups_) {
    TComponent* target = nullptr;
    if (!SameText(fixup.Target, "nil")) {
      target = SameText(fixup.Target, root.Name()) ? &root : root.FindComponent(fixup.Target);
      if (target == nullptr)
        throw EReadError("Error reading " + fixup.Component + "." + fixup.Property->Name + ": Component " +
                         fixup.Target + " does not exist in " + root.Name());
    }
    try {
      fixup.Property->SetObject(*fixup.Object, target);
    } catch (const Exception& e) {
      throw EReadError("Error reading " + fixup.Component + "." + fixup.Property->Name + ": " + e.what());
    }
  }
}

bool TReader::ReadDefined(TPersistent& object, std::string_view name) {
  pending_ = name;
  object.DefineProperties(*this);
  const bool taken = pending_.empty();
  pending_.clear();
  return taken;
}

void TReader::DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                             std::function<void(TWriter&)>, bool) {
  if (pending_.empty() || !SameText(name, pending_) || !readData) return;
  pending_.clear();
  readData(*this);
}

}  // namespace tv
