// Numbers as the files hold them: decimals read the quick way where that
// is exact, and the shortest text of a double.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hostfiles/SvgSyntax.h"

namespace hostfiles::svg {

// The shortest scientific digits that read back as the double: printf
// rounds correctly, so the first precision that reads back is the
// shortest, and its digits the nearest of that length; every longer
// precision reads back too, so the first is found by halving.
std::string shortestText(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  char buffer[64];
  const auto readsBack = [&](int digits) {
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, value);
    return std::strtod(buffer, nullptr) == value;
  };
  int low = 1;
  int high = 17;
  while (low < high) {
    const int middle = (low + high) / 2;
    if (readsBack(middle))
      high = middle;
    else
      low = middle + 1;
  }
  readsBack(low);
  // buffer: [-]d[.ddd]e±XX
  std::string text(buffer);
  const bool negative = text[0] == '-';
  const size_t e = text.find('e');
  std::string mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digitsOnly;
  for (char c : mantissa)
    if (c != '.') digitsOnly += c;
  while (digitsOnly.size() > 1 && digitsOnly.back() == '0') digitsOnly.pop_back();
  const int count = int(digitsOnly.size());

  std::string scientific = digitsOnly.substr(0, 1);
  if (count > 1) scientific += "." + digitsOnly.substr(1);
  char exponentText[16];
  std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  scientific += exponentText;

  std::string fixed;
  if (exponent >= 0) {
    // A whole number is written with all its digits, as %f writes it.
    if (count <= exponent + 1) {
      std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(value));
      fixed = buffer;
    } else
      fixed = digitsOnly.substr(0, size_t(exponent + 1)) + "." + digitsOnly.substr(size_t(exponent + 1));
  } else {
    fixed = "0." + std::string(size_t(-exponent - 1), '0') + digitsOnly;
  }
  return (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at `p` into `value`; the end of them. Where eight
// characters are left they are taken at once, as one word whose first
// character is the lowest byte: how many lead as digits, and their worth,
// come without a branch for each digit.
inline const char* readDigits(const char* p, const char* end, uint64_t& value) {
  static const uint64_t kScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    word = __builtin_bswap64(word);
#endif
    // A byte above '9' carries into its top bit when 0x46 is added, one below '0' borrows.
    const uint64_t others = ((word + 0x4646464646464646) | (word - 0x3030303030303030)) & 0x8080808080808080;
    const int count = others == 0 ? 8 : __builtin_ctzll(others) / 8;
    if (count == 0) return p;
    // The digits at the top, zeros below them as leading zeros; then pairs, fours and eights are joined.
    uint64_t digits = (word - 0x3030303030303030) << (8 * (8 - count));
    digits = (digits * 10 + (digits >> 8)) & 0x00ff00ff00ff00ff;
    digits = (digits * 100 + (digits >> 16)) & 0x0000ffff0000ffff;
    digits = (digits * 10000 + (digits >> 32)) & 0xffffffff;
    value = value * kScales[count] + digits;
    p += count;
    if (count < 8) return p;
  }
  for (; p < end && isDigit(*p); ++p) value = value * 10 + unsigned(*p - '0');
  return p;
}

// A decimal whose digits make a whole number up to 2^53 and whose power
// of ten is within 1e22: both are exact doubles, so one multiplication or
// division rounds as a full reading would. Null when the text is not such
// a number.
const char* readShortDecimal(const char* at, const char* end, double& value) {
  static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = at < end && *at == '-';
  const char* start = at + (negative ? 1 : 0);
  uint64_t digits = 0;
  const char* p = readDigits(start, end, digits);
  long count = p - start;
  long exponent = 0;
  if (p < end && *p == '.') {
    const char* fraction = p + 1;
    p = readDigits(fraction, end, digits);
    exponent = -(p - fraction);
    count += p - fraction;
  }
  // Past nineteen digits the whole number may not fit in 64 bits.
  if (count == 0 || count > 19 || digits > (uint64_t(1) << 53)) return nullptr;
  // An exponent without digits ("1em") is not part of the number.
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool below = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    uint64_t power = 0;
    const char* powerEnd = readDigits(q, end, power);
    if (powerEnd > q) {
      if (powerEnd - q > 3) return nullptr;
      exponent += below ? -long(power) : long(power);
      p = powerEnd;
    }
  }
  if (exponent < -22 || exponent > 22) return nullptr;
  const double magnitude = exponent < 0 ? double(digits) / kPowers[-exponent] : double(digits) * kPowers[exponent];
  value = negative ? -magnitude : magnitude;
  return p;
}

#if !defined(__cpp_lib_to_chars)
// from_chars's grammar for a standard library without floating-point
// from_chars (the browser build's): an optional '-', then digits with an
// optional point and exponent, or a word strtod reads ("nan", "inf"), in
// the only locale there is, "C".
const char* readWithStrtod(const char* at, const char* end, double& value) {
  const char* body = at < end && *at == '-' ? at + 1 : at;
  const char* stop = body;
  const bool word = body < end && (*body == 'n' || *body == 'N' || *body == 'i' || *body == 'I');
  if (word) {
    stop = end;
  } else {
    while (stop < end && isDigit(*stop)) ++stop;
    const bool whole = stop > body;
    if (stop < end && *stop == '.') ++stop;
    const char* fraction = stop;
    while (stop < end && isDigit(*stop)) ++stop;
    if (!whole && stop == fraction) return nullptr;
    if (stop < end && (*stop == 'e' || *stop == 'E')) {
      const char* exponent = stop + 1;
      if (exponent < end && (*exponent == '-' || *exponent == '+')) ++exponent;
      const char* exponentEnd = exponent;
      while (exponentEnd < end && isDigit(*exponentEnd)) ++exponentEnd;
      if (exponentEnd > exponent) stop = exponentEnd;
    }
  }
  const std::string copy(at, stop);
  char* read = nullptr;
  errno = 0;
  value = std::strtod(copy.c_str(), &read);
  if (errno == ERANGE || read == copy.c_str()) return nullptr;
  return at + (read - copy.c_str());
}
#endif

}  // namespace

const char* readDecimal(const char* at, const char* end, double& value) {
  if (const char* read = readShortDecimal(at, end, value)) return read;
#if defined(__cpp_lib_to_chars)
  const auto result = std::from_chars(at, end, value);
  return result.ec == std::errc() ? result.ptr : nullptr;
#else
  return readWithStrtod(at, end, value);
#endif
}

std::optional<double> parseDecimal(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  if (readDecimal(text.data(), end, value) != end || text.empty()) return std::nullopt;
  return value;
}

std::string formatDouble(double value) {
#if defined(__cpp_lib_to_chars)
  char buffer[64];
  return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
#else
  return shortestText(value);
#endif
}

}  // namespace hostfiles::svg
