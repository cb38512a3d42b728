// The reader's art kept as written (text, images, uses, painted or
// filtered shapes): the element with every definition it refers to, its
// inherited properties made its own, and its extent as far as it can be told.
#include <cmath>

#include "SvgReader.h"

namespace hostfiles::reading {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

// The definitions the element refers to, and those they refer to in
// turn, leaving out what the element holds itself.
std::vector<const xmlNode*> Reader::referencesOf(const xmlNode* element) {
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
const std::vector<const xmlNode*>& Reader::directReferences(const xmlNode* node, bool once) {
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

void Reader::scanReferences(const xmlNode* node, std::vector<const xmlNode*>& found) const {
  forEachReference(node, [&](const std::string& id) {
    const auto at = byId_.find(id);
    if (at != byId_.end()) found.push_back(definitionOf(at->second));
  });
}

// What is copied for a reference to the node: the outermost definition
// with an id that holds it, so that no id is written twice.
const xmlNode* Reader::definitionOf(const xmlNode* node) const {
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

void Reader::removeProperty(xmlNode* node, const char* name) {
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

bool Reader::declares(const xmlNode* node, const std::string& name) {
  if (xmlHasNsProp(node, BAD_CAST name.c_str(), nullptr) != nullptr) return true;
  if (const auto style = attribute(node, "style"))
    for (const auto& [n, v] : parseStyleDeclarations(*style))
      if (n == name) return true;
  return false;
}

// The element's extent in its own coordinates, as far as it can be told.
std::optional<AIRealRect> Reader::localBox(const xmlNode* node, const Properties& props, int depth) {
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
    std::vector<Subpath> subpaths;
    geometry(node, name, subpaths);
    for (const Subpath& s : subpaths)
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

ArtCopy Reader::leaf(xmlNode* node, const std::string& name, const Matrix& ctm, const Properties& props,
                     double parentOpacity, IdSource source) {
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
  xmlNode* defs = xmlNewChild(root, xmlSearchNsByHref(payload, root, BAD_CAST kSvgNamespace), BAD_CAST "defs", nullptr);

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

}  // namespace hostfiles::reading
