// The shortest text of a float that reads back as the same float, the
// digits nearest the float among the shortest, found in 32- and 64-bit
// integer arithmetic: a float's exact value, its neighbours' midpoints
// and the powers of five between them all fit 64-bit products, so no
// step rounds. The text is laid out as to_chars lays it out, so files
// read the same whichever standard library wrote them. Reals are written
// so that they read back as the same float through double, as readers
// read them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "hostfiles/SvgSyntax.h"

namespace hostfiles::svg {

namespace {

constexpr int kMantissaBits = 23;
constexpr int kBias = 127;
// The width of the scaled powers of five below and of their inverses.
constexpr int kPowerBits = 61;
constexpr int kInversePowerBits = 59;

// floor(2^(bitlength(5^i) + 58) / 5^i) + 1, for i = 0..30.
constexpr uint64_t kInversePowersOfFive[31] = {
    576460752303423489u, 461168601842738791u, 368934881474191033u, 295147905179352826u, 472236648286964522u,
    377789318629571618u, 302231454903657294u, 483570327845851670u, 386856262276681336u, 309485009821345069u,
    495176015714152110u, 396140812571321688u, 316912650057057351u, 507060240091291761u, 405648192073033409u,
    324518553658426727u, 519229685853482763u, 415383748682786211u, 332306998946228969u, 531691198313966350u,
    425352958651173080u, 340282366920938464u, 544451787073501542u, 435561429658801234u, 348449143727040987u,
    557518629963265579u, 446014903970612463u, 356811923176489971u, 570899077082383953u, 456719261665907162u,
    365375409332725730u,
};

// The top 61 bits of 5^i (5^i itself, shifted up, while it is shorter),
// for i = 0..46.
constexpr uint64_t kPowersOfFive[47] = {
    1152921504606846976u, 1441151880758558720u, 1801439850948198400u, 2251799813685248000u, 1407374883553280000u,
    1759218604441600000u, 2199023255552000000u, 1374389534720000000u, 1717986918400000000u, 2147483648000000000u,
    1342177280000000000u, 1677721600000000000u, 2097152000000000000u, 1310720000000000000u, 1638400000000000000u,
    2048000000000000000u, 1280000000000000000u, 1600000000000000000u, 2000000000000000000u, 1250000000000000000u,
    1562500000000000000u, 1953125000000000000u, 1220703125000000000u, 1525878906250000000u, 1907348632812500000u,
    1192092895507812500u, 1490116119384765625u, 1862645149230957031u, 1164153218269348144u, 1455191522836685180u,
    1818989403545856475u, 2273736754432320594u, 1421085471520200371u, 1776356839400250464u, 2220446049250313080u,
    1387778780781445675u, 1734723475976807094u, 2168404344971008868u, 1355252715606880542u, 1694065894508600678u,
    2117582368135750847u, 1323488980084844279u, 1654361225106055349u, 2067951531382569187u, 1292469707114105741u,
    1615587133892632177u, 2019483917365790221u,
};

// ceil(log2(5^e)) for e > 0 (1 for e = 0), floor(log10(2^e)) and
// floor(log10(5^e)), by fixed-point logarithms exact over the range used.
int powerOfFiveBits(int e) { return int((uint32_t(e) * 1217359u) >> 19) + 1; }
int log10OfPowerOfTwo(int e) { return int((uint32_t(e) * 78913u) >> 18); }
int log10OfPowerOfFive(int e) { return int((uint32_t(e) * 732923u) >> 20); }

bool isMultipleOfPowerOfFive(uint32_t value, int power) {
  int count = 0;
  for (; value % 5 == 0; value /= 5) ++count;
  return count >= power;
}

bool isMultipleOfPowerOfTwo(uint32_t value, int power) { return (value & ((1u << power) - 1)) == 0; }

// (m * factor) >> shift for shift > 32, without 128-bit arithmetic.
uint32_t multiplyShift(uint32_t m, uint64_t factor, int shift) {
  const uint64_t low = uint64_t(m) * uint32_t(factor);
  const uint64_t high = uint64_t(m) * uint32_t(factor >> 32);
  return uint32_t(((low >> 32) + high) >> (shift - 32));
}

// digits * 10^exponent
struct Decimal {
  uint32_t digits;
  int exponent;
};

// The shortest decimal inside the interval of reals that round to the
// float (its ends included when the float's mantissa is even), nearest
// the float among those, ties to an even last digit. The float is
// finite and not zero.
Decimal shortestDecimal(uint32_t mantissaField, uint32_t exponentField) {
  // The float is m2 * 2^e2 / 4: the four leaves room for the midpoints.
  const int e2 = (exponentField == 0 ? 1 : int(exponentField)) - kBias - kMantissaBits - 2;
  const uint32_t m2 = exponentField == 0 ? mantissaField : (1u << kMantissaBits) | mantissaField;
  const bool boundsIncluded = (m2 & 1) == 0;
  const uint32_t middle = 4 * m2;
  const uint32_t upper = 4 * m2 + 2;
  // Below a power of two the neighbour is half as far.
  const uint32_t lowerGap = mantissaField != 0 || exponentField <= 1 ? 1 : 0;
  const uint32_t lower = 4 * m2 - 1 - lowerGap;

  // The three scaled by 10^-e10, truncated; whether what the truncation
  // dropped was all zeros; the last digit dropped.
  uint32_t v, vUpper, vLower;
  int e10;
  bool lowerDroppedZeros = false, droppedZeros = false;
  uint32_t lastDropped = 0;
  if (e2 >= 0) {
    const int q = log10OfPowerOfTwo(e2);
    e10 = q;
    const int shift = -e2 + q + kInversePowerBits + powerOfFiveBits(q) - 1;
    v = multiplyShift(middle, kInversePowersOfFive[q], shift);
    vUpper = multiplyShift(upper, kInversePowersOfFive[q], shift);
    vLower = multiplyShift(lower, kInversePowersOfFive[q], shift);
    if (q != 0 && (vUpper - 1) / 10 <= vLower / 10) {
      // The loop below removes no digit: the digit after v's is needed
      // for rounding.
      const int before = -e2 + q - 1 + kInversePowerBits + powerOfFiveBits(q - 1) - 1;
      lastDropped = multiplyShift(middle, kInversePowersOfFive[q - 1], before) % 10;
    }
    if (q <= 9) {
      // Only one of the three can be a multiple of five.
      if (middle % 5 == 0)
        droppedZeros = isMultipleOfPowerOfFive(middle, q);
      else if (boundsIncluded)
        lowerDroppedZeros = isMultipleOfPowerOfFive(lower, q);
      else
        vUpper -= isMultipleOfPowerOfFive(upper, q);
    }
  } else {
    const int q = log10OfPowerOfFive(-e2);
    e10 = q + e2;
    const int i = -e2 - q;
    const int shift = q - (powerOfFiveBits(i) - kPowerBits);
    v = multiplyShift(middle, kPowersOfFive[i], shift);
    vUpper = multiplyShift(upper, kPowersOfFive[i], shift);
    vLower = multiplyShift(lower, kPowersOfFive[i], shift);
    if (q != 0 && (vUpper - 1) / 10 <= vLower / 10) {
      const int before = q - 1 - (powerOfFiveBits(i + 1) - kPowerBits);
      lastDropped = multiplyShift(middle, kPowersOfFive[i + 1], before) % 10;
    }
    if (q <= 1) {
      // The three are whole numbers with at least q trailing zeros.
      droppedZeros = true;
      if (boundsIncluded)
        lowerDroppedZeros = lowerGap == 1;
      else
        --vUpper;
    } else if (q < 31) {
      droppedZeros = isMultipleOfPowerOfTwo(middle, q - 1);
    }
  }

  // Drop digits while the interval still holds a shorter number.
  int removed = 0;
  uint32_t digits;
  if (lowerDroppedZeros || droppedZeros) {
    while (vUpper / 10 > vLower / 10) {
      lowerDroppedZeros &= vLower % 10 == 0;
      droppedZeros &= lastDropped == 0;
      lastDropped = v % 10;
      v /= 10;
      vUpper /= 10;
      vLower /= 10;
      ++removed;
    }
    if (lowerDroppedZeros) {
      // The lower end is itself a short decimal, and included.
      while (vLower % 10 == 0) {
        droppedZeros &= lastDropped == 0;
        lastDropped = v % 10;
        v /= 10;
        vUpper /= 10;
        vLower /= 10;
        ++removed;
      }
    }
    // Exactly half way: round to even.
    if (droppedZeros && lastDropped == 5 && v % 2 == 0) lastDropped = 4;
    digits = v + ((v == vLower && (!boundsIncluded || !lowerDroppedZeros)) || lastDropped >= 5);
  } else {
    while (vUpper / 10 > vLower / 10) {
      lastDropped = v % 10;
      v /= 10;
      vUpper /= 10;
      vLower /= 10;
      ++removed;
    }
    digits = v + (v == vLower || lastDropped >= 5);
  }
  return {digits, e10 + removed};
}

constexpr uint32_t kPowersOfTen[10] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

// The number of decimal digits of a float's shortest digits (at most nine).
// Counted without branches: the lengths of neighbouring numbers differ
// too often for a loop's exit to be foreseen.
int decimalLength(uint32_t value) {
  int length = 1;
  for (int i = 1; i < 9; ++i) length += value >= kPowersOfTen[i];
  return length;
}

// The `length` last decimal digits of `value` at `at`, two at a time; their
// end. Whole numbers of 32 bits, the usual case, divide faster.
template <typename Whole>
char* writeDigits(char* at, Whole value, int length) {
  static const char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char* end = at + length;
  char* p = end;
  for (; p - at >= 2; value /= 100) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * (value % 100), 2);
  }
  if (p > at) *at = char('0' + value % 10);
  return end;
}

// The shortest text of the float at `at`, and whether, read as a double,
// it surely rounds back to the float. With N its digits as a whole number
// and 10^q the worth of the last, a float's midpoint m = M 2^k (M odd,
// below 2^25) other than the text itself lies at least 2^k / 5^-q (q < 0,
// k < q) or 10^q (q < 0 otherwise) from it, that is 1 / (2^25 5^-q) or
// 1 / N of it, more than the half spacing 2^-53 of doubles for N < 10^9
// and q >= -11 (and a midpoint the text is rounds to the even float, the
// one it was written for). A whole number is written exactly, so it reads
// back whatever its length; scientific texts are not vouched for.
char* writeFloat(char* at, float value, bool& surelyReadsBack) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint32_t mantissaField = bits & ((1u << kMantissaBits) - 1);
  const uint32_t exponentField = (bits >> kMantissaBits) & 0xff;
  surelyReadsBack = true;
  if (bits >> 31) *at++ = '-';
  if (exponentField == 0xff) {
    std::memcpy(at, mantissaField ? "nan" : "inf", 3);
    return at + 3;
  }
  if (exponentField == 0 && mantissaField == 0) {
    *at = '0';
    return at + 1;
  }
  const Decimal decimal = shortestDecimal(mantissaField, exponentField);
  const int length = decimalLength(decimal.digits);
  const int scientificLength = length + (length > 1 ? 1 : 0) + 4;
  const int fixedLength = decimal.exponent >= 0        ? length + decimal.exponent
                          : length > -decimal.exponent ? length + 1
                                                       : 2 - decimal.exponent;
  if (fixedLength <= scientificLength) {
    if (decimal.exponent >= 0) {
      // A whole number: its exact digits, which are as many as the short
      // ones followed by zeros, and nearer. It is below 10^14, so the
      // float's exponent is at most 46 above its mantissa's.
      const uint32_t m2 = (1u << kMantissaBits) | mantissaField;
      const int shift = int(exponentField) - kBias - kMantissaBits;
      const uint64_t whole = shift >= 0 ? uint64_t(m2) << shift : uint64_t(m2 >> -shift);
      return writeDigits(at, whole, fixedLength);
    }
    surelyReadsBack = decimal.exponent >= -11;
    const int whole = length + decimal.exponent;
    if (whole > 0) {
      const uint32_t scale = kPowersOfTen[-decimal.exponent];
      at = writeDigits(at, decimal.digits / scale, whole);
      *at++ = '.';
      return writeDigits(at, decimal.digits % scale, -decimal.exponent);
    }
    *at++ = '0';
    *at++ = '.';
    std::memset(at, '0', size_t(-whole));
    return writeDigits(at - whole, decimal.digits, length);
  }
  surelyReadsBack = false;
  // d[.ddd]e±XX
  const uint32_t scale = kPowersOfTen[length - 1];
  *at++ = char('0' + decimal.digits / scale);
  if (length > 1) {
    *at++ = '.';
    at = writeDigits(at, decimal.digits % scale, length - 1);
  }
  int exponent = decimal.exponent + length - 1;
  *at++ = 'e';
  *at++ = exponent < 0 ? '-' : '+';
  if (exponent < 0) exponent = -exponent;
  return writeDigits(at, uint32_t(exponent), exponent >= 100 ? 3 : 2);
}

}  // namespace

char* writeShortest(char* at, float value) {
  bool surelyReadsBack;
  return writeFloat(at, value, surelyReadsBack);
}

char* writeReal(char* at, float value) {
  bool surelyReadsBack;
  char* end = writeFloat(at, value, surelyReadsBack);
  if (surelyReadsBack) return end;
  // Readers go through double; the rare text that then rounds to a
  // neighbouring float is replaced by the exact double's text.
  const std::optional<double> read = parseDecimal(std::string_view(at, size_t(end - at)));
  if (read && float(*read) == value) return end;
  const std::string wide = formatDouble(double(value));
  return std::copy(wide.begin(), wide.end(), at);
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

}  // namespace hostfiles::svg
