// The document's art: making, placing and disposing of art, its
// properties, paths and groups, and plug-in art.
#include "hostcore/Document.h"

#include <algorithm>
#include <cmath>

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

bool anyNonFinite(const AIPathSegment* segments, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (!segmentFinite(segments[i])) return true;
  return false;
}

}  // namespace

AIErr Document::roomFor(size_t nodes) const {
  return nodes > artLimit_ || tree_.nodeCount() > artLimit_ - nodes ? kHostOutOfMemoryErr : kNoErr;
}

void Document::placeNew(NodeIndex node, Place place, AIArtHandle* newArt) {
  journal_.placeNew(node, place);
  if (newArt != nullptr) *newArt = artHandle(node);
}

AIErr Document::newArt(AIArtType type, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt) {
  if (newArt == nullptr || !isKnownArtType(type)) return kHostBadParameterErr;
  Place place;
  if (AIErr err = tree_.resolvePlace(order, prep, type, &place)) return err;
  ArtCopy blank;
  blank.type = type;
  if (AIErr err = roomFor(ArtTree::nodesToBuild(blank))) return err;
  const NodeIndex n = tree_.build(blank);
  placeNew(n, place, newArt);
  return kNoErr;
}

AIErr Document::disposeArt(AIArtHandle art) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (tree_.node(n).role != ArtRole::Member || tree_.node(n).parent == kNoNode) return kHostNotAllowedErr;
  journal_.dispose(n);
  tree_.collect(n);
  return kNoErr;
}

AIErr Document::duplicateArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt) {
  NodeIndex source;
  if (AIErr err = findArt(art, &source)) return err;
  if (newArt == nullptr) return kHostBadParameterErr;
  Place place;
  if (AIErr err = tree_.resolvePlace(order, prep, tree_.node(source).type, &place)) return err;
  if (AIErr err = roomFor(tree_.subtreeSize(source))) return err;
  const NodeIndex n = tree_.clone(source);
  placeNew(n, place, newArt);
  return kNoErr;
}

AIErr Document::reorderArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (tree_.node(n).role != ArtRole::Member || tree_.node(n).parent == kNoNode) return kHostNotAllowedErr;
  Place place;
  if (AIErr err = tree_.resolvePlace(order, prep, tree_.node(n).type, &place)) return err;
  if (place.next == n) return kNoErr;  // placed against itself: it stays
  for (NodeIndex p = place.parent; p != kNoNode; p = tree_.node(p).parent)
    if (p == n) return kHostCantPlaceErr;
  journal_.moveNode(n, place);
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
  *type = tree_.node(n).type;
  return kNoErr;
}

AIErr Document::artParent(AIArtHandle art, AIArtHandle* parent) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (parent == nullptr) return kHostBadParameterErr;
  *parent = tree_.node(n).parent == kNoNode ? nullptr : artHandle(tree_.node(n).parent);
  return kNoErr;
}

AIErr Document::firstChild(AIArtHandle art, AIArtHandle* child) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (child == nullptr) return kHostBadParameterErr;
  *child = tree_.node(n).firstChild == kNoNode ? nullptr : artHandle(tree_.node(n).firstChild);
  return kNoErr;
}

AIErr Document::sibling(AIArtHandle art, AIArtHandle* sibling) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (sibling == nullptr) return kHostBadParameterErr;
  *sibling = tree_.node(n).next == kNoNode ? nullptr : artHandle(tree_.node(n).next);
  return kNoErr;
}

AIErr Document::priorSibling(AIArtHandle art, AIArtHandle* sibling) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (sibling == nullptr) return kHostBadParameterErr;
  *sibling = tree_.node(n).prev == kNoNode ? nullptr : artHandle(tree_.node(n).prev);
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
  *attr = tree_.node(n).props->userAttr & which;
  return kNoErr;
}

AIErr Document::setUserAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr attr) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  const AIArtUserAttr old = tree_.node(n).props->userAttr;
  const AIArtUserAttr changed = (old & ~which) | (attr & which);
  if (changed != old) journal_.editProps(n).userAttr = changed;
  return kNoErr;
}

AIErr Document::artName(AIArtHandle art, std::string* name) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (name == nullptr) return kHostBadParameterErr;
  *name = tree_.node(n).props->name;
  return kNoErr;
}

AIErr Document::setArtName(AIArtHandle art, const char* name) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (name == nullptr) return kHostBadParameterErr;
  if (tree_.node(n).props->name != name) journal_.editProps(n).name = name;
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
  *id = tree_.idOf(n);
  return kNoErr;
}

AIErr Document::setArtId(AIArtHandle art, const std::string& id) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  return tree_.setId(n, id);
}

AIArtHandle Document::artById(const std::string& id) const {
  const NodeIndex n = tree_.byId(id);
  return n == kNoNode ? nullptr : artHandle(n);
}

AIErr Document::copyArt(AIArtHandle art, ArtCopy* copy) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (copy == nullptr) return kHostBadParameterErr;
  *copy = tree_.copyOf(n);
  return kNoErr;
}

AIErr Document::placeCopy(const ArtCopy& copy, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt) {
  if (!isKnownArtType(copy.type) || copy.props.layer) return kHostBadParameterErr;
  Place place;
  if (AIErr err = tree_.resolvePlace(order, prep, copy.type, &place)) return err;
  if (AIErr err = roomFor(ArtTree::nodesToBuild(copy))) return err;
  const NodeIndex n = tree_.build(copy, true);
  placeNew(n, place, newArt);
  return kNoErr;
}

AIErr Document::leafData(AIArtHandle art, LeafData* leaf) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (!isLeafType(tree_.node(n).type)) return kHostWrongArtTypeErr;
  if (leaf == nullptr) return kHostBadParameterErr;
  *leaf = tree_.node(n).props->leaf;
  return kNoErr;
}

AIErr Document::setLeafData(AIArtHandle art, const LeafData& leaf) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (!isLeafType(tree_.node(n).type)) return kHostWrongArtTypeErr;
  LeafData& target = journal_.editProps(n).leaf;
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
  const size_t size = tree_.node(n).path.segments.size();
  if (size > 32767) return kHostIndexRangeErr;
  *count = int16_t(size);
  return kNoErr;
}

AIErr Document::setSegmentCount(AIArtHandle path, int16_t count) {
  NodeIndex n;
  if (AIErr err = findPath(path, &n)) return err;
  if (count < 0) return kHostIndexRangeErr;
  if (size_t(count) == tree_.node(n).path.segments.size()) return kNoErr;
  std::vector<AIPathSegment>& segments = journal_.editGeometry(n).segments.edit();
  // New segments repeat the last one, so no stray point appears.
  const AIPathSegment filler = segments.empty() ? AIPathSegment{} : segments.back();
  segments.resize(size_t(count), filler);
  return kNoErr;
}

AIErr Document::segments(AIArtHandle path, int16_t first, int16_t count, AIPathSegment* out) const {
  NodeIndex n;
  if (AIErr err = findPath(path, &n)) return err;
  const std::vector<AIPathSegment>& segments = tree_.node(n).path.segments;
  if (first < 0 || count < 0 || size_t(first) + size_t(count) > segments.size()) return kHostIndexRangeErr;
  if (count > 0 && out == nullptr) return kHostBadParameterErr;
  std::copy_n(segments.begin() + first, count, out);
  return kNoErr;
}

AIErr Document::setSegments(AIArtHandle path, int16_t first, int16_t count, const AIPathSegment* in) {
  NodeIndex n;
  if (AIErr err = findPath(path, &n)) return err;
  if (first < 0 || count < 0 || size_t(first) > tree_.node(n).path.segments.size()) return kHostIndexRangeErr;
  if (count > 0 && in == nullptr) return kHostBadParameterErr;
  if (count == 0) return kNoErr;
  PathGeometry& geometry = journal_.editGeometry(n);
  std::vector<AIPathSegment>& segments = geometry.segments.edit();
  if (size_t(first) + size_t(count) > segments.size()) segments.resize(size_t(first) + size_t(count));
  std::copy_n(in, count, segments.begin() + first);
  geometry.callerNonFinite =
      anyNonFinite(in, size_t(count)) || (geometry.callerNonFinite && anyNonFinite(segments.data(), segments.size()));
  return kNoErr;
}

AIErr Document::pathClosed(AIArtHandle path, AIBoolean* closed) const {
  NodeIndex n;
  if (AIErr err = findPath(path, &n)) return err;
  if (closed == nullptr) return kHostBadParameterErr;
  *closed = tree_.node(n).path.closed;
  return kNoErr;
}

AIErr Document::setPathClosed(AIArtHandle path, AIBoolean closed) {
  NodeIndex n;
  if (AIErr err = findPath(path, &n)) return err;
  if (tree_.node(n).path.closed != (closed != 0)) journal_.editGeometry(n).closed = closed != 0;
  return kNoErr;
}

AIErr Document::groupClipped(AIArtHandle group, AIBoolean* clipped) const {
  NodeIndex n;
  if (AIErr err = findArt(group, &n)) return err;
  if (tree_.node(n).type != kGroupArt) return kHostWrongArtTypeErr;
  if (clipped == nullptr) return kHostBadParameterErr;
  *clipped = tree_.node(n).props->clipped;
  return kNoErr;
}

AIErr Document::setGroupClipped(AIArtHandle group, AIBoolean clipped) {
  NodeIndex n;
  if (AIErr err = findArt(group, &n)) return err;
  if (tree_.node(n).type != kGroupArt) return kHostWrongArtTypeErr;
  if (tree_.node(n).props->clipped != (clipped != 0)) journal_.editProps(n).clipped = clipped != 0;
  return kNoErr;
}

// ---- Plug-in art ---

AIErr Document::attachPluginGroup(AIArtHandle art, uint32_t group, int32_t major, int32_t minor) {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  ArtProps& props = journal_.editProps(n);
  props.pluginGroup = group;
  props.versionMajor = major;
  props.versionMinor = minor;
  return kNoErr;
}

AIErr Document::pluginGroupOf(AIArtHandle art, uint32_t* group) const {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  if (group == nullptr) return kHostBadParameterErr;
  if (tree_.node(n).props->pluginGroup == kNoIndex) return kHostNotAttachedErr;
  *group = tree_.node(n).props->pluginGroup;
  return kNoErr;
}

AIErr Document::pluginVersion(AIArtHandle art, int32_t* major, int32_t* minor) const {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  if (major == nullptr || minor == nullptr) return kHostBadParameterErr;
  if (tree_.node(n).props->pluginGroup == kNoIndex) return kHostNotAttachedErr;
  *major = tree_.node(n).props->versionMajor;
  *minor = tree_.node(n).props->versionMinor;
  return kNoErr;
}

AIErr Document::editGroup(AIArtHandle art, AIArtHandle* group) const {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  if (group == nullptr) return kHostBadParameterErr;
  *group = artHandle(tree_.node(n).editGroup);
  return kNoErr;
}

AIErr Document::resultGroup(AIArtHandle art, AIArtHandle* group) const {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  if (group == nullptr) return kHostBadParameterErr;
  *group = artHandle(tree_.node(n).resultGroup);
  return kNoErr;
}

AIErr Document::markDirty(AIArtHandle art) {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  tree_.markDirty(n);
  return kNoErr;
}

AIErr Document::clearDirty(AIArtHandle art) {
  NodeIndex n;
  if (AIErr err = findPluginArt(art, &n)) return err;
  tree_.clearDirty(n);
  return kNoErr;
}

std::vector<AIArtHandle> Document::dirtyPluginArt() const {
  std::vector<AIArtHandle> dirty;
  for (NodeIndex n : tree_.dirtyOrder())
    if (tree_.node(n).live) dirty.push_back(artHandle(n));
  return dirty;
}

}  // namespace hostcore
