#pragma once
// Objects that know their class: its name, its parent and the chain of
// ancestors, which the component streams and the translator walk by name.

#include <atomic>
#include <mutex>
#include <string>
#include <type_traits>
#include <vector>

namespace tv {

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;  // null for TObject
  // Declares what the class itself publishes (properties, handlers, fields);
  // null when it publishes nothing. Run once, by Publish, before anything
  // looks the class up, so no object of it need exist first.
  void (*PublishOwn)() = nullptr;
  mutable std::once_flag Published;
  // The class's properties by name, its ancestors' included: set once by
  // the first lookup and kept for the process, so that the lookups of every
  // property a stored form sets need neither a lock nor a map of classes.
  mutable std::atomic<const void*> PropertyIndex{nullptr};

  bool InheritsFrom(const TClassInfo& other) const;
  // True when this class or an ancestor has the name (compared without case).
  bool InheritsFrom(const std::string& className) const;
  // This class's name first, TObject's last.
  std::vector<std::string> Ancestors() const;
};

// Runs the publish functions of the class and its ancestors, ancestors
// first, each once in the process (from any thread). Lookups of published
// things call it; nobody else needs to.
void Publish(const TClassInfo& info);

#define TV_CLASS_INFO(Self, Parent, PublishOwn)                                            \
 public:                                                                                   \
  using TClassSelf = Self;                                                                 \
  static const ::tv::TClassInfo& StaticClassInfo() {                                       \
    static const ::tv::TClassInfo info{#Self, &Parent::StaticClassInfo(), PublishOwn, {}}; \
    return info;                                                                           \
  }                                                                                        \
  const ::tv::TClassInfo& ClassInfo() const override {                                     \
    return StaticClassInfo();                                                              \
  }                                                                                        \
                                                                                           \
 private:

// Declares a class's information inside a class derived from TObject.
#define TV_CLASS(Self, Parent) TV_CLASS_INFO(Self, Parent, nullptr)

// The same for a class that publishes properties, handlers or fields: it
// defines `void Self::PublishOwn()`, which declares them in one place.
#define TV_PUBLISHED_CLASS(Self, Parent)         \
  TV_CLASS_INFO(Self, Parent, &Self::PublishOwn) \
  static void PublishOwn();                      \
                                                 \
 private:

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;

  using TClassSelf = TObject;
  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

  std::string ClassName() const { return ClassInfo().Name; }
  const TClassInfo* ClassParent() const { return ClassInfo().Parent; }
  bool InheritsFrom(const TClassInfo& other) const { return ClassInfo().InheritsFrom(other); }
  bool InheritsFrom(const std::string& className) const { return ClassInfo().InheritsFrom(className); }
};

// The object as a T when its class is T or descends from it, else null. It
// walks the class chain by pointer, where dynamic_cast compares type names
// and cost reading a dialog a fifth of its time. T declares its own class
// information, so that no ancestor's stands in for it.
template <class T, class From>
auto ClassCast(From* object) -> std::conditional_t<std::is_const_v<From>, const T*, T*> {
  static_assert(std::is_same_v<typename T::TClassSelf, T>, "ClassCast needs a class declared with TV_CLASS");
  if (object == nullptr || !object->InheritsFrom(T::StaticClassInfo())) return nullptr;
  return static_cast<std::conditional_t<std::is_const_v<From>, const T*, T*>>(object);
}

}  // namespace tv
