// The session's document and the files it is read from and written to,
// through the files library; every failure is a UsageError naming the
// file (and, for a fault in its text, the line).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hostapi/HostTypes.h"
#include "mirtilcli/Session.h"

namespace mirtilcli {

std::string readFile(Machine& machine, const std::string& path);
void makeFolder(Machine& machine, const std::string& path);

void openDocument(Session& session, const std::string& path);
void saveDocument(Session& session, const std::string& path);
// A copy for other programs, its mirror-tile cells overlapping by a
// hairline so that no renderer shows seams; it does not open as live objects.
void exportSeamFree(Session& session, const std::string& path);
// A picture at `scale` pixels per point, without seams.
void renderDocument(Session& session, const std::string& path, double scale);

// The page as the document is written: its attributes as text, and its
// size at one pixel per point.
struct Page {
  std::string width, height, viewBox;
  double pixelsWide = 0, pixelsHigh = 0;
};
Page documentPage(Session& session);
// The document as JSON, with the host's menus, timers, preferences,
// alerts and cursor beside it.
void dumpDocument(Session& session, const std::string& path);

// Where an animation goes: the animated SVG, and if named a folder of
// one PNG picture a frame (frame-0000.png on) and an animated GIF, the
// pictures at `scale` pixels per point.
struct AnimationFiles {
  std::string svg;
  std::string framesFolder;
  std::string gif;
  double scale = 1;
};

// Turns on the rotation animation and writes the steps that come within
// `seconds` (by default one full turn at the present preferences), each
// frame shown for as long as the host shows it; answers the number of
// frames.
std::size_t writeAnimation(Session& session, const AnimationFiles& files, std::optional<double> seconds);

// A colour as SVG writes it, or "none" (kNoColor); false for anything else.
bool parseColor(const std::string& text, AIColor& color);

// One subpath, in the host's coordinates.
struct PathData {
  std::vector<AIPathSegment> segments;
  bool closed = false;
};
// SVG path data of one subpath; false with the reason otherwise.
bool parsePathData(const std::string& text, PathData& path, std::string& problem);
// The shapes as SVG draws them.
PathData rectanglePath(Point corner, double width, double height);
PathData circlePath(Point centre, double radius);

}  // namespace mirtilcli
