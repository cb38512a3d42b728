// Numbers as the files hold them: decimals read the quick way where that
// is exact, and the shortest text that reads back to the same float or
// double, with the checks that spare reading it back.
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hostfiles/SvgSyntax.h"

namespace hostfiles::svg {

namespace {

// The shortest scientific digits that read back as the value: printf
// rounds correctly, so the first precision that reads back is the
// shortest, and its digits the nearest of that length; every longer
// precision reads back too, so the first is found by halving.
template <typename Real>
std::string shortest(Real value, int maxDigits, Real (*read)(const char*, char**)) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  char buffer[64];
  const auto readsBack = [&](int digits) {
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, double(value));
    return read(buffer, nullptr) == value;
  };
  int low = 1;
  int high = maxDigits;
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
      std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(double(value)));
      fixed = buffer;
    } else
      fixed = digitsOnly.substr(0, size_t(exponent + 1)) + "." + digitsOnly.substr(size_t(exponent + 1));
  } else {
    fixed = "0." + std::string(size_t(-exponent - 1), '0') + digitsOnly;
  }
  return (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

// The shortest text of the value into `buffer`; its length.
template <typename Real>
size_t toText(char (&buffer)[64], Real value) {
#if defined(__cpp_lib_to_chars)
  return size_t(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
#else
  const std::string text = shortestText(value);
  text.copy(buffer, sizeof buffer);
  return text.size();
#endif
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads the digits at `p` into `value`; the end of them.
const char* readDigits(const char* p, const char* end, uint64_t& value) {
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

namespace {

// The double nearest to a decimal that toText wrote.
double readBack(std::string_view text) { return parseDecimal(text).value_or(std::nan("")); }

}  // namespace

std::string shortestText(float value) { return shortest<float>(value, 9, std::strtof); }
std::string shortestText(double value) { return shortest<double>(value, 17, std::strtod); }

// Whether a float's shortest text, read as a double, surely rounds back
// to the float. With N its digits as a whole number and 10^q the worth of
// the last, a float's midpoint m = M 2^k (M odd, below 2^25) other than the
// text itself lies at least 2^k / 5^-q (q < 0, k < q) or 10^q (q < 0
// otherwise) from it, that is 1 / (2^25 5^-q) or 1 / N of it, more than
// the half spacing 2^-53 of doubles for N < 10^9 and q >= -11 (and a
// midpoint the text is rounds to the even float, the one it was written
// for). Texts in fixed notation of at most nine digits and eleven
// decimals are such; others are read back.
bool surelyReadsBack(std::string_view text) {
  if (text.size() >= 4 && text[text.size() - 4] == 'e') return false;
  const size_t point = text.find('.');
  const size_t digits = text.size() - (text[0] == '-' ? 1 : 0) - (point == std::string_view::npos ? 0 : 1);
  const size_t decimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
  return digits <= 9 && decimals <= 11;
}

char* writeReal(char* at, float value) {
  char buffer[64];
  size_t length = toText(buffer, value);
  // Readers go through double; the rare text that then rounds to a
  // neighbouring float is replaced by the exact double's text.
  const std::string_view text(buffer, length);
  if (std::isfinite(value) && !surelyReadsBack(text) && float(readBack(text)) != value)
    length = toText(buffer, double(value));
  return std::copy(buffer, buffer + length, at);
}

void appendReal(std::string& out, float value) {
  char buffer[kRealTextRoom];
  out.append(buffer, writeReal(buffer, value));
}

std::string formatReal(float value) {
  std::string text;
  appendReal(text, value);
  return text;
}

std::string formatDouble(double value) {
  char buffer[64];
  return std::string(buffer, toText(buffer, value));
}

}  // namespace hostfiles::svg
