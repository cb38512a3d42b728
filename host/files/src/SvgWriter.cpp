// The document as SVG: layers as groups in paint order, clipping groups
// with their clip paths, plug-in objects as their result with the host's
// own elements holding the rest of the object.
//
// The text goes out piece by piece as it is made and is never held whole.
// The head of the file depends on all that follows (the root declares
// every namespace that kept art uses, the definitions come before the
// layers), so a survey walks the document first, writing nothing, and the
// text is written in a second walk. Art kept as written, the page's extras
// and the definitions are written by the XML library element by element;
// the rest, most of a drawing, is written here, in the bytes the library's
// indented output would have.
#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <utility>

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

// The namespaces the root declares first, prefix and name.
constexpr std::pair<const char*, const char*> kRootNamespaces[] = {{nullptr, kSvgNamespace},
                                                                   {"xlink", kXlinkNamespace},
                                                                   {"inkscape", kInkscapeNamespace},
                                                                   {"sodipodi", kSodipodiNamespace},
                                                                   {"mirtil", kMirtilNamespace}};

// The text is handed on in pieces of about this size.
constexpr size_t kPieceBytes = size_t(1) << 20;

// The library indents two spaces a level, up to thirty levels.
void indent(std::string& out, size_t level) { out.append(2 * std::min<size_t>(level, 30), ' '); }

// Text as the library escapes it; attribute values also escape quotes,
// tabs and line ends.
void appendEscaped(std::string& out, std::string_view text, bool attribute) {
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      default:
        out += c;
    }
  }
}

// A namespace name in quotes, as the library writes declarations.
void appendQuoted(std::string& out, std::string_view text) {
  if (text.find('"') == std::string_view::npos) {
    out.append("\"").append(text).append("\"");
  } else if (text.find('\'') == std::string_view::npos) {
    out.append("'").append(text).append("'");
  } else {
    out += '"';
    for (const char c : text) out += c == '"' ? std::string("&quot;") : std::string(1, c);
    out += '"';
  }
}

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

// Both coordinates at once: most of a file is points.
void appendPoint(std::string& d, const AIRealPoint& p) {
  char text[2 * kRealTextRoom + 1];
  char* end = writeReal(text, p.h);
  *end++ = ' ';
  d.append(text, writeReal(end, flipped(p.v)));
}

bool straight(const AIPathSegment& from, const AIPathSegment& to) {
  return from.out.h == from.p.h && from.out.v == from.p.v && to.in.h == to.p.h && to.in.v == to.p.v;
}

void appendSegment(std::string& d, const AIPathSegment& from, const AIPathSegment& to) {
  if (straight(from, to)) {
    d += " L ";
  } else {
    d += " C ";
    appendPoint(d, from.out);
    d += ' ';
    appendPoint(d, to.in);
    d += ' ';
  }
  appendPoint(d, to.p);
}

void appendPathData(std::string& d, const std::vector<AIPathSegment>& segments, bool closed) {
  if (segments.empty()) return;
  d += "M ";
  appendPoint(d, segments[0].p);
  for (size_t i = 1; i < segments.size(); ++i) appendSegment(d, segments[i - 1], segments[i]);
  if (closed) {
    const AIPathSegment& last = segments.back();
    const AIPathSegment& first = segments.front();
    // A straight closing segment is the close itself, unless it ends where
    // it starts: then it is written, so that it does not read as merged.
    if (!straight(last, first) || (last.p.h == first.p.h && last.p.v == first.p.v)) appendSegment(d, last, first);
    d += " Z";
  }
}

// Where the library writes an element's text: into the writer's buffer.
int appendToBuffer(void* buffer, const char* bytes, int length) {
  static_cast<std::string*>(buffer)->append(bytes, size_t(length));
  return length;
}

class Writer {
 public:
  // With an overlap, the seam-free copy: plug-in objects are written as
  // their result alone with mirror-tile cells widened by the overlap, and
  // clipping groups are written as masks, applied to the group drawn whole.
  Writer(hostcore::HostCore& core, std::optional<double> seamOverlap, const TextSink& sink)
      : core_(core), document_(core.document()), seamOverlap_(seamOverlap), sink_(sink) {}

  ~Writer() {
    freePayloads();
    if (scratch_ != nullptr) xmlFreeDoc(scratch_);
    if (laterNamespaces_ != nullptr) xmlFreeNsList(laterNamespaces_);
    if (library_ != nullptr) xmlOutputBufferClose(library_);
  }

  bool write() {
    // Each layer's art, copied once for both walks; the topmost layer comes
    // last in paint order.
    std::vector<ArtCopy> layers;
    AILayerHandle layer = nullptr;
    hostcore::require(document_.firstLayer(&layer), "firstLayer");
    for (; layer != nullptr; hostcore::require(document_.nextLayer(layer, &layer), "nextLayer")) {
      AIArtHandle group;
      hostcore::require(document_.firstArtOfLayer(layer, &group), "firstArtOfLayer");
      hostcore::require(document_.copyArt(group, &layers.emplace_back()), "copyArt");
    }
    std::reverse(layers.begin(), layers.end());
    const auto extrasDocument = [&]() {
      return document_.fileExtras().empty() ? nullptr : payload(document_.fileExtras());
    };
    xmlDoc* extras = extrasDocument();
    xmlNode* kept = extras != nullptr ? xmlDocGetRootElement(extras) : nullptr;

    startScratch();
    survey(extras, kept, layers);
    surveying_ = false;
    // The library's copying changes what it copies from (the first copy of
    // an element differs from later ones), so the text is written from
    // kept art read afresh, copied as often as if there had been no survey.
    freePayloads();
    extras = extrasDocument();
    kept = extras != nullptr ? xmlDocGetRootElement(extras) : nullptr;
    library_ = xmlOutputBufferCreateIO(appendToBuffer, nullptr, &text_, nullptr);

    text_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    open("svg");
    for (const auto& [prefix, name] : rootNamespaces_) {
      text_ += prefix.empty() ? " xmlns=" : " xmlns:" + prefix + "=";
      appendQuoted(text_, name);
    }
    writePage(kept);
    for (xmlNode* child = kept != nullptr ? kept->children : nullptr; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) writeKept(cloneKept(extras, child));
    if (!definitionsToWrite_.empty()) {
      open("defs");
      for (const Definition* definition : definitionsToWrite_) writeKept(cloneDefinition(*definition));
      close();
    }
    for (const ArtCopy& each : layers) writeLayer(each);
    close();
    return failed_ ? false : sink_(text_);
  }

 private:
  // A definition, in the payload of the leaf art that holds it.
  struct Definition {
    unsigned long long order;
    const std::string* payload;
    size_t position;  // among the children of the payload's definitions
    xmlNode* node;    // as the survey read it
  };
  struct OpenElement {
    const char* name;
    bool children = false;
    bool text = false;
  };

  // ---- The survey: what the head of the file needs --------------------------------

  void survey(xmlDoc* extras, xmlNode* kept, const std::vector<ArtCopy>& layers) {
    for (xmlNode* child = kept != nullptr ? kept->children : nullptr; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) writeKept(cloneKept(extras, child));
    std::vector<std::pair<std::string, std::string>> extrasNamespaces = takeNamespaces();
    for (const ArtCopy& layer : layers) writeLayer(layer);
    std::vector<std::pair<std::string, std::string>> leafNamespaces = takeNamespaces();
    chooseDefinitions();
    for (const Definition* definition : definitionsToWrite_) {
      xmlNode* copy = cloneDefinition(*definition);
      recordNamespaces(copy);
      discard(copy);
    }
    const std::vector<std::pair<std::string, std::string>> definitionNamespaces = takeNamespaces();
    extrasNamespaces.insert(extrasNamespaces.end(), definitionNamespaces.begin(), definitionNamespaces.end());
    extrasNamespaces.insert(extrasNamespaces.end(), leafNamespaces.begin(), leafNamespaces.end());
    declareNamespaces(extrasNamespaces);
    storedClips_ = 0;
  }

  std::vector<std::pair<std::string, std::string>> takeNamespaces() {
    namespacesSeen_.clear();
    return std::exchange(namespacesUsed_, {});
  }

  // Every namespace used by kept art is declared on the root, in the order
  // of the file, under its own prefix or, where that prefix is taken, a
  // numbered one: the library's reconciliation, run on stand-ins.
  void declareNamespaces(const std::vector<std::pair<std::string, std::string>>& used) {
    xmlDoc* doc = xmlNewDoc(BAD_CAST "1.0");
    xmlNode* root = xmlNewDocNode(doc, nullptr, BAD_CAST "svg", nullptr);
    xmlDocSetRootElement(doc, root);
    for (const auto& [prefix, name] : kRootNamespaces) xmlNewNs(root, BAD_CAST name, BAD_CAST prefix);
    std::vector<xmlNs*> standIns;
    for (const auto& [prefix, name] : used) {
      xmlNs* ns = xmlNewNs(nullptr, BAD_CAST name.c_str(), prefix.empty() ? nullptr : BAD_CAST prefix.c_str());
      if (ns == nullptr) continue;
      standIns.push_back(ns);
      xmlNewChild(root, nullptr, BAD_CAST "use", nullptr)->ns = ns;
    }
    xmlReconciliateNs(doc, root);
    for (const xmlNs* ns = root->nsDef; ns != nullptr; ns = ns->next)
      rootNamespaces_.emplace_back(ns->prefix != nullptr ? reinterpret_cast<const char*>(ns->prefix) : "",
                                   reinterpret_cast<const char*>(ns->href));
    xmlNs** later = &laterNamespaces_;
    for (auto at = rootNamespaces_.begin() + std::size(kRootNamespaces); at != rootNamespaces_.end(); ++at) {
      *later = xmlNewNs(nullptr, BAD_CAST at->second.c_str(), BAD_CAST at->first.c_str());
      later = &(*later)->next;
    }
    xmlFreeDoc(doc);
    for (xmlNs* ns : standIns) xmlFreeNs(ns);
  }

  // The namespaces a kept element and what it holds refer to, in the order
  // the library reconciles them.
  void recordNamespaces(const xmlNode* node) {
    const auto record = [&](const xmlNs* ns) {
      if (ns == nullptr) return;
      const std::string name = reinterpret_cast<const char*>(ns->href);
      if (!namespacesSeen_.insert(name).second) return;
      namespacesUsed_.emplace_back(ns->prefix != nullptr ? reinterpret_cast<const char*>(ns->prefix) : "", name);
    };
    record(node->ns);
    for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) record(a->ns);
    for (const xmlNode* child = node->children; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) recordNamespaces(child);
  }

  // The definitions that what is written refers to, in the order of the
  // file they came from; one that has the id of art written elsewhere is
  // that art.
  void chooseDefinitions() {
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
      if (written_.count(name) != 0) return;
      const auto holder = holders.find(name);
      if (holder != holders.end() && written_.count(holder->second) == 0 && wanted.insert(holder->second).second)
        pending.push_back(holder->second);
    };
    for (const std::string& name : references_) want(name);
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
    for (const auto& [position, id] : order) definitionsToWrite_.push_back(&definitions_.at(*id));
  }

  static void collectIds(const xmlNode* node, std::set<std::string>& ids) {
    for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
      if (child->type != XML_ELEMENT_NODE) continue;
      if (const auto id = attribute(child, "id")) ids.insert(*id);
      collectIds(child, ids);
    }
  }

  // ---- Elements written here ----------------------------------------------------------

  // The survey only notes the ids written and what the values refer to.
  void open(const char* name) {
    if (surveying_) return;
    enterContent();
    indent(text_, open_.size());
    text_.append("<").append(name);
    open_.push_back(OpenElement{name});
  }

  void set(const char* name, std::string_view value) {
    if (surveying_) {
      if (std::strcmp(name, "id") == 0) written_.emplace(value);
      forEachReference(std::strchr(name, ':') != nullptr ? std::strchr(name, ':') + 1 : name, value,
                       [this](const std::string& id) { references_.push_back(id); });
      return;
    }
    text_.append(" ").append(name).append("=\"");
    appendEscaped(text_, value, true);
    text_ += '"';
  }

  // An element with text holds it alone, unindented.
  void setText(std::string_view text) {
    if (surveying_) return;
    OpenElement& element = open_.back();
    if (!element.text && !element.children) text_ += '>';
    element.text = true;
    appendEscaped(text_, text, false);
  }

  void close() {
    if (surveying_) return;
    const OpenElement element = open_.back();
    open_.pop_back();
    if (!element.children && !element.text) {
      text_ += "/>";
    } else {
      if (element.children) indent(text_, open_.size());
      text_.append("</").append(element.name).append(">");
    }
    text_ += '\n';
    if (text_.size() >= kPieceBytes) handOn();
  }

  // The start tag of the innermost open element ends before its first child.
  void enterContent() {
    if (open_.empty() || open_.back().children) return;
    text_ += ">\n";
    open_.back().children = true;
  }

  void handOn() {
    if (!failed_ && !sink_(text_)) failed_ = true;
    text_.clear();
  }

  // ---- Elements the library writes ------------------------------------------------------

  // A scratch document whose root declares what the file's root declares
  // first. Kept elements are placed in it as the library would place them
  // in the file, then written with the file's prefixes.
  void startScratch() {
    scratch_ = xmlNewDoc(BAD_CAST "1.0");
    // Written as the whole document would be, characters beyond ASCII as they are.
    scratch_->encoding = xmlStrdup(BAD_CAST "UTF-8");
    scratchRoot_ = xmlNewDocNode(scratch_, nullptr, BAD_CAST "svg", nullptr);
    xmlDocSetRootElement(scratch_, scratchRoot_);
    for (const auto& [prefix, name] : kRootNamespaces) xmlNewNs(scratchRoot_, BAD_CAST name, BAD_CAST prefix);
  }

  xmlNode* cloneKept(xmlDoc* from, xmlNode* node) {
    xmlNode* copy = nullptr;
    xmlDOMWrapCloneNode(nullptr, from, node, &copy, scratch_, scratchRoot_, 1, 0);
    xmlAddChild(scratchRoot_, copy);
    keepTextAsWritten(copy);
    return copy;
  }

  xmlNode* cloneDefinition(const Definition& definition) {
    xmlDoc* from = payload(*definition.payload);
    xmlNode* node = firstElement(xmlDocGetRootElement(from))->children;
    for (size_t i = 0; i < definition.position; ++i) node = node->next;
    xmlNode* copy = cloneKept(from, node);
    if (xmlAttr* a = xmlHasNsProp(copy, BAD_CAST "order", BAD_CAST kMirtilNamespace)) xmlRemoveProp(a);
    return copy;
  }

  // In the survey, the ids the element holds and what it refers to; then
  // the element itself, at the depth of the open elements.
  void writeKept(xmlNode* copy) {
    if (surveying_) {
      if (const auto id = attribute(copy, "id")) written_.insert(*id);
      collectIds(copy, written_);
      forEachReference(copy, [this](const std::string& id) { references_.push_back(id); });
      recordNamespaces(copy);
    } else {
      enterContent();
      // The namespaces the file's root declares beyond the first come into
      // scope only now: declared before the copy was made, they would have
      // been declared again inside it.
      xmlNs* first = scratchRoot_->nsDef;
      while (first->next != nullptr) first = first->next;
      first->next = laterNamespaces_;
      xmlReconciliateNs(scratch_, scratchRoot_);
      indent(text_, open_.size());
      xmlNodeDumpOutput(library_, scratch_, copy, int(open_.size()), 1, "UTF-8");
      xmlOutputBufferFlush(library_);
      text_ += '\n';
      if (text_.size() >= kPieceBytes) handOn();
      first->next = nullptr;
    }
    discard(copy);
  }

  static void discard(xmlNode* copy) {
    xmlUnlinkNode(copy);
    xmlFreeNode(copy);
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

  void freePayloads() {
    for (auto& [text, xml] : payloads_) xmlFreeDoc(xml);
    payloads_.clear();
  }

  xmlDoc* payload(const std::string& text) {
    const auto at = payloads_.find(&text);
    if (at != payloads_.end()) return at->second;
    xmlDoc* xml = xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr,
                                XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    payloads_.emplace(&text, xml);
    return xml;
  }

  // ---- The document ------------------------------------------------------------------

  // The page as the file wrote it while the document's page is the same;
  // otherwise from the document's page, or its art.
  void writePage(const xmlNode* kept) {
    set("version", "1.1");
    if (kept != nullptr) {
      const auto page = pageOf(attribute(kept, "width"), attribute(kept, "height"), attribute(kept, "viewBox"));
      const auto& artboard = document_.artboard();
      if (page && artboard && page->left == artboard->left && page->top == artboard->top &&
          page->right == artboard->right && page->bottom == artboard->bottom) {
        for (const char* name : kPageAttributes)
          if (const auto value = attribute(kept, name)) set(name, *value);
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
    set("width", formatDouble(width));
    set("height", formatDouble(height));
    set("viewBox", formatReal(page.left) + " " + formatReal(flipped(page.top)) + " " + formatDouble(width) + " " +
                       formatDouble(height));
  }

  void writeLayer(const ArtCopy& copy) {
    const hostcore::LayerInfo& info = *copy.props.layer;
    open("g");
    set("id", copy.id);
    set("inkscape:groupmode", "layer");
    set("inkscape:label", info.title);
    if (!info.visible) set("style", "display:none");
    if (!info.editable) set("sodipodi:insensitive", "true");
    writeChildren(copy.children, Scope{});
    close();
  }

  void writeChildren(const std::vector<ArtCopy>& children, const Scope& scope) {
    for (auto child = children.rbegin(); child != children.rend(); ++child) writeArt(*child, scope);
  }

  // The attributes every piece of art has, through `put` (name, value).
  template <class Put>
  static void common(const ArtCopy& art, const Scope& scope, Put&& put) {
    put(scope.stored ? "mirtil:id" : "id", art.id);
    if (!art.props.name.empty()) put("inkscape:label", art.props.name);
    if (art.props.userAttr & kArtHidden) put("display", "none");
    if (art.props.userAttr & kArtLocked) put("sodipodi:insensitive", "true");
    if (art.props.userAttr & kArtSelected) put("mirtil:selected", "true");
  }

  void writeCommon(const ArtCopy& art, const Scope& scope) {
    common(art, scope, [this](const char* name, const std::string& value) { set(name, value); });
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

  void writeArt(const ArtCopy& art, const Scope& scope) {
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

  void writeGroup(const ArtCopy& art, const Scope& scope) {
    open("g");
    writeCommon(art, scope);
    std::vector<const ArtCopy*> clips, others;
    for (const ArtCopy& child : art.children)
      (art.props.clipped && isClipPath(child) ? clips : others).push_back(&child);
    if (art.props.clipped && clips.empty()) set("mirtil:clipped", "true");
    if (!clips.empty()) {
      const std::string clipId =
          scope.stored ? scope.owner + "-clip" + std::to_string(++storedClips_) : art.id + "-clip";
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
  void writeClipAsMask(const std::vector<const ArtCopy*>& clips, const std::string& clipId, const Scope& scope) {
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

  // A path is drawn, outlines a clip, or is a white shape of a mask.
  enum class PathRole { Drawn, Clip, Mask };

  void writePath(const ArtCopy& art, const Scope& scope, PathRole role) {
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

  void writePlugin(const ArtCopy& art, const Scope& scope) {
    open("g");
    writeCommon(art, scope);
    if (seamOverlap_) {
      if (art.pluginGroups.size() >= 2) {
        ArtCopy result = art.pluginGroups[1];
        widenMirrorCells(result, *seamOverlap_, [this](const ArtCopy& child) { return isClipPath(child); });
        writeGroup(result, scope);
      }
      close();
      return;
    }
    open("mirtil:plugin");
    if (art.props.pluginGroup != hostcore::kNoIndex) {
      set("group", core_.pluginGroups()[art.props.pluginGroup].name);
      set("version", std::to_string(art.props.versionMajor) + "." + std::to_string(art.props.versionMinor));
    }
    if (!art.pluginGroups.empty()) {
      const ArtCopy& edit = art.pluginGroups[0];
      open("mirtil:edit");
      if (!scope.stored) set("id", edit.id);
      writeChildren(edit.children, scope);
      close();
    }
    // In the order of the keys' texts, which does not depend on the session.
    std::map<std::string, const hostcore::DictValue*> entries;
    for (const auto& [key, value] : art.dictionary) entries.emplace(core_.keyText(key), &value);
    for (const auto& [key, value] : entries) writeEntry(key, *value, art.id);
    close();
    if (art.pluginGroups.size() > 1) writeGroup(art.pluginGroups[1], scope);
    close();
  }

  void writeEntry(const std::string& key, const hostcore::DictValue& value, const std::string& owner) {
    open("mirtil:entry");
    set("key", key);
    std::visit(
        [&](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, int32_t>) {
            set("type", "integer");
            setText(std::to_string(v));
          } else if constexpr (std::is_same_v<V, bool>) {
            set("type", "boolean");
            setText(v ? "true" : "false");
          } else if constexpr (std::is_same_v<V, AIReal>) {
            set("type", "real");
            setText(formatReal(v));
          } else if constexpr (std::is_same_v<V, hostcore::ArrayValues>) {
            set("type", "array");
            for (const hostcore::ArrayEntry& item : v) {
              if (item.kind == hostcore::ArrayEntryKind::Integer) {
                open("mirtil:integer");
                setText(std::to_string(item.integer));
              } else if (item.kind == hostcore::ArrayEntryKind::Real) {
                open("mirtil:real");
                setText(formatReal(item.real));
              } else {
                open("mirtil:empty");
              }
              close();
            }
          } else {
            set("type", "art");
            if (v) writeArt(*v, Scope{true, owner});
          }
        },
        value);
    close();
  }

  void writeLeaf(const ArtCopy& art, const Scope& scope) {
    const hostcore::LeafData& leaf = art.props.leaf;
    xmlDoc* xml = leaf.payload ? payload(*leaf.payload) : nullptr;
    xmlNode* root = xml != nullptr ? xmlDocGetRootElement(xml) : nullptr;
    xmlNode* element = nullptr;
    for (xmlNode* child = root != nullptr ? root->children : nullptr; child != nullptr; child = child->next) {
      if (child->type != XML_ELEMENT_NODE) continue;
      if (isElement(child, kSvgNamespace, "defs") && element == nullptr && child == firstElement(root)) {
        size_t position = 0;
        for (xmlNode* def = child->children; def != nullptr; def = def->next, ++position) {
          const auto id = attribute(def, "id");
          if (def->type != XML_ELEMENT_NODE || !id || definitions_.count(*id) != 0) continue;
          const auto order = attribute(def, "order", kMirtilNamespace);
          definitions_.emplace(*id, Definition{order ? std::strtoull(order->c_str(), nullptr, 10) : 0,
                                               leaf.payload.get(), position, def});
        }
      } else if (element == nullptr) {
        element = child;
      }
    }
    // Leaf art whose content is lost still holds its place.
    if (element == nullptr) {
      open("g");
      writeCommon(art, scope);
      close();
      return;
    }
    xmlNode* copy = cloneKept(xml, element);
    common(art, scope, [&](const char* name, const std::string& value) {
      const char* colon = std::strchr(name, ':');
      if (colon == nullptr) {
        xmlSetProp(copy, BAD_CAST name, BAD_CAST value.c_str());
      } else {
        const std::string prefix(name, colon);
        xmlSetNsProp(copy, xmlSearchNs(scratch_, scratchRoot_, BAD_CAST prefix.c_str()), BAD_CAST(colon + 1),
                     BAD_CAST value.c_str());
      }
    });
    // Back from points (v upward) to the file's coordinates (y downward).
    const AIRealMatrix& m = leaf.matrix;
    const float file[6] = {m.a, flipped(m.b), m.c, flipped(m.d), m.tx, flipped(m.ty)};
    if (file[0] != 1 || file[1] != 0 || file[2] != 0 || file[3] != 1 || file[4] != 0 || file[5] != 0) {
      std::string text = "matrix(";
      for (int i = 0; i < 6; ++i) text += (i > 0 ? " " : "") + formatReal(file[i]);
      xmlSetProp(copy, BAD_CAST "transform", BAD_CAST(text + ")").c_str());
    }
    writeKept(copy);
  }

  static xmlNode* firstElement(xmlNode* parent) {
    for (xmlNode* child = parent->children; child != nullptr; child = child->next)
      if (child->type == XML_ELEMENT_NODE) return child;
    return nullptr;
  }

  hostcore::HostCore& core_;
  Document& document_;
  const std::optional<double> seamOverlap_;
  const TextSink& sink_;
  bool surveying_ = true;
  bool failed_ = false;

  // The survey's findings.
  std::set<std::string> written_;        // ids the text gives, outside the definitions
  std::vector<std::string> references_;  // ids it refers to
  std::set<std::string> namespacesSeen_;
  std::vector<std::pair<std::string, std::string>> namespacesUsed_;  // prefix, name
  std::vector<std::pair<std::string, std::string>> rootNamespaces_;
  std::map<std::string, Definition> definitions_;  // by id
  std::vector<const Definition*> definitionsToWrite_;

  std::string text_;  // not yet handed on
  std::vector<OpenElement> open_;
  xmlDoc* scratch_ = nullptr;
  xmlNode* scratchRoot_ = nullptr;
  xmlNs* laterNamespaces_ = nullptr;  // the file root's, after the first
  xmlOutputBuffer* library_ = nullptr;
  std::map<const std::string*, xmlDoc*> payloads_;
  unsigned storedClips_ = 0;
};

}  // namespace

bool writeSvg(hostcore::HostCore& core, const TextSink& sink) { return Writer(core, std::nullopt, sink).write(); }

std::string writeSvg(hostcore::HostCore& core) {
  std::string text;
  writeSvg(core, [&](std::string_view piece) {
    text += piece;
    return true;
  });
  return text;
}

std::string writeSeamFreeSvg(hostcore::HostCore& core, double overlap) {
  std::string text;
  Writer(core, overlap, [&](std::string_view piece) {
    text += piece;
    return true;
  }).write();
  return text;
}

namespace {

Outcome writeText(FileStore& files, const std::string& path, const std::string& text) {
  std::string error;
  if (!writeFileAtomically(files, path, text, &error)) return Outcome{path + ": " + error};
  return Outcome{};
}

}  // namespace

Outcome saveSvg(hostcore::HostCore& core, FileStore& files, const std::string& path) {
  std::string error;
  if (!writeFileAtomically(
          files, path, [&](const TextSink& sink) { return writeSvg(core, sink); }, &error))
    return Outcome{path + ": " + error};
  return Outcome{};
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
