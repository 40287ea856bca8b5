#include "platform/rtl/extended_float.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace tv {

namespace {

constexpr int kBias = 16383;
constexpr int kMinExponent = 1 - kBias - 63;  // the weight of a subnormal's lowest bit
constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
constexpr std::size_t kMaxDigits = 1000;

// A natural number of any size; limbs of 32 bits, lowest first, none on
// top that is zero.
class TBig {
 public:
  TBig() = default;
  explicit TBig(std::uint64_t value) {
    for (; value != 0; value >>= 32) limbs_.push_back(static_cast<std::uint32_t>(value));
  }

  bool IsZero() const { return limbs_.empty(); }
  int BitLength() const {
    if (limbs_.empty()) return 0;
    return static_cast<int>(32 * (limbs_.size() - 1)) + static_cast<int>(std::bit_width(limbs_.back()));
  }
  bool Bit(int index) const {
    const auto limb = static_cast<std::size_t>(index / 32);
    return index >= 0 && limb < limbs_.size() && ((limbs_[limb] >> (index % 32)) & 1) != 0;
  }
  // The value when it fits in 64 bits.
  std::uint64_t Low64() const {
    std::uint64_t value = 0;
    for (std::size_t i = std::min<std::size_t>(limbs_.size(), 2); i-- > 0;) value = (value << 32) | limbs_[i];
    return value;
  }

  TBig& MulSmall(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (std::uint32_t& limb : limbs_) {
      const std::uint64_t product = std::uint64_t{limb} * factor + carry;
      limb = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    Trim();
    return *this;
  }
  TBig& AddSmall(std::uint32_t value) {
    std::uint64_t carry = value;
    for (std::size_t i = 0; carry != 0; ++i) {
      if (i == limbs_.size()) limbs_.push_back(0);
      const std::uint64_t sum = std::uint64_t{limbs_[i]} + carry;
      limbs_[i] = static_cast<std::uint32_t>(sum);
      carry = sum >> 32;
    }
    return *this;
  }
  TBig& MulPow10(int exponent) {
    for (; exponent >= 9; exponent -= 9) MulSmall(1000000000);
    static constexpr std::uint32_t kPowers[] = {1,      10,      100,      1000,     10000,
                                                100000, 1000000, 10000000, 100000000};
    return MulSmall(kPowers[exponent]);
  }
  TBig& ShiftLeft(int bits) {
    if (IsZero() || bits == 0) return *this;
    const auto whole = static_cast<std::size_t>(bits / 32);
    const int rest = bits % 32;
    limbs_.insert(limbs_.begin(), whole, 0);
    if (rest != 0) {
      std::uint32_t carry = 0;
      for (std::size_t i = whole; i < limbs_.size(); ++i) {
        const std::uint32_t next = limbs_[i] >> (32 - rest);
        limbs_[i] = (limbs_[i] << rest) | carry;
        carry = next;
      }
      if (carry != 0) limbs_.push_back(carry);
    }
    return *this;
  }
  TBig& Add(const TBig& other) {
    if (limbs_.size() < other.limbs_.size()) limbs_.resize(other.limbs_.size(), 0);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      const std::uint64_t sum =
          std::uint64_t{limbs_[i]} + (i < other.limbs_.size() ? other.limbs_[i] : 0) + carry;
      limbs_[i] = static_cast<std::uint32_t>(sum);
      carry = sum >> 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    return *this;
  }
  // Other must not exceed this.
  TBig& Sub(const TBig& other) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      std::int64_t difference =
          std::int64_t{limbs_[i]} - (i < other.limbs_.size() ? other.limbs_[i] : 0) - borrow;
      borrow = difference < 0 ? 1 : 0;
      if (difference < 0) difference += std::int64_t{1} << 32;
      limbs_[i] = static_cast<std::uint32_t>(difference);
    }
    Trim();
    return *this;
  }
  friend int Compare(const TBig& a, const TBig& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() < b.limbs_.size() ? -1 : 1;
    for (std::size_t i = a.limbs_.size(); i-- > 0;)
      if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
    return 0;
  }
  friend TBig operator+(TBig a, const TBig& b) { return a.Add(b); }

  // Quotient (when it fits in 64 bits... here at most 70 bits are asked
  // for, so it comes as a TBig) and remainder of this by Divisor, bit by
  // bit over the bits that the quotient can have.
  void DivMod(const TBig& divisor, TBig& quotient, TBig& remainder) const {
    quotient = TBig();
    remainder = TBig();
    const int divisorBits = divisor.BitLength();
    const int bits = BitLength();
    // The top bits below the divisor's length are less than the divisor.
    const int start = std::max(bits - divisorBits + 1, 0);
    for (int i = bits - 1; i >= start; --i)
      if (Bit(i)) remainder.SetBit(i - start);
    for (int i = start - 1; i >= 0; --i) {
      remainder.ShiftLeft(1);
      if (Bit(i)) remainder.AddSmall(1);
      quotient.ShiftLeft(1);
      if (Compare(remainder, divisor) >= 0) {
        remainder.Sub(divisor);
        quotient.AddSmall(1);
      }
    }
  }

 private:
  void SetBit(int index) {
    const auto limb = static_cast<std::size_t>(index / 32);
    if (limb >= limbs_.size()) limbs_.resize(limb + 1, 0);
    limbs_[limb] |= std::uint32_t{1} << (index % 32);
  }
  void Trim() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }
  std::vector<std::uint32_t> limbs_;
};

struct TParts {
  bool Negative = false;
  std::uint64_t Mantissa = 0;
  int Exponent = 0;  // the value is Mantissa * 2^Exponent
};

std::string Encode(const TParts& parts) {
  int biased = 0;
  if (parts.Mantissa & kIntegerBit) biased = parts.Exponent + 63 + kBias;
  std::string bytes(10, '\0');
  for (int i = 0; i < 8; ++i)
    bytes[static_cast<std::size_t>(i)] = static_cast<char>(parts.Mantissa >> (8 * i));
  const unsigned top = (parts.Negative ? 0x8000u : 0u) | static_cast<unsigned>(biased);
  bytes[8] = static_cast<char>(top & 0xFF);
  bytes[9] = static_cast<char>(top >> 8);
  return bytes;
}

// Digits d1 d2 ... dn with the value 0.d1d2...dn * 10^Point.
struct TDecimal {
  std::string Digits;
  int Point = 0;
};

// The shortest digits that lie closer to the value than to either of its
// neighbours (or on the border that rounding to even gives it), generated
// with exact integers (free-format printing after Steele and White, Burger
// and Dybvig).
TDecimal Shortest(std::uint64_t f, int e) {
  const bool even = (f & 1) == 0;
  const bool lowerGapNarrower = f == kIntegerBit && e > kMinExponent;
  TBig r(f), s(1), plus(1), minus(1);
  if (e >= 0) {
    r.ShiftLeft(e + (lowerGapNarrower ? 2 : 1));
    s = TBig(lowerGapNarrower ? 4 : 2);
    plus.ShiftLeft(e + (lowerGapNarrower ? 1 : 0));
    minus.ShiftLeft(e);
  } else {
    r.ShiftLeft(lowerGapNarrower ? 2 : 1);
    s.ShiftLeft(-e + (lowerGapNarrower ? 2 : 1));
    if (lowerGapNarrower) plus = TBig(2);
  }
  // The power of ten of the first digit, estimated low by at most one.
  int k = static_cast<int>(
      std::ceil((e + static_cast<int>(std::bit_width(f)) - 1) * 0.30102999566398119521 - 1e-10));
  if (k >= 0) {
    s.MulPow10(k);
  } else {
    r.MulPow10(-k);
    plus.MulPow10(-k);
    minus.MulPow10(-k);
  }
  auto reachesOne = [&] {
    const int c = Compare(r + plus, s);
    return even ? c >= 0 : c > 0;
  };
  while (reachesOne()) {
    s.MulSmall(10);
    ++k;
  }
  TDecimal decimal;
  decimal.Point = k;
  for (;;) {
    r.MulSmall(10);
    plus.MulSmall(10);
    minus.MulSmall(10);
    int digit = 0;
    while (Compare(r, s) >= 0) {
      r.Sub(s);
      ++digit;
    }
    const int low = Compare(r, minus);
    const bool nearLow = even ? low <= 0 : low < 0;
    const bool nearHigh = reachesOne();
    if (!nearLow && !nearHigh) {
      decimal.Digits += static_cast<char>('0' + digit);
      continue;
    }
    if (nearLow && nearHigh) {
      TBig twice = r;
      twice.ShiftLeft(1);
      if (Compare(twice, s) > 0) ++digit;
    } else if (nearHigh) {
      ++digit;
    }
    // A last digit rounded up to ten carries into those before it.
    for (; digit == 10 && !decimal.Digits.empty(); decimal.Digits.pop_back())
      digit = decimal.Digits.back() - '0' + 1;
    if (digit == 10) {
      digit = 1;
      ++decimal.Point;
    }
    decimal.Digits += static_cast<char>('0' + digit);
    return decimal;
  }
}

std::string Format(bool negative, const TDecimal& d) {
  std::string text = negative ? "-" : "";
  const int exponent = d.Point - 1;  // of the first digit
  const auto n = static_cast<int>(d.Digits.size());
  if (exponent >= -5 && exponent < 21) {
    if (exponent < 0) {
      text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + d.Digits;
    } else if (n <= exponent + 1) {
      text += d.Digits + std::string(static_cast<std::size_t>(exponent + 1 - n), '0') + ".0";
    } else {
      text += d.Digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
              d.Digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    return text;
  }
  text += d.Digits.substr(0, 1);
  if (n > 1) text += "." + d.Digits.substr(1);
  char power[16];
  std::snprintf(power, sizeof power, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return text + power;
}

// Mantissa and exponent of Num / Den rounded to 64 bits, ties to even;
// false beyond the largest extended float.
bool RoundQuotient(const TBig& num, const TBig& den, TParts& parts) {
  // Scaled so that the quotient has 67 or 68 bits, guard bits included.
  const int t = num.BitLength() - den.BitLength() - 67;
  TBig dividend = num, divisor = den, q, rem;
  if (t >= 0)
    divisor.ShiftLeft(t);
  else
    dividend.ShiftLeft(-t);
  dividend.DivMod(divisor, q, rem);
  const int exponent = std::max(t + q.BitLength() - 64, kMinExponent);
  const int shift = exponent - t;
  bool sticky = !rem.IsZero();
  for (int i = 0; i < shift - 1 && !sticky; ++i) sticky = q.Bit(i);
  const bool half = q.Bit(shift - 1);
  std::uint64_t mantissa = 0;
  for (int i = 63; i >= 0; --i) mantissa = (mantissa << 1) | (q.Bit(shift + i) ? 1 : 0);
  parts.Exponent = exponent;
  if (half && (sticky || (mantissa & 1))) {
    if (++mantissa == 0) {  // carried out of 64 bits
      mantissa = kIntegerBit;
      ++parts.Exponent;
    }
  }
  parts.Mantissa = mantissa;
  return (mantissa & kIntegerBit) == 0 || parts.Exponent + 63 + kBias < 0x7FFF;
}

}  // namespace

std::optional<std::string> ExtendedToText(std::string_view tenBytes) {
  if (tenBytes.size() != 10) return std::nullopt;
  std::uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i)
    mantissa = (mantissa << 8) | static_cast<unsigned char>(tenBytes[static_cast<std::size_t>(i)]);
  const unsigned top =
      static_cast<unsigned char>(tenBytes[8]) | (static_cast<unsigned char>(tenBytes[9]) << 8);
  const bool negative = (top & 0x8000) != 0;
  const int biased = static_cast<int>(top & 0x7FFF);
  if (biased == 0x7FFF) return std::nullopt;
  const bool integerBit = (mantissa & kIntegerBit) != 0;
  if (biased == 0 ? integerBit : !integerBit) return std::nullopt;
  if (mantissa == 0) return std::string(negative ? "-0.0" : "0.0");
  const int exponent = biased == 0 ? kMinExponent : biased - kBias - 63;
  return Format(negative, Shortest(mantissa, exponent));
}

std::optional<std::string> TextToExtended(std::string_view text) {
  std::size_t at = 0;
  TParts parts;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) parts.Negative = text[at++] == '-';
  std::string digits;
  int point = 0;  // the value is digits * 10^point
  bool any = false, seenPoint = false;
  for (; at < text.size(); ++at) {
    const char c = text[at];
    if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else if (c >= '0' && c <= '9') {
      any = true;
      if (digits.empty() && c == '0') {
        if (seenPoint) --point;
        continue;
      }
      digits += c;
      if (seenPoint) --point;
    } else {
      break;
    }
  }
  if (!any) return std::nullopt;
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    ++at;
    bool negativeExponent = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negativeExponent = text[at++] == '-';
    const std::size_t start = at;
    long exponent = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
      exponent = std::min(exponent * 10 + (text[at] - '0'), 1000000L);
    if (at == start) return std::nullopt;
    point += static_cast<int>(negativeExponent ? -exponent : exponent);
  }
  if (at != text.size() || digits.size() > kMaxDigits) return std::nullopt;
  while (!digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++point;
  }
  if (digits.empty()) return Encode(parts);
  // Beyond 1.19e4932 nothing fits; below 3.6e-4951 everything rounds to zero.
  const int magnitude = point + static_cast<int>(digits.size()) - 1;
  if (magnitude > 4933) return std::nullopt;
  if (magnitude < -4952) return Encode(parts);
  TBig num, den(1);
  for (const char c : digits) num.MulSmall(10).AddSmall(static_cast<std::uint32_t>(c - '0'));
  if (point >= 0)
    num.MulPow10(point);
  else
    den.MulPow10(-point);
  if (!RoundQuotient(num, den, parts)) return std::nullopt;
  return Encode(parts);
}

std::string ExtendedOfDouble(double value) {
  if (!std::isfinite(value)) {
    // No text: the same special value, bit for bit where it can be.
    std::string bytes(10, '\0');
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
    const std::uint64_t mantissa = kIntegerBit | ((bits & ((std::uint64_t{1} << 52) - 1)) << 11);
    for (int i = 0; i < 8; ++i) bytes[static_cast<std::size_t>(i)] = static_cast<char>(mantissa >> (8 * i));
    const unsigned top = ((bits >> 63) ? 0x8000u : 0u) | 0x7FFFu;
    bytes[8] = static_cast<char>(top & 0xFF);
    bytes[9] = static_cast<char>(top >> 8);
    return bytes;
  }
  return *TextToExtended(ShortestDoubleText(value));
}

std::string ShortestDoubleText(double value) {
  char buffer[40];
  for (int digits = 15; digits <= 17; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    if (std::strtod(buffer, nullptr) == value) break;
  }
  return buffer;
}

}  // namespace tv
