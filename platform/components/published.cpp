#include "platform/components/published.h"

#include <map>

#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

template <class TInfo>
std::map<const TClassInfo*, std::vector<TInfo>>& Tables() {
  static std::map<const TClassInfo*, std::vector<TInfo>> tables;
  return tables;
}

}  // namespace

void RegisterMethods(const TClassInfo& info, std::vector<TMethodInfo> methods) {
  Tables<TMethodInfo>()[&info] = std::move(methods);
}

void RegisterFields(const TClassInfo& info, std::vector<TFieldInfo> fields) {
  Tables<TFieldInfo>()[&info] = std::move(fields);
}

const TMethodInfo* FindMethod(const TObject& object, std::string_view name) {
  for (const TClassInfo* c = &object.ClassInfo(); c != nullptr; c = c->Parent) {
    auto table = Tables<TMethodInfo>().find(c);
    if (table == Tables<TMethodInfo>().end()) continue;
    for (const TMethodInfo& m : table->second)
      if (SameText(m.Name, name)) return &m;
  }
  return nullptr;
}

std::vector<const TFieldInfo*> GetFieldList(const TObject& object) {
  std::vector<const TFieldInfo*> list;
  for (const TClassInfo* c = &object.ClassInfo(); c != nullptr; c = c->Parent) {
    auto table = Tables<TFieldInfo>().find(c);
    if (table == Tables<TFieldInfo>().end()) continue;
    for (const TFieldInfo& f : table->second) list.push_back(&f);
  }
  return list;
}

void BindFields(TComponent& root) {
  for (const TFieldInfo* field : GetFieldList(root)) {
    TComponent* component = root.FindComponent(field->Name);
    if (component == nullptr)
      throw EComponentError("Component " + field->Name + " of " + root.ClassName() + " is missing from " +
                            (root.Name().empty() ? std::string("its stored form") : root.Name()));
    if (!field->Assign(root, component))
      throw EComponentError("Component " + field->Name + " of " + root.ClassName() + " is a " +
                            component->ClassName() + ", not a " + field->ClassName);
  }
}

}  // namespace tv
