// The writer's art that the document models: groups, clipping groups
// with their clip paths (or, in the seam-free copy, masks), and paths
// with their path data, corners and styles.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "SvgWriter.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles::writing {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

namespace {

std::string hexColor(const AIColor& color) {
  const auto channel = [](AIReal value) { return int(std::lround(std::clamp(double(value), 0.0, 1.0) * 255)); };
  static const char digits[] = "0123456789abcdef";
  std::string text = "#";
  for (const AIReal value : {color.red, color.green, color.blue}) {
    const int c = channel(value);
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text;
}

// Most of a file is points: they are written straight into room made for
// them, not appended piece by piece.
char* writePoint(char* at, const AIRealPoint& p) {
  at = writeReal(at, p.h);
  *at++ = ' ';
  return writeReal(at, flipped(p.v));
}

template <size_t N>
char* writeText(char* at, const char (&text)[N]) {
  std::memcpy(at, text, N - 1);
  return at + N - 1;
}

bool straight(const AIPathSegment& from, const AIPathSegment& to) {
  return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
}

char* writeSegment(char* at, const AIPathSegment& from, const AIPathSegment& to) {
  if (straight(from, to)) {
    at = writeText(at, " L ");
  } else {
    at = writeText(at, " C ");
    at = writePoint(at, from.out);
    *at++ = ' ';
    at = writePoint(at, to.in);
    *at++ = ' ';
  }
  return writePoint(at, to.p);
}

void appendPathData(std::string& d, const std::vector<AIPathSegment>& segments, bool closed) {
  if (segments.empty()) return;
  // A segment takes at most three points, their blanks and its command;
  // the move takes less. Segments are gathered on the stack and handed to
  // the text a few kilobytes at a time.
  constexpr size_t kSegmentRoom = 3 * (2 * kRealTextRoom + 2) + 3;
  char buffer[32 * kSegmentRoom];
  char* at = writeText(buffer, "M ");
  at = writePoint(at, segments[0].p);
  const auto segment = [&](const AIPathSegment& from, const AIPathSegment& to) {
    if (size_t(buffer + sizeof buffer - at) < kSegmentRoom) {
      d.append(buffer, at);
      at = buffer;
    }
    at = writeSegment(at, from, to);
  };
  for (size_t i = 1; i < segments.size(); ++i) segment(segments[i - 1], segments[i]);
  if (closed) {
    const AIPathSegment& last = segments.back();
    const AIPathSegment& first = segments.front();
    // A straight closing segment is the close itself, unless it ends where
    // it starts: then it is written, so that it does not read as merged.
    if (!straight(last, first) || (last.p.h == first.p.h && last.p.v == first.p.v)) segment(last, first);
  }
  d.append(buffer, at);
  if (closed) d += " Z";
}

}  // namespace

void Writer::writeChildren(const std::vector<ArtCopy>& children, const Scope& scope) {
  for (auto child = children.rbegin(); child != children.rend(); ++child) writeArt(*child, scope);
}

void Writer::writeCommon(const ArtCopy& art, const Scope& scope) {
  common(art, scope, [this](const char* name, const std::string& value) { set(name, value); });
}

AIPathStyle Writer::styleOf(const ArtCopy& art) const {
  AIPathStyle style = Document::clearedPathStyle();
  if (art.props.style != hostcore::kNoIndex)
    hostcore::require(document_.styleAttributes(document_.styleHandle(art.props.style), &style, nullptr),
                      "styleAttributes");
  return style;
}

bool Writer::isClipPath(const ArtCopy& art) const {
  return (art.type == kPathArt || art.type == kCompoundPathArt) && styleOf(art).clip;
}

void Writer::writeArt(const ArtCopy& art, const Scope& scope) {
  switch (art.type) {
    case kGroupArt:
      writeGroup(art, scope);
      break;
    case kPathArt:
    case kCompoundPathArt:
      writePath(art, scope, PathRole::Drawn);
      break;
    case kPluginArt:
      writePlugin(art, scope);
      break;
    default:
      writeLeaf(art, scope);
      break;
  }
}

void Writer::writeGroup(const ArtCopy& art, const Scope& scope) {
  open("g");
  writeCommon(art, scope);
  std::vector<const ArtCopy*> clips, others;
  for (const ArtCopy& child : art.children) (art.props.clipped && isClipPath(child) ? clips : others).push_back(&child);
  if (art.props.clipped && clips.empty()) set("mirtil:clipped", "true");
  if (!clips.empty()) {
    const std::string clipId = scope.stored ? scope.owner + "-clip" + std::to_string(++storedClips_) : art.id + "-clip";
    if (seamOverlap_) {
      writeClipAsMask(clips, clipId, scope);
    } else {
      set("clip-path", "url(#" + clipId + ")");
      open("clipPath");
      set("id", clipId);
      for (auto clip = clips.rbegin(); clip != clips.rend(); ++clip) writePath(**clip, scope, PathRole::Clip);
      close();
    }
  }
  for (auto child = others.rbegin(); child != others.rend(); ++child) writeArt(**child, scope);
  close();
}

// Renderers clip a group shape by shape, so each half-covered edge pixel
// lets the shapes below it show through; a mask is applied to the group
// drawn whole. The clip paths become the mask's white shapes, within a
// mask region of their own bounds.
void Writer::writeClipAsMask(const std::vector<const ArtCopy*>& clips, const std::string& clipId, const Scope& scope) {
  set("mask", "url(#" + clipId + ")");
  open("mask");
  set("id", clipId);
  set("maskUnits", "userSpaceOnUse");
  double left = 0, top = 0, right = 0, bottom = 0;
  bool any = false;
  const auto include = [&](const AIRealPoint& point) {
    const double x = point.h, y = -point.v;
    left = any ? std::min(left, x) : x;
    right = any ? std::max(right, x) : x;
    top = any ? std::min(top, y) : y;
    bottom = any ? std::max(bottom, y) : y;
    any = true;
  };
  const auto includePath = [&](const ArtCopy& path) {
    for (const AIPathSegment& segment : path.path.segments) {
      include(segment.p);
      include(segment.in);
      include(segment.out);
    }
  };
  for (const ArtCopy* clip : clips) {
    if (clip->type == kPathArt) includePath(*clip);
    for (const ArtCopy& part : clip->children) includePath(part);
  }
  // A point beyond the shapes on every side keeps their anti-aliased edges.
  const double margin = any ? 1 : 0;
  set("x", formatReal(left - margin));
  set("y", formatReal(top - margin));
  set("width", formatReal(right - left + 2 * margin));
  set("height", formatReal(bottom - top + 2 * margin));
  for (auto clip = clips.rbegin(); clip != clips.rend(); ++clip) writePath(**clip, scope, PathRole::Mask);
  close();
}

void Writer::writePath(const ArtCopy& art, const Scope& scope, PathRole role) {
  open("path");
  writeCommon(art, scope);
  if (surveying_) return;
  // The path data goes straight into the text: it holds nothing to escape.
  text_ += " d=\"";
  bool inferred = true, empty = true;
  const auto add = [&](const ArtCopy& path) {
    const std::vector<AIPathSegment>& segments = path.path.segments;
    if (!empty && !segments.empty()) text_ += ' ';
    appendPathData(text_, segments, path.path.closed);
    empty = empty && segments.empty();
    inferred = inferred && cornersAsInferred(segments);
  };
  if (art.type == kPathArt) {
    add(art);
  } else {
    for (auto child = art.children.rbegin(); child != art.children.rend(); ++child) add(*child);
  }
  text_ += '"';
  // Corner flags are written only when they differ from what the shape tells.
  if (!inferred) {
    std::string corners;
    const auto flags = [&](const ArtCopy& path) {
      corners += (corners.empty() ? "" : " ") + cornerFlags(path.path.segments);
    };
    if (art.type == kPathArt) {
      flags(art);
    } else {
      for (auto child = art.children.rbegin(); child != art.children.rend(); ++child) flags(*child);
    }
    set("mirtil:corners", corners);
  }

  const AIPathStyle style = styleOf(art);
  if (role == PathRole::Mask) {
    set("fill", "#ffffff");
    if (style.evenOdd) set("fill-rule", "evenodd");
    close();
    return;
  }
  const bool fill = style.fillPaint && style.fill.color.kind == kRGBColor;
  const bool stroke = style.strokePaint && style.stroke.color.kind == kRGBColor;
  set("fill", fill ? hexColor(style.fill.color) : "none");
  if (fill && style.fill.opacity != 1) set("fill-opacity", formatReal(style.fill.opacity));
  if (stroke) {
    set("stroke", hexColor(style.stroke.color));
    set("stroke-width", formatReal(style.stroke.width));
    if (style.stroke.opacity != 1) set("stroke-opacity", formatReal(style.stroke.opacity));
  }
  if (style.evenOdd) set(role == PathRole::Clip ? "clip-rule" : "fill-rule", "evenodd");
  if (style.clip && role == PathRole::Drawn) set("mirtil:clip", "true");
  close();
}

}  // namespace hostfiles::writing
