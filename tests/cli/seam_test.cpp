// Pictures of mirror-tile objects have no seams along their mirror lines:
// a uniform source stays uniform inside the hexagon, and a checkerboard
// shows every square where the mirror images put it, in the program's PNG
// and in the seam-free SVG drawn by librsvg.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>

#include "Picture.h"
#include "ProgramFixture.h"
#include "hostfiles/NativeFiles.h"

namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTurn = 0.7;
constexpr std::array<int, 3> kRed = {0xd6, 0x28, 0x28};
constexpr std::array<int, 3> kBlue = {0x1d, 0x35, 0x57};
// Per channel, out of 255.
constexpr int kTolerance = 2;
// Squares of the checkerboard; no edge runs through the centre (100, 100).
constexpr double kSquare = 18;
// Pixels this close to an edge of the source, where it is seen, are
// blends: anti-aliasing, and the cells' overlap, which shows a hairline of
// the source mirrored across the line.
constexpr double kNearSourceEdge = 2.5;

struct Vec {
  double x, y;
};
Vec Minus(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
double Cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
// Turned by `angle` about `about` in the file's coordinates (y downward).
Vec Turned(Vec p, Vec about, double angle) {
  const Vec d = Minus(p, about);
  return {about.x + d.x * std::cos(angle) - d.y * std::sin(angle),
          about.y + d.x * std::sin(angle) + d.y * std::cos(angle)};
}
Vec Mirrored(Vec p, Vec a, Vec b) {
  const Vec d = Minus(b, a), v = Minus(p, a);
  const double t = (v.x * d.x + v.y * d.y) / (d.x * d.x + d.y * d.y);
  return {2 * (a.x + t * d.x) - p.x, 2 * (a.y + t * d.y) - p.y};
}

// What a mirror-tile object pressed at (100, 100) should show, worked out
// from the cell, the six mirror images and the object's turn.
class Kaleidoscope {
 public:
  // Type 1 released at (170, 100), type 0 at (100, 140); `angle` as stored.
  Kaleidoscope(int type, double angle) : type_(type), angle_(angle) {
    const Vec centre{100, 100};
    if (type == 1) {
      // The wedge from the centre, turned back to where it was made.
      apex_ = centre;
      cell_ = {centre, {170, 100}, Turned({170, 100}, centre, -kPi / 3)};
    } else {
      // The triangle about the centre with a corner at the release point.
      apex_ = {100, 140};
      cell_ = {Turned(apex_, centre, 2 * kPi / 3), apex_, Turned(apex_, centre, -2 * kPi / 3)};
    }
    const Vec corner = type == 1 ? cell_[1] : cell_[2];
    for (int k = 0; k < 6; ++k) corners_[k] = Turned(corner, apex_, k * kPi / 3);
  }

  // The source point seen at `p`, if `p` lies in the hexagon.
  std::optional<Vec> sourceOf(Vec p) const {
    const Vec mirrorEnd = type_ == 1 ? cell_[1] : cell_[2];
    for (int mirrored = 0; mirrored < 2; ++mirrored) {
      for (int k = 0; k < 3; ++k) {
        Vec q = Turned(p, apex_, k * 2 * kPi / 3);
        if (mirrored) q = Mirrored(q, apex_, mirrorEnd);
        if (!inCell(q)) continue;
        // Sweep shows the art turned back by the angle, InPlace turns the art.
        return Turned(q, {100, 100}, type_ == 1 ? -angle_ : angle_);
      }
    }
    return std::nullopt;
  }

  // How far inside the hexagon the pixel's square lies, at its nearest.
  double depth(int x, int y) const {
    double nearest = 1e9;
    for (int k = 0; k < 6; ++k) {
      const Vec a = corners_[k], b = corners_[(k + 1) % 6];
      const Vec edge = Minus(b, a);
      const double length = std::hypot(edge.x, edge.y);
      const double reach = (std::abs(edge.x) + std::abs(edge.y)) / length / 2;
      const double inward = Cross(edge, Minus(apex_, a)) > 0 ? 1 : -1;
      nearest = std::min(nearest, inward * Cross(edge, Minus({x + 0.5, y + 0.5}, a)) / length - reach);
    }
    return nearest;
  }

  // Distance of the pixel's centre from the nearest mirror line.
  double fromMirrorLine(int x, int y) const {
    double nearest = 1e9;
    for (int k = 0; k < 3; ++k) {
      const Vec direction = Minus(corners_[k], apex_);
      nearest = std::min(nearest, std::abs(Cross(direction, Minus({x + 0.5, y + 0.5}, apex_))) /
                                      std::hypot(direction.x, direction.y));
    }
    return nearest;
  }

 private:
  bool inCell(Vec p) const {
    for (int i = 0; i < 3; ++i) {
      const double side = Cross(Minus(cell_[(i + 1) % 3], cell_[i]), Minus(p, cell_[i]));
      const double orientation = Cross(Minus(cell_[1], cell_[0]), Minus(cell_[2], cell_[0]));
      if (side * orientation < -1e-9) return false;
    }
    return true;
  }

  int type_;
  double angle_;
  Vec apex_{};
  std::array<Vec, 3> cell_{};
  std::array<Vec, 6> corners_{};
};

std::array<int, 3> Checker(Vec p) {
  const long column = std::lround(std::floor(p.x / kSquare)), row = std::lround(std::floor(p.y / kSquare));
  return (column + row) % 2 == 0 ? kBlue : kRed;
}

double FromCheckerEdge(Vec p) {
  const auto from = [](double v) { return std::abs(v - kSquare * std::round(v / kSquare)); };
  return std::min(from(p.x), from(p.y));
}

int Difference(const std::array<int, 3>& a, const std::array<int, 3>& b) {
  return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

struct Case {
  int type;
  bool turned;
};

std::string Name(const ::testing::TestParamInfo<Case>& info) {
  return std::string(info.param.type == 1 ? "Sweep" : "InPlace") + (info.param.turned ? "Turned" : "Straight");
}

class SeamTest : public ProgramTest, public ::testing::WithParamInterface<Case> {
 protected:
  // Draws `source` (script lines), makes the object over it, turns it by
  // kTurn if the case says so, and paints the art under the hexagon white:
  // wherever cells leave a gap, white shows. Writes made.png and
  // made-export.svg; answers the object's stored angle.
  double make(const std::string& source) {
    std::string text = "rect 0 0 200 200 fill=none id=frame\n" + source;
    if (GetParam().type == 1) {
      text += "prefs type=1\ndrag 100 100 170 100\n";
    } else {
      text += "prefs type=0\ndrag 100 100 100 140\n";
    }
    if (GetParam().turned) {
      // A drag about the hexagon's centre turns it by the angle swept.
      const double y = GetParam().type == 1 ? 100 : 140;
      char turn[80];
      std::snprintf(turn, sizeof turn, "drag 170 %g %.4f %.4f\n", y, 100 + 70 * std::cos(kTurn),
                    y - 70 * std::sin(kTurn));
      text += "select @last\n" + std::string(turn) + "select none\n";
    }
    text += "paint paper fill=#ffffff\npaint art fill=#ffffff\n";
    text += "png made.png\nexport-seam-free made-export.svg\ndump made.json\n";
    const ProgramRun ran = script(text);
    EXPECT_EQ(ran.status, 0) << ran.err;
    const double angle = entry(mirrortiles(json("made.json")).at(0), "Mir-Angle").at(0);
    EXPECT_NEAR(std::remainder(angle - (GetParam().turned ? kTurn : 0), 2 * kPi), 0, 1e-3);
    return angle;
  }

  // The exported copy drawn by librsvg at one pixel per point.
  Picture exportDrawn() {
    hostfiles::RsvgRenderer renderer;
    std::string png, error;
    EXPECT_TRUE(renderer.renderPng(read("made-export.svg"), 1, &png, &error)) << error;
    write("made-export.png", png);
    return Picture(path("made-export.png"));
  }

  // Pixels a pixel or more inside the hexagon that differ from what the
  // source shows there; pixels near the source's own edges are not judged.
  // `onMirrorLines` counts the pixels judged within a pixel of a line.
  static int wrongPixels(const Picture& picture, const Kaleidoscope& expected,
                         const std::function<std::optional<std::array<int, 3>>(Vec)>& colourAt, int* onMirrorLines) {
    EXPECT_TRUE(picture.ok());
    int wrong = 0;
    *onMirrorLines = 0;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (expected.depth(x, y) < 1) continue;
        const std::optional<Vec> source = expected.sourceOf({x + 0.5, y + 0.5});
        if (!source) continue;
        const std::optional<std::array<int, 3>> colour = colourAt(*source);
        if (!colour) continue;
        if (expected.fromMirrorLine(x, y) < 1) *onMirrorLines += 1;
        if (Difference(picture.at(x, y), *colour) > kTolerance) {
          wrong += 1;
          ADD_FAILURE() << "pixel (" << x << ", " << y << ")" << (wrong > 5 ? "; and more" : "");
          if (wrong > 5) return wrong;
        }
      }
    }
    return wrong;
  }
};

TEST_P(SeamTest, AUniformSourceStaysUniformAcrossTheMirrorLines) {
  // A white paper under the red within the cells as well: shapes of one
  // cell that lie on each other must not show at its edges either.
  const double angle = make("rect 0 0 200 200 fill=#ffffff id=paper\nrect 10 10 180 180 fill=#d62828 id=art\n");
  const Kaleidoscope expected(GetParam().type, angle);
  const auto red = [](Vec) -> std::optional<std::array<int, 3>> { return kRed; };
  int onMirrorLines = 0;
  EXPECT_EQ(wrongPixels(Picture(path("made.png")), expected, red, &onMirrorLines), 0) << "in the PNG";
  EXPECT_GT(onMirrorLines, 300);
  EXPECT_EQ(wrongPixels(exportDrawn(), expected, red, &onMirrorLines), 0) << "in the exported SVG";
}

TEST_P(SeamTest, ACheckerboardKeepsItsEdgesWhereTheMirrorLinesCrossThem) {
  std::string board = "rect 0 0 216 216 fill=#1d3557 id=paper\n";
  for (int row = 0; row < 12; ++row) {
    for (int column = 0; column < 12; ++column) {
      if ((row + column) % 2 == 0) continue;
      board += "rect " + std::to_string(column * kSquare) + " " + std::to_string(row * kSquare) + " " +
               std::to_string(kSquare) + " " + std::to_string(kSquare) + " fill=#d62828\n";
    }
  }
  // The painted art must have the id the script paints.
  const double angle = make(board + "rect 300 300 1 1 id=art\n");
  const Kaleidoscope expected(GetParam().type, angle);
  const auto checker = [](Vec source) -> std::optional<std::array<int, 3>> {
    if (FromCheckerEdge(source) < kNearSourceEdge) return std::nullopt;
    return Checker(source);
  };
  int onMirrorLines = 0;
  EXPECT_EQ(wrongPixels(Picture(path("made.png")), expected, checker, &onMirrorLines), 0) << "in the PNG";
  EXPECT_GT(onMirrorLines, 150);
  EXPECT_EQ(wrongPixels(exportDrawn(), expected, checker, &onMirrorLines), 0) << "in the exported SVG";
}

INSTANTIATE_TEST_SUITE_P(BothTypesStraightAndTurned, SeamTest,
                         ::testing::Values(Case{1, false}, Case{1, true}, Case{0, false}, Case{0, true}), Name);

}  // namespace
