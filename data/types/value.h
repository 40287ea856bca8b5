#pragma once
// TValue: one typed value of the data engine. The payload is eight raw bytes
// whose meaning only the value's data type knows; the text is used by the
// string family alone.

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

namespace tv {

class TDataType;

// A typed value: its data type, an 8-byte payload and a text.
struct TValue {
  const TDataType* DataType = nullptr;  // not owned; types outlive all values
  alignas(8) unsigned char Data[8] = {};
  std::string Text;

  // The payload read or written as a native type of at most eight bytes.
  template <class T>
  T Payload() const {
    static_assert(sizeof(T) <= sizeof(Data) && std::is_trivially_copyable_v<T>);
    T result;
    std::memcpy(&result, Data, sizeof(T));
    return result;
  }
  template <class T>
  void SetPayload(T value) {
    static_assert(sizeof(T) <= sizeof(Data) && std::is_trivially_copyable_v<T>);
    std::memcpy(Data, &value, sizeof(T));
  }

  // Sorting swaps values constantly; member by member is cheaper than
  // three moves.
  friend void swap(TValue& a, TValue& b) noexcept {
    std::swap(a.DataType, b.DataType);
    unsigned char data[sizeof a.Data];
    std::memcpy(data, a.Data, sizeof data);
    std::memcpy(a.Data, b.Data, sizeof data);
    std::memcpy(b.Data, data, sizeof data);
    a.Text.swap(b.Text);
  }
};

// Grid presentation's description of how numbers are shown and edited.
struct DisplayFormat {
  std::string NumberFormat;  // a FormatFloat pattern
  long double Divisor = 1;   // values are shown divided by it
  int Decimals = -1;         // negative: not fixed
  double Rounding = 0;       // M: values are rounded to multiples of 1/M; below 1 none
  bool Edit = false;         // editing: no divisor, no thousands separators
};

// The row's store for memo texts too long for their buffer slot. The routine
// gets its context and the row's argument (which cell); on oaStore Text is
// the whole text to keep, on oaFetch it fills Text.
enum class TOverflowAction { oaStore, oaFetch };
// Where a row keeps memo texts longer than their buffer slot.
struct TOverflowCallback {
  using TRoutine = void (*)(void* context, std::intptr_t argument, std::string& text, TOverflowAction action);
  TRoutine Routine = nullptr;
  void* Context = nullptr;
  std::intptr_t Argument = 0;

  explicit operator bool() const { return Routine != nullptr; }
  void operator()(std::string& text, TOverflowAction action) const {
    Routine(Context, Argument, text, action);
  }
};

}  // namespace tv
