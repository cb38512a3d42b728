#include "SvgModel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace hostfiles::svg {

bool inferredCorner(const AIPathSegment& s) {
    const double inH = double(s.p.h) - s.in.h, inV = double(s.p.v) - s.in.v;
    const double outH = double(s.out.h) - s.p.h, outV = double(s.out.v) - s.p.v;
    const double inLength = std::hypot(inH, inV), outLength = std::hypot(outH, outV);
    if (inLength == 0 || outLength == 0) return true;
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

bool inNamespace(const xmlNode* node, const char* ns) {
    if (node == nullptr || node->type != XML_ELEMENT_NODE) return false;
    // SVG written without a namespace declaration is still read as SVG.
    if (node->ns == nullptr) return std::strcmp(ns, kSvgNamespace) == 0;
    return std::strcmp(reinterpret_cast<const char*>(node->ns->href), ns) == 0;
}

bool isElement(const xmlNode* node, const char* ns, const char* localName) {
    return inNamespace(node, ns) && std::strcmp(reinterpret_cast<const char*>(node->name), localName) == 0;
}

std::string serializeNode(xmlDoc* doc, xmlNode* node) {
    xmlBuffer* buffer = xmlBufferCreate();
    xmlNodeDump(buffer, doc, node, 0, 0);
    std::string text(reinterpret_cast<const char*>(xmlBufferContent(buffer)), size_t(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
    return text;
}

}  // namespace hostfiles::svg
