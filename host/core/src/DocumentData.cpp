// The document's data: dictionaries and their entries, arrays, art sets
// and art styles.
#include "hostcore/Document.h"

namespace hostcore {

// ---- Dictionaries ----------------------------------------------------------

AIErr Document::artDictionary(AIArtHandle art, AIDictionaryRef* dictionary) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (dictionary == nullptr) return kHostBadParameterErr;
  *dictionary = data_.handOut(tree_.ensureDictionary(n));
  return kNoErr;
}

AIErr Document::addDictionaryRef(AIDictionaryRef dictionary) { return data_.addDictionaryRef(dictionary); }

AIErr Document::releaseDictionary(AIDictionaryRef dictionary) { return data_.releaseDictionary(dictionary); }

AIErr Document::entry(AIDictionaryRef dictionary, uint32_t key, const DictValue** value) const {
  uint32_t d;
  if (AIErr err = findDictionary(dictionary, &d)) return err;
  const DictEntries& entries = data_.dictionary(d).entries;
  const auto at = entries.find(key);
  if (at == entries.end()) return kHostNoSuchEntryErr;
  *value = &at->second;
  return kNoErr;
}

AIErr Document::setEntry(AIDictionaryRef dictionary, uint32_t key, DictValue value) {
  uint32_t d;
  if (AIErr err = findDictionary(dictionary, &d)) return err;
  journal_.writeEntry(d, key, std::move(value));
  return kNoErr;
}

AIErr Document::deleteEntry(AIDictionaryRef dictionary, uint32_t key) {
  uint32_t d;
  if (AIErr err = findDictionary(dictionary, &d)) return err;
  if (data_.dictionary(d).entries.count(key) == 0) return kHostNoSuchEntryErr;
  journal_.writeEntry(d, key, std::nullopt);
  return kNoErr;
}

AIErr Document::copyArtToEntry(AIDictionaryRef dictionary, uint32_t key, AIArtHandle art) {
  uint32_t d;
  if (AIErr err = findDictionary(dictionary, &d)) return err;
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  // A copy weighs as much as the art it copies: a capture that could not
  // be placed back within the limit is refused before it is made.
  if (AIErr err = roomFor(tree_.subtreeSize(n))) return err;
  journal_.writeEntry(d, key, std::make_shared<const ArtCopy>(tree_.copyOf(n)));
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
  if (AIErr err = tree_.resolvePlace(order, prep, copy->type, &place)) return err;
  if (AIErr err = roomFor(ArtTree::nodesToBuild(*copy))) return err;
  const NodeIndex n = tree_.build(*copy);
  placeNew(n, place, art);
  return kNoErr;
}

// ---- Arrays -------------------------------------------------------------------

AIErr Document::createArray(ArrayValues values, AIArrayRef* array) {
  return data_.createArray(std::move(values), array);
}

AIErr Document::addArrayRef(AIArrayRef array) { return data_.addArrayRef(array); }

AIErr Document::releaseArray(AIArrayRef array) { return data_.releaseArray(array); }

AIErr Document::arrayValues(AIArrayRef array, ArrayValues** values) { return data_.arrayValues(array, values); }

// ---- Art sets -------------------------------------------------------------------

AIErr Document::newArtSet(AIArtSet* set) { return artSets_.create(set); }

AIErr Document::disposeArtSet(AIArtSet set) { return artSets_.dispose(set); }

AIErr Document::matchArt(const AIArtSpec* specs, int16_t count, AIArtSet set) {
  if (specs == nullptr || count <= 0 || set == nullptr) return kHostBadParameterErr;
  std::vector<AIArtHandle>* members;
  if (AIErr err = artSets_.members(set, &members)) return err;
  tree_.matchArt(specs, count, *members);
  return kNoErr;
}

AIErr Document::artSetCount(AIArtSet set, int32_t* count) const { return artSets_.count(set, count); }

AIErr Document::artSetMember(AIArtSet set, int32_t index, AIArtHandle* art) const {
  return artSets_.member(set, index, art);
}

// ---- Styles ----------------------------------------------------------------------

AIErr Document::newStyle(const AIPathStyle& pathStyle, const AIPathStyleMap& paintData, AIArtStyleHandle* style) {
  if (style == nullptr) return kHostBadParameterErr;
  *style = StyleTable::handle(styles_.intern(pathStyle, paintData));
  return kNoErr;
}

AIErr Document::styleAttributes(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData) const {
  if (style == nullptr || pathStyle == nullptr) return kHostBadParameterErr;
  uint32_t s;
  if (AIErr err = styles_.find(style, &s)) return err;
  *pathStyle = styles_[s].pathStyle;
  if (paintData != nullptr) *paintData = styles_[s].paintData;
  return kNoErr;
}

AIErr Document::styleIndex(AIArtStyleHandle style, uint32_t* index) const {
  if (index == nullptr) return kHostBadParameterErr;
  if (style == nullptr) {
    *index = kNoIndex;
    return kNoErr;
  }
  return styles_.find(style, index);
}

AIErr Document::artStyle(AIArtHandle art, AIArtStyleHandle* style) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (style == nullptr) return kHostBadParameterErr;
  *style = StyleTable::handle(tree_.node(n).props->style);
  return kNoErr;
}

AIErr Document::setArtStyle(AIArtHandle art, AIArtStyleHandle style) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  uint32_t s;
  if (AIErr err = styleIndex(style, &s)) return err;
  if (tree_.node(n).props->style != s) journal_.editProps(n).style = s;
  return kNoErr;
}

AIErr Document::pathStyle(AIArtHandle art, AIPathStyle* style) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (style == nullptr) return kHostBadParameterErr;
  const uint32_t s = tree_.node(n).props->style;
  *style = s == kNoIndex ? StyleTable::cleared() : styles_[s].pathStyle;
  return kNoErr;
}

AIErr Document::setPathStyle(AIArtHandle art, const AIPathStyle& style) {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  const AIPathStyleMap all{1, 1, 1, 1, 1, 1};
  const uint32_t s = styles_.intern(style, all);
  if (tree_.node(n).props->style != s) journal_.editProps(n).style = s;
  return kNoErr;
}

}  // namespace hostcore
