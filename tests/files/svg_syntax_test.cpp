#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string_view>
#include <vector>

#include "hostfiles/SvgSyntax.h"

using namespace hostfiles::svg;

namespace {

void expectPoint(Point p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

std::vector<Subpath> pathsOf(std::string_view text, bool* error = nullptr) {
  std::vector<Subpath> paths;
  parsePathData(text, paths, error);
  return paths;
}

TEST(PathData, LinesCurvesAndRelativeCommandsMakeCubicAnchors) {
  const auto paths = pathsOf("M10 20 l5,0 h5 v10 C 30 30 40 40 50 50 s 10 10 20 0");
  ASSERT_EQ(paths.size(), 1u);
  const auto& a = paths[0].anchors;
  ASSERT_EQ(a.size(), 6u);
  expectPoint(a[1].p, 15, 20);
  expectPoint(a[2].p, 20, 20);
  expectPoint(a[3].p, 20, 30);
  expectPoint(a[3].out, 30, 30);
  expectPoint(a[4].in, 40, 40);
  // The smooth curve reflects the last control point about the anchor.
  expectPoint(a[4].out, 60, 60);
  expectPoint(a[5].in, 60, 60);
  expectPoint(a[5].p, 70, 50);
  EXPECT_FALSE(paths[0].closed);
}

TEST(PathData, QuadraticBecomesTheEquivalentCubic) {
  const auto paths = pathsOf("M0 0 Q 30 30 60 0");
  const auto& a = paths.at(0).anchors;
  expectPoint(a[0].out, 20, 20);
  expectPoint(a[1].in, 40, 20);
}

TEST(PathData, ClosingBackAtTheStartMergesIntoTheFirstAnchor) {
  const auto paths = pathsOf("M0 0 L10 0 C 10 5 5 10 0 0 Z m 5 5 l 1 0 z");
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_TRUE(paths[0].closed);
  ASSERT_EQ(paths[0].anchors.size(), 2u);
  expectPoint(paths[0].anchors[0].in, 5, 10);
  // A relative move after a close counts from the closed subpath's start.
  expectPoint(paths[1].anchors[0].p, 5, 5);
  EXPECT_EQ(paths[1].anchors.size(), 2u);
}

TEST(PathData, ArcsFollowTheEllipseThroughQuarterPieces) {
  // Half of the circle of radius 10 about (10, 0), sweeping through y = -10... or +10.
  const auto sweepOn = pathsOf("M0 0 A10 10 0 0 1 20 0");
  const auto sweepOff = pathsOf("M0 0 A10 10 0 0 0 20 0");
  ASSERT_EQ(sweepOn.at(0).anchors.size(), 3u);
  expectPoint(sweepOn[0].anchors[1].p, 10, -10);
  expectPoint(sweepOff.at(0).anchors[1].p, 10, 10);
  expectPoint(sweepOn[0].anchors[2].p, 20, 0);
  // The large arc of a small circle goes the long way round: three quarters.
  const auto large = pathsOf("M10 0 a10 10 0 1 1 -10 10");
  EXPECT_EQ(large.at(0).anchors.size(), 4u);
  expectPoint(large[0].anchors.back().p, 0, 10);
  // Radii too small for the chord are scaled up to just reach it.
  const auto scaled = pathsOf("M0 0 A1 1 0 0 1 20 0");
  expectPoint(scaled.at(0).anchors[1].p, 10, -10);
  // Flags may run into the next number.
  const auto packed = pathsOf("M0 0a10 10 0 0120 0");
  expectPoint(packed.at(0).anchors.back().p, 20, 0);
  // A radius or angle that is not a number draws the straight line, as radius 0 does.
  for (const char* data : {"M0 0 A nan 10 0 0 1 20 0", "M0 0 A10 10 inf 0 1 20 0"}) {
    const auto line = pathsOf(data);
    ASSERT_EQ(line.at(0).anchors.size(), 2u) << data;
    expectPoint(line[0].anchors[0].out, 0, 0);
    expectPoint(line[0].anchors[1].in, 20, 0);
    expectPoint(line[0].anchors[1].p, 20, 0);
  }
}

TEST(PathData, AnErrorKeepsWhatCameBefore) {
  bool error = false;
  const auto paths = pathsOf("M0 0 L10 10 L x", &error);
  EXPECT_TRUE(error);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].anchors.size(), 2u);
}

TEST(PathData, StorageReusedHoldsOnlyTheNewPath) {
  std::vector<Subpath> paths;
  parsePathData("M0 0 L1 0 L1 1 L0 1 Z M5 5 L6 5 Z M9 9 L9 8", paths);
  ASSERT_EQ(paths.size(), 3u);
  parsePathData("M2 3 L4 5", paths);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_FALSE(paths[0].closed);
  ASSERT_EQ(paths[0].anchors.size(), 2u);
  expectPoint(paths[0].anchors[0].p, 2, 3);
  expectPoint(paths[0].anchors[1].p, 4, 5);
  parsePathData("", paths);
  EXPECT_TRUE(paths.empty());
}

TEST(Transforms, ListsComposeLeftToRight) {
  const auto m = parseTransform("translate(10,20) scale(2) rotate(90)");
  ASSERT_TRUE(m);
  expectPoint(m->apply({1, 0}), 10, 22);
  const auto about = parseTransform("rotate(180 5 5)");
  expectPoint(about->apply({0, 0}), 10, 10);
  const auto skew = parseTransform("skewX(45)");
  expectPoint(skew->apply({0, 10}), 10, 10);
  const auto matrix = parseTransform("matrix(1 0 0 -1 3 4)");
  expectPoint(matrix->apply({1, 1}), 4, 3);
  EXPECT_FALSE(parseTransform("spin(3)"));
  EXPECT_FALSE(parseTransform("scale(1,2,3)"));
}

TEST(Colors, HexFunctionalAndNamedForms) {
  EXPECT_DOUBLE_EQ(parseColor("#ff8000")->g, 128 / 255.0);
  EXPECT_DOUBLE_EQ(parseColor("#f80")->g, 136 / 255.0);
  EXPECT_DOUBLE_EQ(parseColor("rgb(0, 51, 255)")->g, 0.2);
  EXPECT_DOUBLE_EQ(parseColor("rgb(100%,50%,0%)")->g, 0.5);
  EXPECT_DOUBLE_EQ(parseColor("Red")->r, 1.0);
  EXPECT_FALSE(parseColor("#12345"));
  EXPECT_FALSE(parseColor("url(#g)"));
}

TEST(Styles, DeclarationsAndReferences) {
  const auto d = parseStyleDeclarations("fill:red; Stroke-Width : 2 ;;display:none");
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[1].first, "stroke-width");
  EXPECT_EQ(d[1].second, "2");
  EXPECT_EQ(urlReference(" url( '#grad1' ) "), "grad1");
  EXPECT_EQ(urlReference("url(other.svg#x)"), "");
}

TEST(Lengths, UnitsConvertToUserUnits) {
  EXPECT_DOUBLE_EQ(*parseLength("72pt"), 96);
  EXPECT_DOUBLE_EQ(*parseLength("1in"), 96);
  EXPECT_DOUBLE_EQ(*parseLength(" 12 "), 12);
  EXPECT_FALSE(parseLength("3 furlongs"));
}

TEST(RealText, EveryFloatReadsBackThroughDoubleExactly) {
  std::mt19937 random(7);
  for (int i = 0; i < 200000; ++i) {
    uint32_t bits = random();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = formatReal(value);
    const float back = float(std::strtod(text.c_str(), nullptr));
    ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
    // The float's own shortest text wherever it reads back, else the double's.
    char buffer[64];
    const std::string single(buffer, std::to_chars(buffer, buffer + 64, value).ptr);
    const std::string wide(buffer, std::to_chars(buffer, buffer + 64, double(value)).ptr);
    ASSERT_EQ(text, float(std::strtod(single.c_str(), nullptr)) == value ? single : wide);
  }
  EXPECT_EQ(formatReal(0.1f), "0.1");
  EXPECT_EQ(formatReal(-250.5f), "-250.5");
}

// Saved files must read the same whichever standard library wrote them:
// the float writer's texts are to_chars's byte for byte, over random bit
// patterns and the floats where length, layout and rounding turn (around
// powers of two and ten, subnormals, the largest, nan and inf).
TEST(RealText, FloatTextsAreToCharsTexts) {
  const auto expectSame = [](uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    char ours[64], theirs[64];
    const std::string_view written(ours, size_t(writeShortest(ours, value) - ours));
    ASSERT_LE(written.size(), 16u);
    ASSERT_EQ(written, std::string_view(theirs, size_t(std::to_chars(theirs, theirs + 64, value).ptr - theirs)))
        << std::hex << bits;
  };
  std::mt19937 random(11);
  for (int i = 0; i < 300000; ++i) expectSame(random());
  std::vector<float> turns = {1.0f, 8388608.0f, 16777216.0f, 3.4028235e38f, 1.1754944e-38f, 1.4e-45f};
  for (float power = 1e-38f; power < 1e38f; power *= 10) turns.push_back(power);
  for (const float turn : turns) {
    uint32_t bits;
    std::memcpy(&bits, &turn, sizeof bits);
    for (uint32_t near = bits - 40; near != bits + 40; ++near) {
      expectSame(near);
      expectSame(near | 0x80000000u);
    }
  }
  for (const uint32_t special : {0x0u, 0x80000000u, 0x7f800000u, 0xff800000u, 0x7fc00000u, 0xffc00000u})
    expectSame(special);
}

// The browser build writes doubles through printf; its texts must be the
// native build's byte for byte, or saved files would differ.
TEST(RealText, ThePrintfFormOfDoublesIsToChars) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 100000; ++i) {
    const uint64_t bits = random();
    double wide;
    std::memcpy(&wide, &bits, sizeof wide);
    char buffer[64];
    if (std::isfinite(wide)) {
      ASSERT_EQ(shortestText(wide), std::string(buffer, std::to_chars(buffer, buffer + 64, wide).ptr));
    }
  }
  for (const double value : {0.0, -0.0, 1.0, 100.0, 1e7, 1e22, 1e23, 1.5e-7, 123456.7, 0.001, -250.5, 3e38}) {
    char buffer[64];
    EXPECT_EQ(shortestText(value), std::string(buffer, std::to_chars(buffer, buffer + 64, value).ptr));
  }
}

TEST(RealText, DecimalsAreWholeTextsInRange) {
  EXPECT_EQ(parseDecimal("12.5"), 12.5);
  EXPECT_EQ(parseDecimal("-1e3"), -1000.0);
  EXPECT_EQ(parseDecimal(".5"), 0.5);
  for (const char* bad : {"", "+1", " 1", "1 ", "0x10", "1e999", "1.5px"}) {
    EXPECT_FALSE(parseDecimal(bad).has_value()) << bad;
  }
}

// Decimals of every shape a file may hold, read as from_chars reads
// them: the same double to the bit, and the same end.
TEST(RealText, DecimalsReadAsFromCharsReadsThem) {
  std::vector<std::string> texts = {"0",
                                    "-0",
                                    "0.",
                                    ".5",
                                    "-.5",
                                    "1e",
                                    "1e+",
                                    "1e-3x",
                                    "1E5",
                                    "1em",
                                    ".",
                                    "-",
                                    "e5",
                                    "00012.500",
                                    "1e22",
                                    "1e23",
                                    "1e-22",
                                    "1e-23",
                                    "123456789012345",
                                    "1234567890123456",
                                    "9007199254740993",
                                    "0.000000000000000000000000001",
                                    "123456789012345e-22",
                                    "4.9e-324",
                                    "1e-400",
                                    "1e400",
                                    "nan",
                                    "-inf",
                                    "12.5.5",
                                    "3.4028235e38"};
  std::mt19937_64 random(11);
  const auto digits = [&](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += char('0' + random() % 10);
    return text;
  };
  for (int i = 0; i < 200000; ++i) {
    std::string text = random() % 4 == 0 ? "-" : "";
    text += digits(int(random() % 12));
    if (random() % 3 != 0) text += "." + digits(int(random() % 12));
    if (random() % 3 == 0) text += (random() % 2 ? "e" : "e-") + std::to_string(random() % 40);
    texts.push_back(text);
  }
  // Alone, and as path data holds them: with more text after them, which
  // the reader may take in whole words.
  for (const std::string& number : texts) {
    for (const char* after : {"", " L 12.5,-3 40 0.25 Z", ".7e+2 1", "E-5 6 7 8 9 10 11 12"}) {
      const std::string text = number + after;
      const char* end = text.data() + text.size();
      double expected = 0, read = 0;
      const auto reference = std::from_chars(text.data(), end, expected);
      const char* at = readDecimal(text.data(), end, read);
      if (reference.ec != std::errc()) {
        EXPECT_EQ(at, nullptr) << text;
        continue;
      }
      ASSERT_EQ(at, reference.ptr) << text;
      if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(read)) << text;
      } else {
        ASSERT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text << ": " << read << " against " << expected;
      }
    }
  }
}

}  // namespace

TEST(Styles, SheetsKeepTheRulesOfSimpleSelectors) {
  const std::vector<StyleRule> rules = parseStyleSheet(
      "/* a { b } */ .a, rect#b.c { fill: red !important; stroke: blue }\n"
      "g > rect { fill: green } @media print { rect { fill: black } } * { opacity: .5 } text:hover { x: 1 }");
  ASSERT_EQ(rules.size(), 3u);
  EXPECT_EQ(rules[0].classes, std::vector<std::string>{"a"});
  EXPECT_EQ(rules[1].type, "rect");
  EXPECT_EQ(rules[1].id, "b");
  EXPECT_EQ(rules[1].declarations[0], (std::pair<std::string, std::string>{"fill", "red"}));
  EXPECT_TRUE(rules[2].type.empty());
  EXPECT_GT(rules[1].specificity(), rules[0].specificity());
  EXPECT_GT(rules[0].specificity(), rules[2].specificity());

  EXPECT_TRUE(rules[0].matches("circle", " x  a ", ""));
  EXPECT_FALSE(rules[0].matches("circle", "ab", ""));
  EXPECT_TRUE(rules[1].matches("rect", "c", "b"));
  EXPECT_FALSE(rules[1].matches("circle", "c", "b"));
  EXPECT_FALSE(rules[1].matches("rect", "", "b"));
  EXPECT_TRUE(rules[2].matches("path", "", ""));
}
