#include "platform/components/component_stream.h"

#include "platform/components/class_registry.h"
#include "platform/components/properties.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

// Components inside components; deeper nesting is refused before it could
// exhaust the call stack.
constexpr int kMaxDepth = 64;

bool IsOrdinal(TPropertyKind kind) {
  return kind == TPropertyKind::pkInteger || kind == TPropertyKind::pkBoolean ||
         kind == TPropertyKind::pkEnumeration;
}

}  // namespace

// --- TWriter

std::string TWriter::WriteRoot(const TComponent& root) {
  TWriter writer;
  writer.items_.Bytes().append(kStreamSignature);
  writer.WriteComponent(root);
  return std::move(writer.items_.Bytes());
}

void TWriter::WriteComponent(const TComponent& component) {
  items_.WriteShortString(component.ClassName());
  items_.WriteShortString(component.Name());
  WriteProperties(component, "");
  // Defining is the component's business even where writing changes nothing.
  const_cast<TComponent&>(component).DefineProperties(*this);
  items_.WriteListEnd();
  for (int i = 0; i < component.ComponentCount(); ++i) WriteComponent(*component.Components(i));
  items_.WriteListEnd();
}

void TWriter::WriteProperties(const TObject& object, const std::string& prefix) {
  for (const TPropertyInfo* p : GetPropertyList(object)) {
    if (prefix.empty() && SameText(p->Name, "Name")) continue;  // the object's header holds it
    const std::string name = prefix + p->Name;
    if (p->Kind == TPropertyKind::pkString) {
      if (!p->SetString) continue;  // nothing could read it back
      const std::string value = p->GetString(object);
      if (value.empty()) continue;
      items_.WriteShortString(name);
      items_.WriteString(value);
    } else if (IsOrdinal(p->Kind)) {
      if (!p->SetOrdinal) continue;
      const long long value = p->GetOrdinal(object);
      if (p->DefaultOrdinal && *p->DefaultOrdinal == value) continue;
      items_.WriteShortString(name);
      if (p->Kind == TPropertyKind::pkBoolean)
        items_.WriteBoolean(value != 0);
      else if (p->Kind == TPropertyKind::pkEnumeration && value >= 0 &&
               value < static_cast<long long>(p->EnumNames.size()))
        items_.WriteIdent(p->EnumNames[static_cast<std::size_t>(value)]);
      else
        items_.WriteInteger(value);
    } else if (p->Kind == TPropertyKind::pkClass) {
      TObject* nested = p->GetObject(object);
      if (nested == nullptr || dynamic_cast<TComponent*>(nested) != nullptr)
        continue;  // references live elsewhere
      if (auto* strings = dynamic_cast<TStrings*>(nested)) {
        if (strings->Count() == 0) continue;
        items_.WriteShortString(name + ".Strings");
        items_.WriteListBegin();
        for (int i = 0; i < strings->Count(); ++i) items_.WriteString(strings->Get(i));
        items_.WriteListEnd();
      } else {
        WriteProperties(*nested, name + ".");
      }
    }
  }
}

void TWriter::DefineProperty(const std::string& name, std::function<void(TReader&)>,
                             std::function<void(TWriter&)> writeData, bool hasData) {
  if (!hasData || !writeData) return;
  items_.WriteShortString(name);
  writeData(*this);
}

// --- TReader

void TReader::ReadRoot(std::string_view bytes, TComponent& root) {
  TReader reader(bytes);
  if (bytes.substr(0, kStreamSignature.size()) != kStreamSignature)
    throw EReadError("Invalid stream format: no TPF0 signature");
  reader.items_.ReadBytes(kStreamSignature.size());
  const int ownedBefore = root.ComponentCount();
  try {
    const std::string className = reader.items_.ReadShortString();
    if (!SameText(className, root.ClassName()))
      throw EReadError("The stream holds a " + className + ", not a " + root.ClassName());
    reader.ReadComponent(root, root);
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
  if (depth_ >= kMaxDepth)
    throw EReadError("Components nested deeper than 64 levels at position " +
                     std::to_string(items_.Position()));
  ++depth_;
  component.SetState(csReading);
  component.SetState(csLoading);
  read_.push_back(&component);
  component.SetName(items_.ReadShortString());
  while (!items_.EndOfList()) ReadProperty(component);
  items_.ReadListEnd();
  // Every component read belongs to the root, however deep it stands.
  while (!items_.EndOfList()) {
    const std::string className = items_.ReadShortString();
    ReadComponent(*CreateComponent(className, &root), root);
  }
  items_.ReadListEnd();
  --depth_;
}

void TReader::ReadProperty(TComponent& component) {
  const std::string name = items_.ReadShortString();
  try {
    pending_ = name;
    component.DefineProperties(*this);
    if (pending_.empty()) return;  // a defined property took its value
    pending_.clear();
    SetProperty(component, name, name);
  } catch (const EPropertyError& e) {
    throw EReadError("Error reading " + component.Name() + "." + name + ": " + e.what());
  }
}

void TReader::SetProperty(TObject& object, std::string_view path, const std::string& fullName) {
  const std::size_t dot = path.find('.');
  if (dot != std::string_view::npos) {
    const std::string_view head = path.substr(0, dot), rest = path.substr(dot + 1);
    const TPropertyInfo* p = FindProperty(object, head, TPropertyKind::pkClass);
    TObject* nested = p != nullptr ? p->GetObject(object) : nullptr;
    if (nested == nullptr) throw EPropertyError("Property " + fullName + " does not exist");
    if (auto* strings = dynamic_cast<TStrings*>(nested); strings != nullptr && SameText(rest, "Strings")) {
      items_.ReadListBegin();
      strings->Clear();
      while (!items_.EndOfList()) strings->Add(items_.ReadString());
      items_.ReadListEnd();
      return;
    }
    SetProperty(*nested, rest, fullName);
    return;
  }
  const TPropertyInfo* p = FindProperty(object, path);
  if (p == nullptr) throw EPropertyError("Property " + std::string(path) + " does not exist");
  switch (p->Kind) {
    case TPropertyKind::pkString:
      if (!p->SetString) throw EPropertyError("Property " + p->Name + " is read-only");
      p->SetString(object, items_.ReadString());
      return;
    case TPropertyKind::pkInteger:
    case TPropertyKind::pkBoolean:
    case TPropertyKind::pkEnumeration: {
      if (!p->SetOrdinal) throw EPropertyError("Property " + p->Name + " is read-only");
      long long value;
      if (p->Kind == TPropertyKind::pkBoolean) {
        value = items_.ReadBoolean() ? 1 : 0;
      } else if (p->Kind == TPropertyKind::pkEnumeration && items_.NextValue() == TValueType::vaIdent) {
        const std::size_t at = items_.Position();
        const std::string ident = items_.ReadIdent();
        value = -1;
        for (std::size_t i = 0; i < p->EnumNames.size(); ++i)
          if (SameText(p->EnumNames[i], ident)) value = static_cast<long long>(i);
        if (value < 0) throw EReadError("Invalid property value at position " + std::to_string(at));
      } else {
        value = items_.ReadInteger();
      }
      p->SetOrdinal(object, value);
      return;
    }
    case TPropertyKind::pkClass:
    case TPropertyKind::pkEvent:
      // Handlers and references are bound by code, not by the stream.
      items_.SkipValue();
      return;
  }
}

void TReader::DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                             std::function<void(TWriter&)>, bool) {
  if (pending_.empty() || !SameText(name, pending_) || !readData) return;
  pending_.clear();
  readData(*this);
}

}  // namespace tv
