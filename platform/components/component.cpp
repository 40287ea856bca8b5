#include "platform/components/component.h"

#include <algorithm>

#include "platform/components/properties.h"
#include "platform/rtl/sysutils.h"

namespace tv {

bool IsValidIdent(std::string_view name) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(),
                     [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

// Name and Tag are published for every component.
void TComponent::PublishOwn() {
  using T = TComponent;
  RegisterProperties(StaticClassInfo(), {StringProperty("Name", &T::Name, &T::SetName),
                                         WithDefault(IntegerProperty("Tag", &T::Tag, &T::SetTag), 0)});
}

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  SetState(csDestroying);
  while (!components_.empty()) {
    TComponent* last = components_.back();
    RemoveComponent(last);
    delete last;
  }
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError(ListIndexErrorText(index));
  return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (owner_ == nullptr) return -1;
  auto& siblings = owner_->components_;
  return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TComponent::ValidateName(const std::string& name) const {
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("'" + name + "' is not a valid component name");
  if (owner_ != nullptr && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this)
      throw EComponentError("A component named " + name + " already exists");
  }
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  ValidateName(name);
  if (owner_ != nullptr) owner_->UnindexName(this);
  name_ = name;
  if (owner_ != nullptr) owner_->IndexName(this);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  auto found = names_.find(name);
  return found == names_.end() ? nullptr : found->second;
}

void TComponent::IndexName(TComponent* component) {
  if (!component->name_.empty()) names_.insert_or_assign(component->name_, component);
}

void TComponent::UnindexName(const TComponent* component) {
  if (component->name_.empty()) return;
  auto found = names_.find(component->name_);
  if (found != names_.end() && found->second == component) names_.erase(found);
}

void TComponent::InsertComponent(TComponent* component) {
  if (component == nullptr || component->owner_ == this) return;
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr)
    throw EComponentError("A component named " + component->name_ + " already exists");
  components_.push_back(component);
  IndexName(component);
  component->owner_ = this;
  // What a designer holds is being designed, down to its last component.
  if (InState(csDesigning)) component->SetDesigning();
  if (component->listens_) listeners_.push_back(component);
  Listen();
  Notification(component, TOperation::opInsert);
}

namespace {

// Owners free their components last first: search from the back.
void EraseFromBack(std::vector<TComponent*>& list, const TComponent* component) {
  auto it = std::find(list.rbegin(), list.rend(), component);
  if (it != list.rend()) list.erase(std::next(it).base());
}

}  // namespace

void TComponent::RemoveComponent(TComponent* component) {
  if (component == nullptr || component->owner_ != this) return;
  Notification(component, TOperation::opRemove);
  // A notified component may have taken it out already.
  if (component->owner_ != this) return;
  EraseFromBack(components_, component);
  EraseFromBack(listeners_, component);
  UnindexName(component);
  component->owner_ = nullptr;
}

void TComponent::SetDesigning() {
  SetState(csDesigning);
  for (TComponent* c : components_) c->SetDesigning();
}

void TComponent::Listen() {
  if (listens_) return;
  listens_ = true;
  if (owner_ != nullptr) owner_->listeners_.push_back(this);
}

const std::string* TComponent::HandlerName(std::string_view event) const {
  for (const auto& [name, method] : handlerNames_)
    if (SameText(name, event)) return &method;
  return nullptr;
}

void TComponent::SetHandlerName(const std::string& event, const std::string& method) {
  for (auto& [name, bound] : handlerNames_)
    if (SameText(name, event)) {
      bound = method;
      return;
    }
  handlerNames_.emplace_back(event, method);
}

void TComponent::Loaded() {
  ClearState(csLoading);
}

void TComponent::GetChildren(std::vector<TComponent*>& children, const TComponent& root) const {
  if (this != &root) return;
  for (TComponent* c : components_) {
    const TComponent* parent = c->GetParentComponent();
    if (parent == nullptr || parent == this) children.push_back(c);
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  // A copy: a component may leave the list while it hears of another.
  const std::vector<TComponent*> listeners = listeners_;
  for (TComponent* c : listeners) c->Notification(component, operation);
}

}  // namespace tv
