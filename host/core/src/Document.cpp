// The art tree, layers, dictionaries, arrays, art sets and styles.
#include "hostcore/Document.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "hostcore/MatrixMath.h"

namespace hostcore {

namespace {

bool isKnownArtType(AIArtType type) {
    switch (type) {
    case kUnknownArt:
    case kGroupArt:
    case kPathArt:
    case kCompoundPathArt:
    case kPlacedArt:
    case kRasterArt:
    case kMeshArt:
    case kPluginArt:
    case kTextFrameArt:
    case kSymbolArt:
    case kForeignArt:
        return true;
    default:
        return false;
    }
}

bool isLeafType(AIArtType type) {
    return type != kGroupArt && type != kPathArt && type != kCompoundPathArt && type != kPluginArt;
}

template <class T>
void appendBytes(std::string& key, const T& value) {
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void appendColor(std::string& key, const AIColor& color) {
    appendBytes(key, color.kind);
    appendBytes(key, color.red);
    appendBytes(key, color.green);
    appendBytes(key, color.blue);
    appendBytes(key, color.paintServer);
}

// Field by field, so padding never makes equal styles differ.
std::string styleKey(const AIPathStyle& s, const AIPathStyleMap& m) {
    std::string key;
    appendBytes(key, s.fillPaint);
    appendBytes(key, s.strokePaint);
    appendColor(key, s.fill.color);
    appendBytes(key, s.fill.opacity);
    appendColor(key, s.stroke.color);
    appendBytes(key, s.stroke.opacity);
    appendBytes(key, s.stroke.width);
    appendBytes(key, s.clip);
    appendBytes(key, s.evenOdd);
    appendBytes(key, m.fillPaint);
    appendBytes(key, m.strokePaint);
    appendBytes(key, m.fill);
    appendBytes(key, m.stroke);
    appendBytes(key, m.clip);
    appendBytes(key, m.evenOdd);
    return key;
}

bool anyNonFinite(const AIPathSegment* segments, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (!segmentFinite(segments[i])) return true;
    return false;
}

}  // namespace

// ---- Handles --------------------------------------------------------------

AIArtHandle Document::artHandle(NodeIndex node) const {
    return makeHandle<AIArtHandle>(HandleKind::Art, node, nodes_.generation(node));
}

AILayerHandle Document::layerHandle(NodeIndex node) const {
    return makeHandle<AILayerHandle>(HandleKind::Layer, node, nodes_.generation(node));
}

AIErr Document::findArt(AIArtHandle art, NodeIndex* node) const {
    if (art == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(art, HandleKind::Art, h) || !nodes_.matches(h) || !nodes_[h.index].live)
        return kHostStaleHandleErr;
    *node = h.index;
    return kNoErr;
}

AIErr Document::findLayer(AILayerHandle layer, NodeIndex* node) const {
    if (layer == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(layer, HandleKind::Layer, h) || !nodes_.matches(h) || !nodes_[h.index].live ||
        !nodes_[h.index].props.layer)
        return kHostStaleHandleErr;
    *node = h.index;
    return kNoErr;
}

AIErr Document::findDictionary(AIDictionaryRef dictionary, uint32_t* index) const {
    if (dictionary == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(dictionary, HandleKind::Dictionary, h) || !dictionaries_.matches(h))
        return kHostStaleHandleErr;
    *index = h.index;
    return kNoErr;
}

AIErr Document::findPath(AIArtHandle art, NodeIndex* node) const {
    if (AIErr err = findArt(art, node)) return err;
    return nodes_[*node].type == kPathArt ? kNoErr : kHostWrongArtTypeErr;
}

AIErr Document::findPluginArt(AIArtHandle art, NodeIndex* node) const {
    if (AIErr err = findArt(art, node)) return err;
    return nodes_[*node].type == kPluginArt ? kNoErr : kHostWrongArtTypeErr;
}

// ---- Tree primitives ------------------------------------------------------

NodeIndex Document::createNode(AIArtType type, const std::string& id) {
    ArtNode node;
    node.type = type;
    node.born = stepOpen_ ? done_.back().lastSerial : 0;
    node.id = !id.empty() && ids_.count(id) == 0 ? id : freshId(type);
    const NodeIndex n = nodes_.add(std::move(node));
    ids_.emplace(nodes_[n].id, n);
    return n;
}

std::string Document::freshId(AIArtType type) {
    const char* prefix = "art";
    switch (type) {
    case kGroupArt: prefix = "g"; break;
    case kPathArt: prefix = "path"; break;
    case kCompoundPathArt: prefix = "compound"; break;
    case kPluginArt: prefix = "plugin"; break;
    default: break;
    }
    std::string id;
    do {
        id = prefix + std::to_string(++idCounter_);
    } while (ids_.count(id) != 0);
    return id;
}

void Document::attach(NodeIndex node, Place place) {
    ArtNode& n = nodes_[node];
    ArtNode& parent = nodes_[place.parent];
    n.parent = place.parent;
    n.next = place.next;
    if (place.next == kNoNode) {
        n.prev = parent.lastChild;
        parent.lastChild = node;
    } else {
        n.prev = nodes_[place.next].prev;
        nodes_[place.next].prev = node;
    }
    if (n.prev == kNoNode)
        parent.firstChild = node;
    else
        nodes_[n.prev].next = node;
}

void Document::detach(NodeIndex node) {
    ArtNode& n = nodes_[node];
    if (n.parent == kNoNode || n.role != ArtRole::Member) return;
    ArtNode& parent = nodes_[n.parent];
    if (n.prev == kNoNode)
        parent.firstChild = n.next;
    else
        nodes_[n.prev].next = n.next;
    if (n.next == kNoNode)
        parent.lastChild = n.prev;
    else
        nodes_[n.next].prev = n.prev;
    n.parent = n.prev = n.next = kNoNode;
}

Place Document::placeOf(NodeIndex node) const {
    const ArtNode& n = nodes_[node];
    if (n.parent == kNoNode) return Place{};
    return Place{n.parent, n.next};
}

bool Document::isContainer(NodeIndex node) const {
    const AIArtType type = nodes_[node].type;
    return type == kGroupArt || type == kCompoundPathArt;
}

AIErr Document::resolvePlace(AIPaintOrder order, AIArtHandle prep, AIArtType type, Place* place) const {
    NodeIndex ref = kNoNode;
    switch (order) {
    case kPlaceAboveAll:
    case kPlaceBelowAll: {
        const NodeIndex layer = currentLayerNode();
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

void Document::placeNew(NodeIndex node, Place place) {
    record(LifeRecord{node, false});
    moveNode(node, place);
}

template <class F>
void Document::forSubtree(NodeIndex root, F&& visit) const {
    std::vector<NodeIndex> pending{root};
    while (!pending.empty()) {
        const NodeIndex n = pending.back();
        pending.pop_back();
        visit(n);
        const ArtNode& node = nodes_[n];
        if (node.editGroup != kNoNode) pending.push_back(node.editGroup);
        if (node.resultGroup != kNoNode) pending.push_back(node.resultGroup);
        for (NodeIndex c = node.firstChild; c != kNoNode; c = nodes_[c].next) pending.push_back(c);
    }
}

std::vector<NodeIndex> Document::subtree(NodeIndex root) const {
    std::vector<NodeIndex> nodes;
    forSubtree(root, [&](NodeIndex n) { nodes.push_back(n); });
    return nodes;
}

void Document::setSubtreeLife(NodeIndex root, bool live) {
    forSubtree(root, [&](NodeIndex n) { nodes_[n].live = live; });
}

NodeIndex Document::layerNodeOf(NodeIndex node) const {
    for (NodeIndex n = node; n != kNoNode; n = nodes_[n].parent)
        if (nodes_[n].props.layer) return n;
    return kNoNode;
}

NodeIndex Document::currentLayerNode() const {
    if (current_ != kNoNode && nodes_.used(current_) && nodes_[current_].live && nodes_[current_].props.layer)
        return current_;
    return layers_.empty() ? kNoNode : layers_.front();
}

uint32_t Document::ensureDictionary(NodeIndex node) {
    ArtNode& n = nodes_[node];
    if (n.dictionary == kNoIndex) {
        Dictionary d;
        d.owner = node;
        n.dictionary = dictionaries_.add(std::move(d));
    }
    return n.dictionary;
}

// Frees dead, detached art that no journal record can bring back, with
// whatever of its subtree is equally unreachable.
void Document::collect(NodeIndex node) {
    std::vector<NodeIndex> pending{node};
    while (!pending.empty()) {
        const NodeIndex n = pending.back();
        pending.pop_back();
        if (!nodes_.used(n)) continue;
        const ArtNode& a = nodes_[n];
        if (a.live || a.pins != 0 || a.parent != kNoNode) continue;
        std::vector<NodeIndex> below;
        for (NodeIndex c = a.firstChild; c != kNoNode; c = nodes_[c].next) below.push_back(c);
        if (a.editGroup != kNoNode) below.push_back(a.editGroup);
        if (a.resultGroup != kNoNode) below.push_back(a.resultGroup);
        for (NodeIndex c : below) {
            ArtNode& child = nodes_[c];
            child.parent = child.prev = child.next = kNoNode;
            pending.push_back(c);
        }
        freeNode(n);
    }
}

void Document::freeNode(NodeIndex node) {
    ArtNode& n = nodes_[node];
    if (n.dictionary != kNoIndex) {
        Dictionary& d = dictionaries_[n.dictionary];
        d.owner = kNoNode;
        if (d.handedOut == 0) dictionaries_.remove(n.dictionary);
    }
    if (n.dirty) dirtyOrder_.erase(std::find(dirtyOrder_.begin(), dirtyOrder_.end(), node));
    ids_.erase(n.id);
    nodes_.remove(node);
}

ArtCopy Document::copyOf(NodeIndex node) const {
    const ArtNode& n = nodes_[node];
    ArtCopy copy;
    copy.type = n.type;
    copy.id = n.id;
    copy.props = n.props;
    copy.path = n.path;
    copy.dirty = n.dirty;
    for (NodeIndex c = n.firstChild; c != kNoNode; c = nodes_[c].next) copy.children.push_back(copyOf(c));
    if (n.type == kPluginArt) {
        copy.pluginGroups.push_back(copyOf(n.editGroup));
        copy.pluginGroups.push_back(copyOf(n.resultGroup));
    }
    if (n.dictionary != kNoIndex) copy.dictionary = dictionaries_[n.dictionary].entries;
    return copy;
}

// A detached, live subtree from a copy; the caller places its root.
NodeIndex Document::build(const ArtCopy& copy, bool keepIds) {
    const NodeIndex n = createNode(copy.type, keepIds ? copy.id : std::string());
    nodes_[n].props = copy.props;
    nodes_[n].path = copy.path;
    if (copy.type == kPluginArt) {
        const ArtRole roles[2] = {ArtRole::EditGroup, ArtRole::ResultGroup};
        NodeIndex groups[2];
        for (int i = 0; i < 2; ++i) {
            groups[i] = i < int(copy.pluginGroups.size()) ? build(copy.pluginGroups[size_t(i)], keepIds)
                                                          : createNode(kGroupArt);
            nodes_[groups[i]].role = roles[i];
            nodes_[groups[i]].parent = n;
        }
        nodes_[n].editGroup = groups[0];
        nodes_[n].resultGroup = groups[1];
        if (copy.dirty) {
            nodes_[n].dirty = true;
            dirtyOrder_.push_back(n);
        }
    }
    if (!copy.dictionary.empty()) dictionaries_[ensureDictionary(n)].entries = copy.dictionary;
    for (const ArtCopy& child : copy.children) attach(build(child, keepIds), Place{n, kNoNode});
    return n;
}

// A detached, live copy of a subtree, made node to node; the caller places
// its root. Segments are shared with the source until either changes.
NodeIndex Document::clone(NodeIndex source) {
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
        if (from.dirty) {
            copy.dirty = true;
            dirtyOrder_.push_back(n);
        }
    }
    if (from.dictionary != kNoIndex && !dictionaries_[from.dictionary].entries.empty()) {
        const uint32_t d = ensureDictionary(n);
        dictionaries_[d].entries = dictionaries_[from.dictionary].entries;
    }
    for (NodeIndex c = from.firstChild; c != kNoNode; c = nodes_[c].next) attach(clone(c), Place{n, kNoNode});
    return n;
}

// ---- Art tree operations ------------------------------------------------------

AIErr Document::newArt(AIArtType type, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt) {
    if (newArt == nullptr || !isKnownArtType(type)) return kHostBadParameterErr;
    Place place;
    if (AIErr err = resolvePlace(order, prep, type, &place)) return err;
    ArtCopy blank;
    blank.type = type;
    const NodeIndex n = build(blank);
    placeNew(n, place);
    *newArt = artHandle(n);
    return kNoErr;
}

AIErr Document::disposeArt(AIArtHandle art) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (nodes_[n].role != ArtRole::Member || nodes_[n].parent == kNoNode) return kHostNotAllowedErr;
    moveNode(n, Place{});
    record(LifeRecord{n, true});
    setSubtreeLife(n, false);
    collect(n);
    return kNoErr;
}

AIErr Document::duplicateArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt) {
    NodeIndex source;
    if (AIErr err = findArt(art, &source)) return err;
    if (newArt == nullptr) return kHostBadParameterErr;
    Place place;
    if (AIErr err = resolvePlace(order, prep, nodes_[source].type, &place)) return err;
    const NodeIndex n = clone(source);
    placeNew(n, place);
    *newArt = artHandle(n);
    return kNoErr;
}

AIErr Document::reorderArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (nodes_[n].role != ArtRole::Member || nodes_[n].parent == kNoNode) return kHostNotAllowedErr;
    Place place;
    if (AIErr err = resolvePlace(order, prep, nodes_[n].type, &place)) return err;
    if (place.next == n) return kNoErr;  // placed against itself: it stays
    for (NodeIndex p = place.parent; p != kNoNode; p = nodes_[p].parent)
        if (p == n) return kHostCantPlaceErr;
    moveNode(n, place);
    return kNoErr;
}

bool Document::validArt(AIArtHandle art) const {
    NodeIndex n;
    return findArt(art, &n) == kNoErr;
}

AIErr Document::artType(AIArtHandle art, AIArtType* type) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (type == nullptr) return kHostBadParameterErr;
    *type = nodes_[n].type;
    return kNoErr;
}

AIErr Document::artParent(AIArtHandle art, AIArtHandle* parent) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (parent == nullptr) return kHostBadParameterErr;
    *parent = nodes_[n].parent == kNoNode ? nullptr : artHandle(nodes_[n].parent);
    return kNoErr;
}

AIErr Document::firstChild(AIArtHandle art, AIArtHandle* child) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (child == nullptr) return kHostBadParameterErr;
    *child = nodes_[n].firstChild == kNoNode ? nullptr : artHandle(nodes_[n].firstChild);
    return kNoErr;
}

AIErr Document::sibling(AIArtHandle art, AIArtHandle* sibling) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (sibling == nullptr) return kHostBadParameterErr;
    *sibling = nodes_[n].next == kNoNode ? nullptr : artHandle(nodes_[n].next);
    return kNoErr;
}

AIErr Document::priorSibling(AIArtHandle art, AIArtHandle* sibling) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (sibling == nullptr) return kHostBadParameterErr;
    *sibling = nodes_[n].prev == kNoNode ? nullptr : artHandle(nodes_[n].prev);
    return kNoErr;
}

AIErr Document::artBounds(AIArtHandle art, AIRealRect* bounds) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (bounds == nullptr) return kHostBadParameterErr;
    *bounds = boundsOf(n);
    return kNoErr;
}

AIErr Document::userAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr* attr) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (attr == nullptr) return kHostBadParameterErr;
    *attr = nodes_[n].props.userAttr & which;
    return kNoErr;
}

AIErr Document::setUserAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr attr) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    const AIArtUserAttr old = nodes_[n].props.userAttr;
    const AIArtUserAttr changed = (old & ~which) | (attr & which);
    if (changed != old) editProps(n).userAttr = changed;
    return kNoErr;
}

AIErr Document::artName(AIArtHandle art, std::string* name) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (name == nullptr) return kHostBadParameterErr;
    *name = nodes_[n].props.name;
    return kNoErr;
}

AIErr Document::setArtName(AIArtHandle art, const char* name) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (name == nullptr) return kHostBadParameterErr;
    if (nodes_[n].props.name != name) editProps(n).name = name;
    return kNoErr;
}

AIErr Document::transformArt(AIArtHandle art, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    transformNode(n, matrix, lineScale, flags);
    return kNoErr;
}

AIErr Document::artId(AIArtHandle art, std::string* id) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (id == nullptr) return kHostBadParameterErr;
    *id = nodes_[n].id;
    return kNoErr;
}

AIErr Document::setArtId(AIArtHandle art, const std::string& id) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (id.empty()) return kHostBadParameterErr;
    if (nodes_[n].id == id) return kNoErr;
    if (ids_.count(id) != 0) return kHostNotAllowedErr;
    ids_.erase(nodes_[n].id);
    nodes_[n].id = id;
    ids_.emplace(id, n);
    return kNoErr;
}

AIArtHandle Document::artById(const std::string& id) const {
    const auto at = ids_.find(id);
    if (at == ids_.end() || !nodes_[at->second].live) return nullptr;
    return artHandle(at->second);
}

AIErr Document::copyArt(AIArtHandle art, ArtCopy* copy) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (copy == nullptr) return kHostBadParameterErr;
    *copy = copyOf(n);
    return kNoErr;
}

AIErr Document::placeCopy(const ArtCopy& copy, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt) {
    if (!isKnownArtType(copy.type) || copy.props.layer) return kHostBadParameterErr;
    Place place;
    if (AIErr err = resolvePlace(order, prep, copy.type, &place)) return err;
    const NodeIndex n = build(copy, true);
    placeNew(n, place);
    if (newArt != nullptr) *newArt = artHandle(n);
    return kNoErr;
}

AIErr Document::leafData(AIArtHandle art, LeafData* leaf) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (!isLeafType(nodes_[n].type)) return kHostWrongArtTypeErr;
    if (leaf == nullptr) return kHostBadParameterErr;
    *leaf = nodes_[n].props.leaf;
    return kNoErr;
}

AIErr Document::setLeafData(AIArtHandle art, const LeafData& leaf) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (!isLeafType(nodes_[n].type)) return kHostWrongArtTypeErr;
    LeafData& target = editProps(n).leaf;
    target = leaf;
    target.callerNonFinite = !matrixFinite(leaf.matrix) || !std::isfinite(leaf.box.left) ||
                             !std::isfinite(leaf.box.top) || !std::isfinite(leaf.box.right) ||
                             !std::isfinite(leaf.box.bottom);
    return kNoErr;
}

// ---- Paths and groups ---------------------------------------------------------------

AIErr Document::segmentCount(AIArtHandle path, int16_t* count) const {
    NodeIndex n;
    if (AIErr err = findPath(path, &n)) return err;
    if (count == nullptr) return kHostBadParameterErr;
    const size_t size = nodes_[n].path.segments.size();
    if (size > 32767) return kHostIndexRangeErr;
    *count = int16_t(size);
    return kNoErr;
}

AIErr Document::setSegmentCount(AIArtHandle path, int16_t count) {
    NodeIndex n;
    if (AIErr err = findPath(path, &n)) return err;
    if (count < 0) return kHostIndexRangeErr;
    if (size_t(count) == nodes_[n].path.segments.size()) return kNoErr;
    std::vector<AIPathSegment>& segments = editGeometry(n).segments.edit();
    // New segments repeat the last one, so no stray point appears.
    const AIPathSegment filler = segments.empty() ? AIPathSegment{} : segments.back();
    segments.resize(size_t(count), filler);
    return kNoErr;
}

AIErr Document::segments(AIArtHandle path, int16_t first, int16_t count, AIPathSegment* out) const {
    NodeIndex n;
    if (AIErr err = findPath(path, &n)) return err;
    const std::vector<AIPathSegment>& segments = nodes_[n].path.segments;
    if (first < 0 || count < 0 || size_t(first) + size_t(count) > segments.size()) return kHostIndexRangeErr;
    if (count > 0 && out == nullptr) return kHostBadParameterErr;
    std::copy_n(segments.begin() + first, count, out);
    return kNoErr;
}

AIErr Document::setSegments(AIArtHandle path, int16_t first, int16_t count, const AIPathSegment* in) {
    NodeIndex n;
    if (AIErr err = findPath(path, &n)) return err;
    if (first < 0 || count < 0 || size_t(first) > nodes_[n].path.segments.size()) return kHostIndexRangeErr;
    if (count > 0 && in == nullptr) return kHostBadParameterErr;
    if (count == 0) return kNoErr;
    PathGeometry& geometry = editGeometry(n);
    std::vector<AIPathSegment>& segments = geometry.segments.edit();
    if (size_t(first) + size_t(count) > segments.size()) segments.resize(size_t(first) + size_t(count));
    std::copy_n(in, count, segments.begin() + first);
    geometry.callerNonFinite = anyNonFinite(in, size_t(count)) ||
                               (geometry.callerNonFinite && anyNonFinite(segments.data(), segments.size()));
    return kNoErr;
}

AIErr Document::pathClosed(AIArtHandle path, AIBoolean* closed) const {
    NodeIndex n;
    if (AIErr err = findPath(path, &n)) return err;
    if (closed == nullptr) return kHostBadParameterErr;
    *closed = nodes_[n].path.closed;
    return kNoErr;
}

AIErr Document::setPathClosed(AIArtHandle path, AIBoolean closed) {
    NodeIndex n;
    if (AIErr err = findPath(path, &n)) return err;
    if (nodes_[n].path.closed != (closed != 0)) editGeometry(n).closed = closed != 0;
    return kNoErr;
}

AIErr Document::groupClipped(AIArtHandle group, AIBoolean* clipped) const {
    NodeIndex n;
    if (AIErr err = findArt(group, &n)) return err;
    if (nodes_[n].type != kGroupArt) return kHostWrongArtTypeErr;
    if (clipped == nullptr) return kHostBadParameterErr;
    *clipped = nodes_[n].props.clipped;
    return kNoErr;
}

AIErr Document::setGroupClipped(AIArtHandle group, AIBoolean clipped) {
    NodeIndex n;
    if (AIErr err = findArt(group, &n)) return err;
    if (nodes_[n].type != kGroupArt) return kHostWrongArtTypeErr;
    if (nodes_[n].props.clipped != (clipped != 0)) editProps(n).clipped = clipped != 0;
    return kNoErr;
}

// ---- Layers ----------------------------------------------------------------------------

AIErr Document::addLayer(const char* title, AILayerHandle* layer, LayerPlace place) {
    if (title == nullptr || layer == nullptr) return kHostBadParameterErr;
    const NodeIndex n = createNode(kGroupArt);
    nodes_[n].props.layer = LayerInfo{title, true, true};
    record(LifeRecord{n, false});
    record(LayerListRecord{layers_});
    layers_.insert(place == LayerPlace::Top ? layers_.begin() : layers_.end(), n);
    numberLayers();
    if (layers_.size() == 1) {
        record(CurrentLayerRecord{current_});
        current_ = n;
    }
    *layer = layerHandle(n);
    return kNoErr;
}

AIErr Document::addSublayer(AILayerHandle parent, const char* title, AILayerHandle* layer) {
    NodeIndex p;
    if (AIErr err = findLayer(parent, &p)) return err;
    if (title == nullptr || layer == nullptr) return kHostBadParameterErr;
    const NodeIndex n = createNode(kGroupArt);
    nodes_[n].props.layer = LayerInfo{title, true, true};
    placeNew(n, Place{p, nodes_[p].firstChild});
    *layer = layerHandle(n);
    return kNoErr;
}

AIErr Document::countLayers(int32_t* count) const {
    if (count == nullptr) return kHostBadParameterErr;
    *count = int32_t(layers_.size());
    return kNoErr;
}

AIErr Document::firstLayer(AILayerHandle* layer) const {
    if (layer == nullptr) return kHostBadParameterErr;
    *layer = layers_.empty() ? nullptr : layerHandle(layers_.front());
    return kNoErr;
}

AIErr Document::nextLayer(AILayerHandle layer, AILayerHandle* next) const {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (next == nullptr) return kHostBadParameterErr;
    const auto at = layerPositions_.find(n);
    if (at == layerPositions_.end()) return kHostBadParameterErr;  // a sublayer is not in the layer list
    const size_t following = at->second + 1;
    *next = following == layers_.size() ? nullptr : layerHandle(layers_[following]);
    return kNoErr;
}

void Document::numberLayers() {
    layerPositions_.clear();
    for (size_t i = 0; i < layers_.size(); ++i) layerPositions_.emplace(layers_[i], i);
}

AIErr Document::currentLayer(AILayerHandle* layer) const {
    if (layer == nullptr) return kHostBadParameterErr;
    const NodeIndex n = currentLayerNode();
    if (n == kNoNode) return kHostNoDocumentErr;
    *layer = layerHandle(n);
    return kNoErr;
}

AIErr Document::setCurrentLayer(AILayerHandle layer) {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (current_ != n) {
        record(CurrentLayerRecord{current_});
        current_ = n;
    }
    return kNoErr;
}

AIErr Document::layerTitle(AILayerHandle layer, std::string* title) const {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (title == nullptr) return kHostBadParameterErr;
    *title = nodes_[n].props.layer->title;
    return kNoErr;
}

AIErr Document::layerVisible(AILayerHandle layer, AIBoolean* visible) const {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (visible == nullptr) return kHostBadParameterErr;
    *visible = true;
    for (NodeIndex m = n; m != kNoNode; m = nodes_[m].parent)
        if (nodes_[m].props.layer && !nodes_[m].props.layer->visible) *visible = false;
    return kNoErr;
}

AIErr Document::setLayerVisible(AILayerHandle layer, AIBoolean visible) {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (nodes_[n].props.layer->visible != (visible != 0)) editProps(n).layer->visible = visible != 0;
    return kNoErr;
}

AIErr Document::layerEditable(AILayerHandle layer, AIBoolean* editable) const {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (editable == nullptr) return kHostBadParameterErr;
    *editable = true;
    for (NodeIndex m = n; m != kNoNode; m = nodes_[m].parent)
        if (nodes_[m].props.layer && !nodes_[m].props.layer->editable) *editable = false;
    return kNoErr;
}

AIErr Document::setLayerEditable(AILayerHandle layer, AIBoolean editable) {
    NodeIndex n;
    if (AIErr err = findLayer(layer, &n)) return err;
    if (nodes_[n].props.layer->editable != (editable != 0)) editProps(n).layer->editable = editable != 0;
    return kNoErr;
}

AIErr Document::layerOfArt(AIArtHandle art, AILayerHandle* layer) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (layer == nullptr) return kHostBadParameterErr;
    const NodeIndex l = layerNodeOf(n);
    if (l == kNoNode) return kHostStaleHandleErr;
    *layer = layerHandle(l);
    return kNoErr;
}

AIErr Document::firstArtOfLayer(AILayerHandle layer, AIArtHandle* art) const {
    if (art == nullptr) return kHostBadParameterErr;
    NodeIndex n = kNoNode;
    if (layer == nullptr) {
        n = currentLayerNode();
        if (n == kNoNode) return kHostNoDocumentErr;
    } else if (AIErr err = findLayer(layer, &n)) {
        return err;
    }
    *art = artHandle(n);
    return kNoErr;
}

AIErr Document::isLayerGroup(AIArtHandle art, AIBoolean* isLayerGroup) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (isLayerGroup == nullptr) return kHostBadParameterErr;
    *isLayerGroup = nodes_[n].props.layer.has_value();
    return kNoErr;
}

AIErr Document::changeLayerToGroup(AILayerHandle layer, AIArtHandle art) {
    NodeIndex target;
    if (layer != nullptr) {
        if (AIErr err = findLayer(layer, &target)) return err;
    } else {
        NodeIndex n;
        if (AIErr err = findArt(art, &n)) return err;
        target = layerNodeOf(n);
        if (target == kNoNode) return kHostStaleHandleErr;
    }
    if (nodes_[target].parent == kNoNode) return kHostNotAllowedErr;  // a top-level layer stays a layer
    editProps(target).layer.reset();
    return kNoErr;
}

// ---- Dictionaries -------------------------------------------------------------------------

AIErr Document::artDictionary(AIArtHandle art, AIDictionaryRef* dictionary) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (dictionary == nullptr) return kHostBadParameterErr;
    const uint32_t d = ensureDictionary(n);
    ++dictionaries_[d].handedOut;
    *dictionary = makeHandle<AIDictionaryRef>(HandleKind::Dictionary, d, dictionaries_.generation(d));
    return kNoErr;
}

AIErr Document::addDictionaryRef(AIDictionaryRef dictionary) {
    uint32_t d;
    if (AIErr err = findDictionary(dictionary, &d)) return err;
    ++dictionaries_[d].handedOut;
    return kNoErr;
}

AIErr Document::releaseDictionary(AIDictionaryRef dictionary) {
    uint32_t d;
    if (AIErr err = findDictionary(dictionary, &d)) return err;
    Dictionary& dict = dictionaries_[d];
    if (dict.handedOut == 0) return kHostStaleHandleErr;  // more releases than references
    if (--dict.handedOut == 0 && dict.owner == kNoNode) dictionaries_.remove(d);
    return kNoErr;
}

AIErr Document::entry(AIDictionaryRef dictionary, uint32_t key, const DictValue** value) const {
    uint32_t d;
    if (AIErr err = findDictionary(dictionary, &d)) return err;
    const DictEntries& entries = dictionaries_[d].entries;
    const auto at = entries.find(key);
    if (at == entries.end()) return kHostNoSuchEntryErr;
    *value = &at->second;
    return kNoErr;
}

AIErr Document::setEntry(AIDictionaryRef dictionary, uint32_t key, DictValue value) {
    uint32_t d;
    if (AIErr err = findDictionary(dictionary, &d)) return err;
    writeEntry(d, key, std::move(value));
    return kNoErr;
}

AIErr Document::deleteEntry(AIDictionaryRef dictionary, uint32_t key) {
    uint32_t d;
    if (AIErr err = findDictionary(dictionary, &d)) return err;
    if (dictionaries_[d].entries.count(key) == 0) return kHostNoSuchEntryErr;
    writeEntry(d, key, std::nullopt);
    return kNoErr;
}

AIErr Document::copyArtToEntry(AIDictionaryRef dictionary, uint32_t key, AIArtHandle art) {
    uint32_t d;
    if (AIErr err = findDictionary(dictionary, &d)) return err;
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    writeEntry(d, key, std::make_shared<const ArtCopy>(copyOf(n)));
    return kNoErr;
}

AIErr Document::copyEntryToArt(AIDictionaryRef dictionary, uint32_t key, AIPaintOrder order, AIArtHandle prep,
                               AIArtHandle* art) {
    const DictValue* value;
    if (AIErr err = entry(dictionary, key, &value)) return err;
    const auto* stored = std::get_if<std::shared_ptr<const ArtCopy>>(value);
    if (stored == nullptr) return kHostEntryKindErr;
    // Hold the copy: placing the art may change the dictionary's entries.
    const std::shared_ptr<const ArtCopy> copy = *stored;
    Place place;
    if (AIErr err = resolvePlace(order, prep, copy->type, &place)) return err;
    const NodeIndex n = build(*copy);
    placeNew(n, place);
    if (art != nullptr) *art = artHandle(n);
    return kNoErr;
}

// ---- Arrays ---------------------------------------------------------------------------------

AIErr Document::createArray(ArrayValues values, AIArrayRef* array) {
    if (array == nullptr) return kHostBadParameterErr;
    const uint32_t a = arrays_.add(ArrayObject{std::move(values), 1});
    *array = makeHandle<AIArrayRef>(HandleKind::Array, a, arrays_.generation(a));
    return kNoErr;
}

AIErr Document::addArrayRef(AIArrayRef array) {
    ArrayValues* values;
    if (AIErr err = arrayValues(array, &values)) return err;
    DecodedHandle h;
    readHandle(array, HandleKind::Array, h);
    ++arrays_[h.index].references;
    return kNoErr;
}

AIErr Document::releaseArray(AIArrayRef array) {
    ArrayValues* values;
    if (AIErr err = arrayValues(array, &values)) return err;
    DecodedHandle h;
    readHandle(array, HandleKind::Array, h);
    if (--arrays_[h.index].references == 0) arrays_.remove(h.index);
    return kNoErr;
}

AIErr Document::arrayValues(AIArrayRef array, ArrayValues** values) {
    if (array == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(array, HandleKind::Array, h) || !arrays_.matches(h)) return kHostStaleHandleErr;
    *values = &arrays_[h.index].values;
    return kNoErr;
}

// ---- Art sets ---------------------------------------------------------------------------------

AIErr Document::newArtSet(AIArtSet* set) {
    if (set == nullptr) return kHostBadParameterErr;
    const uint32_t s = artSets_.add({});
    *set = makeHandle<AIArtSet>(HandleKind::ArtSet, s, artSets_.generation(s));
    return kNoErr;
}

AIErr Document::disposeArtSet(AIArtSet set) {
    DecodedHandle h;
    if (set == nullptr) return kHostBadParameterErr;
    if (!readHandle(set, HandleKind::ArtSet, h) || !artSets_.matches(h)) return kHostStaleHandleErr;
    artSets_.remove(h.index);
    return kNoErr;
}

AIErr Document::matchArt(const AIArtSpec* specs, int16_t count, AIArtSet set) {
    if (specs == nullptr || count <= 0 || set == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(set, HandleKind::ArtSet, h) || !artSets_.matches(h)) return kHostStaleHandleErr;
    std::vector<AIArtHandle>& members = artSets_[h.index];
    members.clear();
    const auto matches = [&](const ArtNode& node) {
        for (int16_t i = 0; i < count; ++i) {
            const AIArtSpec& spec = specs[i];
            if ((spec.type == kAnyArt || spec.type == node.type) &&
                (node.props.userAttr & spec.whichAttr) == (spec.attr & spec.whichAttr))
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
            const ArtNode& node = nodes_[n];
            if (!node.props.layer && matches(node)) members.push_back(artHandle(n));
            if (node.type == kPluginArt)
                pushChildren(node.editGroup);
            else
                pushChildren(n);
        }
    }
    return kNoErr;
}

AIErr Document::artSetCount(AIArtSet set, int32_t* count) const {
    DecodedHandle h;
    if (set == nullptr || count == nullptr) return kHostBadParameterErr;
    if (!readHandle(set, HandleKind::ArtSet, h) || !artSets_.matches(h)) return kHostStaleHandleErr;
    *count = int32_t(artSets_[h.index].size());
    return kNoErr;
}

AIErr Document::artSetMember(AIArtSet set, int32_t index, AIArtHandle* art) const {
    DecodedHandle h;
    if (set == nullptr || art == nullptr) return kHostBadParameterErr;
    if (!readHandle(set, HandleKind::ArtSet, h) || !artSets_.matches(h)) return kHostStaleHandleErr;
    const std::vector<AIArtHandle>& members = artSets_[h.index];
    if (index < 0 || size_t(index) >= members.size()) return kHostIndexRangeErr;
    *art = members[size_t(index)];
    return kNoErr;
}

// ---- Styles ------------------------------------------------------------------------------------

AIPathStyle Document::clearedPathStyle() {
    AIPathStyle style{};
    style.fill.color.kind = kNoColor;
    style.fill.opacity = 1;
    style.stroke.color.kind = kNoColor;
    style.stroke.opacity = 1;
    style.stroke.width = 1;
    return style;
}

AIErr Document::newStyle(const AIPathStyle& pathStyle, const AIPathStyleMap& paintData, AIArtStyleHandle* style) {
    if (style == nullptr) return kHostBadParameterErr;
    const std::string key = styleKey(pathStyle, paintData);
    auto at = styleIndex_.find(key);
    if (at == styleIndex_.end()) {
        at = styleIndex_.emplace(key, uint32_t(styles_.size())).first;
        styles_.push_back(ArtStyle{pathStyle, paintData});
    }
    *style = makeHandle<AIArtStyleHandle>(HandleKind::ArtStyle, at->second, 1);
    return kNoErr;
}

AIErr Document::styleAttributes(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData) const {
    if (style == nullptr || pathStyle == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(style, HandleKind::ArtStyle, h) || h.index >= styles_.size() || h.generation != 1)
        return kHostStaleHandleErr;
    *pathStyle = styles_[h.index].pathStyle;
    if (paintData != nullptr) *paintData = styles_[h.index].paintData;
    return kNoErr;
}

AIArtStyleHandle Document::styleHandle(uint32_t index) const {
    return index == kNoIndex ? nullptr : makeHandle<AIArtStyleHandle>(HandleKind::ArtStyle, index, 1);
}

AIErr Document::styleIndex(AIArtStyleHandle style, uint32_t* index) const {
    if (index == nullptr) return kHostBadParameterErr;
    if (style == nullptr) {
        *index = kNoIndex;
        return kNoErr;
    }
    DecodedHandle h;
    if (!readHandle(style, HandleKind::ArtStyle, h) || h.index >= styles_.size() || h.generation != 1)
        return kHostStaleHandleErr;
    *index = h.index;
    return kNoErr;
}

AIErr Document::artStyle(AIArtHandle art, AIArtStyleHandle* style) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (style == nullptr) return kHostBadParameterErr;
    const uint32_t s = nodes_[n].props.style;
    *style = s == kNoIndex ? nullptr : makeHandle<AIArtStyleHandle>(HandleKind::ArtStyle, s, 1);
    return kNoErr;
}

AIErr Document::setArtStyle(AIArtHandle art, AIArtStyleHandle style) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    uint32_t s = kNoIndex;
    if (style != nullptr) {
        DecodedHandle h;
        if (!readHandle(style, HandleKind::ArtStyle, h) || h.index >= styles_.size() || h.generation != 1)
            return kHostStaleHandleErr;
        s = h.index;
    }
    if (nodes_[n].props.style != s) editProps(n).style = s;
    return kNoErr;
}

AIErr Document::pathStyle(AIArtHandle art, AIPathStyle* style) const {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    if (style == nullptr) return kHostBadParameterErr;
    const uint32_t s = nodes_[n].props.style;
    *style = s == kNoIndex ? clearedPathStyle() : styles_[s].pathStyle;
    return kNoErr;
}

AIErr Document::setPathStyle(AIArtHandle art, const AIPathStyle& style) {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    const AIPathStyleMap all{1, 1, 1, 1, 1, 1};
    AIArtStyleHandle handle;
    newStyle(style, all, &handle);
    return setArtStyle(art, handle);
}

// ---- Plug-in art ------------------------------------------------------------------------------------

AIErr Document::attachPluginGroup(AIArtHandle art, uint32_t group, int32_t major, int32_t minor) {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    ArtProps& props = editProps(n);
    props.pluginGroup = group;
    props.versionMajor = major;
    props.versionMinor = minor;
    return kNoErr;
}

AIErr Document::pluginGroupOf(AIArtHandle art, uint32_t* group) const {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    if (group == nullptr) return kHostBadParameterErr;
    if (nodes_[n].props.pluginGroup == kNoIndex) return kHostNotAttachedErr;
    *group = nodes_[n].props.pluginGroup;
    return kNoErr;
}

AIErr Document::pluginVersion(AIArtHandle art, int32_t* major, int32_t* minor) const {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    if (major == nullptr || minor == nullptr) return kHostBadParameterErr;
    if (nodes_[n].props.pluginGroup == kNoIndex) return kHostNotAttachedErr;
    *major = nodes_[n].props.versionMajor;
    *minor = nodes_[n].props.versionMinor;
    return kNoErr;
}

AIErr Document::editGroup(AIArtHandle art, AIArtHandle* group) const {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    if (group == nullptr) return kHostBadParameterErr;
    *group = artHandle(nodes_[n].editGroup);
    return kNoErr;
}

AIErr Document::resultGroup(AIArtHandle art, AIArtHandle* group) const {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    if (group == nullptr) return kHostBadParameterErr;
    *group = artHandle(nodes_[n].resultGroup);
    return kNoErr;
}

AIErr Document::markDirty(AIArtHandle art) {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    if (!nodes_[n].dirty) {
        nodes_[n].dirty = true;
        dirtyOrder_.push_back(n);
    }
    return kNoErr;
}

AIErr Document::clearDirty(AIArtHandle art) {
    NodeIndex n;
    if (AIErr err = findPluginArt(art, &n)) return err;
    if (nodes_[n].dirty) {
        nodes_[n].dirty = false;
        dirtyOrder_.erase(std::find(dirtyOrder_.begin(), dirtyOrder_.end(), n));
    }
    return kNoErr;
}

std::vector<AIArtHandle> Document::dirtyPluginArt() const {
    std::vector<AIArtHandle> dirty;
    for (NodeIndex n : dirtyOrder_)
        if (nodes_[n].live) dirty.push_back(artHandle(n));
    return dirty;
}

}  // namespace hostcore
