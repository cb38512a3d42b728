#include <cmath>

#include "FilesFixture.h"

namespace {

using hostfiles::readSvg;

TEST_F(FilesTest, TopLevelGroupsAndRunsBecomeLayersWithTheLastOnTop) {
  read(R"svg(
      <rect id="loose1" width="1" height="1"/>
      <g inkscape:label="Sky" style="display:none"><rect width="2" height="2"/></g>
      <g id="ground" sodipodi:insensitive="true"/>
      <defs><linearGradient id="unused"/></defs>
      <circle id="loose2" r="3"/><circle id="loose3" r="4"/>
      <g/>)svg");
  const auto all = layers();
  ASSERT_EQ(all.size(), 5u);
  // Host order: the file's last layer first.
  EXPECT_EQ(title(all[0]), "Layer 5");
  EXPECT_EQ(title(all[1]), "Layer 4");
  EXPECT_EQ(title(all[2]), "ground");
  EXPECT_EQ(title(all[3]), "Sky");
  EXPECT_EQ(title(all[4]), "Layer 1");
  AIBoolean visible = 1, editable = 1;
  EXPECT_EQ(doc().layerVisible(all[3], &visible), kNoErr);
  EXPECT_EQ(doc().layerEditable(all[2], &editable), kNoErr);
  EXPECT_FALSE(visible);
  EXPECT_FALSE(editable);
  EXPECT_EQ(doc().layerVisible(all[2], &visible), kNoErr);
  EXPECT_TRUE(visible);
  // A run of loose art is one layer, its last element on top.
  const auto run = layerArt(all[1]);
  ASSERT_EQ(run.size(), 2u);
  EXPECT_EQ(run[0], byId("loose3"));
  EXPECT_EQ(run[1], byId("loose2"));
  EXPECT_EQ(layerArt(all[4]).at(0), byId("loose1"));
  // The layer's group takes the group's id.
  AIArtHandle ground;
  EXPECT_EQ(doc().firstArtOfLayer(all[2], &ground), kNoErr);
  EXPECT_EQ(ground, byId("ground"));
}

TEST_F(FilesTest, FilePointsMapToDocumentPointsWithVUpward) {
  read(
      R"svg(<g transform="translate(100,50)"><line id="l" x1="0" y1="0" x2="10" y2="20" transform="scale(2)"/></g>)svg");
  const auto s = segments(byId("l"));
  ASSERT_EQ(s.size(), 2u);
  EXPECT_FLOAT_EQ(s[0].p.h, 100);
  EXPECT_FLOAT_EQ(s[0].p.v, -50);
  EXPECT_FLOAT_EQ(s[1].p.h, 120);
  EXPECT_FLOAT_EQ(s[1].p.v, -90);
  AIBoolean closed = 1;
  EXPECT_EQ(doc().pathClosed(byId("l"), &closed), kNoErr);
  EXPECT_FALSE(closed);
}

TEST_F(FilesTest, ShapesBecomeClosedCubicPaths) {
  read(R"svg(<g>
      <rect id="r" x="10" y="10" width="40" height="20"/>
      <rect id="rounded" x="0" y="0" width="40" height="20" rx="5"/>
      <circle id="c" cx="50" cy="50" r="10"/>
      <ellipse id="e" cx="0" cy="0" rx="20" ry="10"/>
      <polygon id="tri" points="0,0 10,0 5,8"/>
      <polyline id="zig" points="0 0 10 10 20 0"/>
      <path id="arc" d="M0 0 A10 10 0 0 1 20 0 Z"/>
    </g>)svg");
  EXPECT_EQ(segments(byId("r")).size(), 4u);
  EXPECT_EQ(segments(byId("rounded")).size(), 8u);
  const auto circle = segments(byId("c"));
  ASSERT_EQ(circle.size(), 4u);
  const AIRealRect b = bounds(byId("c"));
  EXPECT_NEAR(b.left, 40, 1e-4);
  EXPECT_NEAR(b.right, 60, 1e-4);
  EXPECT_NEAR(b.top, -40, 1e-4);
  EXPECT_NEAR(b.bottom, -60, 1e-4);
  EXPECT_EQ(segments(byId("e")).size(), 4u);
  EXPECT_EQ(segments(byId("tri")).size(), 3u);
  AIBoolean closed = 0;
  EXPECT_EQ(doc().pathClosed(byId("tri"), &closed), kNoErr);
  EXPECT_TRUE(closed);
  EXPECT_EQ(doc().pathClosed(byId("zig"), &closed), kNoErr);
  EXPECT_FALSE(closed);
  // The arc bulges to file y = -10, document v = +10.
  EXPECT_NEAR(bounds(byId("arc")).top, 10, 1e-4);
  EXPECT_NEAR(bounds(byId("arc")).bottom, 0, 1e-4);
  // Round corners are smooth, a rectangle's corners are corners.
  EXPECT_TRUE(segments(byId("r"))[0].corner);
  EXPECT_FALSE(circle[0].corner);
}

TEST_F(FilesTest, SeveralSubpathsMakeACompoundPath) {
  read(R"svg(<path id="ring" fill-rule="evenodd" d="M0 0 H30 V30 H0 Z M10 10 H20 V20 H10 Z"/>)svg");
  AIArtHandle ring = byId("ring");
  EXPECT_EQ(type(ring), kCompoundPathArt);
  const auto parts = children(ring);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(type(parts[0]), kPathArt);
  EXPECT_TRUE(style(parts[0]).evenOdd);
  EXPECT_TRUE(style(ring).evenOdd);
}

TEST_F(FilesTest, PaintComesFromAttributesStylesAndInheritance) {
  read(R"svg(<g fill="#ff0000" stroke="blue" style="stroke-width:2" opacity="0.5">
      <rect id="inherits" width="1" height="1"/>
      <rect id="own" width="1" height="1" fill="none" style="stroke:#00ff00;stroke-opacity:0.5" transform="scale(3)"/>
    </g>)svg");
  const AIPathStyle inherits = style(byId("inherits"));
  EXPECT_TRUE(inherits.fillPaint);
  EXPECT_FLOAT_EQ(inherits.fill.color.red, 1);
  EXPECT_FLOAT_EQ(inherits.fill.color.green, 0);
  EXPECT_FLOAT_EQ(inherits.fill.opacity, 0.5f);  // the group's opacity carried down
  EXPECT_TRUE(inherits.strokePaint);
  EXPECT_FLOAT_EQ(inherits.stroke.color.blue, 1);
  EXPECT_FLOAT_EQ(inherits.stroke.width, 2);
  const AIPathStyle own = style(byId("own"));
  EXPECT_FALSE(own.fillPaint);
  EXPECT_FLOAT_EQ(own.stroke.color.green, 1);
  EXPECT_FLOAT_EQ(own.stroke.opacity, 0.25f);
  EXPECT_FLOAT_EQ(own.stroke.width, 6);  // widths scale with the art
}

TEST_F(FilesTest, ArtAttributesAndNames) {
  read(R"svg(<g><rect id="a" width="1" height="1" display="none" sodipodi:insensitive="true" inkscape:label="Box"/>
      <rect width="1" height="1"/></g>)svg");
  AIArtUserAttr attr = 0;
  EXPECT_EQ(doc().userAttr(byId("a"), kArtHidden | kArtLocked | kArtSelected, &attr), kNoErr);
  EXPECT_EQ(attr, kArtHidden | kArtLocked);
  std::string name;
  EXPECT_EQ(doc().artName(byId("a"), &name), kNoErr);
  EXPECT_EQ(name, "Box");
  // Art without an id gets one of its own.
  const auto art = layerArt(layers()[0]);
  std::string generated;
  EXPECT_EQ(doc().artId(art[0], &generated), kNoErr);
  EXPECT_FALSE(generated.empty());
  EXPECT_NE(generated, "a");
}

TEST_F(FilesTest, ClipPathOnAGroupMakesAClippingGroup) {
  read(R"svg(<defs><clipPath id="window"><rect id="pane" x="0" y="0" width="10" height="10"/></clipPath></defs>
      <g><g id="clipped" clip-path="url(#window)"><circle id="big" r="50"/></g>
         <circle id="alone" r="50" clip-path="url(#window)"/></g>)svg");
  AIArtHandle group = byId("clipped");
  AIBoolean clipped = 0;
  EXPECT_EQ(doc().groupClipped(group, &clipped), kNoErr);
  EXPECT_TRUE(clipped);
  const auto inside = children(group);
  ASSERT_EQ(inside.size(), 2u);
  EXPECT_TRUE(style(inside[0]).clip);  // the clipping path goes on top
  EXPECT_EQ(inside[1], byId("big"));
  // The group shows no more than its clipping path.
  EXPECT_NEAR(bounds(group).right, 10, 1e-4);
  // Clipped art that is not a group is wrapped in a clipping group.
  AIArtHandle wrapper;
  EXPECT_EQ(doc().artParent(byId("alone"), &wrapper), kNoErr);
  EXPECT_EQ(doc().groupClipped(wrapper, &clipped), kNoErr);
  EXPECT_TRUE(clipped);
  EXPECT_NEAR(bounds(wrapper).bottom, -10, 1e-4);
}

TEST_F(FilesTest, ForeignElementsAreKeptAsLeavesWithMatrixAndBounds) {
  read(R"svg(<defs><linearGradient id="grad"><stop offset="0" stop-color="red"/></linearGradient></defs>
      <g transform="translate(10 20)">
        <rect id="painted" width="30" height="10" fill="url(#grad)"/>
        <text id="words" x="0" y="0" font-size="10">Hi</text>
        <image id="pic" width="5" height="5" href="data:,"/>
        <use id="again" xlink:href="#painted" x="100"/>
      </g>)svg");
  EXPECT_EQ(type(byId("painted")), kForeignArt);
  EXPECT_EQ(type(byId("words")), kTextFrameArt);
  EXPECT_EQ(type(byId("pic")), kPlacedArt);
  EXPECT_EQ(type(byId("again")), kSymbolArt);
  hostcore::LeafData leaf;
  ASSERT_EQ(doc().leafData(byId("painted"), &leaf), kNoErr);
  EXPECT_FLOAT_EQ(leaf.matrix.tx, 10);
  EXPECT_FLOAT_EQ(leaf.matrix.ty, -20);
  EXPECT_FLOAT_EQ(leaf.matrix.d, -1);
  ASSERT_TRUE(leaf.payload);
  EXPECT_NE(leaf.payload->find("id=\"grad\""), std::string::npos);  // its definition travels with it
  const AIRealRect b = bounds(byId("painted"));
  EXPECT_FLOAT_EQ(b.left, 10);
  EXPECT_FLOAT_EQ(b.right, 40);
  EXPECT_FLOAT_EQ(b.top, -20);
  EXPECT_FLOAT_EQ(b.bottom, -30);
  // A use refers to art of the drawing: that art comes along as a definition.
  ASSERT_EQ(doc().leafData(byId("again"), &leaf), kNoErr);
  EXPECT_NE(leaf.payload->find("id=\"painted\""), std::string::npos);
  EXPECT_NE(leaf.payload->find("id=\"grad\""), std::string::npos);
  EXPECT_FLOAT_EQ(bounds(byId("again")).left, 110);
}

TEST_F(FilesTest, MalformedTextIsRefusedNamingFileAndLineAndKeepsTheDocument) {
  read(R"svg(<rect id="kept" width="1" height="1"/>)svg");
  const hostfiles::Outcome broken =
      readSvg(core, "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<g>\n<rect>\n</g>\n</svg>", "bad.svg");
  ASSERT_FALSE(broken.ok());
  EXPECT_EQ(broken.error.rfind("bad.svg:4: ", 0), 0u) << broken.error;
  EXPECT_NE(doc().artById("kept"), nullptr);
  const hostfiles::Outcome notSvg = readSvg(core, "<html>\n</html>", "page.html");
  EXPECT_EQ(notSvg.error, "page.html:1: the root element is not svg");
  // Numbers a double holds but a point's single precision does not, in
  // path data or through a transformation, are refused the same way.
  for (const char* art :
       {R"svg(<path d="M 0 0 L 1e65 0"/>)svg", R"svg(<g transform="scale(1e30)"><path d="M 0 0 L 1e10 0"/></g>)svg",
        R"svg(<image transform="translate(1e40 0)" width="1" height="1"/>)svg"}) {
    const hostfiles::Outcome huge =
        readSvg(core, std::string("<svg xmlns=\"http://www.w3.org/2000/svg\">\n") + art + "\n</svg>", "huge.svg");
    EXPECT_EQ(huge.error, "huge.svg:2: coordinate out of range") << art;
  }
  // An element or attribute whose prefix names no namespace.
  const hostfiles::Outcome unbound =
      readSvg(core, "<svg xmlns=\"http://www.w3.org/2000/svg\">\n<mirtil:plugin/>\n</svg>", "unbound.svg");
  EXPECT_EQ(unbound.error, "unbound.svg:2: Namespace prefix mirtil on plugin is not defined");
  EXPECT_NE(doc().artById("kept"), nullptr);
}

TEST_F(FilesTest, ThePageComesFromTheViewBox) {
  ASSERT_TRUE(readSvg(core, svgFile("", "viewBox=\"-10 -20 300 150\""), "page.svg").ok());
  ASSERT_TRUE(doc().artboard());
  EXPECT_FLOAT_EQ(doc().artboard()->left, -10);
  EXPECT_FLOAT_EQ(doc().artboard()->top, 20);
  EXPECT_FLOAT_EQ(doc().artboard()->right, 290);
  EXPECT_FLOAT_EQ(doc().artboard()->bottom, -130);
}

}  // namespace

TEST_F(FilesTest, ALayerDrawnWithAFilterKeepsItsArt) {
  read(R"svg(<defs><filter id="soft"><feGaussianBlur stdDeviation="2"/></filter></defs>
      <g id="blurred" inkscape:label="Blurred" filter="url(#soft)"><rect id="inside" width="10" height="10"/></g>
      <use xlink:href="#blurred" x="20"/>)svg");
  ASSERT_EQ(layers().size(), 2u);
  EXPECT_EQ(title(layers()[1]), "Blurred");
  const std::vector<AIArtHandle> art = layerArt(layers()[1]);
  ASSERT_EQ(art.size(), 1u);
  EXPECT_EQ(art[0], byId("blurred"));
  const std::string text = hostfiles::writeSvg(core);
  EXPECT_NE(text.find("<rect id=\"inside\" width=\"10\" height=\"10\"/>"), std::string::npos) << text;
  EXPECT_NE(text.find("<use xlink:href=\"#blurred\""), std::string::npos);
}
