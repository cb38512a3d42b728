#include "SvgModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "hostfiles/SvgSyntax.h"

namespace hostfiles::svg {

std::optional<AIRealRect> pageOf(const std::optional<std::string>& width, const std::optional<std::string>& height,
                                 const std::optional<std::string>& viewBox) {
  std::optional<std::vector<double>> box;
  if (viewBox) box = parseNumberList(*viewBox);
  if (!box || box->size() != 4) {
    const double w = width ? parseLength(*width).value_or(0) : 0, h = height ? parseLength(*height).value_or(0) : 0;
    if (w <= 0 || h <= 0) return std::nullopt;
    box = std::vector<double>{0, 0, w, h};
  }
  const std::vector<double>& b = *box;
  return AIRealRect{AIReal(b[0]), flipped(AIReal(b[1])), AIReal(b[0] + b[2]), flipped(AIReal(b[1] + b[3]))};
}

bool inferredCorner(const AIPathSegment& s) {
  const double inH = double(s.p.h) - s.in.h, inV = double(s.p.v) - s.in.v;
  const double outH = double(s.out.h) - s.p.h, outV = double(s.out.v) - s.p.v;
  // A handle on its anchor makes a corner; the lengths are needed only after.
  if ((inH == 0 && inV == 0) || (outH == 0 && outV == 0)) return true;
  const double inLength = std::hypot(inH, inV), outLength = std::hypot(outH, outV);
  const double cross = (inH * outV - inV * outH) / (inLength * outLength);
  const double dot = inH * outH + inV * outV;
  return !(std::fabs(cross) < 1e-3 && dot > 0);
}

bool cornersAsInferred(const std::vector<AIPathSegment>& segments) {
  return std::all_of(segments.begin(), segments.end(),
                     [](const AIPathSegment& s) { return (s.corner != 0) == inferredCorner(s); });
}

std::string cornerFlags(const std::vector<AIPathSegment>& segments) {
  std::string text;
  for (const AIPathSegment& s : segments) text += s.corner ? '1' : '0';
  return text;
}

std::optional<std::string> attribute(const xmlNode* node, const char* name, const char* ns) {
  xmlChar* value = ns == nullptr ? xmlGetNoNsProp(node, BAD_CAST name) : xmlGetNsProp(node, BAD_CAST name, BAD_CAST ns);
  if (value == nullptr) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::optional<std::string_view> attributeText(const xmlNode* node, const char* name, std::string& held) {
  for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
    if (a->ns != nullptr || std::strcmp(reinterpret_cast<const char*>(a->name), name) != 0) continue;
    const xmlNode* text = a->children;
    if (text != nullptr && text->next == nullptr && text->content != nullptr &&
        (text->type == XML_TEXT_NODE || text->type == XML_CDATA_SECTION_NODE))
      return std::string_view(reinterpret_cast<const char*>(text->content));
    break;
  }
  // Values of several parts, and defaults the document type gives, are copied.
  std::optional<std::string> copied = attribute(node, name);
  if (!copied) return std::nullopt;
  held = std::move(*copied);
  return std::string_view(held);
}

bool inNamespace(const xmlNode* node, const char* ns) {
  if (node == nullptr || node->type != XML_ELEMENT_NODE) return false;
  // SVG written without a namespace declaration is still read as SVG.
  if (node->ns == nullptr) return std::strcmp(ns, kSvgNamespace) == 0;
  return std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0;
}

bool isElement(const xmlNode* node, const char* ns, const char* localName) {
  return inNamespace(node, ns) && std::strcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

void forEachReference(const xmlNode* node, const std::function<void(const std::string&)>& found) {
  for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
    // Values are mostly one text node, read in place; others are joined.
    const xmlNode* text = a->children;
    std::string joined;
    if (text != nullptr && (text->next != nullptr || text->type != XML_TEXT_NODE)) {
      xmlChar* raw = xmlNodeListGetString(node->doc, text, 1);
      joined = raw != nullptr ? reinterpret_cast<const char*>(raw) : "";
      xmlFree(raw);
    }
    const std::string_view value = !joined.empty() || text == nullptr || text->content == nullptr
                                       ? std::string_view(joined)
                                       : std::string_view(reinterpret_cast<const char*>(text->content));
    forEachReference(reinterpret_cast<const char*>(a->name), value, found);
  }
  for (const xmlNode* child = node->children; child != nullptr; child = child->next)
    if (child->type == XML_ELEMENT_NODE) forEachReference(child, found);
}

void forEachReference(std::string_view name, std::string_view value,
                      const std::function<void(const std::string&)>& found) {
  if (name == "href" && value.size() > 1 && value[0] == '#') found(std::string(value.substr(1)));
  for (size_t at = value.find("url("); at != std::string_view::npos; at = value.find("url(", at + 4))
    if (const std::string id = urlReference(value.substr(at)); !id.empty()) found(id);
}

std::string serializeNode(xmlDoc* doc, xmlNode* node) {
  xmlBuffer* buffer = xmlBufferCreate();
  xmlNodeDump(buffer, doc, node, 0, 0);
  std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)), size_t(xmlBufferLength(buffer)));
  xmlBufferFree(buffer);
  return text;
}

}  // namespace hostfiles::svg
