// Large files: read past the XML library's ten-megabyte lookup, refused
// past the file size and the art limits, and its guards against entity
// blow-up kept.
#include "FilesFixture.h"

namespace {

using hostfiles::readSvg;

TEST_F(FilesTest, AFileOfMoreThanTenMegabytesIsRead) {
  std::string path = "<path d=\"M0 0";
  for (int i = 1; i < 300; ++i) path += " L" + std::to_string(i) + " " + std::to_string(i % 7);
  path += "\"/>\n";
  std::string body = "<g id=\"big\">\n";
  const size_t paths = (12u << 20) / path.size();
  body.reserve(paths * path.size() + 16);
  for (size_t i = 0; i < paths; ++i) body += path;
  body += "</g>";
  read(body);
  ASSERT_EQ(layers().size(), 1u);
  EXPECT_EQ(layerArt(layers()[0]).size(), paths);
}

TEST_F(FilesTest, AFileOverTheSizeLimitIsRefusedAndTheDocumentKept) {
  read("<g id=\"kept\"><path d=\"M0 0 L1 1\"/></g>");
  const std::string huge(hostfiles::kMaxSvgBytes + 1, ' ');
  const hostfiles::Outcome outcome = readSvg(core, huge, "huge.svg");
  EXPECT_EQ(outcome.error, "huge.svg: the file is larger than 256 MB, the most a document may be");
  EXPECT_NE(doc().artById("kept"), nullptr);
}

TEST_F(FilesTest, ADrawingOverTheArtLimitIsRefusedNamingTheFileAndTheDocumentKept) {
  read("<g id=\"kept\"><path d=\"M0 0 L1 1\"/></g>");
  core.setArtLimit(50);
  std::string tiny;
  for (int i = 0; i < 48; ++i) tiny += "<path d=\"M" + std::to_string(i) + " 0 h1\"/>";
  // A layer, a group in it and 48 paths: exactly the limit.
  EXPECT_TRUE(readSvg(core, svgFile("<g><g>" + tiny + "</g></g>"), "fits.svg").ok());
  EXPECT_EQ(doc().artLimit(), 50u);
  read("<g id=\"kept\"><path d=\"M0 0 L1 1\"/></g>");
  const hostfiles::Outcome outcome =
      readSvg(core, svgFile("<g><g>" + tiny + "<path d=\"M0 0 h1\"/></g></g>"), "many.svg");
  EXPECT_EQ(outcome.error, "many.svg: the drawing has 51 art objects, more than the 50 a document may hold");
  EXPECT_NE(doc().artById("kept"), nullptr);
}

TEST_F(FilesTest, EntitiesThatMultiplyAreStillRefused) {
  std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg [\n<!ENTITY a0 \"xxxxxxxxxxxxxxxxxxxxxxxx\">\n";
  for (int i = 1; i < 12; ++i) {
    const std::string previous = "&a" + std::to_string(i - 1) + ";";
    std::string value;
    for (int k = 0; k < 10; ++k) value += previous;
    text += "<!ENTITY a" + std::to_string(i) + " \"" + value + "\">\n";
  }
  text += "]>\n<svg xmlns=\"http://www.w3.org/2000/svg\"><g id=\"&a11;\"/></svg>\n";
  EXPECT_FALSE(readSvg(core, text, "laughs.svg").ok());
}

}  // namespace
