// A host core with helpers to read SVG text into it and look at the art.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hostcore/HostCore.h"
#include "hostfiles/SvgDocument.h"

class FilesTest : public ::testing::Test {
 protected:
  hostcore::HostCore core;
  hostcore::Document& doc() { return core.document(); }

  static std::string svgFile(const std::string& body, const std::string& rootAttributes = "") {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
           "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
           "width=\"200\" height=\"100\" " +
           rootAttributes + ">\n" + body + "\n</svg>\n";
  }

  void read(const std::string& body) {
    const hostfiles::Outcome outcome = hostfiles::readSvg(core, svgFile(body), "test.svg");
    ASSERT_TRUE(outcome.ok()) << outcome.error;
  }

  std::vector<AILayerHandle> layers() {
    std::vector<AILayerHandle> all;
    AILayerHandle layer = nullptr;
    for (hostcore::require(doc().firstLayer(&layer), "firstLayer"); layer != nullptr;
         hostcore::require(doc().nextLayer(layer, &layer), "nextLayer"))
      all.push_back(layer);
    return all;
  }

  std::string title(AILayerHandle layer) {
    std::string text;
    EXPECT_EQ(doc().layerTitle(layer, &text), kNoErr);
    return text;
  }

  std::vector<AIArtHandle> children(AIArtHandle art) {
    std::vector<AIArtHandle> all;
    AIArtHandle child = nullptr;
    for (hostcore::require(doc().firstChild(art, &child), "firstChild"); child != nullptr;
         hostcore::require(doc().sibling(child, &child), "sibling"))
      all.push_back(child);
    return all;
  }

  std::vector<AIArtHandle> layerArt(AILayerHandle layer) {
    AIArtHandle group;
    EXPECT_EQ(doc().firstArtOfLayer(layer, &group), kNoErr);
    return children(group);
  }

  AIArtHandle byId(const std::string& id) {
    AIArtHandle art = doc().artById(id);
    EXPECT_NE(art, nullptr) << id;
    return art;
  }

  AIArtType type(AIArtHandle art) {
    AIArtType t = kUnknownArt;
    EXPECT_EQ(doc().artType(art, &t), kNoErr);
    return t;
  }

  std::vector<AIPathSegment> segments(AIArtHandle path) {
    int16_t count = 0;
    EXPECT_EQ(doc().segmentCount(path, &count), kNoErr);
    std::vector<AIPathSegment> all(size_t(count), AIPathSegment{});
    EXPECT_EQ(doc().segments(path, 0, count, all.data()), kNoErr);
    return all;
  }

  AIPathStyle style(AIArtHandle art) {
    AIPathStyle s{};
    EXPECT_EQ(doc().pathStyle(art, &s), kNoErr);
    return s;
  }

  AIRealRect bounds(AIArtHandle art) {
    AIRealRect r{};
    EXPECT_EQ(doc().artBounds(art, &r), kNoErr);
    return r;
  }
};
