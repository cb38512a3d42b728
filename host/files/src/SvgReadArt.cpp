// The reader's art that the document models: groups, shapes as paths and
// compound paths, and clipping by clip paths.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "SvgReader.h"

namespace hostfiles::reading {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

std::optional<ArtCopy> Reader::convert(xmlNode* node, const Matrix& parentCtm, const Properties& parentProps,
                                       double parentOpacity, IdSource source) {
  if (!inNamespace(node, kSvgNamespace)) return std::nullopt;
  const std::string name = nodeName(node);
  if (kNotDrawn.count(name) != 0) return std::nullopt;
  const Properties props = computed(node, parentProps);
  Matrix ctm = parentCtm;
  if (const auto transform = attribute(node, "transform"))
    if (const auto m = parseTransform(*transform)) ctm = parentCtm.after(*m);
  const double opacity = parentOpacity * std::clamp(numberOr(property(props, "opacity"), 1), 0.0, 1.0);

  const bool painted = !urlReference(own(props, "fill")).empty() || !urlReference(own(props, "stroke")).empty();
  const auto set = [&](const char* property) {
    return !own(props, property).empty() && own(props, property) != "none";
  };
  const bool markers = set("marker") || set("marker-start") || set("marker-mid") || set("marker-end");
  const bool effects = set("mask") || set("filter");
  // A stroke drawn in a way the document's styles do not hold stays as written.
  const auto other = [&](const char* property, const char* plain) {
    return !own(props, property).empty() && own(props, property) != plain;
  };
  const bool strokeKept = set("stroke") && (set("stroke-dasharray") || other("stroke-linecap", "butt") ||
                                            other("stroke-linejoin", "miter") || other("stroke-miterlimit", "4"));
  const xmlNode* clip = clipPathOf(props);
  const bool boxClip = clip != nullptr && attribute(clip, "clipPathUnits").value_or("") == "objectBoundingBox";
  const bool isGroup = name == "g" || name == "a";
  // A shape that copies show keeps what it leaves unset for the copies to set.
  const bool copied = !copiedIds_.empty() && copiedIds_.count(attribute(node, "id").value_or("")) != 0;
  const bool modelled =
      !effects && !boxClip && (isGroup || (kShapes.count(name) != 0 && !painted && !markers && !strokeKept && !copied));

  ArtCopy art;
  if (!modelled) {
    art = leaf(node, name, ctm, props, parentOpacity, source);
  } else if (isGroup && hasPluginElement(node)) {
    art = pluginArt(node, ctm, props, opacity);
  } else if (isGroup) {
    art.type = kGroupArt;
    art.id = idOf(node, source, "g");
    for (xmlNode* child = node->children; child != nullptr; child = child->next)
      if (auto c = convert(child, ctm, props, opacity, source)) art.children.push_back(std::move(*c));
    std::reverse(art.children.begin(), art.children.end());  // the last in the file is on top
    if (attribute(node, "clipped", kMirtilNamespace).value_or("") == "true") art.props.clipped = true;
  } else {
    art = shape(node, name, ctm, props, opacity, source);
  }
  if (art.type == kUnknownArt) return std::nullopt;

  art.props.name = attribute(node, "label", kInkscapeNamespace).value_or("");
  if (own(props, "display") == "none") art.props.userAttr |= kArtHidden;
  if (attribute(node, "insensitive", kSodipodiNamespace).value_or("") == "true") art.props.userAttr |= kArtLocked;
  if (attribute(node, "selected", kMirtilNamespace).value_or("") == "true") art.props.userAttr |= kArtSelected;

  if (modelled && clip != nullptr) applyClip(art, clip, ctm, props, source);
  return art;
}

const xmlNode* Reader::clipPathOf(const Properties& props) const {
  const std::string id = urlReference(own(props, "clip-path"));
  if (id.empty()) return nullptr;
  const auto at = byId_.find(id);
  return at != byId_.end() && isElement(at->second, kSvgNamespace, "clipPath") ? at->second : nullptr;
}

// The clipping paths go on top inside the group; other art is wrapped
// in a new clipping group.
void Reader::applyClip(ArtCopy& art, const xmlNode* clip, const Matrix& ctm, const Properties& props, IdSource source) {
  Matrix clipCtm = ctm;
  if (const auto transform = attribute(clip, "transform"))
    if (const auto m = parseTransform(*transform)) clipCtm = ctm.after(*m);
  std::vector<ArtCopy> clips;
  for (xmlNode* child = clip->children; child != nullptr; child = child->next) {
    if (!inNamespace(child, kSvgNamespace) || kShapes.count(nodeName(child)) == 0) continue;
    Matrix childCtm = clipCtm;
    if (const auto transform = attribute(child, "transform"))
      if (const auto m = parseTransform(*transform)) childCtm = clipCtm.after(*m);
    ArtCopy path = shape(child, nodeName(child), childCtm, computed(child, props), 1, source, true);
    clips.insert(clips.begin(), std::move(path));
  }
  if (clips.empty()) return;
  if (art.type != kGroupArt) {
    ArtCopy wrapper;
    wrapper.type = kGroupArt;
    wrapper.id = freshId("g");
    wrapper.children.push_back(std::move(art));
    art = std::move(wrapper);
  }
  art.props.clipped = true;
  art.children.insert(art.children.begin(), std::make_move_iterator(clips.begin()),
                      std::make_move_iterator(clips.end()));
}

void Reader::geometry(const xmlNode* node, const std::string& name, std::vector<Subpath>& into) {
  const auto len = [&](const char* attr) { return lengthOr(node, attr, 0); };
  std::string held;
  if (name == "path") return parsePathData(attributeText(node, "d", held).value_or(""), into);
  if (name == "rect") {
    const auto rxText = attribute(node, "rx"), ryText = attribute(node, "ry");
    double rx = len("rx"), ry = len("ry");
    if (rxText && !ryText) ry = rx;
    if (ryText && !rxText) rx = ry;
    into = rectangle(len("x"), len("y"), len("width"), len("height"), rx, ry);
  } else if (name == "circle") {
    into = ellipse(len("cx"), len("cy"), len("r"), len("r"));
  } else if (name == "ellipse") {
    into = ellipse(len("cx"), len("cy"), len("rx"), len("ry"));
  } else if (name == "line") {
    into = polyline({len("x1"), len("y1"), len("x2"), len("y2")}, false);
  } else {
    const auto points = parseNumberList(attributeText(node, "points", held).value_or(""));
    into = polyline(points.value_or(std::vector<double>{}), name == "polygon");
  }
}

ArtCopy Reader::shape(const xmlNode* node, const std::string& name, const Matrix& ctm, const Properties& props,
                      double opacity, IdSource source, bool clip) {
  geometry(node, name, subpaths_);
  const std::string corners = attribute(node, "corners", kMirtilNamespace).value_or("");
  size_t cornerAt = 0;
  const auto point = [&](Point p) {
    const Point q = ctm.apply(p);
    return AIRealPoint{coordinate(node, q.x), flipped(coordinate(node, q.y))};
  };
  // Most handles lie on their anchors: the same bits map to the same point.
  const auto sameBits = [](const Point& a, const Point& b) { return std::memcmp(&a, &b, sizeof(Point)) == 0; };
  const auto toSegment = [&](const Anchor& a) {
    AIPathSegment s;
    s.p = point(a.p);
    s.in = sameBits(a.in, a.p) ? s.p : point(a.in);
    s.out = sameBits(a.out, a.p) ? s.p : point(a.out);
    while (cornerAt < corners.size() && corners[cornerAt] == ' ') ++cornerAt;
    s.corner = cornerAt < corners.size() ? corners[cornerAt++] == '1' : inferredCorner(s);
    return s;
  };
  ArtCopy art;
  art.id = idOf(node, source, "path");
  art.props.style = styleIndex(
      pathStyle(props, ctm, opacity, clip || attribute(node, "clip", kMirtilNamespace).value_or("") == "true"));
  std::vector<ArtCopy> paths;
  for (const Subpath& subpath : subpaths_) {
    ArtCopy path;
    path.type = kPathArt;
    path.props.style = art.props.style;
    path.path.closed = subpath.closed;
    std::vector<AIPathSegment>& segments = path.path.segments.edit();
    segments.reserve(subpath.anchors.size());
    for (const Anchor& a : subpath.anchors) segments.push_back(toSegment(a));
    paths.push_back(std::move(path));
  }
  if (paths.size() == 1) {
    paths[0].id = art.id;
    return std::move(paths[0]);
  }
  art.type = paths.empty() ? kPathArt : kCompoundPathArt;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string wanted = art.id + "." + std::to_string(i + 1);
    paths[i].id = usedIds_.insert(wanted).second ? wanted : freshId("path");
  }
  art.children.assign(std::make_move_iterator(paths.rbegin()), std::make_move_iterator(paths.rend()));
  return art;
}

}  // namespace hostfiles::reading
