// What the SVG reader and writer share: the namespaces, the mapping
// between the file's coordinates and the document's, corner flags and
// the XML helpers both sides use.
#pragma once

#include <libxml/tree.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/HostTypes.h"

namespace hostfiles::svg {

constexpr const char* kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr const char* kXlinkNamespace = "http://www.w3.org/1999/xlink";
constexpr const char* kInkscapeNamespace = "http://www.inkscape.org/namespaces/inkscape";
constexpr const char* kSodipodiNamespace = "http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd";
// The host's own elements and attributes, which viewers ignore.
constexpr const char* kMirtilNamespace = "urn:mirrortile:host-document";

// The root's attributes that make the page, kept as written.
constexpr const char* kPageAttributes[] = {"width", "height", "viewBox", "preserveAspectRatio"};

// The page, in points (v upward), that the root's viewBox, or else its
// width and height, make; none when they make no page.
std::optional<AIRealRect> pageOf(const std::optional<std::string>& width, const std::optional<std::string>& height,
                                 const std::optional<std::string>& viewBox);

// The file's y grows downward, the document's v upward. Subtracting from
// zero rather than negating keeps -0 out of the files.
inline float flipped(float value) { return 0.0f - value; }

// A segment is smooth when both handles stand out on one line through
// the anchor; anything else reads as a corner.
bool inferredCorner(const AIPathSegment& segment);

bool cornersAsInferred(const std::vector<AIPathSegment>& segments);
// "1" or "0" per segment.
std::string cornerFlags(const std::vector<AIPathSegment>& segments);

// Attribute value, with or without a namespace; nullopt when absent.
std::optional<std::string> attribute(const xmlNode* node, const char* name, const char* ns = nullptr);
// The same value read in place where the library holds it as one text;
// `held` keeps a copy where it does not.
std::optional<std::string_view> attributeText(const xmlNode* node, const char* name, std::string& held);
bool inNamespace(const xmlNode* node, const char* ns);
bool isElement(const xmlNode* node, const char* ns, const char* localName);

// Calls `found` with each id the subtree names by `href="#id"` or `url(#id)`.
void forEachReference(const xmlNode* node, const std::function<void(const std::string&)>& found);
// The same for one attribute, by its local name and value.
void forEachReference(std::string_view name, std::string_view value,
                      const std::function<void(const std::string&)>& found);

// The text of a subtree and the subtree from text, through a wrapper that
// declares the namespaces the files use.
std::string serializeNode(xmlDoc* doc, xmlNode* node);

}  // namespace hostfiles::svg
