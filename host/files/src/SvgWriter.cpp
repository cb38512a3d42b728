// The document as SVG: layers as groups in paint order, clipping groups
// with their clip paths, plug-in objects as their result with the host's
// own elements holding the rest of the object. This part runs the survey
// and then the text over the layers, writes the root, the page and each
// layer's group, and saves the text, the seam-free copy and pictures.
#include "SvgWriter.h"

#include <libxml/xmlIO.h>

#include <algorithm>
#include <cmath>

#include "hostfiles/SvgDocument.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles {

namespace writing {

using hostcore::ArtCopy;
using namespace svg;

namespace {

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

// Where the library writes an element's text: into the writer's buffer.
int appendToBuffer(void* buffer, const char* bytes, int length) {
  static_cast<std::string*>(buffer)->append(bytes, size_t(length));
  return length;
}

}  // namespace

Writer::~Writer() {
  freePayloads();
  if (scratch_ != nullptr) xmlFreeDoc(scratch_);
  if (laterNamespaces_ != nullptr) xmlFreeNsList(laterNamespaces_);
  if (library_ != nullptr) xmlOutputBufferClose(library_);
}

bool Writer::write() {
  // Each layer's art, copied once for both walks; the topmost layer comes
  // last in paint order.
  std::vector<ArtCopy> layers;
  for (const AIArtHandle group : document_.layerGroups())
    hostcore::require(document_.copyArt(group, &layers.emplace_back()), "copyArt");
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

// The page as the file wrote it while the document's page is the same;
// otherwise from the document's page, or its art.
void Writer::writePage(const xmlNode* kept) {
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
    for (const AIArtHandle group : document_.layerGroups()) {
      AIRealRect r;
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

void Writer::writeLayer(const ArtCopy& copy) {
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

}  // namespace writing

bool writeSvg(hostcore::HostCore& core, const TextSink& sink) {
  return writing::Writer(core, std::nullopt, sink).write();
}

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
  writing::Writer(core, overlap, [&](std::string_view piece) {
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
