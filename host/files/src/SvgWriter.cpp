// The document as SVG: layers as groups in paint order, clipping groups
// with their clip paths, plug-in objects as their result with the host's
// own elements holding the rest of the object.
#include <libxml/parser.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>

#include "MirrorCells.h"
#include "SvgModel.h"
#include "hostfiles/SvgDocument.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles {

namespace {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

// Art of the document carries its id in `id`; art stored in a dictionary
// carries it in the host's own attribute, so that no id appears twice.
struct Scope {
  bool stored = false;
  std::string owner;  // the plug-in object whose dictionary holds the art
};

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

std::string pathData(const std::vector<AIPathSegment>& segments, bool closed) {
  std::string d;
  const auto point = [&](const AIRealPoint& p) { d += formatReal(p.h) + " " + formatReal(flipped(p.v)); };
  const auto segment = [&](const AIPathSegment& from, const AIPathSegment& to) {
    const bool straight = from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
    if (straight) {
      d += " L ";
    } else {
      d += " C ";
      point(from.out);
      d += " ";
      point(to.in);
      d += " ";
    }
    point(to.p);
  };
  if (segments.empty()) return d;
  d += "M ";
  point(segments[0].p);
  for (size_t i = 1; i < segments.size(); ++i) segment(segments[i - 1], segments[i]);
  if (closed) {
    const AIPathSegment& last = segments.back();
    const AIPathSegment& first = segments.front();
    // A straight closing segment is the close itself, unless it ends where
    // it starts: then it is written, so that it does not read as merged.
    const bool straight =
        last.out.h == last.p.h && last.out.v == last.p.v && first.in.h == first.p.h && first.in.v == first.p.v;
    if (!straight || (last.p.h == first.p.h && last.p.v == first.p.v)) segment(last, first);
    d += " Z";
  }
  return d;
}

class Writer {
 public:
  // With an overlap, the seam-free copy: plug-in objects are written as
  // their result alone with mirror-tile cells widened by the overlap, and
  // clipping groups are drawn whole before they are clipped.
  Writer(hostcore::HostCore& core, std::optional<double> seamOverlap)
      : core_(core), document_(core.document()), seamOverlap_(seamOverlap) {}

  ~Writer() {
    for (auto& [text, xml] : payloads_) xmlFreeDoc(xml);
    if (out_ != nullptr) xmlFreeDoc(out_);
  }

  std::string write() {
    out_ = xmlNewDoc(BAD_CAST "1.0");
    root_ = xmlNewDocNode(out_, nullptr, BAD_CAST "svg", nullptr);
    xmlDocSetRootElement(out_, root_);
    svg_ = xmlNewNs(root_, BAD_CAST kSvgNamespace, nullptr);
    xmlSetNs(root_, svg_);
    xlink_ = xmlNewNs(root_, BAD_CAST kXlinkNamespace, BAD_CAST "xlink");
    inkscape_ = xmlNewNs(root_, BAD_CAST kInkscapeNamespace, BAD_CAST "inkscape");
    sodipodi_ = xmlNewNs(root_, BAD_CAST kSodipodiNamespace, BAD_CAST "sodipodi");
    mirtil_ = xmlNewNs(root_, BAD_CAST kMirtilNamespace, BAD_CAST "mirtil");
    xmlDoc* extras = document_.fileExtras().empty() ? nullptr : payload(document_.fileExtras());
    const xmlNode* kept = extras != nullptr ? xmlDocGetRootElement(extras) : nullptr;
    writePage(kept);
    for (xmlNode* child = kept != nullptr ? kept->children : nullptr; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) clone(extras, child, root_);
    defs_ = svgChild(root_, "defs");

    std::vector<AILayerHandle> layers;
    AILayerHandle layer = nullptr;
    hostcore::require(document_.firstLayer(&layer), "firstLayer");
    for (; layer != nullptr; hostcore::require(document_.nextLayer(layer, &layer), "nextLayer"))
      layers.push_back(layer);
    // The topmost layer comes last in paint order.
    for (auto at = layers.rbegin(); at != layers.rend(); ++at) writeLayer(*at);
    writeDefinitions();

    if (defs_->children == nullptr) {
      xmlUnlinkNode(defs_);
      xmlFreeNode(defs_);
    }
    // Every namespace that kept elements use is declared.
    xmlReconciliateNs(out_, root_);
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(out_, &text, &size, "UTF-8", 1);
    std::string result(reinterpret_cast<const char*>(text), size_t(size));
    xmlFree(text);
    return result;
  }

 private:
  xmlNode* svgChild(xmlNode* parent, const char* name) { return xmlNewChild(parent, svg_, BAD_CAST name, nullptr); }
  static void set(xmlNode* node, const char* name, const std::string& value) {
    xmlSetProp(node, BAD_CAST name, BAD_CAST value.c_str());
  }
  static void set(xmlNode* node, xmlNs* ns, const char* name, const std::string& value) {
    xmlSetNsProp(node, ns, BAD_CAST name, BAD_CAST value.c_str());
  }

  // The page as the file wrote it while the document's page is the same;
  // otherwise from the document's page, or its art.
  void writePage(const xmlNode* kept) {
    set(root_, "version", "1.1");
    if (kept != nullptr) {
      const auto page = pageOf(attribute(kept, "width"), attribute(kept, "height"), attribute(kept, "viewBox"));
      const auto& artboard = document_.artboard();
      if (page && artboard && page->left == artboard->left && page->top == artboard->top &&
          page->right == artboard->right && page->bottom == artboard->bottom) {
        for (const char* name : kPageAttributes)
          if (const auto value = attribute(kept, name)) set(root_, name, *value);
        return;
      }
    }
    AIRealRect page{0, 0, 100, -100};
    if (document_.artboard()) {
      page = *document_.artboard();
    } else {
      // Without a page of its own, the document's art sets the page.
      AIRealRect all{HUGE_VALF, -HUGE_VALF, -HUGE_VALF, HUGE_VALF};
      AILayerHandle layer = nullptr;
      for (hostcore::require(document_.firstLayer(&layer), "firstLayer"); layer != nullptr;
           hostcore::require(document_.nextLayer(layer, &layer), "nextLayer")) {
        AIArtHandle group;
        AIRealRect r;
        hostcore::require(document_.firstArtOfLayer(layer, &group), "firstArtOfLayer");
        hostcore::require(document_.artBounds(group, &r), "artBounds");
        all = AIRealRect{std::min(all.left, r.left), std::max(all.top, r.top), std::max(all.right, r.right),
                         std::min(all.bottom, r.bottom)};
      }
      if (std::isfinite(all.left) && std::isfinite(all.top) && all.left <= all.right)
        page = AIRealRect{std::floor(all.left), std::ceil(all.top), std::ceil(all.right), std::floor(all.bottom)};
    }
    // In double, so that left + width reads back as right exactly.
    const double width = double(page.right) - page.left, height = double(page.top) - page.bottom;
    set(root_, "width", formatDouble(width));
    set(root_, "height", formatDouble(height));
    set(root_, "viewBox",
        formatReal(page.left) + " " + formatReal(flipped(page.top)) + " " + formatDouble(width) + " " +
            formatDouble(height));
  }

  void writeLayer(AILayerHandle layer) {
    AIArtHandle group;
    hostcore::require(document_.firstArtOfLayer(layer, &group), "firstArtOfLayer");
    ArtCopy copy;
    hostcore::require(document_.copyArt(group, &copy), "copyArt");
    const hostcore::LayerInfo& info = *copy.props.layer;
    xmlNode* node = svgChild(root_, "g");
    set(node, "id", copy.id);
    set(node, inkscape_, "groupmode", "layer");
    set(node, inkscape_, "label", info.title);
    if (!info.visible) set(node, "style", "display:none");
    if (!info.editable) set(node, sodipodi_, "insensitive", "true");
    writeChildren(copy.children, node, Scope{});
  }

  void writeChildren(const std::vector<ArtCopy>& children, xmlNode* parent, const Scope& scope) {
    for (auto child = children.rbegin(); child != children.rend(); ++child) writeArt(*child, parent, scope);
  }

  void writeCommon(const ArtCopy& art, xmlNode* node, const Scope& scope) {
    if (scope.stored)
      set(node, mirtil_, "id", art.id);
    else
      set(node, "id", art.id);
    if (!art.props.name.empty()) set(node, inkscape_, "label", art.props.name);
    if (art.props.userAttr & kArtHidden) set(node, "display", "none");
    if (art.props.userAttr & kArtLocked) set(node, sodipodi_, "insensitive", "true");
    if (art.props.userAttr & kArtSelected) set(node, mirtil_, "selected", "true");
  }

  AIPathStyle styleOf(const ArtCopy& art) const {
    AIPathStyle style = Document::clearedPathStyle();
    if (art.props.style != hostcore::kNoIndex)
      hostcore::require(document_.styleAttributes(document_.styleHandle(art.props.style), &style, nullptr),
                        "styleAttributes");
    return style;
  }

  bool isClipPath(const ArtCopy& art) const {
    return (art.type == kPathArt || art.type == kCompoundPathArt) && styleOf(art).clip;
  }

  void writeArt(const ArtCopy& art, xmlNode* parent, const Scope& scope) {
    switch (art.type) {
      case kGroupArt:
        writeGroup(art, parent, scope);
        break;
      case kPathArt:
      case kCompoundPathArt:
        writePath(art, parent, scope, PathRole::Drawn);
        break;
      case kPluginArt:
        writePlugin(art, parent, scope);
        break;
      default:
        writeLeaf(art, parent, scope);
        break;
    }
  }

  void writeGroup(const ArtCopy& art, xmlNode* parent, const Scope& scope) {
    xmlNode* node = svgChild(parent, "g");
    writeCommon(art, node, scope);
    std::vector<ArtCopy> clips, others;
    for (const ArtCopy& child : art.children)
      (art.props.clipped && isClipPath(child) ? clips : others).push_back(child);
    if (art.props.clipped && clips.empty()) set(node, mirtil_, "clipped", "true");
    if (!clips.empty()) {
      const std::string clipId =
          scope.stored ? scope.owner + "-clip" + std::to_string(++storedClips_) : art.id + "-clip";
      if (seamOverlap_) {
        writeClipAsMask(clips, clipId, node, scope);
      } else {
        set(node, "clip-path", "url(#" + clipId + ")");
        xmlNode* clipPath = svgChild(node, "clipPath");
        set(clipPath, "id", clipId);
        for (auto clip = clips.rbegin(); clip != clips.rend(); ++clip) writePath(*clip, clipPath, scope, PathRole::Clip);
      }
    }
    writeChildren(others, node, scope);
  }

  // Renderers clip a group shape by shape, so each half-covered edge pixel
  // lets the shapes below it show through; a mask is applied to the group
  // drawn whole. The clip paths become the mask's white shapes, within a
  // mask region of their own bounds.
  void writeClipAsMask(const std::vector<ArtCopy>& clips, const std::string& clipId, xmlNode* node,
                       const Scope& scope) {
    set(node, "mask", "url(#" + clipId + ")");
    xmlNode* mask = svgChild(node, "mask");
    set(mask, "id", clipId);
    set(mask, "maskUnits", "userSpaceOnUse");
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
    for (const ArtCopy& clip : clips) {
      if (clip.type == kPathArt) includePath(clip);
      for (const ArtCopy& part : clip.children) includePath(part);
    }
    // A point beyond the shapes on every side keeps their anti-aliased edges.
    const double margin = any ? 1 : 0;
    set(mask, "x", formatReal(left - margin));
    set(mask, "y", formatReal(top - margin));
    set(mask, "width", formatReal(right - left + 2 * margin));
    set(mask, "height", formatReal(bottom - top + 2 * margin));
    for (auto clip = clips.rbegin(); clip != clips.rend(); ++clip) writePath(*clip, mask, scope, PathRole::Mask);
  }

  // A path is drawn, outlines a clip, or is a white shape of a mask.
  enum class PathRole { Drawn, Clip, Mask };

  void writePath(const ArtCopy& art, xmlNode* parent, const Scope& scope, PathRole role) {
    xmlNode* node = svgChild(parent, "path");
    writeCommon(art, node, scope);
    std::string d, corners;
    bool inferred = true;
    const auto add = [&](const ArtCopy& path) {
      const std::string part = pathData(path.path.segments, path.path.closed);
      d += (d.empty() || part.empty() ? "" : " ") + part;
      corners += (corners.empty() ? "" : " ") + cornerFlags(path.path.segments);
      inferred = inferred && cornersAsInferred(path.path.segments);
    };
    if (art.type == kPathArt) {
      add(art);
    } else {
      for (auto child = art.children.rbegin(); child != art.children.rend(); ++child) add(*child);
    }
    set(node, "d", d);
    // Corner flags are written only when they differ from what the shape tells.
    if (!inferred) set(node, mirtil_, "corners", corners);

    const AIPathStyle style = styleOf(art);
    if (role == PathRole::Mask) {
      set(node, "fill", "#ffffff");
      if (style.evenOdd) set(node, "fill-rule", "evenodd");
      return;
    }
    const bool fill = style.fillPaint && style.fill.color.kind == kRGBColor;
    const bool stroke = style.strokePaint && style.stroke.color.kind == kRGBColor;
    set(node, "fill", fill ? hexColor(style.fill.color) : "none");
    if (fill && style.fill.opacity != 1) set(node, "fill-opacity", formatReal(style.fill.opacity));
    if (stroke) {
      set(node, "stroke", hexColor(style.stroke.color));
      set(node, "stroke-width", formatReal(style.stroke.width));
      if (style.stroke.opacity != 1) set(node, "stroke-opacity", formatReal(style.stroke.opacity));
    }
    if (style.evenOdd) set(node, role == PathRole::Clip ? "clip-rule" : "fill-rule", "evenodd");
    if (style.clip && role == PathRole::Drawn) set(node, mirtil_, "clip", "true");
  }

  void writePlugin(const ArtCopy& art, xmlNode* parent, const Scope& scope) {
    xmlNode* node = svgChild(parent, "g");
    writeCommon(art, node, scope);
    if (seamOverlap_) {
      if (art.pluginGroups.size() < 2) return;
      ArtCopy result = art.pluginGroups[1];
      widenMirrorCells(result, *seamOverlap_, [this](const ArtCopy& child) { return isClipPath(child); });
      writeGroup(result, node, scope);
      return;
    }
    xmlNode* plugin = xmlNewChild(node, mirtil_, BAD_CAST "plugin", nullptr);
    if (art.props.pluginGroup != hostcore::kNoIndex) {
      set(plugin, "group", core_.pluginGroups()[art.props.pluginGroup].name);
      set(plugin, "version", std::to_string(art.props.versionMajor) + "." + std::to_string(art.props.versionMinor));
    }
    if (!art.pluginGroups.empty()) {
      const ArtCopy& edit = art.pluginGroups[0];
      xmlNode* editNode = xmlNewChild(plugin, mirtil_, BAD_CAST "edit", nullptr);
      if (!scope.stored) set(editNode, "id", edit.id);
      writeChildren(edit.children, editNode, scope);
    }
    // In the order of the keys' texts, which does not depend on the session.
    std::map<std::string, const hostcore::DictValue*> entries;
    for (const auto& [key, value] : art.dictionary) entries.emplace(core_.keyText(key), &value);
    for (const auto& [key, value] : entries) writeEntry(plugin, key, *value, art.id);
    if (art.pluginGroups.size() > 1) writeGroup(art.pluginGroups[1], node, scope);
  }

  void writeEntry(xmlNode* plugin, const std::string& key, const hostcore::DictValue& value, const std::string& owner) {
    xmlNode* entry = xmlNewChild(plugin, mirtil_, BAD_CAST "entry", nullptr);
    set(entry, "key", key);
    const auto text = [&](xmlNode* node, const std::string& content) {
      xmlNodeAddContent(node, BAD_CAST content.c_str());
    };
    std::visit(
        [&](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, int32_t>) {
            set(entry, "type", "integer");
            text(entry, std::to_string(v));
          } else if constexpr (std::is_same_v<V, bool>) {
            set(entry, "type", "boolean");
            text(entry, v ? "true" : "false");
          } else if constexpr (std::is_same_v<V, AIReal>) {
            set(entry, "type", "real");
            text(entry, formatReal(v));
          } else if constexpr (std::is_same_v<V, hostcore::ArrayValues>) {
            set(entry, "type", "array");
            for (const hostcore::ArrayEntry& item : v) {
              if (item.kind == hostcore::ArrayEntryKind::Integer)
                text(xmlNewChild(entry, mirtil_, BAD_CAST "integer", nullptr), std::to_string(item.integer));
              else if (item.kind == hostcore::ArrayEntryKind::Real)
                text(xmlNewChild(entry, mirtil_, BAD_CAST "real", nullptr), formatReal(item.real));
              else
                xmlNewChild(entry, mirtil_, BAD_CAST "empty", nullptr);
            }
          } else {
            set(entry, "type", "art");
            if (v) writeArt(*v, entry, Scope{true, owner});
          }
        },
        value);
  }

  xmlDoc* payload(const std::string& text) {
    const auto at = payloads_.find(&text);
    if (at != payloads_.end()) return at->second;
    xmlDoc* xml = xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    payloads_.emplace(&text, xml);
    return xml;
  }

  xmlNode* clone(xmlDoc* from, xmlNode* node, xmlNode* parent) {
    xmlNode* copy = nullptr;
    xmlDOMWrapCloneNode(nullptr, from, node, &copy, out_, parent, 1, 0);
    xmlAddChild(parent, copy);
    keepTextAsWritten(copy);
    return copy;
  }

  // The file is indented, but not inside text: there blanks are drawn.
  // An element with a text child, even an empty one, is written as it is.
  static void keepTextAsWritten(xmlNode* node) {
    if (isElement(node, kSvgNamespace, "text")) {
      if (node->children != nullptr && node->children->type != XML_TEXT_NODE)
        xmlAddPrevSibling(node->children, xmlNewText(BAD_CAST ""));
      return;
    }
    for (xmlNode* child = node->children; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) keepTextAsWritten(child);
  }

  void writeLeaf(const ArtCopy& art, xmlNode* parent, const Scope& scope) {
    const hostcore::LeafData& leaf = art.props.leaf;
    xmlDoc* xml = leaf.payload ? payload(*leaf.payload) : nullptr;
    xmlNode* root = xml != nullptr ? xmlDocGetRootElement(xml) : nullptr;
    xmlNode* element = nullptr;
    for (xmlNode* child = root != nullptr ? root->children : nullptr; child != nullptr; child = child->next) {
      if (child->type != XML_ELEMENT_NODE) continue;
      if (isElement(child, kSvgNamespace, "defs") && element == nullptr && child == firstElement(root)) {
        for (xmlNode* def = child->children; def != nullptr; def = def->next) {
          const auto id = attribute(def, "id");
          if (def->type != XML_ELEMENT_NODE || !id || definitions_.count(*id) != 0) continue;
          const auto order = attribute(def, "order", kMirtilNamespace);
          definitions_.emplace(*id, Definition{order ? std::strtoull(order->c_str(), nullptr, 10) : 0, xml, def});
        }
      } else if (element == nullptr) {
        element = clone(xml, child, parent);
      }
    }
    // Leaf art whose content is lost still holds its place.
    if (element == nullptr) element = svgChild(parent, "g");
    writeCommon(art, element, scope);
    // Back from points (v upward) to the file's coordinates (y downward).
    const AIRealMatrix& m = leaf.matrix;
    const float file[6] = {m.a, flipped(m.b), m.c, flipped(m.d), m.tx, flipped(m.ty)};
    if (file[0] != 1 || file[1] != 0 || file[2] != 0 || file[3] != 1 || file[4] != 0 || file[5] != 0) {
      std::string text = "matrix(";
      for (int i = 0; i < 6; ++i) text += (i > 0 ? " " : "") + formatReal(file[i]);
      set(element, "transform", text + ")");
    }
  }

  // The definitions that what is written refers to, in the order of the
  // file they came from; one that has the id of art written elsewhere is
  // that art.
  void writeDefinitions() {
    std::set<std::string> written;
    collectIds(root_, written);
    // A reference may name something inside a definition.
    std::map<std::string, std::string> holders;
    for (const auto& [id, definition] : definitions_) {
      std::set<std::string> inner;
      collectIds(definition.node, inner);
      for (const std::string& name : inner) holders.emplace(name, id);
      holders[id] = id;
    }
    std::set<std::string> wanted;
    std::vector<std::string> pending;
    const auto want = [&](const std::string& name) {
      if (written.count(name) != 0) return;
      const auto holder = holders.find(name);
      if (holder != holders.end() && written.count(holder->second) == 0 && wanted.insert(holder->second).second)
        pending.push_back(holder->second);
    };
    forEachReference(root_, want);
    while (!pending.empty()) {
      const Definition& definition = definitions_.at(pending.back());
      pending.pop_back();
      forEachReference(definition.node, want);
    }
    std::vector<std::pair<unsigned long long, const std::string*>> order;
    for (const std::string& id : wanted) order.emplace_back(definitions_.at(id).order, &id);
    std::sort(order.begin(), order.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first < b.first : *a.second < *b.second;
    });
    for (const auto& [position, id] : order) {
      const Definition& definition = definitions_.at(*id);
      xmlNode* copy = clone(definition.from, definition.node, defs_);
      if (xmlAttr* a = xmlHasNsProp(copy, BAD_CAST "order", BAD_CAST kMirtilNamespace)) xmlRemoveProp(a);
    }
  }

  static void collectIds(const xmlNode* node, std::set<std::string>& ids) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
      if (child->type != XML_ELEMENT_NODE) continue;
      if (const auto id = attribute(child, "id")) ids.insert(*id);
      collectIds(child, ids);
    }
  }

  static xmlNode* firstElement(xmlNode* parent) {
    for (xmlNode* child = parent->children; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) return child;
    return nullptr;
  }

  hostcore::HostCore& core_;
  Document& document_;
  const std::optional<double> seamOverlap_;
  xmlDoc* out_ = nullptr;
  xmlNode* root_ = nullptr;
  xmlNode* defs_ = nullptr;
  xmlNs* svg_ = nullptr;
  xmlNs* xlink_ = nullptr;
  xmlNs* inkscape_ = nullptr;
  xmlNs* sodipodi_ = nullptr;
  xmlNs* mirtil_ = nullptr;
  std::map<const std::string*, xmlDoc*> payloads_;
  struct Definition {
    unsigned long long order;
    xmlDoc* from;
    xmlNode* node;
  };
  std::map<std::string, Definition> definitions_;  // by id
  unsigned storedClips_ = 0;
};

}  // namespace

std::string writeSvg(hostcore::HostCore& core) { return Writer(core, std::nullopt).write(); }

std::string writeSeamFreeSvg(hostcore::HostCore& core, double overlap) { return Writer(core, overlap).write(); }

namespace {

Outcome writeText(FileStore& files, const std::string& path, const std::string& text) {
  std::string error;
  if (!writeFileAtomically(files, path, text, &error)) return Outcome{path + ": " + error};
  return Outcome{};
}

}  // namespace

Outcome saveSvg(hostcore::HostCore& core, FileStore& files, const std::string& path) {
  return writeText(files, path, writeSvg(core));
}

Outcome exportSeamFreeSvg(hostcore::HostCore& core, FileStore& files, const std::string& path) {
  return writeText(files, path, writeSeamFreeSvg(core, kSeamFreeOverlap));
}

Outcome renderPng(SvgRenderer& renderer, FileStore& files, const std::string& svgText, double scale,
                  const std::string& path) {
  if (!(scale > 0) || !std::isfinite(scale)) return Outcome{path + ": the scale must be a positive number"};
  std::string png, error;
  if (!renderer.renderPng(svgText, scale, &png, &error)) return Outcome{path + ": " + error};
  return writeText(files, path, png);
}

Outcome renderPng(SvgRenderer& renderer, FileStore& files, hostcore::HostCore& core, double scale,
                  const std::string& path) {
  return renderPng(renderer, files, writeSeamFreeSvg(core, kPictureOverlapPixels / scale), scale, path);
}

}  // namespace hostfiles
