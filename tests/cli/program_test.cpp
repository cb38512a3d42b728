// mirtil-host end to end: scripts that make, refuse, turn, move and
// animate objects, work the dialogs and undo; files in and out; and the
// exit statuses and messages of everything that goes wrong.
#include <cmath>

#include "ProgramFixture.h"

namespace {

constexpr double kPi = 3.14159265358979;

TEST_F(ProgramTest, ADragOverArtMakesAnObjectAndTheDumpShowsTheHost) {
  const ProgramRun made = script(std::string(kSquareScript) +
                                     "drag 50 50 90 50\n"
                                     "expect objects 1\n"
                                     "expect no-alert\n"
                                     "cursor 0 0\n"
                                     "expect cursor 119\n",
                                 {"--dump", "dump.json"});
  ASSERT_EQ(made.status, 0) << made.err;
  const nlohmann::json dump = json("dump.json");
  const std::vector<nlohmann::json> objects = mirrortiles(dump);
  ASSERT_EQ(objects.size(), 1u);
  // The file's (x, y) is the host's (x, -y).
  EXPECT_EQ(entry(objects[0], kMirtilCentreKey), (std::vector<float>{50, -50}));
  EXPECT_EQ(entry(objects[0], kMirtilCnjKey), (std::vector<float>{90, -50}));
  EXPECT_EQ(dump.at("cursor"), 119);
  EXPECT_EQ(dump.at("alerts"), nlohmann::json::array());
  EXPECT_EQ(dump.at("timers").at(0).at("name"), "timerAndAgain");
  bool command = false;
  for (const nlohmann::json& menu : dump.at("menus")) {
    if (menu.at("text") == "Rotate Mirrortiles") command = menu.at("enabled") == true && menu.at("checked") == false;
  }
  EXPECT_TRUE(command);
}

TEST_F(ProgramTest, TheToolRefusesAndTellsWhy) {
  const ProgramRun refused = script(std::string(kSquareScript) +
                                    "drag 50 50 54 50\n"
                                    "expect alert \"Mirror lines are too short\"\n"
                                    "drag 150 150 190 150\n"
                                    "expect alert \"No art in region - no mirrortile created\"\n"
                                    "select red\n"
                                    "cursor 0 0\n"
                                    "expect cursor 118\n"
                                    "drag 50 50 90 50\n"
                                    "expect alert \"Non-mirrortile object selected\"\n"
                                    "select none\n"
                                    "lock \"Layer 1\"\n"
                                    "drag 50 50 90 50\n"
                                    "expect alert \"Current layer either locked or hidden\"\n"
                                    "expect objects 0\n");
  EXPECT_EQ(refused.status, 0) << refused.err;
  EXPECT_NE(refused.err.find("alert: Mirror lines are too short\n"), std::string::npos);
  EXPECT_NE(refused.err.find("alert: Current layer either locked or hidden\n"), std::string::npos);

  const ProgramRun unexpected = script(std::string(kSquareScript) + "drag 50 50 54 50\nexpect no-alert\n");
  EXPECT_EQ(unexpected.status, 1);
  EXPECT_NE(unexpected.err.find("script.mirtil:4: expected no alert"), std::string::npos) << unexpected.err;
}

TEST_F(ProgramTest, ADragOnTheSelectedObjectTurnsItAboutItsPivot) {
  const ProgramRun turned = script(std::string(kSquareScript) +
                                       "prefs type=1\n"
                                       "drag 50 50 90 50\n"
                                       "select @last\n"
                                       "cursor 0 0\n"
                                       "expect cursor 116\n"
                                       "# a quarter turn about the centre, clockwise as the file shows it\n"
                                       "drag 90 50 50 90 moves=8\n",
                                   {"--dump", "dump.json"});
  ASSERT_EQ(turned.status, 0) << turned.err;
  const std::vector<nlohmann::json> objects = mirrortiles(json("dump.json"));
  ASSERT_EQ(objects.size(), 1u);
  // Clockwise on the page is clockwise in the host too: a negative turn.
  EXPECT_NEAR(entry(objects[0], kMirtilAngleKey).at(0), -kPi / 2, 1e-5);
}

TEST_F(ProgramTest, TheHostsMovesAndTransformsReachTheObject) {
  const ProgramRun moved = script(std::string(kSquareScript) +
                                      "drag 50 50 90 50\n"
                                      "move @last 10 20\n"
                                      "expect result 0\n",
                                  {"--dump", "moved.json"});
  ASSERT_EQ(moved.status, 0) << moved.err;
  const std::vector<nlohmann::json> objects = mirrortiles(json("moved.json"));
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(entry(objects[0], kMirtilOffsetKey), (std::vector<float>{10, -20}));
  EXPECT_EQ(entry(objects[0], kMirtilCentreKey), (std::vector<float>{50, -50}));

  // A translation given as a matrix in the file's terms.
  const ProgramRun transformed = script(std::string(kSquareScript) +
                                            "drag 50 50 90 50\n"
                                            "transform @last 1 0 0 1 -5 15\n",
                                        {"--dump", "transformed.json"});
  ASSERT_EQ(transformed.status, 0) << transformed.err;
  EXPECT_EQ(entry(mirrortiles(json("transformed.json")).at(0), kMirtilOffsetKey), (std::vector<float>{-5, -15}));
}

TEST_F(ProgramTest, TheMenuCommandAndTheClockTurnEveryObject) {
  const ProgramRun turning = script(std::string(kSquareScript) +
                                        "drag 50 50 90 50\n"
                                        "prefs steps=4 delay=1\n"
                                        "menu \"Rotate Mirrortiles\"\n"
                                        "wait 0.5\n"
                                        "wait 0.1\n",
                                    {"--dump", "dump.json"});
  ASSERT_EQ(turning.status, 0) << turning.err;
  const nlohmann::json dump = json("dump.json");
  EXPECT_NEAR(entry(mirrortiles(dump).at(0), kMirtilAngleKey).at(0), kPi, 1e-5);
  EXPECT_EQ(dump.at("timers").at(0).at("active"), true);
  EXPECT_EQ(dump.at("timers").at(0).at("period"), 6);
}

TEST_F(ProgramTest, AnimateWritesOneFrameAStepShownInTurn) {
  write("in.svg", kSquareSvg);
  ASSERT_EQ(run({"make", "in.svg", "made.svg", "--press", "50,50", "--release", "90,50"}).status, 0);
  write("prefs", "Mirtil/Steps=4\nMirtil/Delay=1\n");
  const ProgramRun animated = run({"animate", "made.svg", "anim.svg"});
  ASSERT_EQ(animated.status, 0) << animated.err;
  const std::string anim = read("anim.svg");
  // One full turn: the start and three steps, 0.5 s then 0.1 s each.
  for (int frame = 0; frame < 4; ++frame) {
    EXPECT_NE(anim.find("<g id=\"frame" + std::to_string(frame) + "\""), std::string::npos) << frame;
  }
  EXPECT_EQ(anim.find("<g id=\"frame4\""), std::string::npos);
  // The first frame is the still picture; the others show only when played.
  EXPECT_NE(anim.find("<g id=\"frame0\" display=\"inline\">"), std::string::npos);
  EXPECT_NE(anim.find("<g id=\"frame1\" display=\"none\">"), std::string::npos);
  EXPECT_NE(anim.find("keyTimes=\"0;0.625\""), std::string::npos);
  EXPECT_NE(anim.find("dur=\"0.8s\""), std::string::npos);
  EXPECT_NE(anim.find("repeatCount=\"indefinite\""), std::string::npos);
  // Each frame's ids and references are its own.
  EXPECT_NE(anim.find("id=\"frame2-red\""), std::string::npos);
  EXPECT_NE(anim.find("url(#frame3-"), std::string::npos);
  for (std::size_t at = anim.find("url(#"); at != std::string::npos; at = anim.find("url(#", at + 1)) {
    const std::string id = anim.substr(at + 5, anim.find(')', at) - at - 5);
    EXPECT_EQ(id.compare(0, 5, "frame"), 0) << id;
    EXPECT_NE(anim.find("id=\"" + id + "\""), std::string::npos) << id;
  }
  EXPECT_EQ(anim.find("mirtil:"), std::string::npos);

  // The same frames as pictures and as an animated GIF that loops.
  const ProgramRun pictures = run({"animate", "made.svg", "anim.svg", "--frames", "frames", "--gif", "anim.gif",
                                   "--scale", "0.5"});
  ASSERT_EQ(pictures.status, 0) << pictures.err;
  EXPECT_EQ(pictures.out, "wrote anim.svg: 4 frames\nwrote frames/frame-0000.png and on\nwrote anim.gif\n");
  EXPECT_EQ(read("frames/frame-0003.png").compare(1, 3, "PNG"), 0);
  EXPECT_FALSE(exists("frames/frame-0004.png"));
  const std::string gif = read("anim.gif");
  EXPECT_EQ(gif.compare(0, 6, "GIF89a"), 0);
  EXPECT_NE(gif.find("NETSCAPE2.0"), std::string::npos);
  // Each frame's graphics control block holds its time in hundredths: 0.5 s, then 0.1 s.
  std::vector<int> delays;
  for (std::size_t at = gif.find("\x21\xf9\x04"); at != std::string::npos; at = gif.find("\x21\xf9\x04", at + 1)) {
    delays.push_back(static_cast<unsigned char>(gif[at + 4]) | static_cast<unsigned char>(gif[at + 5]) << 8);
  }
  EXPECT_EQ(delays, (std::vector<int>{50, 10, 10, 10}));
}

TEST_F(ProgramTest, TheOptionsDialogKeepsWhatTheUserChoseAndCancelAnswersStop) {
  const ProgramRun chosen = script("options steps=30 delay=2 type=inplace ok\n"
                                   "options steps=7 cancel\n"
                                   "expect result 'STOP'\n",
                                   {"--dump", "dump.json"});
  ASSERT_EQ(chosen.status, 0) << chosen.err;
  EXPECT_EQ(read("prefs"), "Mirtil/Delay=2\nMirtil/Steps=30\nMirtil/Type=0\n");
  EXPECT_EQ(json("dump.json").at("preferences"),
            nlohmann::json::parse(R"({"Mirtil": {"Delay": 2, "Steps": 30, "Type": 0}})"));

  // The default file lives in the user's configuration folder, made when needed.
  write("script.mirtil", "options delay=3 ok\n");
  const ProgramRun configured =
      run({"run", "script.mirtil"}, "XDG_CONFIG_HOME=\"$PWD/config\"", Preferences::Default);
  ASSERT_EQ(configured.status, 0) << configured.err;
  EXPECT_EQ(read("config/mirrortile/prefs"), "Mirtil/Delay=3\nMirtil/Steps=90\nMirtil/Type=1\n");

  // An answer nobody expected stops the script at its line.
  const ProgramRun unexpected = script("options cancel\nexpect objects 0\n");
  EXPECT_EQ(unexpected.status, 1);
  EXPECT_NE(unexpected.err.find("script.mirtil:1:"), std::string::npos) << unexpected.err;
  EXPECT_NE(unexpected.err.find("'STOP'"), std::string::npos) << unexpected.err;
  const ProgramRun wrong = script("options ok\nexpect result 'STOP'\n");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("script.mirtil:2: expected the result 'STOP'"), std::string::npos) << wrong.err;
}

TEST_F(ProgramTest, TheAboutBoxClosesAtTheFirstClickAndChangesNothing) {
  const ProgramRun shown = script("about\nexpect result 0\nexpect no-alert\nexpect objects 0\n");
  EXPECT_EQ(shown.status, 0) << shown.err;
}

TEST_F(ProgramTest, UndoAndRedoTakeBackAndBringBackWholeDrags) {
  const ProgramRun undone = script(std::string(kSquareScript) +
                                   "drag 50 50 90 50\n"
                                   "expect objects 1\n"
                                   "undo\n"
                                   "expect objects 0\n"
                                   "redo\n"
                                   "expect objects 1\n"
                                   "move @last 5 5\n"
                                   "select @last\n"
                                   "undo\n"
                                   "undo\n"
                                   "expect objects 0\n");
  EXPECT_EQ(undone.status, 0) << undone.err;

  const ProgramRun nothing = script("undo\n");
  EXPECT_EQ(nothing.status, 1);
  EXPECT_NE(nothing.err.find("script.mirtil:1: nothing to undo"), std::string::npos) << nothing.err;
}

// Expand: the object becomes a plain group of its result, under its id,
// in one undo step; art that is not plug-in art is refused.
TEST_F(ProgramTest, ExpandReplacesTheObjectByItsResultInOneStep) {
  const ProgramRun expanded = script(std::string(kSquareScript) +
                                         "drag 50 50 90 50\n"
                                         "expect objects 1\n"
                                         "save live.svg\n"
                                         "expand @last\n"
                                         "expect objects 0\n"
                                         "save plain.svg\n"
                                         "undo\n"
                                         "expect objects 1\n"
                                         "redo\n"
                                         "expect objects 0\n"
                                         "expand red\n"
                                         "expect result 'PARM'\n",
                                     {"--dump", "dump.json"});
  ASSERT_EQ(expanded.status, 0) << expanded.err;
  const std::string live = read("live.svg");
  const std::string plain = read("plain.svg");
  EXPECT_NE(live.find("urn:mirrortile:host-document"), std::string::npos);
  EXPECT_EQ(plain.find("<mirtil:"), std::string::npos) << plain;
  // The six cells are there as paths, as many as the object showed.
  const auto count = [](const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_GE(count(plain, "<path"), 6u);
  EXPECT_EQ(mirrortiles(json("dump.json")).size(), 0u);

  write("in.svg", kSquareSvg);
  const ProgramRun made =
      run({"make", "in.svg", "made.svg", "--press", "50,50", "--release", "90,50", "--expand", "flat.svg"});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(read("made.svg").find("urn:mirrortile:host-document"), std::string::npos);
  EXPECT_EQ(read("flat.svg").find("<mirtil:"), std::string::npos);
}

TEST_F(ProgramTest, TheHostsEditsLayersAndFilesWorkFromAScript) {
  const ProgramRun edited = script(std::string(kSquareScript) +
                                   "drag 50 50 90 50\n"
                                   "# the plug-in keeps its objects unpainted and its edit path whole\n"
                                   "paint @last fill=#00ff00 stroke=black\n"
                                   "edit-point @last 1 80 80\n"
                                   "hide \"Layer 1\"\n"
                                   "cursor 0 0\n"
                                   "expect cursor 118\n"
                                   "show \"Layer 1\"\n"
                                   "save saved.svg\n"
                                   "dump saved.json\n"
                                   "new\n"
                                   "expect objects 0\n"
                                   "open saved.svg\n"
                                   "expect objects 1\n"
                                   "layer \"Top\"\n"
                                   "path \"M 0 0 L 10 0 L 10 10 Z\" fill=none stroke=#123456 id=tri\n"
                                   "rect 20 20 5 5 id=gone\n"
                                   "undo\n"
                                   "unload\n"
                                   "about\n"
                                   "expect result 0\n",
                                   {"--dump", "end.json"});
  ASSERT_EQ(edited.status, 0) << edited.err;
  const nlohmann::json object = mirrortiles(json("saved.json")).at(0);
  EXPECT_TRUE(object.at("style").is_null() || object.at("style").at("fill").is_null()) << object.at("style");
  const nlohmann::json& segments = object.at("plugin").at("edit").at("children").at(0).at("segments");
  EXPECT_EQ(segments.at(1).at("p"), segments.at(0).at("p"));

  // The new layer is on top and current; the undone rectangle is gone.
  const nlohmann::json end = json("end.json");
  ASSERT_EQ(end.at("layers").size(), 2u);
  EXPECT_EQ(end.at("layers").at(0).at("name"), "Top");
  ASSERT_EQ(end.at("layers").at(0).at("art").size(), 1u);
  EXPECT_EQ(end.at("layers").at(0).at("art").at(0).at("id"), "tri");
}

TEST_F(ProgramTest, AFailingHostCallReachesTheScriptAsTheCodeItAnswered) {
  const ProgramRun failing = script(std::string(kSquareScript) +
                                    "fail \"AI Art Suite\" GetDictionary 'FAUL'\n"
                                    "drag 50 50 90 50\n"
                                    "expect result 'FAUL'\n"
                                    "expect objects 0\n"
                                    "drag 50 50 90 50\n"
                                    "expect objects 1\n");
  EXPECT_EQ(failing.status, 0) << failing.err;
}

TEST_F(ProgramTest, SavedObjectsReadBackByteForByteAndStayLive) {
  write("in.svg", kSquareSvg);
  const ProgramRun made = run({"make", "in.svg", "made.svg", "--press", "50,50", "--release", "90,50", "--type", "0",
                               "--turn", "90,50,50,90", "--dump", "made.json"});
  ASSERT_EQ(made.status, 0) << made.err;
  const std::vector<nlohmann::json> objects = mirrortiles(json("made.json"));
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0].at("plugin").at("dictionary").at(kMirtilTypeKey), 0);
  EXPECT_NE(entry(objects[0], kMirtilAngleKey).at(0), 0.0f);

  write("nothing.mirtil", "# reads and writes\n");
  ASSERT_EQ(run({"run", "nothing.mirtil", "--open", "made.svg", "--save", "again.svg"}).status, 0);
  EXPECT_EQ(read("again.svg"), read("made.svg"));

  // The plug-in answers for the object it finds in the file.
  const std::string id = objects[0].at("id");
  write("live.mirtil", "expect objects 1\nmove " + id + " 10 0\nselect " + id +
                           "\ncursor 0 0\nexpect cursor 116\n");
  const ProgramRun live = run({"run", "live.mirtil", "--open", "made.svg", "--dump", "live.json"});
  ASSERT_EQ(live.status, 0) << live.err;
  EXPECT_EQ(entry(mirrortiles(json("live.json")).at(0), kMirtilOffsetKey), (std::vector<float>{10, 0}));
}

TEST_F(ProgramTest, TheSeamFreeExportIsACopyThatOpensAsPlainArt) {
  write("in.svg", kSquareSvg);
  const std::vector<std::string> make = {"make", "in.svg", "made.svg", "--press", "50,50", "--release", "90,50"};
  ASSERT_EQ(run(make).status, 0);
  const std::string saved = read("made.svg");
  std::vector<std::string> exporting = make;
  exporting.insert(exporting.end(), {"--export-seam-free", "export.svg"});
  const ProgramRun exported = run(exporting);
  ASSERT_EQ(exported.status, 0) << exported.err;
  // The save is the same with or without the export beside it.
  EXPECT_EQ(read("made.svg"), saved);
  EXPECT_EQ(read("export.svg").find("mirtil:plugin"), std::string::npos);

  write("check.mirtil", "expect objects 0\nexport-seam-free again.svg\n");
  const ProgramRun opened = run({"run", "check.mirtil", "--open", "export.svg"});
  ASSERT_EQ(opened.status, 0) << opened.err;
  EXPECT_TRUE(exists("again.svg"));

  const ProgramRun nowhere = script("new\nexport-seam-free missing/export.svg\n");
  EXPECT_EQ(nowhere.status, 2);
  EXPECT_NE(nowhere.err.find("missing/export.svg"), std::string::npos) << nowhere.err;
}

TEST_F(ProgramTest, MalformedInputExitsTwoNamingThePlace) {
  write("bad.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\">\n  <g>\n    <rect x=\"0\" </g>\n</svg>\n");
  const ProgramRun bad = run({"render", "bad.svg", "out.png"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("bad.svg:3"), std::string::npos) << bad.err;
  EXPECT_FALSE(exists("out.png"));

  // A bad line anywhere stops the script before its first line runs.
  const ProgramRun badLine = script("layer \"Never\"\nrect 0 0 ten 10\n", {"--dump", "dump.json"});
  EXPECT_EQ(badLine.status, 2);
  EXPECT_NE(badLine.err.find("script.mirtil:2: rect: W must be a number, not 'ten'"), std::string::npos)
      << badLine.err;
  EXPECT_FALSE(exists("dump.json"));
  EXPECT_EQ(script("frobnicate 1 2\n").err, "script.mirtil:1: frobnicate: unknown command\n");
  EXPECT_EQ(script("drag 0 0 1 1 speed=3\n").err, "script.mirtil:1: drag: unknown option speed=; drag takes moves=\n");
  EXPECT_EQ(script("menu \"Rotate\n").err, "script.mirtil:1: a text in double quotes is not closed\n");

  const ProgramRun unknown = run({"render", "bad.svg", "out.png", "--frobnicate", "3"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("mirtil-host render: unknown option --frobnicate"), std::string::npos) << unknown.err;
  EXPECT_EQ(run({"make", "in.svg", "out.svg", "--press", "1,2,3", "--release", "4,5"}).status, 2);
  EXPECT_EQ(run({"launch"}).status, 2);

  const ProgramRun missing = run({"run", "nowhere.mirtil"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("nowhere.mirtil"), std::string::npos) << missing.err;
}

TEST_F(ProgramTest, AFailedSaveLeavesThePreviousFileAsItWas) {
  write("script.mirtil", std::string(kSquareScript) + "drag 50 50 90 50\nsave out.svg\n");
  write("out.svg", "previous\n");
  // Files may grow to one block of 1024 bytes: the drawing is larger, so
  // writing it fails half-way.
  const ProgramRun limited = run({"run", "script.mirtil"}, "trap '' XFSZ; ulimit -f 1;");
  EXPECT_EQ(limited.status, 2);
  EXPECT_NE(limited.err.find("out.svg"), std::string::npos) << limited.err;
  EXPECT_EQ(read("out.svg"), "previous\n");
  EXPECT_FALSE(exists("out.svg.saving"));

  // Without the limit the same script saves.
  ASSERT_EQ(run({"run", "script.mirtil"}).status, 0);
  EXPECT_NE(read("out.svg").find("<svg"), std::string::npos);
}

}  // namespace

namespace {

// What the program tells a user who asks, or who gets something wrong.
TEST_F(ProgramTest, TheProgramExplainsItself) {
  const ProgramRun usage = run({"--help"});
  EXPECT_EQ(usage.status, 0);
  EXPECT_NE(usage.out.find("mirtil-host info IN.svg\n"), std::string::npos) << usage.out;
  EXPECT_NE(usage.out.find("mirtil-host COMMAND --help tells more"), std::string::npos);
  const ProgramRun make = run({"make", "--help"});
  EXPECT_EQ(make.status, 0);
  EXPECT_NE(make.out.find("  sweep    press on the centre of the hexagon, release on one of its corners\n"),
            std::string::npos) << make.out;
  EXPECT_NE(make.out.find("  inplace  press on the point that stays put"), std::string::npos);
  EXPECT_NE(run({"help", "animate"}).out.find("each \"Delay\" tenths of a second"), std::string::npos);
  EXPECT_NE(run({"render", "in.svg", "--help"}).out.find("more than\n25 million pixels is refused unless --large"),
            std::string::npos);
  const ProgramRun wrongOption = run({"animate", "a.svg", "b.svg", "--secs", "2"});
  EXPECT_EQ(wrongOption.status, 2);
  EXPECT_NE(wrongOption.err.find("unknown option --secs\nusage: mirtil-host animate"), std::string::npos)
      << wrongOption.err;

  write("in.svg", kSquareSvg);
  const ProgramRun info = run({"info", "in.svg"});
  EXPECT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out,
            "page: width 200, height 200, viewBox 0 0 200 200\n"
            "layers, topmost first:\n"
            "  \"art\": 2 art, x 0 to 100, y 0 to 100\n"
            "mirror-tile objects: 0\n");
}

TEST_F(ProgramTest, MakeAndAnimateSayWhatTheyDidAndWhyNot) {
  write("in.svg", kSquareSvg);
  // The types spelt in any of their ways.
  const ProgramRun made = run({"make", "in.svg", "made.svg", "--press", "50,50", "--release", "90,50", "--type", "SWEEP",
                               "--png", "made.png"});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.out, "wrote made.svg\nwrote made.png\n");
  const ProgramRun badType = run({"make", "in.svg", "x.svg", "--press", "50,50", "--release", "90,50", "--type", "2"});
  EXPECT_EQ(badType.status, 2);
  EXPECT_NE(badType.err.find("--type takes 0, 1, inplace or sweep, not '2'"), std::string::npos) << badType.err;

  const ProgramRun empty = run({"make", "in.svg", "x.svg", "--press", "150,150", "--release", "190,150"});
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.err.find("no mirror-tile object was made: No art in region - no mirrortile created"),
            std::string::npos) << empty.err;
  EXPECT_FALSE(exists("x.svg"));
  const ProgramRun layer = run({"make", "in.svg", "x.svg", "--press", "50,50", "--release", "90,50", "--layer", "Art"});
  EXPECT_NE(layer.err.find("no layer named 'Art'; the layers are 'art'"), std::string::npos) << layer.err;

  // The preview draws the planned hexagon and makes nothing.
  const ProgramRun preview = run({"make", "in.svg", "x.svg", "--press", "50,50", "--release", "90,50", "--type",
                                  "inplace", "--preview", "plan.png"});
  ASSERT_EQ(preview.status, 0) << preview.err;
  EXPECT_EQ(preview.out, "wrote plan.png\n");
  EXPECT_EQ(read("plan.png").compare(1, 3, "PNG"), 0);
  EXPECT_FALSE(exists("x.svg"));

  const ProgramRun still = run({"animate", "in.svg", "anim.svg"});
  EXPECT_EQ(still.status, 2);
  EXPECT_NE(still.err.find("in.svg has no mirror-tile object to turn"), std::string::npos) << still.err;
  write("prefs", "Mirtil/Steps=4\nMirtil/Delay=1\n");
  const ProgramRun animated = run({"animate", "made.svg", "anim.svg"});
  EXPECT_EQ(animated.out, "wrote anim.svg: 4 frames\n") << animated.err;

  const ProgramRun huge = run({"render", "in.svg", "huge.png", "--scale", "30"});
  EXPECT_EQ(huge.status, 2);
  EXPECT_NE(huge.err.find("the picture would be 6000 by 6000 pixels, more than the 25 million"), std::string::npos)
      << huge.err;
  EXPECT_FALSE(exists("huge.png"));
}

TEST_F(ProgramTest, PreferencesStayWithinTheDialogsRanges) {
  const ProgramRun steps = script("prefs steps=400\n");
  EXPECT_EQ(steps.status, 2);
  EXPECT_EQ(steps.err, "script.mirtil:1: prefs: steps= takes 1 to 360, as the options dialog does, not 400\n");
  EXPECT_EQ(script("prefs delay=0\n").err,
            "script.mirtil:1: prefs: delay= takes 1 to 50, as the options dialog does, not 0\n");
  EXPECT_EQ(script("prefs stesp=5\n").err, "script.mirtil:1: prefs: unknown option stesp=; prefs takes steps=, delay=, type=\n");
  EXPECT_EQ(script("options type=round ok\n").err,
            "script.mirtil:1: options: type= takes 0, 1, inplace or sweep, not 'round'\n");
  ASSERT_EQ(script("prefs steps=360 delay=50 type=InPlace\n").status, 0);
  EXPECT_EQ(read("prefs"), "Mirtil/Delay=50\nMirtil/Steps=360\nMirtil/Type=0\n");
}

// Long work tells how far it has come on a terminal, and says nothing
// where its messages go to a file.
TEST_F(ProgramTest, ProgressShowsOnATerminalOnly) {
  write("in.svg", kSquareSvg);
  ASSERT_EQ(run({"make", "in.svg", "made.svg", "--press", "50,50", "--release", "90,50"}).status, 0);
  write("prefs", "Mirtil/Steps=4\nMirtil/Delay=1\n");
  const ProgramRun quiet = run({"animate", "made.svg", "anim.svg", "--gif", "anim.gif"});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_EQ(quiet.err, "");

  // Under a pseudo-terminal of its own.
  const std::string command = "cd '" + folder.string() + "' && script -qec \"'" + MIRTIL_HOST_PATH +
                              "' animate made.svg anim.svg --gif anim.gif --prefs prefs\" /dev/null > terminal.txt";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string terminal = read("terminal.txt");
  for (const char* shown : {"\ropening made.svg\x1b[K", "\ranimating: frame 4\x1b[K", "\ranimating: picture 4 of 4\x1b[K"}) {
    EXPECT_NE(terminal.find(shown), std::string::npos) << shown;
  }
  EXPECT_NE(terminal.find("\r\x1b[Kwrote anim.svg: 4 frames"), std::string::npos) << terminal;
}

// The examples the README points to run as it says.
TEST_F(ProgramTest, TheExamplesRun) {
  const std::string examples = MIRTIL_EXAMPLES_PATH;
  for (const char* name : {"kaleidoscope.mirtil", "refusals.mirtil", "preferences.mirtil"}) {
    const ProgramRun ran = run({"run", examples + "/" + name, "--save", "out.svg"});
    EXPECT_EQ(ran.status, 0) << name << ": " << ran.err;
  }
  const ProgramRun animated =
      run({"run", examples + "/animation.mirtil", "--open", examples + "/garden.svg", "--dump", "garden.json"});
  ASSERT_EQ(animated.status, 0) << animated.err;
  const std::vector<nlohmann::json> objects = mirrortiles(json("garden.json"));
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_NEAR(entry(objects[1], kMirtilAngleKey).at(0), kPi / 2, 1e-5);  // three steps of a twelfth of a turn
  EXPECT_EQ(entry(objects[0], kMirtilAngleKey).at(0), 0.0f);             // selected: stood still
  const ProgramRun made = run({"make", examples + "/tiles.svg", "tiles.svg", "--press", "120,120", "--release",
                               "200,120", "--type", "1", "--png", "tiles.png"});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(read("tiles.png").compare(1, 3, "PNG"), 0);
}

}  // namespace
