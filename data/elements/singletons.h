#pragma once
// Named schema objects (fields, tables, table types, bridges) and the
// container component that groups them and fixes how many languages their
// texts have and which one is current.

#include <string>

#include "platform/components/component.h"
#include "platform/rtl/datetime.h"

namespace tv {

class TSingleton;

// The registry that every container shares. Offering a singleton to it
// records nothing: no part of the system reads such a registration back.
class TSingletonItems : public TObject {
  TV_CLASS(TSingletonItems, TObject)
 public:
  void Offer(TSingleton* /*singleton*/) {}
  void Withdraw(TSingleton* /*singleton*/) {}
};

// The container of the process's schema objects, with the language they are shown in.
class TSingletons : public TComponent {
  TV_PUBLISHED_CLASS(TSingletons, TComponent)
 public:
  explicit TSingletons(TComponent* owner);

  // Made on first read, one for the whole process.
  TSingletonItems* Items() const { return SharedItems(); }
  static TSingletonItems* SharedItems();
  const std::string& TablePrefix() const { return tablePrefix_; }
  void SetTablePrefix(const std::string& prefix) { tablePrefix_ = prefix; }
  const std::string& FieldPrefix() const { return fieldPrefix_; }
  void SetFieldPrefix(const std::string& prefix) { fieldPrefix_ = prefix; }

  int LanguageCount() const { return languageCount_; }
  // At least 1 ("TSingletons.SetLanguageCount: LanguageCount has to be at
  // least 1!"); the language index is pulled below the new count.
  void SetLanguageCount(int count);
  int LanguageIndex() const { return languageIndex_; }
  // 0 ... LanguageCount - 1.
  void SetLanguageIndex(int index);

  // A singleton of this container changed (MarkChanged).
  void SingletonChanged(TSingleton* /*singleton*/) {}

 private:
  std::string tablePrefix_, fieldPrefix_;
  int languageCount_ = 1;
  int languageIndex_ = 0;
};

// What a container answers, and what is answered without one: 3 languages
// and the process-wide current language.
int LanguageCountOf(const TSingletons* singletons);
int LanguageIndexOf(const TSingletons* singletons);
int CurrentLanguageIndex();
void SetCurrentLanguageIndex(int index);

// A schema object known by a unique name, with descriptions per language.
class TSingleton : public TComponent {
  TV_CLASS(TSingleton, TComponent)
 public:
  // An owner that is a TSingletons container takes the singleton in.
  explicit TSingleton(TComponent* owner);
  ~TSingleton() override;

  TSingletons* Singletons() const { return singletons_; }
  TDateTime ChangedAt() const { return changedAt_; }
  const std::string& ChangedBy() const { return changedBy_; }
  const std::string& CreatedBy() const { return createdBy_; }
  // Stamps the change with the user and the time and tells the container.
  void MarkChanged();

 private:
  TSingletons* singletons_ = nullptr;
  TDateTime changedAt_ = 0;
  std::string changedBy_, createdBy_;
};

}  // namespace tv
