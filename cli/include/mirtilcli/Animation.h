// The rotation animation as an animated SVG: the host's menu command
// turns it on, the clock runs from one timer step to the next, and each
// state of the document becomes a frame group shown in turn (SMIL
// <animate> of its display, looping).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mirtilcli/Session.h"

namespace mirtilcli {

constexpr const char* kRotateCommandText = "Rotate Mirrortiles";

// One state of the document as written by the files library, and when it
// appeared, in seconds from the start.
struct Frame {
  std::string svg;
  double start = 0;
};

struct Recording {
  std::vector<Frame> frames;
  double length = 0;  // seconds; the last frame lasts until then
};

// Chooses the command and records a frame at the start and after every
// timer step within `seconds`; by default one full turn at the present
// "Steps" and "Delay", telling `recorded` the number of each frame.
// Throws CheckFailure when a message fails.
Recording recordFrames(Session& session, std::optional<double> seconds,
                       const std::function<void(std::size_t)>& recorded);

// The frames as one looping animated SVG; UsageError for a frame that is
// not SVG.
std::string composeAnimation(const Recording& recording);

// The whole recording as one animated SVG.
std::string recordAnimation(Session& session, std::optional<double> seconds);

}  // namespace mirtilcli
