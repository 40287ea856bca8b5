#include "platform/components/published.h"

#include <map>
#include <mutex>

#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

// Filled while classes are first used, from any thread: every access holds
// this lock. A class's table is written once; the entries handed out stay.
std::mutex& TablesLock() {
  static std::mutex lock;
  return lock;
}

template <class TInfo>
std::map<const TClassInfo*, std::vector<TInfo>>& Tables() {
  static std::map<const TClassInfo*, std::vector<TInfo>> tables;
  return tables;
}

}  // namespace

void RegisterMethods(const TClassInfo& info, std::vector<TMethodInfo> methods) {
  const std::lock_guard<std::mutex> hold(TablesLock());
  Tables<TMethodInfo>()[&info] = std::move(methods);
}

void RegisterFields(const TClassInfo& info, std::vector<TFieldInfo> fields) {
  const std::lock_guard<std::mutex> hold(TablesLock());
  Tables<TFieldInfo>()[&info] = std::move(fields);
}

const TMethodInfo* FindMethod(const TObject& object, std::string_view name) {
  Publish(object.ClassInfo());
  const std::lock_guard<std::mutex> hold(TablesLock());
  for (const TClassInfo* c = &object.ClassInfo(); c != nullptr; c = c->Parent) {
    auto table = Tables<TMethodInfo>().find(c);
    if (table == Tables<TMethodInfo>().end()) continue;
    for (const TMethodInfo& m : table->second)
      if (SameText(m.Name, name)) return &m;
  }
  return nullptr;
}

std::vector<const TFieldInfo*> GetFieldList(const TObject& object) {
  Publish(object.ClassInfo());
  std::vector<const TFieldInfo*> list;
  const std::lock_guard<std::mutex> hold(TablesLock());
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
