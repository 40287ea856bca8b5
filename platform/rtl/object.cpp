#include "platform/rtl/object.h"

#include "platform/rtl/sysutils.h"

namespace tv {

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
    if (c == &other) return true;
  return false;
}

bool TClassInfo::InheritsFrom(const std::string& className) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent)
    if (SameText(c->Name, className)) return true;
  return false;
}

std::vector<std::string> TClassInfo::Ancestors() const {
  std::vector<std::string> names;
  for (const TClassInfo* c = this; c != nullptr; c = c->Parent) names.emplace_back(c->Name);
  return names;
}

void Publish(const TClassInfo& info) {
  if (info.Parent != nullptr) Publish(*info.Parent);
  if (info.PublishOwn != nullptr) std::call_once(info.Published, info.PublishOwn);
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info{"TObject", nullptr, nullptr, {}};
  return info;
}

}  // namespace tv
