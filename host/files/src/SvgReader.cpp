// SVG text into a document: the parse, then the layers from the top-level
// groups, the ids the art is given and the page. The art itself is read
// by the other SvgRead*.cpp files (SvgReader.h lists them).
#include "SvgReader.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "hostfiles/SvgDocument.h"

namespace hostfiles::reading {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

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

void Reader::read(xmlDoc* xml) {
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

void Reader::fail(const xmlNode* node, const std::string& message) {
  const long line = node != nullptr ? xmlGetLineNo(node) : 0;
  throw Fault{source_ + ":" + std::to_string(line) + ": " + message};
}

void Reader::index(xmlNode* node) {
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

std::string Reader::freshId(const std::string& prefix) {
  std::string id;
  do {
    id = prefix + std::to_string(++idCounter_);
  } while (usedIds_.count(id) != 0);
  usedIds_.insert(id);
  return id;
}

std::string Reader::idOf(const xmlNode* node, IdSource source, const char* prefix) {
  if (source == IdSource::Stored) {
    // Stored copies keep the ids of the art they copied, which may still be in the document.
    const auto id = attribute(node, "id", kMirtilNamespace);
    return id ? *id : std::string();
  }
  const auto id = attribute(node, "id");
  if (id && !id->empty() && takenIds_.insert(*id).second) return *id;
  return freshId(prefix);
}

std::string Reader::takenId(const std::string& wanted, const char* prefix) {
  if (!wanted.empty() && takenIds_.insert(wanted).second) return wanted;
  return freshId(prefix);
}

// The page, and beside it what the document does not model: the page's
// attributes as written, the style sheets and the metadata.
void Reader::readPage(xmlNode* root) {
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
void Reader::gatherStyleSheets(xmlNode* parent, std::vector<xmlNode*>& found) {
  for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
    if (isElement(child, kSvgNamespace, "style")) found.push_back(child);
    if (isElement(child, kSvgNamespace, "g") || isElement(child, kSvgNamespace, "defs") ||
        isElement(child, kSvgNamespace, "a"))
      gatherStyleSheets(child, found);
  }
}

}  // namespace hostfiles::reading

namespace hostfiles {

namespace {

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
  auto document = std::make_unique<hostcore::Document>();
  document->setArtLimit(core.artLimit());
  try {
    reading::Reader(core, *document, sourceName).read(xml);
  } catch (const reading::Fault& fault) {
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
