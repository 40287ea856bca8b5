#include "data/elements/singletons.h"

#include <memory>

#include "platform/components/properties.h"
#include "platform/system/user.h"

namespace tv {

namespace {
int currentLanguageIndex = 0;
}  // namespace

void TSingletons::PublishOwn() {
  using T = TSingletons;
  RegisterProperties(
      StaticClassInfo(),
      {ObjectProperty("Items", &T::Items), StringProperty("TablePrefix", &T::TablePrefix, &T::SetTablePrefix),
       StringProperty("FieldPrefix", &T::FieldPrefix, &T::SetFieldPrefix),
       IntegerProperty("LanguageCount", &T::LanguageCount, &T::SetLanguageCount),
       IntegerProperty("LanguageIndex", &T::LanguageIndex, &T::SetLanguageIndex)});
}

TSingletons::TSingletons(TComponent* owner) : TComponent(owner) {}

TSingletonItems* TSingletons::SharedItems() {
  static const auto items = std::make_unique<TSingletonItems>();
  return items.get();
}

void TSingletons::SetLanguageCount(int count) {
  if (count < 1) throw Exception("TSingletons.SetLanguageCount: LanguageCount has to be at least 1!");
  languageCount_ = count;
  if (languageIndex_ >= count) languageIndex_ = count - 1;
}

void TSingletons::SetLanguageIndex(int index) {
  if (index < 0) throw Exception("LanguageIndex can not be less than 0");
  if (index >= languageCount_) throw Exception("LanguageIndex must be less than LanguageCount");
  languageIndex_ = index;
}

int LanguageCountOf(const TSingletons* singletons) {
  return singletons ? singletons->LanguageCount() : 3;
}
int LanguageIndexOf(const TSingletons* singletons) {
  return singletons ? singletons->LanguageIndex() : currentLanguageIndex;
}
int CurrentLanguageIndex() {
  return currentLanguageIndex;
}
void SetCurrentLanguageIndex(int index) {
  currentLanguageIndex = index;
}

TSingleton::TSingleton(TComponent* owner) : TComponent(owner) {
  singletons_ = dynamic_cast<TSingletons*>(owner);
  if (singletons_) TSingletons::SharedItems()->Offer(this);
}

TSingleton::~TSingleton() {
  // The container may already be on its way out (it frees what it owns
  // last), so only the shared registry is asked.
  if (singletons_) TSingletons::SharedItems()->Withdraw(this);
}

void TSingleton::MarkChanged() {
  // The process's user does not change; asking the system costs a lookup
  // in the user database on every change.
  static const std::optional<std::string> processUser = sys::UserName();
  if (const auto& user = processUser) {
    changedBy_ = *user;
    if (createdBy_.empty()) createdBy_ = *user;
  }
  changedAt_ = Now();
  if (singletons_) singletons_->SingletonChanged(this);
}

}  // namespace tv
