// The picture of a saved object: its hexagon, seen on the pixels, is its
// own mirror image across each of its three mirror lines, turned or not.
// "Sweep" mirrors across the line from the centre to cnj and the lines a
// sixth and a third of a turn from it; "InPlace", whose hexagon lies about
// cnj, across the triangle's sides through cnj and the line between them.
#include <array>
#include <cmath>

#include "Picture.h"
#include "ProgramFixture.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kCentre = 100;
// Pixels further in than this from the hexagon's centre lie well inside it
// (its inner radius is 60, as the drags below make it), and so do their
// neighbours' mirror images.
constexpr double kInside = 54;
// Anti-aliased edges of shapes and cells may differ this much per channel.
constexpr int kChannelTolerance = 48;

// White under everything, so each cell is painted all over, and shapes
// that no mirror line maps onto themselves: in the Sweep wedge from
// (100, 100) to (170, 100), and in the InPlace triangle about (60, 100)
// with its corner at (100, 100).
constexpr const char* kAsymmetricSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"200\" viewBox=\"0 0 200 200\">\n"
    "  <g id=\"art\">\n"
    "    <rect id=\"paper\" x=\"0\" y=\"0\" width=\"200\" height=\"200\" fill=\"#ffffff\"/>\n"
    "    <circle id=\"disc\" cx=\"135\" cy=\"82\" r=\"14\" fill=\"#ff0000\"/>\n"
    "    <rect id=\"bar\" x=\"112\" y=\"60\" width=\"40\" height=\"6\" fill=\"#0000ff\"/>\n"
    "    <path id=\"wedge\" d=\"M 110 95 L 160 70 L 150 92 Z\" fill=\"#00a000\"/>\n"
    "    <circle id=\"dot\" cx=\"64\" cy=\"92\" r=\"9\" fill=\"#ff0000\"/>\n"
    "    <rect id=\"stick\" x=\"48\" y=\"104\" width=\"22\" height=\"5\" fill=\"#0000ff\"/>\n"
    "    <path id=\"flag\" d=\"M 48 96 L 56 99 L 52 88 Z\" fill=\"#00a000\"/>\n"
    "  </g>\n"
    "</svg>\n";

bool Alike(const std::array<int, 3>& a, const std::array<int, 3>& b) {
  for (int i = 0; i < 3; ++i) {
    if (std::abs(a[i] - b[i]) > kChannelTolerance) return false;
  }
  return true;
}

// The share of pixels well inside the hexagon whose mirror image across
// the line through its centre at `angle` has another colour.
double Asymmetry(const Picture& picture, double angle) {
  const double c = std::cos(2 * angle);
  const double s = std::sin(2 * angle);
  int compared = 0;
  int differing = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const double dx = x + 0.5 - kCentre;
      const double dy = y + 0.5 - kCentre;
      if (std::hypot(dx, dy) > kInside) continue;
      const int mx = static_cast<int>(std::floor(kCentre + c * dx + s * dy));
      const int my = static_cast<int>(std::floor(kCentre + s * dx - c * dy));
      // The mirror point falls between pixels: any of its neighbours will do.
      bool matched = false;
      for (int ny = my - 1; ny <= my + 1; ++ny) {
        for (int nx = mx - 1; nx <= mx + 1; ++nx) matched = matched || Alike(picture.at(x, y), picture.at(nx, ny));
      }
      compared += 1;
      if (!matched) differing += 1;
    }
  }
  return compared ? static_cast<double>(differing) / compared : 1;
}

int RedPixels(const Picture& picture) {
  int red = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const std::array<int, 3> p = picture.at(x, y);
      if (p[0] > 200 && p[1] < 60 && p[2] < 60 && std::hypot(x + 0.5 - kCentre, y + 0.5 - kCentre) < kInside) {
        red += 1;
      }
    }
  }
  return red;
}

// The drag that makes an object whose hexagon lies about (100, 100) with
// an inner radius of 60.
struct Hexagon {
  std::string type;  // the preference "Type"
  std::string press;
  std::string release;
  double firstLine;  // the direction of one mirror line
};
const Hexagon kSweep{"1", "100,100", "170,100", 0};
const Hexagon kInPlace{"0", "60,100", "100,100", kPi / 6};

class SymmetryTest : public ProgramTest {
 protected:
  // The object, turned by the drag given, rendered.
  Picture render(const Hexagon& hexagon, const std::vector<std::string>& turn) {
    write("in.svg", kAsymmetricSvg);
    std::vector<std::string> words = {"make",    "in.svg",          "made.svg", "--press", hexagon.press,
                                      "--release", hexagon.release, "--type",   hexagon.type,
                                      "--png",   "made.png"};
    words.insert(words.end(), turn.begin(), turn.end());
    const ProgramRun made = run(words);
    EXPECT_EQ(made.status, 0) << made.err;
    return Picture(path("made.png"));
  }

  void expectMirrorSymmetric(const Picture& picture, const Hexagon& hexagon) {
    ASSERT_TRUE(picture.ok());
    ASSERT_EQ(picture.width(), 200);
    ASSERT_EQ(picture.height(), 200);
    // Six copies of a disc: plenty of red, so symmetry is not that of
    // an empty picture.
    EXPECT_GT(RedPixels(picture), 6 * 100);
    for (const double line : {0.0, kPi / 3, 2 * kPi / 3}) {
      EXPECT_LT(Asymmetry(picture, hexagon.firstLine + line), 0.03)
          << "mirror line at " << (hexagon.firstLine + line) * 180 / kPi << " degrees";
    }
    // A line that is no mirror line shows the test can tell.
    EXPECT_GT(Asymmetry(picture, hexagon.firstLine + kPi / 6 - 0.2), 0.2);
  }
};

TEST_F(SymmetryTest, AFreshSweepHexagonIsItsOwnMirrorImageAcrossItsThreeLines) {
  expectMirrorSymmetric(render(kSweep, {}), kSweep);
}

TEST_F(SymmetryTest, ATurnedSweepHexagonKeepsItsMirrorLines) {
  expectMirrorSymmetric(render(kSweep, {"--turn", "170,100,160,70"}), kSweep);
}

TEST_F(SymmetryTest, AFreshInPlaceHexagonIsItsOwnMirrorImageAcrossItsThreeLines) {
  expectMirrorSymmetric(render(kInPlace, {}), kInPlace);
}

TEST_F(SymmetryTest, ATurnedInPlaceHexagonKeepsItsMirrorLines) {
  expectMirrorSymmetric(render(kInPlace, {"--turn", "60,100,50,90"}), kInPlace);
}

}  // namespace
