// Numbers as the files write them: the shortest text that reads back to
// the same float or double, and the checks that spare reading it back.
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

// The double nearest to a decimal that toText wrote. With at most fifteen
// digits and a power of ten up to 1e22 both are exact doubles, and one
// multiplication or division rounds as reading the text would; other texts
// are read.
double readBack(std::string_view text) {
  static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = !text.empty() && text[0] == '-';
  uint64_t digits = 0;
  int count = 0, exponent = 0;
  bool fraction = false;
  size_t at = negative ? 1 : 0;
  for (; at < text.size() && text[at] != 'e'; ++at) {
    if (text[at] == '.') {
      fraction = true;
      continue;
    }
    digits = digits * 10 + uint64_t(text[at] - '0');
    ++count;
    if (fraction) --exponent;
  }
  if (at + 1 < text.size()) {
    const bool below = text[at + 1] == '-';
    int power = 0;
    for (at += 2; at < text.size(); ++at) power = power * 10 + (text[at] - '0');
    exponent += below ? -power : power;
  }
  if (count > 15 || exponent < -22 || exponent > 22) return parseDecimal(text).value_or(std::nan(""));
  const double magnitude = exponent < 0 ? double(digits) / kPowers[-exponent] : double(digits) * kPowers[exponent];
  return negative ? -magnitude : magnitude;
}

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
