// The writer's survey, which walks the document writing nothing: the ids
// the text gives and refers to, the namespaces kept art uses, declared
// on the root, and the definitions to write before the layers.
#include <algorithm>
#include <iterator>

#include "SvgWriter.h"

namespace hostfiles::writing {

using hostcore::ArtCopy;
using namespace svg;

void Writer::survey(xmlDoc* extras, xmlNode* kept, const std::vector<ArtCopy>& layers) {
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

std::vector<std::pair<std::string, std::string>> Writer::takeNamespaces() {
  namespacesSeen_.clear();
  return std::exchange(namespacesUsed_, {});
}

// Every namespace used by kept art is declared on the root, in the order
// of the file, under its own prefix or, where that prefix is taken, a
// numbered one: the library's reconciliation, run on stand-ins.
void Writer::declareNamespaces(const std::vector<std::pair<std::string, std::string>>& used) {
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
void Writer::recordNamespaces(const xmlNode* node) {
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
void Writer::chooseDefinitions() {
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

void Writer::collectIds(const xmlNode* node, std::set<std::string>& ids) {
  for (const xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (child->type != XML_ELEMENT_NODE) continue;
    if (const auto id = attribute(child, "id")) ids.insert(*id);
    collectIds(child, ids);
  }
}

}  // namespace hostfiles::writing
