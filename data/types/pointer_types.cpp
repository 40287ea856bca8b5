#include "data/types/pointer_types.h"

#include <cinttypes>
#include <cstdio>

#include "data/types/data_types.h"

namespace tv {

// --- TPointerType

TPointerType::TPointerType() : TDataType(true) {
  EnterClass(ClassOf<TPointerType>());
}

TValue TPointerType::ConvertValue(const TValue& value) const {
  return Owns(value) ? value : CreateValue(GetAsPointer(value));
}

int TPointerType::Compare(const TValue& a, const TValue& b) const {
  const auto x = reinterpret_cast<std::uintptr_t>(GetAsPointer(a));
  const auto y = reinterpret_cast<std::uintptr_t>(GetAsPointer(b));
  return x < y ? -1 : x > y ? 1 : 0;
}

TValue TPointerType::Sum(const TValue&, const TValue&) const {
  NotSupported("TPointerType", "Sum");
}
TValue TPointerType::Difference(const TValue&, const TValue&) const {
  NotSupported("TPointerType", "Difference");
}
TValue TPointerType::Product(const TValue&, const TValue&) const {
  NotSupported("TPointerType", "Product");
}
TValue TPointerType::Quota(const TValue&, const TValue&) const {
  NotSupported("TPointerType", "Quota");
}

bool TPointerType::IsEmpty(const TValue& value) const {
  try {
    return GetAsPointer(value) == nullptr;
  } catch (const Exception&) {
    return false;
  }
}

TValue TPointerType::ValueToText(const TValue& value, const DisplayFormat&) const {
  return value;
}

bool TPointerType::TextToValue(const std::string& text, const DisplayFormat&, TValue& result) const {
  result = AnyStringType()->CreateValue(text);
  return true;
}

void TPointerType::WriteToBuffer(unsigned char* buffer, const TValue& value, const TOverflowCallback&) const {
  void* address = GetAsPointer(value);
  std::memcpy(buffer, &address, sizeof address);
}

std::string TPointerType::AddressText(std::string_view prefix, const void* address) {
  char digits[2 * sizeof(void*) + 1];
  std::snprintf(digits, sizeof digits, "%08" PRIXPTR, reinterpret_cast<std::uintptr_t>(address));
  std::string text(prefix);
  return text.append("($").append(digits).append(")");
}

std::string TPointerType::ReadString(const TValue& value) const {
  return AddressText("Pointer", ReadPointer(value));
}
bool TPointerType::ReadBoolean(const TValue&) const {
  CannotConvert("Pointer", "Boolean");
}
TDateTime TPointerType::ReadDateTime(const TValue&) const {
  CannotConvert("Pointer", "DateTime");
}
double TPointerType::ReadDouble(const TValue&) const {
  CannotConvert("Pointer", "Double");
}
std::int32_t TPointerType::ReadInteger(const TValue& value) const {
  return static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(ReadPointer(value)));
}

const TDataType* TPointerType::CreateFromParams(const TStrings&) {
  return PointerType();
}

// --- TObjectType

TObjectType::TObjectType() {
  EnterClass(ClassOf<TObjectType>());
}

std::string TObjectType::ReadString(const TValue& value) const {
  return AddressText("TObject", ReadPointer(value));
}

const TDataType* TObjectType::CreateFromParams(const TStrings&) {
  return ObjectType();
}

// --- TPictureType

TPictureType::TPictureType() {
  EnterClass(ClassOf<TPictureType>());
}

TPicture* TPictureType::GetAsPicture(const TValue& value) const {
  TObject* object = GetAsObject(value);
  if (!object) return nullptr;
  if (auto* picture = dynamic_cast<TPicture*>(object)) return picture;
  throw Exception(ClassName() + ".GetAsPicture: You can not get Pictures from this DataType!");
}

const TDataType* TPictureType::CreateFromParams(const TStrings&) {
  return PictureType();
}

}  // namespace tv
