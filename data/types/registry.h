#pragma once
// The registries behind data_types.h. Internal to data/types: other code uses
// the routines of data_types.h.

#include <memory>
#include <vector>

#include "data/types/data_types.h"

namespace tv {

// The engine's registries of data types, made on first use.
struct TDataTypeRegistryData {
  // Empty lists and factory; the types are made by CreateStandardTypes once
  // the registry is reachable, because their constructors register in it.
  TDataTypeRegistryData() = default;
  TDataTypeRegistryData(const TDataTypeRegistryData&) = delete;
  TDataTypeRegistryData& operator=(const TDataTypeRegistryData&) = delete;
  ~TDataTypeRegistryData();

  void CreateStandardTypes();
  void AddInstance(const TDataType* type);
  void RemoveInstance(const TDataType* type);
  const TStringType* FindOrCreateStringType(int size, bool caseSensitive);

  std::vector<const TDataType*> Instances;
  std::unique_ptr<TDataTypeFactory> Factory;

  std::unique_ptr<TObjectType> Object;
  std::unique_ptr<TIntegerType> Integer;
  std::unique_ptr<TBooleanType> Boolean;
  std::unique_ptr<TDateTimeType> DateTime;
  std::unique_ptr<TDateType> Date;
  std::unique_ptr<TTimeType> Time;
  std::unique_ptr<TPointerType> Pointer;
  std::unique_ptr<TDoubleType> Double;
  std::unique_ptr<TCurrencyType> Currency;
  std::unique_ptr<TPercentType> Percent;
  std::unique_ptr<TMemoType> Memo;  // case-insensitive: AnyStringType
  std::unique_ptr<TMemoType> CaseSensitiveMemo;
  std::unique_ptr<TIntegerStringType> IntegerString;
  std::unique_ptr<TPictureType> Picture;
  std::unique_ptr<TStringDateTimeType> StringDateTime;

  // Index 0: case-insensitive, 1: case-sensitive. The lists own their types.
  std::vector<const TStringType*> StringTypes[2];

  std::unique_ptr<TValue> EmptyString, True, False, Zero, One, Nil;
};

namespace detail {
// Null until the first use; constant-initialised, so no static object of
// another file can see it half made.
extern TDataTypeRegistryData* registry;
TDataTypeRegistryData& CreateRegistry();
}  // namespace detail

inline TDataTypeRegistryData& DataTypeRegistry() {
  if (detail::registry) [[likely]]
    return *detail::registry;
  return detail::CreateRegistry();
}

}  // namespace tv
