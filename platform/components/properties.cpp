#include "platform/components/properties.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <unordered_map>

#include "platform/rtl/sysutils.h"

namespace tv {

namespace {

// The tables and their index are filled while classes are first used, from
// any thread (a dialog on one, a tool's form on another): every access holds
// this lock. A class's table is written once; the entries that lookups hand
// out stay where they are.
std::mutex& TablesLock() {
  static std::mutex lock;
  return lock;
}

std::map<const TClassInfo*, std::vector<TPropertyInfo>>& Tables() {
  static std::map<const TClassInfo*, std::vector<TPropertyInfo>> tables;
  return tables;
}

const TPropertyInfo& PropertyOfKind(const TObject& object, std::string_view name, TPropertyKind kind) {
  const TPropertyInfo* p = FindProperty(object, name);
  if (p == nullptr) throw EPropertyError("Property " + std::string(name) + " does not exist");
  const bool ordinal = kind == TPropertyKind::pkInteger &&
                       (p->Kind == TPropertyKind::pkBoolean || p->Kind == TPropertyKind::pkEnumeration ||
                        p->Kind == TPropertyKind::pkSet);
  if (p->Kind != kind && !ordinal) throw EPropertyError("Invalid property type: " + std::string(name));
  return *p;
}

// Every property of a class and its ancestors by name, the most derived one
// where names meet. Built once and only read after: open addressing over a
// power-of-two table whose slots keep their name's hash, so that a lookup
// (one per property a stream reads) costs one hash and mostly one
// comparison.
class TClassIndex {
 public:
  explicit TClassIndex(const TClassInfo& info) {
    std::vector<const TPropertyInfo*> properties;
    for (const TClassInfo* c = &info; c != nullptr; c = c->Parent) {
      auto table = Tables().find(c);
      if (table == Tables().end()) continue;
      for (const TPropertyInfo& p : table->second) properties.push_back(&p);
    }
    std::size_t size = 8;
    while (size < 2 * properties.size()) size *= 2;
    slots_.resize(size);
    for (const TPropertyInfo* p : properties) Add(*p);
  }

  const TPropertyInfo* Find(std::string_view name) const {
    const std::size_t hash = TTextHash()(name);
    for (std::size_t at = hash;; ++at) {
      const TSlot& slot = slots_[at & (slots_.size() - 1)];
      if (slot.Property == nullptr) return nullptr;
      if (slot.Hash == hash && TTextEqual()(slot.Property->Name, name)) return slot.Property;
    }
  }

 private:
  struct TSlot {
    std::size_t Hash = 0;
    const TPropertyInfo* Property = nullptr;
  };

  // The first entry of a name stays: the most derived class comes first.
  void Add(const TPropertyInfo& property) {
    if (Find(property.Name) != nullptr) return;
    const std::size_t hash = TTextHash()(property.Name);
    std::size_t at = hash;
    while (slots_[at & (slots_.size() - 1)].Property != nullptr) ++at;
    slots_[at & (slots_.size() - 1)] = TSlot{hash, &property};
  }

  std::vector<TSlot> slots_;  // at most half full, so a search always ends
};

std::unordered_map<const TClassInfo*, TClassIndex>& Indexes() {
  static std::unordered_map<const TClassInfo*, TClassIndex> indexes;
  return indexes;
}

// Builds the index on first use; the caller holds the lock and has
// published the class.
const TClassIndex& IndexOf(const TClassInfo& info) {
  auto place = Indexes().find(&info);
  if (place == Indexes().end()) place = Indexes().emplace(&info, TClassIndex(info)).first;
  return place->second;
}

}  // namespace

// Called from the class's publish function, which runs before anything looks
// up the class or a descendant: no index holds it yet.
void RegisterProperties(const TClassInfo& info, std::vector<TPropertyInfo> properties) {
  const std::lock_guard<std::mutex> hold(TablesLock());
  Tables()[&info] = std::move(properties);
}

std::vector<const TPropertyInfo*> GetPropertyList(const TObject& object) {
  Publish(object.ClassInfo());
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = &object.ClassInfo(); c != nullptr; c = c->Parent) chain.push_back(c);
  std::vector<const TPropertyInfo*> list;
  const std::lock_guard<std::mutex> hold(TablesLock());
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    auto table = Tables().find(*it);
    if (table == Tables().end()) continue;
    for (const TPropertyInfo& p : table->second) {
      // A class that declares an ancestor's property again (with its own
      // default) replaces it in its place.
      auto same = std::find_if(list.begin(), list.end(),
                               [&](const TPropertyInfo* q) { return SameText(q->Name, p.Name); });
      if (same != list.end())
        *same = &p;
      else
        list.push_back(&p);
    }
  }
  return list;
}

const TPropertyInfo* FindProperty(const TObject& object, std::string_view name) {
  const TClassInfo& info = object.ClassInfo();
  const void* built = info.PropertyIndex.load(std::memory_order_acquire);
  if (built == nullptr) {
    // Publishing registers tables, which takes the lock.
    Publish(info);
    const std::lock_guard<std::mutex> hold(TablesLock());
    built = &IndexOf(info);
    info.PropertyIndex.store(built, std::memory_order_release);
  }
  return static_cast<const TClassIndex*>(built)->Find(name);
}

const TPropertyInfo* FindProperty(const TObject& object, std::string_view name, TPropertyKind kind) {
  const TPropertyInfo* p = FindProperty(object, name);
  return p != nullptr && p->Kind == kind ? p : nullptr;
}

std::string GetStrProp(const TObject& object, std::string_view name) {
  return PropertyOfKind(object, name, TPropertyKind::pkString).GetString(object);
}

void SetStrProp(TObject& object, std::string_view name, const std::string& value) {
  const TPropertyInfo& p = PropertyOfKind(object, name, TPropertyKind::pkString);
  if (!p.SetString) throw EPropertyError("Property " + std::string(name) + " is read-only");
  p.SetString(object, value);
}

long long GetOrdProp(const TObject& object, std::string_view name) {
  return PropertyOfKind(object, name, TPropertyKind::pkInteger).GetOrdinal(object);
}

void SetOrdProp(TObject& object, std::string_view name, long long value) {
  const TPropertyInfo& p = PropertyOfKind(object, name, TPropertyKind::pkInteger);
  if (!p.SetOrdinal) throw EPropertyError("Property " + std::string(name) + " is read-only");
  p.SetOrdinal(object, value);
}

TObject* GetObjectProp(const TObject& object, std::string_view name) {
  return PropertyOfKind(object, name, TPropertyKind::pkClass).GetObject(object);
}

std::string GetEnumProp(const TObject& object, std::string_view name) {
  const TPropertyInfo& p = PropertyOfKind(object, name, TPropertyKind::pkEnumeration);
  const long long v = p.GetOrdinal(object);
  if (v < 0 || v >= static_cast<long long>(p.EnumNames.size())) return std::to_string(v);
  return p.EnumNames[static_cast<std::size_t>(v)];
}

}  // namespace tv
