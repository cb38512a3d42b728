// The writer's elements that the XML library writes: the page's extras,
// the definitions and leaf art, each kept as written, copied into a
// scratch document whose root declares what the file's root declares.
#include <libxml/parser.h>
#include <libxml/xmlIO.h>

#include <cstdlib>
#include <cstring>

#include "SvgWriter.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles::writing {

using hostcore::ArtCopy;
using namespace svg;

// A scratch document whose root declares what the file's root declares
// first. Kept elements are placed in it as the library would place them
// in the file, then written with the file's prefixes.
void Writer::startScratch() {
  scratch_ = xmlNewDoc(BAD_CAST "1.0");
  // Written as the whole document would be, characters beyond ASCII as they are.
  scratch_->encoding = xmlStrdup(BAD_CAST "UTF-8");
  scratchRoot_ = xmlNewDocNode(scratch_, nullptr, BAD_CAST "svg", nullptr);
  xmlDocSetRootElement(scratch_, scratchRoot_);
  for (const auto& [prefix, name] : kRootNamespaces) xmlNewNs(scratchRoot_, BAD_CAST name, BAD_CAST prefix);
}

xmlNode* Writer::cloneKept(xmlDoc* from, xmlNode* node) {
  xmlNode* copy = nullptr;
  xmlDOMWrapCloneNode(nullptr, from, node, &copy, scratch_, scratchRoot_, 1, 0);
  xmlAddChild(scratchRoot_, copy);
  keepTextAsWritten(copy);
  return copy;
}

xmlNode* Writer::cloneDefinition(const Definition& definition) {
  xmlDoc* from = payload(*definition.payload);
  xmlNode* node = firstElement(xmlDocGetRootElement(from))->children;
  for (size_t i = 0; i < definition.position; ++i) node = node->next;
  xmlNode* copy = cloneKept(from, node);
  if (xmlAttr* a = xmlHasNsProp(copy, BAD_CAST "order", BAD_CAST kMirtilNamespace)) xmlRemoveProp(a);
  return copy;
}

// In the survey, the ids the element holds and what it refers to; then
// the element itself, at the depth of the open elements.
void Writer::writeKept(xmlNode* copy) {
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

void Writer::discard(xmlNode* copy) {
  xmlUnlinkNode(copy);
  xmlFreeNode(copy);
}

// The file is indented, but not inside text: there blanks are drawn.
// An element with a text child, even an empty one, is written as it is.
void Writer::keepTextAsWritten(xmlNode* node) {
  if (isElement(node, kSvgNamespace, "text")) {
    if (node->children != nullptr && node->children->type != XML_TEXT_NODE)
      xmlAddPrevSibling(node->children, xmlNewText(BAD_CAST ""));
    return;
  }
  for (xmlNode* child = node->children; child != nullptr; child = child->next)
    if (child->type == XML_ELEMENT_NODE) keepTextAsWritten(child);
}

void Writer::freePayloads() {
  for (auto& [text, xml] : payloads_) xmlFreeDoc(xml);
  payloads_.clear();
}

xmlDoc* Writer::payload(const std::string& text) {
  const auto at = payloads_.find(&text);
  if (at != payloads_.end()) return at->second;
  xmlDoc* xml = xmlReadMemory(text.data(), int(text.size()), nullptr, nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  payloads_.emplace(&text, xml);
  return xml;
}

void Writer::writeLeaf(const ArtCopy& art, const Scope& scope) {
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
        definitions_.emplace(
            *id, Definition{order ? std::strtoull(order->c_str(), nullptr, 10) : 0, leaf.payload.get(), position, def});
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

xmlNode* Writer::firstElement(xmlNode* parent) {
  for (xmlNode* child = parent->children; child != nullptr; child = child->next)
    if (child->type == XML_ELEMENT_NODE) return child;
  return nullptr;
}

}  // namespace hostfiles::writing
