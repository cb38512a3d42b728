#include "mirtilcli/Demo.h"

#include "MirtilNames.h"
#include "mirtilcli/DocumentFiles.h"
#include "mirtilcli/ScriptRunner.h"

namespace mirtilcli {

const char* const kDemoScript = R"(# The sample: stripes, discs and a few sharp shapes on three layers.
rect 0 0 640 400 fill=#1d3557 id=sky
rect 0 0 80 400 fill=#e63946 id=stripe-1
rect 160 0 80 400 fill=#f4a261 id=stripe-2
rect 320 0 80 400 fill=#2a9d8f id=stripe-3
rect 480 0 80 400 fill=#e9c46a id=stripe-4

layer "Discs"
circle 150 170 45 fill=#ffb703 id=sun
circle 205 240 30 fill=#8ecae6 stroke=#023047 width=4 id=bubble
circle 120 260 22 fill=#fb8500 id=orange
circle 450 250 50 fill=#d62828 id=poppy
circle 500 200 26 fill=#fcbf49 id=bud

layer "Shapes"
path "M 230 140 L 262 220 L 180 170 L 280 170 L 198 220 Z" fill=#ffffff stroke=#3a0ca3 width=3 id=star
path "M 60 330 L 100 290 L 140 330 L 180 290 L 220 330" fill=none stroke=#f1faee width=6 id=zigzag
path "M 410 180 L 470 300 L 350 300 Z" fill=#7209b7 id=triangle
path "M 520 250 C 560 200 600 300 540 320 C 500 330 480 280 520 250 Z" fill=#06d6a0 id=leaf

# A Sweep object: press at its centre, release at a corner of the hexagon.
prefs type=1
drag 170 200 290 200 moves=6
expect objects 1
# An InPlace object: its hexagon stands about the release point.
prefs type=0
select none
drag 460 250 460 180 moves=6
expect objects 2
expect no-alert
select none
)";

namespace {

constexpr int32_t kDemoSteps = 36;
constexpr int32_t kDemoDelay = 1;

}  // namespace

void runDemo(Session& session, const std::string& folder) {
  session.newDocument("Stripes");
  ScriptRunner runner(session, "(demo)");
  runner.load(kDemoScript);
  runner.run();

  makeFolder(session.machine(), folder);
  const std::string drawing = folder + "/demo.svg";
  const std::string picture = folder + "/demo.png";
  const std::string animation = folder + "/demo-anim.svg";
  saveDocument(session, drawing);
  session.machine().out << "wrote " << drawing << "\n";
  renderDocument(session, picture, 1);
  session.machine().out << "wrote " << picture << "\n";
  session.setPreference(kMirtilStepsPref, kDemoSteps, false);
  session.setPreference(kMirtilDelayPref, kDemoDelay, false);
  AnimationFiles files;
  files.svg = animation;
  writeAnimation(session, files, std::nullopt);
  session.machine().out << "wrote " << animation << "\n";
}

}  // namespace mirtilcli
