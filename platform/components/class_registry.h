#pragma once
// Component classes by name, so that a stream can create what it reads.

#include <functional>
#include <string_view>

#include "platform/components/component.h"

namespace tv {

class EClassNotFound : public Exception {
 public:
  using Exception::Exception;
};

using TComponentFactory = std::function<TComponent*(TComponent* owner)>;

// Registering a name again replaces its class.
void RegisterComponentClass(const TClassInfo& info, TComponentFactory create);
// The class of that name (without case), or null.
const TClassInfo* FindComponentClass(std::string_view className);
// A new component of the named class owned by Owner; raises EClassNotFound
// "Class <name> not found" for an unknown name.
TComponent* CreateComponent(std::string_view className, TComponent* owner);

// Registers T, which must be constructible from its owner.
template <typename T>
void RegisterComponentClass() {
  RegisterComponentClass(T::StaticClassInfo(), [](TComponent* owner) -> TComponent* { return new T(owner); });
}

}  // namespace tv
