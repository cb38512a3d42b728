// SVG text into a document: layers from the top-level groups, art from the
// elements, plug-in objects from the host's own elements.
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "SvgModel.h"
#include "hostcore/MatrixMath.h"
#include "hostfiles/SvgDocument.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles {

namespace {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

// Properties that children take from their parents.
const std::set<std::string> kInherited = {"fill",
                                          "fill-opacity",
                                          "fill-rule",
                                          "stroke",
                                          "stroke-width",
                                          "stroke-opacity",
                                          "stroke-linecap",
                                          "stroke-linejoin",
                                          "stroke-miterlimit",
                                          "stroke-dasharray",
                                          "stroke-dashoffset",
                                          "marker",
                                          "marker-start",
                                          "marker-mid",
                                          "marker-end",
                                          "font-family",
                                          "font-size",
                                          "font-weight",
                                          "font-style",
                                          "text-anchor",
                                          "color",
                                          "clip-rule",
                                          "visibility",
                                          "letter-spacing"};
const std::set<std::string> kOwnOnly = {"opacity", "display", "clip-path", "mask", "filter"};

// Elements that define things but draw nothing where they stand.
const std::set<std::string> kNotDrawn = {"defs",   "clipPath", "mask",  "linearGradient", "radialGradient", "pattern",
                                         "symbol", "marker",   "style", "title",          "desc",           "metadata",
                                         "script", "filter",   "font",  "font-face",      "cursor",         "view"};
const std::set<std::string> kShapes = {"path", "rect", "circle", "ellipse", "line", "polyline", "polygon"};

using Properties = std::map<std::string, std::string>;

// Ids come from `id` for the document's art and from the host's own
// attribute for art stored in dictionaries, which must not claim ids.
enum class IdSource { Document, Stored };

struct Fault {
  std::string message;
};

std::string nodeName(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string textContent(const xmlNode* node) {
  xmlChar* text = xmlNodeGetContent(node);
  std::string result = text != nullptr ? reinterpret_cast<const char*>(text) : "";
  xmlFree(text);
  return result;
}

std::optional<std::string> property(const Properties& props, const char* name) {
  const auto at = props.find(name);
  return at == props.end() ? std::nullopt : std::optional<std::string>(at->second);
}

double numberOr(const std::optional<std::string>& text, double fallback) {
  if (!text) return fallback;
  const std::string_view t = trim(*text);
  const bool percent = !t.empty() && t.back() == '%';
  const auto values = parseNumberList(percent ? t.substr(0, t.size() - 1) : t);
  if (!values || values->size() != 1) return fallback;
  return percent ? (*values)[0] / 100 : (*values)[0];
}

double lengthOr(const xmlNode* node, const char* name, double fallback) {
  const auto text = attribute(node, name);
  if (!text) return fallback;
  return parseLength(*text).value_or(fallback);
}

AIColor rgbColor(const Rgb& rgb) {
  AIColor color{};
  color.kind = kRGBColor;
  color.red = AIReal(rgb.r);
  color.green = AIReal(rgb.g);
  color.blue = AIReal(rgb.b);
  return color;
}

class Reader {
 public:
  Reader(hostcore::HostCore& core, Document& document, std::string source)
      : core_(core), document_(document), source_(std::move(source)) {}

  void read(xmlDoc* xml) {
    xmlNode* root = xmlDocGetRootElement(xml);
    xml_ = xml;
    if (root == nullptr || !isElement(root, kSvgNamespace, "svg")) fail(root, "the root element is not svg");
    root_ = root;
    index(root);
    readPage(root);
    const Properties rootProps = computed(root, {});

    struct LayerSpec {
      std::string id, title;
      bool visible = true, editable = true;
      std::vector<ArtCopy> art;  // top first
    };
    std::vector<LayerSpec> layers;  // in file order
    bool inRun = false;
    for (xmlNode* child = root->children; child != nullptr; child = child->next) {
      if (!inNamespace(child, kSvgNamespace) || kNotDrawn.count(nodeName(child)) != 0) continue;
      const std::string label = attribute(child, "label", kInkscapeNamespace).value_or("");
      const auto id = attribute(child, "id");
      if (nodeName(child) == "g" && !hasPluginElement(child)) {
        LayerSpec layer;
        const Properties props = computed(child, rootProps);
        layer.title = !label.empty() ? label : id ? *id : "Layer " + std::to_string(layers.size() + 1);
        layer.visible = own(props, "display") != "none";
        layer.editable = attribute(child, "insensitive", kSodipodiNamespace).value_or("") != "true";
        std::optional<ArtCopy> group = convert(child, Matrix{}, rootProps, 1, IdSource::Document);
        layer.id = group->id;
        group->props.userAttr = 0;
        if (group->type != kGroupArt) {
          // A layer drawn with effects is kept whole, under its own id.
          layer.id = freshId("layer");
          layer.art.push_back(std::move(*group));
        } else if (group->props.clipped) {
          // A clipped layer keeps its clipping in a group inside it.
          group->id = freshId("g");
          group->props.name.clear();
          layer.art.push_back(std::move(*group));
        } else {
          layer.art = std::move(group->children);
        }
        layers.push_back(std::move(layer));
        inRun = false;
        continue;
      }
      std::optional<ArtCopy> art = convert(child, Matrix{}, rootProps, 1, IdSource::Document);
      if (!art) continue;
      if (!inRun) {
        LayerSpec layer;
        layer.title = "Layer " + std::to_string(layers.size() + 1);
        layer.id = freshId("layer");
        layers.push_back(std::move(layer));
        inRun = true;
      }
      std::vector<ArtCopy>& art_ = layers.back().art;
      art_.insert(art_.begin(), std::move(*art));
    }

    // Refused whole rather than read in part: the layers' groups count too.
    size_t nodes = layers.size();
    for (const LayerSpec& layer : layers)
      for (const ArtCopy& art : layer.art) nodes += hostcore::ArtTree::nodesToBuild(art);
    if (nodes > document_.artLimit())
      throw Fault{source_ + ": the drawing has " + std::to_string(nodes) + " art objects, more than the " +
                  std::to_string(document_.artLimit()) + " a document may hold"};

    // The last layer of the file is the topmost, the first in the host's order.
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
      AILayerHandle handle;
      AIArtHandle group;
      hostcore::require(document_.addLayer(layer->title.c_str(), &handle), "addLayer");
      hostcore::require(document_.setLayerVisible(handle, layer->visible), "setLayerVisible");
      hostcore::require(document_.setLayerEditable(handle, layer->editable), "setLayerEditable");
      hostcore::require(document_.firstArtOfLayer(handle, &group), "firstArtOfLayer");
      // An empty id, or one that other art holds, leaves the layer the one made up for it.
      const AIErr idSet = document_.setArtId(group, layer->id);
      if (idSet != kHostBadParameterErr && idSet != kHostNotAllowedErr) hostcore::require(idSet, "setArtId");
      for (const ArtCopy& art : layer->art)
        hostcore::require(document_.placeCopy(art, kPlaceInsideOnBottom, group, nullptr), "placeCopy");
    }
    document_.journal().clear();
  }

 private:
  [[noreturn]] void fail(const xmlNode* node, const std::string& message) {
    const long line = node != nullptr ? xmlGetLineNo(node) : 0;
    throw Fault{source_ + ":" + std::to_string(line) + ": " + message};
  }

  // Points are held in single precision: a coordinate beyond its range
  // would become infinite, so the file is refused instead.
  AIReal coordinate(const xmlNode* node, double value) {
    const AIReal real = AIReal(value);
    if (!std::isfinite(real)) fail(node, "coordinate out of range");
    return real;
  }

  // ---- Ids ------------------------------------------------------------------

  void index(xmlNode* node) {
    if (node->type != XML_ELEMENT_NODE) return;
    order_.emplace(node, order_.size());
    // A copy in a clip path gives only its outline.
    if (isElement(node, kSvgNamespace, "use") && !isElement(node->parent, kSvgNamespace, "clipPath"))
      for (const char* ns : {static_cast<const char*>(nullptr), kXlinkNamespace})
        if (const auto href = attribute(node, "href", ns); href && href->size() > 1 && (*href)[0] == '#')
          copiedIds_.insert(href->substr(1));
    for (const char* ns : {static_cast<const char*>(nullptr), kMirtilNamespace}) {
      if (const auto id = attribute(node, "id", ns)) {
        usedIds_.insert(*id);
        if (ns == nullptr) byId_.emplace(*id, node);
      }
    }
    for (xmlNode* child = node->children; child != nullptr; child = child->next) index(child);
  }

  std::string freshId(const std::string& prefix) {
    std::string id;
    do {
      id = prefix + std::to_string(++idCounter_);
    } while (usedIds_.count(id) != 0);
    usedIds_.insert(id);
    return id;
  }

  std::string idOf(const xmlNode* node, IdSource source, const char* prefix) {
    if (source == IdSource::Stored) {
      // Stored copies keep the ids of the art they copied, which may still be in the document.
      const auto id = attribute(node, "id", kMirtilNamespace);
      return id ? *id : std::string();
    }
    const auto id = attribute(node, "id");
    if (id && !id->empty() && takenIds_.insert(*id).second) return *id;
    return freshId(prefix);
  }

  // ---- Page and properties ---------------------------------------------------------

  // The page, and beside it what the document does not model: the page's
  // attributes as written, the style sheets and the metadata.
  void readPage(xmlNode* root) {
    document_.setArtboard(pageOf(attribute(root, "width"), attribute(root, "height"), attribute(root, "viewBox")));
    xmlDoc* extras = xmlNewDoc(BAD_CAST "1.0");
    xmlNode* holder = xmlNewDocNode(extras, nullptr, BAD_CAST "extras", nullptr);
    xmlDocSetRootElement(extras, holder);
    xmlSetNs(holder, xmlNewNs(holder, BAD_CAST kSvgNamespace, nullptr));
    for (const char* name : kPageAttributes)
      if (const auto value = attribute(root, name)) xmlSetProp(holder, BAD_CAST name, BAD_CAST value->c_str());
    std::vector<xmlNode*> kept;
    for (xmlNode* child = root->children; child != nullptr; child = child->next)
      if (isElement(child, kSvgNamespace, "metadata")) kept.push_back(child);
    gatherStyleSheets(root, kept);
    for (xmlNode* element : kept) {
      if (isElement(element, kSvgNamespace, "style")) {
        for (StyleRule& rule : parseStyleSheet(textContent(element))) styleRules_.push_back(std::move(rule));
      }
      xmlNode* copy = nullptr;
      xmlDOMWrapCloneNode(nullptr, xml_, element, &copy, extras, holder, 1, 0);
      xmlAddChild(holder, copy);
    }
    if (holder->properties != nullptr || holder->children != nullptr) {
      xmlReconciliateNs(extras, holder);
      document_.setFileExtras(serializeNode(extras, holder));
    }
    xmlFreeDoc(extras);
  }

  // Style sheets of the root, its groups and its definitions; those inside
  // art kept as written go with that art.
  static void gatherStyleSheets(xmlNode* parent, std::vector<xmlNode*>& found) {
    for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
      if (isElement(child, kSvgNamespace, "style")) found.push_back(child);
      if (isElement(child, kSvgNamespace, "g") || isElement(child, kSvgNamespace, "defs") ||
          isElement(child, kSvgNamespace, "a"))
        gatherStyleSheets(child, found);
    }
  }

  // The element's properties: the inherited ones of its parent, then its
  // presentation attributes, then the style sheets' rules that match it
  // (the more specific later), then its style attribute.
  Properties computed(const xmlNode* node, const Properties& parent) const {
    Properties props;
    for (const auto& [name, value] : parent)
      if (kInherited.count(name) != 0) props[name] = value;
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
      if (a->ns != nullptr) continue;
      const std::string name = reinterpret_cast<const char*>(a->name);
      if (kInherited.count(name) != 0 || kOwnOnly.count(name) != 0)
        props[name] = std::string(trim(attribute(node, name.c_str()).value_or("")));
    }
    const auto take = [&](const std::string& name, const std::string& value) {
      if (kInherited.count(name) != 0 || kOwnOnly.count(name) != 0) props[name] = value;
    };
    if (!styleRules_.empty()) {
      const std::string type = nodeName(node), classes = attribute(node, "class").value_or("");
      const std::string id = attribute(node, "id").value_or("");
      std::vector<const StyleRule*> matching;
      for (const StyleRule& rule : styleRules_)
        if (rule.matches(type, classes, id)) matching.push_back(&rule);
      std::stable_sort(matching.begin(), matching.end(),
                       [](const StyleRule* a, const StyleRule* b) { return a->specificity() < b->specificity(); });
      for (const StyleRule* rule : matching)
        for (const auto& [name, value] : rule->declarations) take(name, value);
    }
    if (const auto style = attribute(node, "style"))
      for (auto& [name, value] : parseStyleDeclarations(*style)) take(name, value);
    for (const auto& [name, value] : Properties(props))
      if (value == "inherit") {
        const auto at = parent.find(name);
        if (at != parent.end())
          props[name] = at->second;
        else
          props.erase(name);
      }
    return props;
  }

  static std::string own(const Properties& props, const char* name) {
    const auto at = props.find(name);
    return at == props.end() ? std::string() : at->second;
  }

  // ---- Art ------------------------------------------------------------------------------

  std::optional<ArtCopy> convert(xmlNode* node, const Matrix& parentCtm, const Properties& parentProps,
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
    const bool copied = copiedIds_.count(attribute(node, "id").value_or("")) != 0;
    const bool modelled = !effects && !boxClip &&
                          (isGroup || (kShapes.count(name) != 0 && !painted && !markers && !strokeKept && !copied));

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

  const xmlNode* clipPathOf(const Properties& props) const {
    const std::string id = urlReference(own(props, "clip-path"));
    if (id.empty()) return nullptr;
    const auto at = byId_.find(id);
    return at != byId_.end() && isElement(at->second, kSvgNamespace, "clipPath") ? at->second : nullptr;
  }

  // The clipping paths go on top inside the group; other art is wrapped
  // in a new clipping group.
  void applyClip(ArtCopy& art, const xmlNode* clip, const Matrix& ctm, const Properties& props, IdSource source) {
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

  uint32_t styleIndex(const AIPathStyle& style) {
    const AIPathStyleMap all{1, 1, 1, 1, 1, 1};
    AIArtStyleHandle handle;
    uint32_t index = hostcore::kNoIndex;
    hostcore::require(document_.newStyle(style, all, &handle), "newStyle");
    hostcore::require(document_.styleIndex(handle, &index), "styleIndex");
    return index;
  }

  AIPathStyle pathStyle(const Properties& props, const Matrix& ctm, double opacity, bool clip) {
    AIPathStyle style = Document::clearedPathStyle();
    const auto paint = [&](const std::string& value, const char* fallback) -> std::optional<Rgb> {
      const std::string v = value.empty() ? fallback : value;
      if (v == "none") return std::nullopt;
      if (v == "currentColor") return parseColor(own(props, "color")).value_or(Rgb{});
      return parseColor(v).value_or(Rgb{});
    };
    const auto opacityOf = [&](const char* name) {
      return AIReal(std::clamp(numberOr(property(props, name), 1), 0.0, 1.0) * opacity);
    };
    if (const auto fill = paint(own(props, "fill"), "black")) {
      style.fillPaint = true;
      style.fill.color = rgbColor(*fill);
      style.fill.opacity = opacityOf("fill-opacity");
    }
    if (const auto stroke = paint(own(props, "stroke"), "none")) {
      style.strokePaint = true;
      style.stroke.color = rgbColor(*stroke);
      style.stroke.opacity = opacityOf("stroke-opacity");
      const double width = parseLength(own(props, "stroke-width")).value_or(1);
      style.stroke.width = AIReal(width * std::sqrt(std::fabs(ctm.a * ctm.d - ctm.b * ctm.c)));
    }
    style.evenOdd = own(props, clip ? "clip-rule" : "fill-rule") == "evenodd";
    style.clip = clip;
    return style;
  }

  std::vector<Subpath> geometry(const xmlNode* node, const std::string& name) {
    const auto len = [&](const char* attr) { return lengthOr(node, attr, 0); };
    if (name == "path") return parsePathData(attribute(node, "d").value_or(""));
    if (name == "rect") {
      const auto rxText = attribute(node, "rx"), ryText = attribute(node, "ry");
      double rx = len("rx"), ry = len("ry");
      if (rxText && !ryText) ry = rx;
      if (ryText && !rxText) rx = ry;
      return rectangle(len("x"), len("y"), len("width"), len("height"), rx, ry);
    }
    if (name == "circle") return ellipse(len("cx"), len("cy"), len("r"), len("r"));
    if (name == "ellipse") return ellipse(len("cx"), len("cy"), len("rx"), len("ry"));
    if (name == "line") return polyline({len("x1"), len("y1"), len("x2"), len("y2")}, false);
    const auto points = parseNumberList(attribute(node, "points").value_or(""));
    return polyline(points.value_or(std::vector<double>{}), name == "polygon");
  }

  ArtCopy shape(const xmlNode* node, const std::string& name, const Matrix& ctm, const Properties& props,
                double opacity, IdSource source, bool clip = false) {
    const std::vector<Subpath> subpaths = geometry(node, name);
    const std::string corners = attribute(node, "corners", kMirtilNamespace).value_or("");
    size_t cornerAt = 0;
    const auto toSegment = [&](const Anchor& a) {
      const auto point = [&](Point p) {
        const Point q = ctm.apply(p);
        return AIRealPoint{coordinate(node, q.x), flipped(coordinate(node, q.y))};
      };
      AIPathSegment s{point(a.p), point(a.in), point(a.out), 0};
      while (cornerAt < corners.size() && corners[cornerAt] == ' ') ++cornerAt;
      s.corner = cornerAt < corners.size() ? corners[cornerAt++] == '1' : inferredCorner(s);
      return s;
    };
    ArtCopy art;
    art.id = idOf(node, source, "path");
    art.props.style = styleIndex(
        pathStyle(props, ctm, opacity, clip || attribute(node, "clip", kMirtilNamespace).value_or("") == "true"));
    std::vector<ArtCopy> paths;
    for (const Subpath& subpath : subpaths) {
      ArtCopy path;
      path.type = kPathArt;
      path.props.style = art.props.style;
      path.path.closed = subpath.closed;
      for (const Anchor& a : subpath.anchors) path.path.segments.edit().push_back(toSegment(a));
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

  // ---- Leaf art: kept as written, with what it refers to ----------------------------------------

  // The definitions the element refers to, and those they refer to in
  // turn, leaving out what the element holds itself.
  std::vector<const xmlNode*> referencesOf(const xmlNode* element) {
    std::vector<const xmlNode*> found;
    std::set<const xmlNode*> seen;
    const auto inside = [&](const xmlNode* node) {
      for (const xmlNode* up = node; up != nullptr; up = up->parent)
        if (up == element) return true;
      return false;
    };
    std::vector<const xmlNode*> pending = directReferences(element, true);
    while (!pending.empty()) {
      const xmlNode* definition = pending.back();
      pending.pop_back();
      if (!seen.insert(definition).second || inside(definition)) continue;
      found.push_back(definition);
      const std::vector<const xmlNode*>& next = directReferences(definition, false);
      pending.insert(pending.end(), next.rbegin(), next.rend());
    }
    return found;
  }

  // What the node and its content name by href or url(#id), each
  // definition's once: many pieces of art share them.
  const std::vector<const xmlNode*>& directReferences(const xmlNode* node, bool once) {
    if (once) {
      scratch_.clear();
      scanReferences(node, scratch_);
      return scratch_;
    }
    const auto known = references_.find(node);
    if (known != references_.end()) return known->second;
    std::vector<const xmlNode*>& found = references_[node];
    scanReferences(node, found);
    return found;
  }

  void scanReferences(const xmlNode* node, std::vector<const xmlNode*>& found) const {
    forEachReference(node, [&](const std::string& id) {
      const auto at = byId_.find(id);
      if (at != byId_.end()) found.push_back(definitionOf(at->second));
    });
  }

  // What is copied for a reference to the node: the outermost definition
  // with an id that holds it, so that no id is written twice.
  const xmlNode* definitionOf(const xmlNode* node) const {
    const xmlNode* defs = nullptr;
    for (const xmlNode* up = node->parent; up != nullptr && up != root_ && defs == nullptr; up = up->parent)
      if (isElement(up, kSvgNamespace, "defs")) defs = up;
    const xmlNode* outermost = node;
    for (const xmlNode* up = node->parent; up != nullptr && up != root_ && up != defs; up = up->parent) {
      const bool definition = defs != nullptr || (inNamespace(up, kSvgNamespace) && kNotDrawn.count(nodeName(up)) != 0);
      if (definition && attribute(up, "id")) outermost = up;
    }
    return outermost;
  }

  static void removeProperty(xmlNode* node, const char* name) {
    if (xmlAttr* a = xmlHasNsProp(node, BAD_CAST name, nullptr)) xmlRemoveProp(a);
    if (const auto style = attribute(node, "style")) {
      std::string kept;
      for (const auto& [n, v] : parseStyleDeclarations(*style))
        if (n != name) kept += (kept.empty() ? "" : ";") + n + ":" + v;
      if (kept.empty())
        xmlRemoveProp(xmlHasNsProp(node, BAD_CAST "style", nullptr));
      else
        xmlSetProp(node, BAD_CAST "style", BAD_CAST kept.c_str());
    }
  }

  static bool declares(const xmlNode* node, const std::string& name) {
    if (xmlHasNsProp(node, BAD_CAST name.c_str(), nullptr) != nullptr) return true;
    if (const auto style = attribute(node, "style"))
      for (const auto& [n, v] : parseStyleDeclarations(*style))
        if (n == name) return true;
    return false;
  }

  // The element's extent in its own coordinates, as far as it can be told.
  std::optional<AIRealRect> localBox(const xmlNode* node, const Properties& props, int depth) {
    if (depth > 16 || !inNamespace(node, kSvgNamespace)) return std::nullopt;
    const std::string name = nodeName(node);
    double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
    const auto add = [&](double x, double y) {
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    };
    const auto addBox = [&](const AIRealRect& r, const Matrix& m) {
      for (const Point p :
           {Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}, Point{r.left, r.bottom}}) {
        const Point q = m.apply(p);
        add(q.x, q.y);
      }
    };
    const auto ownTransform = [](const xmlNode* n) {
      const auto t = attribute(n, "transform");
      return t ? parseTransform(*t).value_or(Matrix{}) : Matrix{};
    };
    if (kShapes.count(name) != 0) {
      for (const Subpath& s : geometry(node, name))
        for (const Anchor& a : s.anchors)
          for (const Point p : {a.p, a.in, a.out}) add(p.x, p.y);
    } else if (name == "image" || name == "foreignObject") {
      const double x = lengthOr(node, "x", 0), y = lengthOr(node, "y", 0);
      add(x, y);
      add(x + lengthOr(node, "width", 0), y + lengthOr(node, "height", 0));
    } else if (name == "text") {
      const double size = parseLength(own(props, "font-size")).value_or(16);
      const auto xs = parseNumberList(attribute(node, "x").value_or("0"));
      const auto ys = parseNumberList(attribute(node, "y").value_or("0"));
      const double x = xs && !xs->empty() ? (*xs)[0] : 0, y = ys && !ys->empty() ? (*ys)[0] : 0;
      const double width = 0.6 * size * double(textContent(node).size());
      const std::string anchor = own(props, "text-anchor");
      const double start = anchor == "middle" ? x - width / 2 : anchor == "end" ? x - width : x;
      add(start, y - size);
      add(start + width, y + 0.25 * size);
    } else if (name == "use") {
      const std::string href = attribute(node, "href", kXlinkNamespace).value_or(attribute(node, "href").value_or(""));
      const auto at = href.size() > 1 ? byId_.find(href.substr(1)) : byId_.end();
      if (at != byId_.end())
        if (const auto box = localBox(at->second, computed(at->second, props), depth + 1))
          addBox(*box,
                 Matrix{1, 0, 0, 1, lengthOr(node, "x", 0), lengthOr(node, "y", 0)}.after(ownTransform(at->second)));
    } else {
      for (const xmlNode* child = node->children; child != nullptr; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
          if (const auto box = localBox(child, computed(child, props), depth + 1)) addBox(*box, ownTransform(child));
    }
    if (left > right) return std::nullopt;
    return AIRealRect{AIReal(left), AIReal(top), AIReal(right), AIReal(bottom)};
  }

  ArtCopy leaf(xmlNode* node, const std::string& name, const Matrix& ctm, const Properties& props, double parentOpacity,
               IdSource source) {
    ArtCopy art;
    art.type = name == "text" ? kTextFrameArt : name == "image" ? kPlacedArt : name == "use" ? kSymbolArt : kForeignArt;
    art.id = idOf(node, source, "art");

    xmlDoc* payload = xmlNewDoc(BAD_CAST "1.0");
    xmlNode* root = xmlNewDocNode(payload, nullptr, BAD_CAST "leaf", nullptr);
    xmlDocSetRootElement(payload, root);
    xmlNs* mirtil = xmlNewNs(root, BAD_CAST kMirtilNamespace, BAD_CAST "mirtil");
    xmlSetNs(root, mirtil);
    xmlNewNs(root, BAD_CAST kSvgNamespace, nullptr);
    xmlNewNs(root, BAD_CAST kXlinkNamespace, BAD_CAST "xlink");
    xmlNewNs(root, BAD_CAST kInkscapeNamespace, BAD_CAST "inkscape");
    xmlNewNs(root, BAD_CAST kSodipodiNamespace, BAD_CAST "sodipodi");
    xmlNode* defs =
        xmlNewChild(root, xmlSearchNsByHref(payload, root, BAD_CAST kSvgNamespace), BAD_CAST "defs", nullptr);

    const std::vector<const xmlNode*> references = referencesOf(node);
    const auto clone = [&](const xmlNode* from, xmlNode* parent) {
      xmlNode* copy = nullptr;
      xmlDOMWrapCloneNode(nullptr, xml_, const_cast<xmlNode*>(from), &copy, payload, parent, 1, 0);
      xmlAddChild(parent, copy);
      return copy;
    };
    // Definitions are written in the order the file gave them.
    for (const xmlNode* reference : references)
      xmlSetNsProp(clone(reference, defs), mirtil, BAD_CAST "order",
                   BAD_CAST std::to_string(order_.at(reference)).c_str());
    xmlNode* element = clone(node, root);
    xmlReconciliateNs(payload, root);

    for (const char* drop : {"transform", "id"})
      if (xmlAttr* a = xmlHasNsProp(element, BAD_CAST drop, nullptr)) xmlRemoveProp(a);
    for (const char* drop : {"label", "insensitive"})
      for (const char* ns : {kInkscapeNamespace, kSodipodiNamespace})
        if (xmlAttr* a = xmlHasNsProp(element, BAD_CAST drop, BAD_CAST ns)) xmlRemoveProp(a);
    for (const char* drop : {"id", "selected"})
      if (xmlAttr* a = xmlHasNsProp(element, BAD_CAST drop, BAD_CAST kMirtilNamespace)) xmlRemoveProp(a);
    removeProperty(element, "display");
    for (const auto& [property, value] : props)
      if (kInherited.count(property) != 0 && !declares(node, property))
        xmlSetProp(element, BAD_CAST property.c_str(), BAD_CAST value.c_str());
    if (parentOpacity != 1) {
      const double ownOpacity = numberOr(property(props, "opacity"), 1);
      removeProperty(element, "opacity");
      xmlSetProp(element, BAD_CAST "opacity", BAD_CAST formatDouble(ownOpacity * parentOpacity).c_str());
    }
    art.props.leaf.payload = std::make_shared<const std::string>(serializeNode(payload, root));
    xmlFreeDoc(payload);

    // The document's matrix maps the element's coordinates to points, v upward.
    art.props.leaf.matrix = AIRealMatrix{coordinate(node, ctm.a), flipped(coordinate(node, ctm.b)),
                                         coordinate(node, ctm.c), flipped(coordinate(node, ctm.d)),
                                         coordinate(node, ctm.e), flipped(coordinate(node, ctm.f))};
    art.props.leaf.box = localBox(node, props, 0).value_or(AIRealRect{0, 0, 0, 0});
    return art;
  }

  // ---- Plug-in objects ------------------------------------------------------------------------

  static const xmlNode* pluginElement(const xmlNode* group) {
    for (const xmlNode* child = group->children; child != nullptr; child = child->next)
      if (isElement(child, kMirtilNamespace, "plugin")) return child;
    return nullptr;
  }
  static bool hasPluginElement(const xmlNode* group) { return pluginElement(group) != nullptr; }

  ArtCopy pluginArt(xmlNode* node, const Matrix& ctm, const Properties& props, double opacity) {
    const xmlNode* plugin = pluginElement(node);
    ArtCopy art;
    art.type = kPluginArt;
    art.id = idOf(node, IdSource::Document, "plugin");
    art.dirty = true;  // the plug-in regenerates its result
    if (const auto group = attribute(plugin, "group")) {
      art.props.pluginGroup = core_.documentPluginGroup(*group);
      const std::string version = attribute(plugin, "version").value_or("");
      const size_t dot = version.find('.');
      const auto major = dot == std::string::npos ? std::nullopt : integer(version.substr(0, dot));
      const auto minor = dot == std::string::npos ? std::nullopt : integer(version.substr(dot + 1));
      if (!major || !minor) fail(plugin, "bad plugin version \"" + version + "\"");
      art.props.versionMajor = *major;
      art.props.versionMinor = *minor;
    }
    ArtCopy edit, result;
    edit.type = result.type = kGroupArt;
    for (const xmlNode* child = plugin->children; child != nullptr; child = child->next) {
      if (isElement(child, kMirtilNamespace, "edit")) {
        edit.id = takenId(attribute(child, "id").value_or(""), "g");
        for (xmlNode* e = child->children; e != nullptr; e = e->next)
          if (auto c = convert(e, ctm, props, opacity, IdSource::Document))
            edit.children.insert(edit.children.begin(), std::move(*c));
      } else if (isElement(child, kMirtilNamespace, "entry")) {
        readEntry(child, art.dictionary);
      }
    }
    for (xmlNode* child = node->children; child != nullptr; child = child->next) {
      if (!isElement(child, kSvgNamespace, "g")) continue;
      if (auto group = convert(child, ctm, props, opacity, IdSource::Document)) result = std::move(*group);
      break;
    }
    if (edit.id.empty()) edit.id = freshId("g");
    if (result.id.empty()) result.id = freshId("g");
    art.pluginGroups.push_back(std::move(edit));
    art.pluginGroups.push_back(std::move(result));
    return art;
  }

  std::string takenId(const std::string& wanted, const char* prefix) {
    if (!wanted.empty() && takenIds_.insert(wanted).second) return wanted;
    return freshId(prefix);
  }

  static std::optional<int32_t> integer(std::string_view text) {
    text = trim(text);
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
  }

  static std::optional<float> real(std::string_view text) {
    text = trim(text);
    const std::optional<double> value = parseDecimal(text);
    if (!value) return std::nullopt;
    return float(*value);
  }

  void readEntry(const xmlNode* entry, hostcore::DictEntries& entries) {
    const std::string key = attribute(entry, "key").value_or("");
    const std::string type = attribute(entry, "type").value_or("");
    const std::string text = textContent(entry);
    uint32_t keyIndex = 0;
    if (key.empty() || core_.findKey(core_.key(key.c_str()), &keyIndex) != kNoErr)
      fail(entry, "dictionary entry without a key");
    const auto bad = [&]() { fail(entry, "bad " + type + " value in dictionary entry \"" + key + "\""); };
    if (type == "integer") {
      const auto value = integer(text);
      if (!value) bad();
      entries[keyIndex] = *value;
    } else if (type == "boolean") {
      if (trim(text) != "true" && trim(text) != "false") bad();
      entries[keyIndex] = trim(text) == "true";
    } else if (type == "real") {
      const auto value = real(text);
      if (!value) bad();
      entries[keyIndex] = AIReal(*value);
    } else if (type == "array") {
      hostcore::ArrayValues values;
      for (const xmlNode* item = entry->children; item != nullptr; item = item->next) {
        if (!inNamespace(item, kMirtilNamespace)) continue;
        hostcore::ArrayEntry value;
        const std::string kind = nodeName(item);
        if (kind == "integer") {
          const auto v = integer(textContent(item));
          if (!v) bad();
          value.kind = hostcore::ArrayEntryKind::Integer;
          value.integer = *v;
        } else if (kind == "real") {
          const auto v = real(textContent(item));
          if (!v) bad();
          value.kind = hostcore::ArrayEntryKind::Real;
          value.real = *v;
        } else if (kind != "empty") {
          bad();
        }
        values.push_back(value);
      }
      entries[keyIndex] = std::move(values);
    } else if (type == "art") {
      std::optional<ArtCopy> art;
      for (xmlNode* child = entry->children; child != nullptr && !art; child = child->next)
        art = convert(child, Matrix{}, {}, 1, IdSource::Stored);
      if (!art) bad();
      entries[keyIndex] = std::make_shared<const ArtCopy>(std::move(*art));
    } else {
      fail(entry, "unknown dictionary entry type \"" + type + "\"");
    }
  }

  hostcore::HostCore& core_;
  Document& document_;
  std::string source_;
  xmlDoc* xml_ = nullptr;
  const xmlNode* root_ = nullptr;
  std::unordered_map<const xmlNode*, size_t> order_;  // elements in the file's order
  std::vector<StyleRule> styleRules_;
  std::set<std::string> copiedIds_;
  std::unordered_map<const xmlNode*, std::vector<const xmlNode*>> references_;  // by definition
  std::vector<const xmlNode*> scratch_;  // ids that `use` and other references copy by href
  std::unordered_map<std::string, xmlNode*> byId_;
  std::set<std::string> usedIds_;   // every id in the file
  std::set<std::string> takenIds_;  // ids given to art so far
  unsigned idCounter_ = 0;
};

// The first fault libxml2 reports: later ones mostly follow from it.
void keepFirstError(void* first, xmlErrorPtr error) {
  auto* kept = static_cast<std::optional<std::pair<int, std::string>>*>(first);
  if (kept->has_value() || error == nullptr || error->level < XML_ERR_ERROR) return;
  std::string message = error->message != nullptr ? error->message : "not well-formed XML";
  while (!message.empty() && message.back() == '\n') message.pop_back();
  kept->emplace(error->line, std::move(message));
}

// The text handed to the parser piece by piece. Read whole from memory,
// which is faster, libxml2 refuses to look past its lookup limit (ten
// megabytes) unless told to lift all its limits, entity expansion among them.
struct TextStream {
  const std::string& text;
  size_t at = 0;

  static int read(void* stream, char* buffer, int length) {
    auto* self = static_cast<TextStream*>(stream);
    const size_t count = std::min(size_t(length), self->text.size() - self->at);
    std::memcpy(buffer, self->text.data() + self->at, count);
    self->at += count;
    return int(count);
  }
};

}  // namespace

Outcome readSvg(hostcore::HostCore& core, const std::string& svgText, const std::string& sourceName) {
  if (svgText.size() > kMaxSvgBytes)
    return Outcome{sourceName + ": the file is larger than " + std::to_string(kMaxSvgBytes >> 20) +
                   " MB, the most a document may be"};
  xmlParserCtxt* context = xmlNewParserCtxt();
  if (context == nullptr) return Outcome{sourceName + ": out of memory"};
  std::optional<std::pair<int, std::string>> firstError;
  xmlSetStructuredErrorFunc(&firstError, keepFirstError);
  // No network, no external entities: a file names nothing else to load.
  TextStream stream{svgText};
  xmlDoc* xml = svgText.size() <= XML_MAX_LOOKUP_LIMIT ? xmlCtxtReadMemory(context, svgText.data(), int(svgText.size()),
                                                                           sourceName.c_str(), nullptr, XML_PARSE_NONET)
                                                       : xmlCtxtReadIO(context, TextStream::read, nullptr, &stream,
                                                                       sourceName.c_str(), nullptr, XML_PARSE_NONET);
  xmlSetStructuredErrorFunc(nullptr, nullptr);
  // A prefix bound to no namespace would be bound by the writer's own
  // declarations and read back as something else: such files are refused.
  if (xml == nullptr || context->wellFormed == 0 || context->nsWellFormed == 0) {
    if (xml != nullptr) xmlFreeDoc(xml);
    xmlFreeParserCtxt(context);
    if (!firstError) firstError.emplace(0, "not well-formed XML");
    return Outcome{sourceName + ":" + std::to_string(firstError->first) + ": " + firstError->second};
  }
  xmlFreeParserCtxt(context);
  auto document = std::make_unique<Document>();
  document->setArtLimit(core.artLimit());
  try {
    Reader(core, *document, sourceName).read(xml);
  } catch (const Fault& fault) {
    xmlFreeDoc(xml);
    return Outcome{fault.message};
  }
  xmlFreeDoc(xml);
  core.adoptDocument(std::move(document));
  return Outcome{};
}

Outcome openSvg(hostcore::HostCore& core, FileStore& files, const std::string& path) {
  std::string text, error;
  if (!files.read(path, &text, &error)) return Outcome{path + ": " + error};
  return readSvg(core, text, path);
}

}  // namespace hostfiles
