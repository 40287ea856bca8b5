#pragma once
// TComponent: named objects in an owner tree. An owner frees the components
// it owns, last first, when it goes; every component of an owner hears of
// insertions and removals among its siblings.

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/components/persistent.h"
#include "platform/rtl/sysutils.h"

namespace tv {

class EComponentError : public Exception {
 public:
  using Exception::Exception;
};

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csDesigning = 1u << 2,
  csDestroying = 1u << 3,
};

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  TV_PUBLISHED_CLASS(TComponent, TPersistent)
 public:
  // An owner takes the new component into its list and frees it later.
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;
  int ComponentIndex() const;

  const std::string& Name() const { return name_; }
  // An identifier (letter or "_", then letters, digits, "_") or empty, and
  // unique among the owner's components regardless of case.
  virtual void SetName(const std::string& name);
  long long Tag() const { return tag_; }
  void SetTag(long long tag) { tag_ = tag; }

  // The owned component of that name (without case), or null.
  TComponent* FindComponent(std::string_view name) const;
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);

  unsigned ComponentState() const { return state_; }
  bool InState(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
  void SetState(TComponentStateFlag flag) { state_ |= flag; }
  void ClearState(TComponentStateFlag flag) { state_ &= ~static_cast<unsigned>(flag); }
  // The component and all it owns are being designed (a tool edits them):
  // they keep their stored state instead of acting as a running program.
  // Components inserted later are designed too.
  void SetDesigning();

  // The method a stream bound to one of this component's events, so that
  // writing the component names it again; null when none.
  const std::string* HandlerName(std::string_view event) const;
  void SetHandlerName(const std::string& event, const std::string& method);

  // After a stream has read the component: it leaves the loading state.
  virtual void Loaded();

  // Streams nest a control inside the block of its parent control, which
  // need not be its owner. A component without a parent has none of these:
  // the stream's component that holds it is its owner.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* /*parent*/) {}
  // The components a stream of Root writes inside this one's block, in
  // order. The root lists what it owns that has no other parent.
  virtual void GetChildren(std::vector<TComponent*>& children, const TComponent& root) const;
  // Component was inserted into or is being removed from this component's
  // owner tree; passed on to every owned component that listens. Only
  // listeners are walked, so that an owner of thousands of plain components
  // does not call each of them on every insertion.
  virtual void Notification(TComponent* component, TOperation operation);

 protected:
  // A class that overrides Notification calls this in its constructor. A
  // component that owns others listens by itself, to pass the news on.
  void Listen();

 private:
  void ValidateName(const std::string& name) const;
  void IndexName(TComponent* component);
  void UnindexName(const TComponent* component);
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> listeners_;  // the owned components that listen
  bool listens_ = false;
  // Owned components by upper-case name: forms read from a stream insert
  // thousands of components, each checked for a unique name.
  std::unordered_map<std::string, TComponent*, TTextHash, TTextEqual> names_;
  std::string name_;
  std::vector<std::pair<std::string, std::string>> handlerNames_;  // event, method
  long long tag_ = 0;
  unsigned state_ = 0;
};

bool IsValidIdent(std::string_view name);

}  // namespace tv
