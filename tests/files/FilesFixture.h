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
        for (doc().firstLayer(&layer); layer != nullptr; doc().nextLayer(layer, &layer)) all.push_back(layer);
        return all;
    }

    std::string title(AILayerHandle layer) {
        std::string text;
        doc().layerTitle(layer, &text);
        return text;
    }

    std::vector<AIArtHandle> children(AIArtHandle art) {
        std::vector<AIArtHandle> all;
        AIArtHandle child = nullptr;
        for (doc().firstChild(art, &child); child != nullptr; doc().sibling(child, &child)) all.push_back(child);
        return all;
    }

    std::vector<AIArtHandle> layerArt(AILayerHandle layer) {
        AIArtHandle group;
        doc().firstArtOfLayer(layer, &group);
        return children(group);
    }

    AIArtHandle byId(const std::string& id) {
        AIArtHandle art = doc().artById(id);
        EXPECT_NE(art, nullptr) << id;
        return art;
    }

    AIArtType type(AIArtHandle art) {
        AIArtType t = kUnknownArt;
        doc().artType(art, &t);
        return t;
    }

    std::vector<AIPathSegment> segments(AIArtHandle path) {
        int16_t count = 0;
        doc().segmentCount(path, &count);
        std::vector<AIPathSegment> all(size_t(count), AIPathSegment{});
        doc().segments(path, 0, count, all.data());
        return all;
    }

    AIPathStyle style(AIArtHandle art) {
        AIPathStyle s{};
        doc().pathStyle(art, &s);
        return s;
    }

    AIRealRect bounds(AIArtHandle art) {
        AIRealRect r{};
        doc().artBounds(art, &r);
        return r;
    }
};
