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

std::string writeSvg(hostcore::HostCore& core);
// Atomic: a failed save leaves the old file as it was.
Outcome saveSvg(hostcore::HostCore& core, FileStore& files, const std::string& path);

// A PNG picture of the SVG text (or of the document as it would be
// written) at `scale` pixels per point, written atomically.
Outcome renderPng(SvgRenderer& renderer, FileStore& files, const std::string& svgText, double scale,
                  const std::string& path);
Outcome renderPng(SvgRenderer& renderer, FileStore& files, hostcore::HostCore& core, double scale,
                  const std::string& path);

}  // namespace hostfiles
