#include <cstring>

#include "FilesFixture.h"
#include "hostfiles/JsonDump.h"

namespace {

using nlohmann::json;

TEST_F(FilesTest, TheDumpShowsLayersArtAndPlugInObjects) {
  read(R"svg(<g inkscape:label="Top" style="display:none">
        <g id="grp" clip-path="url(#c)"><rect id="sq" x="0.1" y="0" width="1" height="1" fill="#ff0000" display="none"/></g>
        <text id="t" x="1" y="2">Hi</text>
        <g id="obj"><mirtil:plugin xmlns:mirtil="urn:mirrortile:host-document" group="ORVoMirtilPig" version="1.2">
          <mirtil:edit id="e"><path id="ep" d="M 1 2 L 1 2"/></mirtil:edit>
          <mirtil:entry key="Mir-Angle" type="real">0.1</mirtil:entry>
          <mirtil:entry key="Mir-Off-XY" type="array"><mirtil:real>3</mirtil:real><mirtil:real>-4.5</mirtil:real></mirtil:entry>
          <mirtil:entry key="Mir-Obj-000" type="art"><g mirtil:id="copy"><path d="M0 0 L 1 1"/></g></mirtil:entry>
        </mirtil:plugin><g id="res"/></g>
      </g>
      <clipPath id="c"><rect width="5" height="5"/></clipPath>)svg");
  const json dump = json::parse(hostfiles::dumpJson(core, json{{"alerts", json::array({"hello"})}}));
  EXPECT_EQ(dump["alerts"][0], "hello");
  ASSERT_EQ(dump["layers"].size(), 1u);
  const json& layer = dump["layers"][0];
  EXPECT_EQ(layer["name"], "Top");
  EXPECT_EQ(layer["visible"], false);
  EXPECT_EQ(layer["editable"], true);
  const json& art = layer["art"];
  ASSERT_EQ(art.size(), 3u);
  EXPECT_EQ(art[0]["type"], "plugin");
  EXPECT_EQ(art[1]["type"], "text");
  EXPECT_EQ(art[2]["type"], "group");
  EXPECT_EQ(art[2]["clipped"], true);

  const json& square = art[2]["children"][1];
  EXPECT_EQ(square["id"], "sq");
  EXPECT_EQ(square["hidden"], true);
  EXPECT_EQ(square["closed"], true);
  EXPECT_EQ(square["style"]["fill"]["color"], json::array({1.0, 0.0, 0.0}));
  EXPECT_EQ(square["style"]["stroke"], nullptr);
  // Reals read back as the same floats, and show as their short text.
  EXPECT_EQ(square["segments"][0]["p"], json::array({0.1, 0.0}));
  EXPECT_EQ(float(square["segments"][2]["p"][1].get<double>()), -1.0f);
  EXPECT_EQ(art[2]["children"][0]["style"]["clip"], true);

  const json& plugin = art[0]["plugin"];
  EXPECT_EQ(plugin["group"], "ORVoMirtilPig");
  EXPECT_EQ(plugin["version"], json::array({1, 2}));
  EXPECT_EQ(plugin["dirty"], true);
  EXPECT_EQ(plugin["dictionary"]["Mir-Angle"].dump(), "0.1");
  EXPECT_EQ(plugin["dictionary"]["Mir-Off-XY"], json::array({3.0, -4.5}));
  EXPECT_EQ(plugin["dictionary"]["Mir-Obj-000"]["id"], "copy");
  EXPECT_EQ(plugin["dictionary"]["Mir-Obj-000"]["children"][0]["type"], "path");
  EXPECT_EQ(plugin["edit"]["id"], "e");
  EXPECT_EQ(plugin["edit"]["children"][0]["segments"][0]["p"], json::array({1.0, -2.0}));
  EXPECT_EQ(plugin["result"]["id"], "res");
}

}  // namespace
