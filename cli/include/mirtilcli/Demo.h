// The built-in demonstration: sample art on three layers, a "Sweep" and an
// "InPlace" mirror-tile object made with the tool, and the rotation
// animation, written into a folder.
#pragma once

#include <string>

#include "mirtilcli/Session.h"

namespace mirtilcli {

// The script that draws the sample and makes the two objects.
extern const char* const kDemoScript;

// Writes DIR/demo.svg, DIR/demo.png and DIR/demo-anim.svg, and prints
// their names.
void runDemo(Session& session, const std::string& folder);

}  // namespace mirtilcli
