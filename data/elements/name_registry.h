#pragma once
// The process-wide registries of fields and of tables by name: sorted,
// without duplicates, names compared without case. A name taken by a live
// object is reported as a warning and the newcomer stays unregistered.

#include <memory>
#include <string>

#include "data/types/value_list.h"

namespace tv {

// The names of one kind of schema object, each taken once in a process.
class TNameRegistry {
 public:
  // Kind names the objects in the warning: "Duplicate <kind>: " + name.
  explicit TNameRegistry(std::string kind);
  // Removes Object's old entry: the one under OldName when it holds Object,
  // otherwise wherever Object is entered.
  void Remove(const std::string& oldName, const TObject* object);
  // Enters Name for Object; a name already present is reported (severity
  // 2, category "Duplicates") and Object is not entered.
  void Enter(const std::string& name, TObject* object);
  TObject* Find(const std::string& name) const;

 private:
  std::string kind_;
  std::unique_ptr<TValueList> names_;
};

// Null once destroyed at process end.
TNameRegistry* FieldRegistry();
TNameRegistry* TableRegistry();

}  // namespace tv
