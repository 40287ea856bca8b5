#pragma once
// The names of an enumeration's values, as streams write them, kept beside
// the enumeration:
//
//   enum class TAlign { alNone, alTop };
//   inline constexpr auto kAlignNames = EnumNameArray("alNone", "alTop");
//   static_assert(kAlignNames.size() == 1 + static_cast<std::size_t>(TAlign::alTop));
//   constexpr TEnumNames EnumNames(TAlign) { return kAlignNames; }
//
// Property declarations find EnumNames by the enumeration's type.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace tv {

using TEnumNames = std::span<const std::string_view>;

template <class... TName>
constexpr std::array<std::string_view, sizeof...(TName)> EnumNameArray(const TName&... names) {
  return {std::string_view(names)...};
}

}  // namespace tv
