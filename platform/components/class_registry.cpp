#include "platform/components/class_registry.h"

#include <string>
#include <vector>

#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

struct TEntry {
  const TClassInfo* Info;
  TComponentFactory Create;
};

// Created on first use: no static object of another unit is needed.
std::vector<TEntry>& Registry() {
  static std::vector<TEntry> entries;
  return entries;
}

TEntry* Find(std::string_view className) {
  for (TEntry& e : Registry())
    if (SameText(e.Info->Name, className)) return &e;
  return nullptr;
}

}  // namespace

void RegisterComponentClass(const TClassInfo& info, TComponentFactory create) {
  if (TEntry* e = Find(info.Name)) {
    *e = TEntry{&info, std::move(create)};
    return;
  }
  Registry().push_back(TEntry{&info, std::move(create)});
}

const TClassInfo* FindComponentClass(std::string_view className) {
  const TEntry* e = Find(className);
  return e != nullptr ? e->Info : nullptr;
}

TComponent* CreateComponent(std::string_view className, TComponent* owner) {
  const TEntry* e = Find(className);
  if (e == nullptr) throw EClassNotFound("Class " + std::string(className) + " not found");
  return e->Create(owner);
}

}  // namespace tv
