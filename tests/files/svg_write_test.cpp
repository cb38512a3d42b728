#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "FilesFixture.h"
#include "hostcore/MatrixMath.h"
#include "hostfiles/NativeFiles.h"

namespace {

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const char* kDrawing = R"svg(
  <defs><linearGradient id="grad"><stop offset="0" stop-color="red"/></linearGradient>
        <clipPath id="cp"><circle cx="5" cy="5" r="5"/></clipPath></defs>
  <g id="back" inkscape:label="Back" style="display:none">
    <rect id="sq" x="1.5" y="2.25" width="10" height="10" fill="#336699" stroke="#000000" stroke-width="0.5"/>
  </g>
  <g id="front" sodipodi:insensitive="true">
    <g id="win" clip-path="url(#cp)"><rect id="inner" width="20" height="20"/></g>
    <rect id="shaded" width="30" height="10" fill="url(#grad)" transform="rotate(30)"/>
    <text id="words" x="3" y="4" font-size="12" fill="green">Mirror <tspan font-weight="bold">tiles</tspan></text>
    <path id="ring" d="M0 0 H30 V30 H0 Z M10 10 H20 V20 H10 Z" fill-rule="evenodd"/>
  </g>)svg";

TEST_F(FilesTest, ReadWriteReadKeepsLayersArtAndIds) {
  read(kDrawing);
  const std::string first = hostfiles::writeSvg(core);
  hostcore::HostCore other;
  ASSERT_TRUE(hostfiles::readSvg(other, first, "first.svg").ok()) << first;
  EXPECT_EQ(hostfiles::writeSvg(other), first);

  // Layers in paint order: the host's topmost last.
  EXPECT_LT(first.find("id=\"back\""), first.find("id=\"front\""));
  EXPECT_NE(first.find("inkscape:label=\"Back\" style=\"display:none\""), std::string::npos) << first;
  EXPECT_NE(
      first.find("id=\"front\" inkscape:groupmode=\"layer\" inkscape:label=\"front\" sodipodi:insensitive=\"true\""),
      std::string::npos);
  for (const char* id : {"sq", "win", "inner", "shaded", "words", "ring"})
    EXPECT_NE(other.document().artById(id), nullptr) << id;
  // Clipping groups carry their clip paths in a clipPath of their own.
  EXPECT_NE(first.find("<g id=\"win\" clip-path=\"url(#win-clip)\">"), std::string::npos);
  // Text keeps its inner markup.
  EXPECT_NE(first.find("<tspan font-weight=\"bold\">tiles</tspan>"), std::string::npos);
  EXPECT_NE(first.find("fill-rule=\"evenodd\""), std::string::npos);
}

TEST_F(FilesTest, LeavesFollowTransformsAndCopiesShareOneDefinition) {
  read(kDrawing);
  AIArtHandle shaded = byId("shaded");
  const AIRealRect before = bounds(shaded);
  ASSERT_EQ(doc().transformArt(shaded, hostcore::translateMatrix(100, -50), 1, kTransformObjects), kNoErr);
  AIArtHandle copy;
  EXPECT_EQ(doc().duplicateArt(shaded, kPlaceAbove, shaded, &copy), kNoErr);
  EXPECT_EQ(doc().duplicateArt(byId("words"), kPlaceAbove, shaded, &copy), kNoErr);
  const std::string text = hostfiles::writeSvg(core);
  EXPECT_EQ(count(text, "<linearGradient id=\"grad\""), 1u) << text;
  EXPECT_EQ(count(text, "Mirror <tspan"), 2u);

  hostcore::HostCore other;
  ASSERT_TRUE(hostfiles::readSvg(other, text, "moved.svg").ok());
  AIRealRect after{};
  EXPECT_EQ(other.document().artBounds(other.document().artById("shaded"), &after), kNoErr);
  EXPECT_NEAR(after.left, before.left + 100, 1e-3);
  EXPECT_NEAR(after.top, before.top - 50, 1e-3);
  hostcore::LeafData leaf;
  ASSERT_EQ(other.document().leafData(other.document().artById("shaded"), &leaf), kNoErr);
  hostcore::LeafData original;
  EXPECT_EQ(doc().leafData(shaded, &original), kNoErr);
  EXPECT_EQ(std::memcmp(&leaf.matrix, &original.matrix, sizeof leaf.matrix), 0);
}

TEST_F(FilesTest, GeometryAndStyleSurviveExactly) {
  read(kDrawing);
  const std::string text = hostfiles::writeSvg(core);
  hostcore::HostCore other;
  ASSERT_TRUE(hostfiles::readSvg(other, text, "again.svg").ok());
  for (const char* id : {"sq", "inner"}) {
    AIArtHandle mine = byId(id), theirs = other.document().artById(id);
    const auto a = segments(mine);
    std::vector<AIPathSegment> b(a.size());
    ASSERT_EQ(other.document().segments(theirs, 0, int16_t(b.size()), b.data()), kNoErr);
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(std::memcmp(&a[i].p, &b[i].p, sizeof(AIRealPoint) * 3), 0) << id << i;
      EXPECT_EQ(a[i].corner, b[i].corner);
    }
  }
  AIPathStyle theirs{};
  EXPECT_EQ(other.document().pathStyle(other.document().artById("sq"), &theirs), kNoErr);
  const AIPathStyle mine = style(byId("sq"));
  EXPECT_FLOAT_EQ(theirs.fill.color.green, mine.fill.color.green);
  EXPECT_FLOAT_EQ(theirs.stroke.width, 0.5f);
  EXPECT_TRUE(theirs.strokePaint);
}

// Fails every file after its first piece is written.
class FailingStore : public hostfiles::PosixFileStore {
  class FullDisk : public hostfiles::FileSink {
   public:
    explicit FullDisk(std::unique_ptr<hostfiles::FileSink> file) : file_(std::move(file)) {}
    bool append(std::string_view piece, std::string* error) override {
      if (full_) {
        *error = "No space left on device";
        return false;
      }
      full_ = true;
      return file_->append(piece, error);
    }
    bool close(std::string* error) override {
      *error = "No space left on device";
      return false;
    }

   private:
    std::unique_ptr<hostfiles::FileSink> file_;
    bool full_ = false;
  };

 public:
  std::unique_ptr<hostfiles::FileSink> create(const std::string& path, std::string* error) override {
    return std::make_unique<FullDisk>(PosixFileStore::create(path, error));
  }
};

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST_F(FilesTest, SavingIsAtomic) {
  const std::string path = ::testing::TempDir() + "files_atomic-" + std::to_string(::getpid()) + ".svg";
  hostfiles::PosixFileStore files;
  read(kDrawing);
  ASSERT_TRUE(hostfiles::saveSvg(core, files, path).ok());
  const std::string saved = fileText(path);
  EXPECT_EQ(saved, hostfiles::writeSvg(core));

  read(R"svg(<rect id="other" width="1" height="1"/>)svg");
  FailingStore failing;
  const hostfiles::Outcome outcome = hostfiles::saveSvg(core, failing, path);
  EXPECT_EQ(outcome.error, path + ": No space left on device");
  EXPECT_EQ(fileText(path), saved);
  EXPECT_FALSE(std::ifstream(path + ".saving").good());

  // And the saved file opens again.
  ASSERT_TRUE(hostfiles::openSvg(core, files, path).ok());
  EXPECT_NE(doc().artById("sq"), nullptr);
  const hostfiles::Outcome missing = hostfiles::openSvg(core, files, path + ".none");
  EXPECT_EQ(missing.error, path + ".none: No such file or directory");
  std::remove(path.c_str());
}

// A large drawing goes out in several pieces that make the whole text, and
// a sink that refuses a piece stops the writing.
TEST_F(FilesTest, TheTextGoesOutInPieces) {
  std::string paths;
  for (int i = 0; i < 400; ++i) {
    paths += "<path d=\"M 0 0";
    for (int j = 1; j < 200; ++j) paths += " L " + std::to_string(i * 1.25 + j * 0.37) + " " + std::to_string(j * 1.5);
    paths += " Z\" fill=\"#336699\"/>\n";
  }
  read("<g id=\"layer\">" + paths + "</g>");
  std::vector<std::string> pieces;
  ASSERT_TRUE(hostfiles::writeSvg(core, [&](std::string_view piece) {
    pieces.emplace_back(piece);
    return true;
  }));
  ASSERT_GT(pieces.size(), 1u);
  std::string joined;
  for (const std::string& piece : pieces) joined += piece;
  EXPECT_EQ(joined, hostfiles::writeSvg(core));

  size_t offered = 0;
  EXPECT_FALSE(hostfiles::writeSvg(core, [&](std::string_view) { return ++offered < 2; }));
  EXPECT_EQ(offered, 2u);
}

}  // namespace

namespace {

const char* kKeptDrawing = R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink"
     xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" width="210mm" height="297mm" viewBox="0 0 210 297"
     preserveAspectRatio="xMinYMin">
  <metadata><rdf:RDF><rdf:Description rdf:about="">boxes</rdf:Description></rdf:RDF></metadata>
  <style>.warm { fill: #f4a261 } #hot { fill: #ff0000 }</style>
  <rect id="box" class="warm" width="10" height="10"/>
  <rect id="hot" class="warm" x="20" width="10" height="10"/>
  <path id="dashed" d="M 0 50 H 100" stroke="#000" stroke-dasharray="4 2"/>
  <path id="copied" d="M 0 80 H 10 V 90 Z"/>
  <use id="copy" xlink:href="#copied" x="50" fill="#00ff00"/>
</svg>)svg";

}  // namespace

TEST_F(FilesTest, WhatTheDocumentDoesNotModelIsWrittenAsRead) {
  ASSERT_TRUE(hostfiles::readSvg(core, kKeptDrawing, "kept.svg").ok());
  const std::string text = hostfiles::writeSvg(core);
  // The page with its units, the metadata with its namespace declared, the style sheet.
  EXPECT_NE(text.find("width=\"210mm\" height=\"297mm\" viewBox=\"0 0 210 297\" preserveAspectRatio=\"xMinYMin\""),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\""), std::string::npos);
  EXPECT_NE(text.find("<rdf:Description rdf:about=\"\">boxes</rdf:Description>"), std::string::npos);
  EXPECT_NE(text.find("<style>.warm { fill: #f4a261 } #hot { fill: #ff0000 }</style>"), std::string::npos);
  // The sheet's rules paint the art, the more specific one winning.
  EXPECT_EQ(style(byId("box")).fill.color.red, AIReal(0xf4) / 255);
  EXPECT_EQ(style(byId("hot")).fill.color.green, 0);
  // A dashed stroke and art that a copy paints are kept as written.
  EXPECT_EQ(type(byId("dashed")), kForeignArt);
  EXPECT_NE(text.find("stroke-dasharray=\"4 2\""), std::string::npos);
  EXPECT_EQ(type(byId("copied")), kForeignArt);
  EXPECT_EQ(text.find("id=\"copied\" fill="), std::string::npos) << text;

  hostcore::HostCore other;
  ASSERT_TRUE(hostfiles::readSvg(other, text, "first.svg").ok());
  EXPECT_EQ(hostfiles::writeSvg(other), text);

  // A page the document changed is written from the document.
  doc().setArtboard(AIRealRect{0, 0, 100, -50});
  EXPECT_NE(hostfiles::writeSvg(core).find("width=\"100\" height=\"50\" viewBox=\"0 0 100 50\""), std::string::npos);
}
