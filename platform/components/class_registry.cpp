#include "platform/components/class_registry.h"

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

struct TEntry {
  const TClassInfo* Info;
  TComponentFactory Create;
};

// Created on first use: no static object of another unit is needed. Classes
// are registered as forms are first made, from any thread: every access
// holds the lock, and entries are copied out of it (a factory is called
// without it: a component may register classes while it is made).
std::mutex& RegistryLock() {
  static std::mutex lock;
  return lock;
}

// By name without case; the names are the classes' own, which live as long
// as the process.
using TEntries = std::unordered_map<std::string_view, TEntry, TTextHash, TTextEqual>;

TEntries& Registry() {
  static TEntries entries;
  return entries;
}

TEntry* Find(std::string_view className) {
  auto found = Registry().find(className);
  return found == Registry().end() ? nullptr : &found->second;
}

}  // namespace

void RegisterComponentClass(const TClassInfo& info, TComponentFactory create) {
  const std::lock_guard<std::mutex> hold(RegistryLock());
  if (TEntry* e = Find(info.Name)) {
    *e = TEntry{&info, std::move(create)};
    return;
  }
  Registry().emplace(info.Name, TEntry{&info, std::move(create)});
}

const TClassInfo* FindComponentClass(std::string_view className) {
  const std::lock_guard<std::mutex> hold(RegistryLock());
  const TEntry* e = Find(className);
  return e != nullptr ? e->Info : nullptr;
}

TComponent* CreateComponent(std::string_view className, TComponent* owner) {
  TComponentFactory create;
  {
    const std::lock_guard<std::mutex> hold(RegistryLock());
    const TEntry* e = Find(className);
    if (e == nullptr) throw EClassNotFound("Class " + std::string(className) + " not found");
    create = e->Create;
  }
  return create(owner);
}

}  // namespace tv
