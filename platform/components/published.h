#pragma once
// Published methods and fields: a form class names the handlers its stored
// form may bind (OnClick = btSelectClick) and the members that receive its
// components once the form is read.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/components/component.h"
#include "platform/components/properties.h"

namespace tv {

struct TMethodInfo {
  std::string Name;
  // A handler that calls the method on Self.
  std::function<TNotifyEvent(TObject& self)> Bind;
};

struct TFieldInfo {
  std::string Name;
  std::string ClassName;  // what the member points to
  // Points the member of Self at Component; false when it is of another class.
  std::function<bool(TObject& self, TComponent* component)> Assign;
};

void RegisterMethods(const TClassInfo& info, std::vector<TMethodInfo> methods);
void RegisterFields(const TClassInfo& info, std::vector<TFieldInfo> fields);

// The method of that name (without case) of the object's class or an
// ancestor, or null.
const TMethodInfo* FindMethod(const TObject& object, std::string_view name);
// Every field of the object's class and its ancestors.
std::vector<const TFieldInfo*> GetFieldList(const TObject& object);

template <class T>
TMethodInfo Method(std::string name, void (T::*method)(TObject* sender)) {
  return {std::move(name), [method](TObject& self) -> TNotifyEvent {
            T* target = &static_cast<T&>(self);
            return [target, method](TObject* sender) { (target->*method)(sender); };
          }};
}

template <class T, class C>
TFieldInfo Field(std::string name, C* T::*member) {
  return {std::move(name), C::StaticClassInfo().Name, [member](TObject& self, TComponent* component) {
            auto* typed = dynamic_cast<C*>(component);
            if (typed == nullptr) return false;
            static_cast<T&>(self).*member = typed;
            return true;
          }};
}

// A handler or field under its member's name, inside the publish function of
// the class (TV_PUBLISHED_CLASS) that declares the member:
//
//   RegisterFields(StaticClassInfo(), {TV_FIELD(btOk), TV_FIELD(edLog)});
#define TV_METHOD(Member) ::tv::Method(#Member, &TClassSelf::Member)
#define TV_FIELD(Member) ::tv::Field(#Member, &TClassSelf::Member)

// Points every field of Root at the component of its name that Root owns.
// Raises EComponentError when one is missing or of another class.
void BindFields(TComponent& root);

}  // namespace tv
