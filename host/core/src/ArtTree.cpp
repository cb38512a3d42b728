#include "hostcore/ArtTree.h"

#include <algorithm>

namespace hostcore {

NodeIndex ArtTree::createNode(AIArtType type, const std::string& id) {
  const NodeIndex n = nodes_.add();
  ArtNode& a = nodes_[n];
  a.type = type;
  a.born = birthSerial_;
  if (!id.empty() && ids_.holder(id) == kNoIndex) {
    a.id = id;
    ids_.give(id, n);
  } else {
    a.idNumber = ids_.takeNumber(type, n);
  }
  return n;
}

size_t ArtTree::nodesToBuild(const ArtCopy& copy) {
  // Plug-in art without its groups gets two empty ones.
  size_t nodes = copy.type == kPluginArt ? 3 - std::min<size_t>(copy.pluginGroups.size(), 2) : 1;
  for (const ArtCopy& group : copy.pluginGroups) nodes += nodesToBuild(group);
  for (const ArtCopy& child : copy.children) nodes += nodesToBuild(child);
  return nodes;
}

NodeIndex ArtTree::build(const ArtCopy& copy, bool keepIds) {
  const NodeIndex n = createNode(copy.type, keepIds ? copy.id : std::string());
  nodes_[n].props.assign(copy.props);
  nodes_[n].path = copy.path;
  if (copy.type == kPluginArt) {
    const ArtRole roles[2] = {ArtRole::EditGroup, ArtRole::ResultGroup};
    NodeIndex groups[2];
    for (int i = 0; i < 2; ++i) {
      groups[i] =
          i < int(copy.pluginGroups.size()) ? build(copy.pluginGroups[size_t(i)], keepIds) : createNode(kGroupArt);
      nodes_[groups[i]].role = roles[i];
      nodes_[groups[i]].parent = n;
    }
    nodes_[n].editGroup = groups[0];
    nodes_[n].resultGroup = groups[1];
    if (copy.dirty) markDirty(n);
  }
  if (!copy.dictionary.empty()) data_.dictionary(ensureDictionary(n)).entries = copy.dictionary;
  for (const ArtCopy& child : copy.children) attach(build(child, keepIds), Place{n, kNoNode});
  return n;
}

NodeIndex ArtTree::clone(NodeIndex source) {
  const NodeIndex n = createNode(nodes_[source].type);
  const ArtNode& from = nodes_[source];
  ArtNode& copy = nodes_[n];  // slots stay where they are while others are added
  copy.props = from.props;
  copy.path = from.path;
  if (from.type == kPluginArt) {
    copy.editGroup = clone(from.editGroup);
    copy.resultGroup = clone(from.resultGroup);
    nodes_[copy.editGroup].role = ArtRole::EditGroup;
    nodes_[copy.resultGroup].role = ArtRole::ResultGroup;
    nodes_[copy.editGroup].parent = nodes_[copy.resultGroup].parent = n;
    if (from.dirty) markDirty(n);
  }
  if (from.dictionary != kNoIndex && !data_.dictionary(from.dictionary).entries.empty()) {
    const uint32_t d = ensureDictionary(n);
    data_.dictionary(d).entries = data_.dictionary(from.dictionary).entries;
  }
  for (NodeIndex c = from.firstChild; c != kNoNode; c = nodes_[c].next) attach(clone(c), Place{n, kNoNode});
  return n;
}

ArtCopy ArtTree::copyOf(NodeIndex n) const {
  const ArtNode& a = nodes_[n];
  ArtCopy copy;
  copy.type = a.type;
  copy.id = idOf(n);
  copy.props = *a.props;
  a.path.segments.settle();  // once here rather than in every copy read
  copy.path = a.path;
  copy.dirty = a.dirty;
  for (NodeIndex c = a.firstChild; c != kNoNode; c = nodes_[c].next) copy.children.push_back(copyOf(c));
  if (a.type == kPluginArt) {
    copy.pluginGroups.push_back(copyOf(a.editGroup));
    copy.pluginGroups.push_back(copyOf(a.resultGroup));
  }
  if (a.dictionary != kNoIndex) copy.dictionary = data_.dictionary(a.dictionary).entries;
  return copy;
}

uint32_t ArtTree::ensureDictionary(NodeIndex n) {
  ArtNode& a = nodes_[n];
  if (a.dictionary == kNoIndex) a.dictionary = data_.newDictionary(n);
  return a.dictionary;
}

void ArtTree::setSubtreeLife(NodeIndex root, bool live) {
  forSubtree(root, [&](NodeIndex n) { nodes_[n].live = live; });
}

void ArtTree::collect(NodeIndex n) {
  // Most calls free a single path: it makes no list.
  std::vector<NodeIndex> pending;
  const auto release = [&](NodeIndex c) {
    ArtNode& child = nodes_[c];
    child.parent = child.prev = child.next = kNoNode;
    pending.push_back(c);
  };
  for (NodeIndex m = n;;) {
    const bool unreachable = nodes_.used(m) && !nodes_[m].live && nodes_[m].pins == 0 && nodes_[m].parent == kNoNode;
    if (unreachable) {
      const ArtNode& a = nodes_[m];
      for (NodeIndex c = a.firstChild; c != kNoNode;) {
        const NodeIndex next = nodes_[c].next;
        release(c);
        c = next;
      }
      if (a.editGroup != kNoNode) release(a.editGroup);
      if (a.resultGroup != kNoNode) release(a.resultGroup);
      freeNode(m);
    }
    if (pending.empty()) return;
    m = pending.back();
    pending.pop_back();
  }
}

void ArtTree::freeNode(NodeIndex n) {
  ArtNode& a = nodes_[n];
  if (a.dictionary != kNoIndex) data_.orphan(a.dictionary);
  if (a.dirty) clearDirty(n);
  releaseId(a);
  nodes_.remove(n);
}

void ArtTree::attach(NodeIndex n, Place place) {
  ArtNode& a = nodes_[n];
  ArtNode& parent = nodes_[place.parent];
  a.parent = place.parent;
  a.next = place.next;
  if (place.next == kNoNode) {
    a.prev = parent.lastChild;
    parent.lastChild = n;
  } else {
    a.prev = nodes_[place.next].prev;
    nodes_[place.next].prev = n;
  }
  if (a.prev == kNoNode)
    parent.firstChild = n;
  else
    nodes_[a.prev].next = n;
}

void ArtTree::detach(NodeIndex n) {
  ArtNode& a = nodes_[n];
  if (a.parent == kNoNode || a.role != ArtRole::Member) return;
  ArtNode& parent = nodes_[a.parent];
  if (a.prev == kNoNode)
    parent.firstChild = a.next;
  else
    nodes_[a.prev].next = a.next;
  if (a.next == kNoNode)
    parent.lastChild = a.prev;
  else
    nodes_[a.next].prev = a.prev;
  a.parent = a.prev = a.next = kNoNode;
}

AIErr ArtTree::resolvePlace(AIPaintOrder order, AIArtHandle prep, AIArtType type, Place* place) const {
  NodeIndex ref = kNoNode;
  switch (order) {
    case kPlaceAboveAll:
    case kPlaceBelowAll: {
      const NodeIndex layer = currentLayer();
      if (layer == kNoNode) return kHostNoDocumentErr;
      *place = Place{layer, order == kPlaceAboveAll ? nodes_[layer].firstChild : kNoNode};
      break;
    }
    case kPlaceAbove:
    case kPlaceBelow: {
      if (AIErr err = findArt(prep, &ref)) return err;
      const ArtNode& r = nodes_[ref];
      if (r.role != ArtRole::Member || r.parent == kNoNode) return kHostCantPlaceErr;
      *place = Place{r.parent, order == kPlaceAbove ? ref : r.next};
      break;
    }
    case kPlaceInsideOnTop:
    case kPlaceInsideOnBottom:
      if (AIErr err = findArt(prep, &ref)) return err;
      if (!isContainer(ref)) return kHostCantPlaceErr;
      *place = Place{ref, order == kPlaceInsideOnTop ? nodes_[ref].firstChild : kNoNode};
      break;
    default:
      return kHostBadParameterErr;
  }
  // A compound path holds paths only.
  if (nodes_[place->parent].type == kCompoundPathArt && type != kPathArt) return kHostCantPlaceErr;
  return kNoErr;
}

void ArtTree::matchArt(const AIArtSpec* specs, int16_t count, std::vector<AIArtHandle>& members) const {
  members.clear();
  const auto matches = [&](const ArtNode& a) {
    for (int16_t i = 0; i < count; ++i) {
      const AIArtSpec& spec = specs[i];
      if ((spec.type == kAnyArt || spec.type == a.type) &&
          (a.props->userAttr & spec.whichAttr) == (spec.attr & spec.whichAttr))
        return true;
    }
    return false;
  };
  std::vector<NodeIndex> pending;
  const auto pushChildren = [&](NodeIndex parent) {  // the topmost ends last, so it is taken first
    for (NodeIndex c = nodes_[parent].lastChild; c != kNoNode; c = nodes_[c].prev) pending.push_back(c);
  };
  for (NodeIndex layer : layers_) {
    pushChildren(layer);
    while (!pending.empty()) {
      const NodeIndex n = pending.back();
      pending.pop_back();
      const ArtNode& a = nodes_[n];
      if (!a.props->layer && matches(a)) members.push_back(artHandle(n));
      pushChildren(a.type == kPluginArt ? a.editGroup : n);
    }
  }
}

void ArtTree::insertLayer(NodeIndex n, bool onTop) {
  layers_.insert(onTop ? layers_.begin() : layers_.end(), n);
  numberLayers();
}

void ArtTree::swapLayers(std::vector<NodeIndex>& layers) {
  std::swap(layers_, layers);
  numberLayers();
}

// After every change of the layer list, so the walk through it is linear.
void ArtTree::numberLayers() {
  layerPositions_.clear();
  for (size_t i = 0; i < layers_.size(); ++i) layerPositions_.emplace(layers_[i], i);
}

bool ArtTree::layerPosition(NodeIndex n, size_t* position) const {
  const auto at = layerPositions_.find(n);
  if (at == layerPositions_.end()) return false;
  *position = at->second;
  return true;
}

NodeIndex ArtTree::exchangeCurrent(NodeIndex layer) {
  std::swap(current_, layer);
  return layer;
}

NodeIndex ArtTree::currentLayer() const {
  if (current_ != kNoNode && nodes_.used(current_) && nodes_[current_].live && nodes_[current_].props->layer)
    return current_;
  return layers_.empty() ? kNoNode : layers_.front();
}

NodeIndex ArtTree::layerOf(NodeIndex n) const {
  for (NodeIndex m = n; m != kNoNode; m = nodes_[m].parent)
    if (nodes_[m].props->layer) return m;
  return kNoNode;
}

AIErr ArtTree::setId(NodeIndex n, const std::string& id) {
  if (id.empty()) return kHostBadParameterErr;
  if (idOf(n) == id) return kNoErr;
  if (ids_.holder(id) != kNoIndex) return kHostNotAllowedErr;
  ArtNode& a = nodes_[n];
  releaseId(a);
  a.id = id;
  a.idNumber = 0;
  ids_.give(id, n);
  return kNoErr;
}

void ArtTree::releaseId(const ArtNode& a) {
  if (a.id.empty())
    ids_.releaseNumber(a.idNumber);
  else
    ids_.releaseGiven(a.id);
}

NodeIndex ArtTree::byId(const std::string& id) const {
  const NodeIndex n = ids_.holder(id);
  return n == kNoIndex || !nodes_[n].live ? kNoNode : n;
}

void ArtTree::markDirty(NodeIndex n) {
  if (nodes_[n].dirty) return;
  nodes_[n].dirty = true;
  dirtyOrder_.push_back(n);
}

void ArtTree::clearDirty(NodeIndex n) {
  if (!nodes_[n].dirty) return;
  nodes_[n].dirty = false;
  dirtyOrder_.erase(std::find(dirtyOrder_.begin(), dirtyOrder_.end(), n));
}

}  // namespace hostcore
