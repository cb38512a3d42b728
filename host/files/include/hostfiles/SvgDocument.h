// Documents as SVG files: reading a file into the host core's document,
// writing the document back, and pictures of either.
//
// Reading: the root's user units are document points, a file point (x, y)
// is (h, v) = (x, -y). Each top-level group is a layer, each run of other
// top-level art a layer of its own; the last layer in the file is the
// topmost. Shapes become paths, clipped groups clipping groups, plug-in
// objects come back from the host's own elements and are marked dirty;
// what the document does not model (text, images, uses, paint servers) is
// kept with its definitions as leaf art.
//
// Writing gives a file that viewers show as the host does; it reads back
// to the same document, and writing that again gives the same bytes.
#pragma once

#include <cstddef>
#include <string>

#include "hostcore/HostCore.h"
#include "hostfiles/FileStore.h"
#include "hostfiles/SvgRenderer.h"

namespace hostfiles {

// Empty error on success; otherwise a message naming the file and, for
// faults in the text, the line.
struct Outcome {
  std::string error;
  bool ok() const { return error.empty(); }
  explicit operator bool() const { return ok(); }
};

// Larger texts are refused before they are parsed: a document this size
// already takes gigabytes once read.
constexpr size_t kMaxSvgBytes = size_t(256) << 20;

// Replaces the core's document with the one the text describes; on
// failure the core's document is left as it was. `sourceName` names the
// text in error messages.
Outcome readSvg(hostcore::HostCore& core, const std::string& svgText, const std::string& sourceName);
Outcome openSvg(hostcore::HostCore& core, FileStore& files, const std::string& path);

// The text through the sink, piece by piece; false when the sink refused a piece.
bool writeSvg(hostcore::HostCore& core, const TextSink& sink);
std::string writeSvg(hostcore::HostCore& core);
// Atomic: a failed save leaves the old file as it was.
Outcome saveSvg(hostcore::HostCore& core, FileStore& files, const std::string& path);

// A copy of the document for other programs: the cells of each mirror-tile
// result overlap their neighbours by `overlap` points across the mirror
// lines, and clipping groups are written as masks, which renderers apply
// to the group drawn whole, so that no anti-aliasing renderer shows a seam
// of what lies below where two cells meet. Plug-in objects are written as their result alone: the copy
// does not read back as live objects.
std::string writeSeamFreeSvg(hostcore::HostCore& core, double overlap);
// A hairline, yet more than half a pixel's diagonal when drawn at one
// pixel per point or more: wider than the partly covered edge pixels.
constexpr double kSeamFreeOverlap = 0.75;
// The copy at kSeamFreeOverlap, written atomically.
Outcome exportSeamFreeSvg(hostcore::HostCore& core, FileStore& files, const std::string& path);

// A PNG picture of the SVG text (or of the document, drawn from its
// seam-free copy) at `scale` pixels per point, written atomically.
Outcome renderPng(SvgRenderer& renderer, FileStore& files, const std::string& svgText, double scale,
                  const std::string& path);
// Cells of a document's picture overlap by this many pixels, more than
// half a pixel's diagonal.
constexpr double kPictureOverlapPixels = 0.75;
Outcome renderPng(SvgRenderer& renderer, FileStore& files, hostcore::HostCore& core, double scale,
                  const std::string& path);

}  // namespace hostfiles
