#pragma once
// Objects that know their class: its name, its parent and the chain of
// ancestors, which the component streams and the translator walk by name.

#include <string>
#include <vector>

namespace tv {

struct TClassInfo {
  const char* Name;
  const TClassInfo* Parent;  // null for TObject

  bool InheritsFrom(const TClassInfo& other) const;
  // True when this class or an ancestor has the name (compared without case).
  bool InheritsFrom(const std::string& className) const;
  // This class's name first, TObject's last.
  std::vector<std::string> Ancestors() const;
};

// Declares a class's information inside a class derived from TObject.
#define TV_CLASS(Self, Parent)                                             \
 public:                                                                   \
  static const ::tv::TClassInfo& StaticClassInfo() {                       \
    static const ::tv::TClassInfo info{#Self, &Parent::StaticClassInfo()}; \
    return info;                                                           \
  }                                                                        \
  const ::tv::TClassInfo& ClassInfo() const override {                     \
    return StaticClassInfo();                                              \
  }                                                                        \
                                                                           \
 private:

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

  std::string ClassName() const { return ClassInfo().Name; }
  const TClassInfo* ClassParent() const { return ClassInfo().Parent; }
  bool InheritsFrom(const TClassInfo& other) const { return ClassInfo().InheritsFrom(other); }
  bool InheritsFrom(const std::string& className) const { return ClassInfo().InheritsFrom(className); }
};

}  // namespace tv
