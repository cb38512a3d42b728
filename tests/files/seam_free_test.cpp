// The seam-free copy: mirror-tile cells widened across the edges they
// share and nowhere else, plug-in objects written as their result alone,
// and the document itself left as it was.
#include <cmath>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "FilesFixture.h"

namespace {

// A plug-in object whose result, like a mirror-tile result, is a group of
// a clipping group and a group of clipping groups, with the clip paths
// given (`clipA`, `clipB`, ...), each cell filled red.
std::string objectWithCells(const std::vector<std::string>& clipPaths) {
  std::string cells[2];
  for (size_t i = 0; i < clipPaths.size(); ++i) {
    const std::string name(1, char('A' + i));
    cells[i == 0 ? 0 : 1] += "<g id=\"cell" + name + "\" clip-path=\"url(#" + name + ")\"><clipPath id=\"" + name +
                             "\"><path id=\"clip" + name + "\" d=\"" + clipPaths[i] +
                             "\"/></clipPath><rect width=\"100\" height=\"100\" fill=\"#ff0000\"/></g>\n";
  }
  return R"svg(<g id="layer"><g id="obj"><mirtil:plugin xmlns:mirtil="urn:mirrortile:host-document" group="G" version="1.2">
          <mirtil:edit id="e"><path d="M 0 0 L 1 0"/></mirtil:edit></mirtil:plugin>
        <g id="res"><g id="overall">)svg" +
         cells[0] + "<g id=\"refl\">" + cells[1] + "</g></g></g></g></g>";
}

// Two triangles filling the square (0, 0) to (100, 100) in the file,
// meeting on its diagonal, or as the second is given.
std::string squareObject(const std::string& secondCell) {
  return objectWithCells({"M 0 0 L 100 0 L 100 100 Z", secondCell});
}

class SeamFreeTest : public FilesTest {
 protected:
  hostcore::HostCore exported;

  // The copy at `overlap`, read back.
  std::string exportAndRead(double overlap) {
    copy_ = hostfiles::writeSeamFreeSvg(core, overlap);
    const hostfiles::Outcome outcome = hostfiles::readSvg(exported, copy_, "export.svg");
    EXPECT_TRUE(outcome.ok()) << outcome.error;
    return copy_;
  }

  // Corners of a path of the last copy in the file's coordinates: the
  // copy's clip paths are shapes of masks, which are not drawn, so the path
  // is read on its own.
  std::vector<std::pair<double, double>> corners(const std::string& id) {
    std::vector<std::pair<double, double>> all;
    std::smatch found;
    const std::regex pathById("<path id=\"" + id + "\" d=\"([^\"]*)\"");
    EXPECT_TRUE(std::regex_search(copy_, found, pathById)) << id << " in " << copy_;
    if (found.empty()) return all;
    hostcore::HostCore alone;
    const hostfiles::Outcome outcome = hostfiles::readSvg(
        alone, "<svg xmlns=\"http://www.w3.org/2000/svg\"><path id=\"p\" d=\"" + found[1].str() + "\"/></svg>", id);
    EXPECT_TRUE(outcome.ok()) << outcome.error;
    hostcore::Document& d = alone.document();
    AIArtHandle path = d.artById("p");
    EXPECT_NE(path, nullptr) << id;
    if (path == nullptr) return all;
    int16_t count = 0;
    EXPECT_EQ(d.segmentCount(path, &count), kNoErr);
    std::vector<AIPathSegment> segments(size_t(count), AIPathSegment{});
    EXPECT_EQ(d.segments(path, 0, count, segments.data()), kNoErr);
    for (const AIPathSegment& s : segments) all.emplace_back(s.p.h, -s.p.v);
    return all;
  }

 private:
  std::string copy_;
};

bool hasCorner(const std::vector<std::pair<double, double>>& corners, double x, double y) {
  for (const auto& [cx, cy] : corners)
    if (std::abs(cx - x) < 1e-4 && std::abs(cy - y) < 1e-4) return true;
  return false;
}

TEST_F(SeamFreeTest, CellsOverlapAcrossTheEdgesTheyShareAndKeepTheOutline) {
  read(squareObject("M 0 0 L 100 100 L 0 100 Z"));
  exportAndRead(1);
  // Each triangle reaches one point across the diagonal, cut off by the square.
  const double across = std::sqrt(2.0);
  const auto a = corners("clipA");
  EXPECT_EQ(a.size(), 5u);
  for (const auto& [x, y] :
       std::vector<std::pair<double, double>>{{0, 0}, {100, 0}, {100, 100}, {100 - across, 100}, {0, across}})
    EXPECT_TRUE(hasCorner(a, x, y)) << x << ", " << y;
  const auto b = corners("clipB");
  EXPECT_EQ(b.size(), 5u);
  for (const auto& [x, y] :
       std::vector<std::pair<double, double>>{{0, 0}, {across, 0}, {100, 100 - across}, {100, 100}, {0, 100}})
    EXPECT_TRUE(hasCorner(b, x, y)) << x << ", " << y;
}

TEST_F(SeamFreeTest, CellsThatDoNotFillTheirOutlineAreLeftAsTheyAre) {
  // A gap between the cells: widening would show art the object does not.
  read(squareObject("M 0 10 L 90 100 L 0 100 Z"));
  exportAndRead(1);
  EXPECT_EQ(corners("clipA").size(), 3u);
  EXPECT_TRUE(hasCorner(corners("clipB"), 0, 10));
  EXPECT_EQ(corners("clipB").size(), 3u);
}

TEST_F(SeamFreeTest, MoreCellsThanAHexagonHasAreLeftAsTheyAre) {
  // Seven strips that fill the square: not a mirror-tile result.
  std::vector<std::string> strips;
  for (int i = 0; i < 7; ++i)
    strips.push_back("M " + std::to_string(i * 10) + " 0 L " + std::to_string(i * 10 + 10) + " 0 L " +
                     std::to_string(i * 10 + 10) + " 100 L " + std::to_string(i * 10) + " 100 Z");
  read(objectWithCells(strips));
  exportAndRead(1);
  EXPECT_FALSE(hasCorner(corners("clipD"), 29, 0));
  EXPECT_TRUE(hasCorner(corners("clipD"), 30, 0));
  // Six of them are widened across the edges they share.
  strips.pop_back();
  read(objectWithCells(strips));
  exportAndRead(1);
  EXPECT_TRUE(hasCorner(corners("clipD"), 29, 0));
}

TEST_F(SeamFreeTest, TheCopyIsPlainArtAndTheDocumentStaysAsItWas) {
  read(squareObject("M 0 0 L 100 100 L 0 100 Z"));
  const std::string saved = hostfiles::writeSvg(core);
  const std::string text = exportAndRead(0.75);
  EXPECT_EQ(hostfiles::writeSvg(core), saved);
  EXPECT_EQ(text.find("mirtil:plugin"), std::string::npos) << text;
  AIArtType type = kUnknownArt;
  EXPECT_EQ(exported.document().artType(exported.document().artById("obj"), &type), kNoErr);
  EXPECT_EQ(type, kGroupArt);
  EXPECT_TRUE(exported.document().dirtyPluginArt().empty());
  // Each cell is drawn whole, then masked by its outline in white, within
  // the outline's bounds and a point more.
  EXPECT_NE(text.find(R"x(<g id="cellA" mask="url(#cellA-clip)">)x"), std::string::npos) << text;
  EXPECT_NE(text.find(R"x(<mask id="cellA-clip" maskUnits="userSpaceOnUse" x="-1" y="-1" width="102" height="102">)x"),
            std::string::npos)
      << text;
  EXPECT_TRUE(std::regex_search(text, std::regex(R"x(<path id="clipA" d="[^"]+" fill="#ffffff"/>)x"))) << text;
  EXPECT_EQ(text.find("clip-path"), std::string::npos) << text;
}

}  // namespace
