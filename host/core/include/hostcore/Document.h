// The document: the front the suites, the files and the program call. It
// checks the host's opaque handles and parameters, so a stale or foreign
// handle is refused in one place, and puts each change through the journal.
// The state lives in its parts:
//   ArtTree     nodes, links, layers, ids, plug-in art awaiting update
//   DataStore   dictionaries and arrays, with callers' references
//   StyleTable  art styles, each kept once
//   ArtSets     callers' lists of art
//   Journal     undo steps, undo and redo (who opens steps: Journal.h)
// Document.cpp holds the art operations, DocumentLayers.cpp the layers,
// DocumentData.cpp dictionaries, arrays, art sets and styles.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/ArtModel.h"
#include "hostcore/ArtSets.h"
#include "hostcore/ArtTree.h"
#include "hostcore/DataStore.h"
#include "hostcore/Journal.h"
#include "hostcore/StyleTable.h"

namespace hostcore {

// For the host's own calls whose failure could only be a fault of the host
// (a handle the document has just handed it, a layer it has just made):
// throws std::logic_error naming the call rather than going on without
// what the call should have given. Never inside a suite function.
inline void require(AIErr err, const char* call) {
  if (err != kNoErr) throw std::logic_error(std::string(call) + " failed with code " + std::to_string(err));
}

class Document {
 public:
  Document() = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // ---- Size ---------------------------------------------------------
  // The most art nodes the document holds, art kept for undo included.
  // Art that would pass it is refused with kHostOutOfMemoryErr, so a
  // drawing too large is told apart from memory running out.
  static constexpr size_t kDefaultArtLimit = 2000000;
  size_t artLimit() const { return artLimit_; }
  void setArtLimit(size_t nodes) { artLimit_ = nodes; }

  // ---- Art tree -----------------------------------------------------
  [[nodiscard]] AIErr newArt(AIArtType type, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt);
  [[nodiscard]] AIErr disposeArt(AIArtHandle art);
  // Deep copy (plug-in art with its edit and result groups and every
  // dictionary in the subtree) placed at the paint order.
  [[nodiscard]] AIErr duplicateArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt);
  [[nodiscard]] AIErr reorderArt(AIArtHandle art, AIPaintOrder order, AIArtHandle prep);
  bool validArt(AIArtHandle art) const;
  [[nodiscard]] AIErr artType(AIArtHandle art, AIArtType* type) const;
  // A layer's own group has no parent; edit and result groups answer
  // their plug-in art.
  [[nodiscard]] AIErr artParent(AIArtHandle art, AIArtHandle* parent) const;
  [[nodiscard]] AIErr firstChild(AIArtHandle art, AIArtHandle* child) const;
  [[nodiscard]] AIErr sibling(AIArtHandle art, AIArtHandle* sibling) const;
  [[nodiscard]] AIErr priorSibling(AIArtHandle art, AIArtHandle* sibling) const;
  // Art without extent answers an inverted rectangle of infinities
  // (left +inf, right -inf, top -inf, bottom +inf) that overlaps no
  // finite rectangle and vanishes in unions.
  [[nodiscard]] AIErr artBounds(AIArtHandle art, AIRealRect* bounds) const;
  [[nodiscard]] AIErr userAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr* attr) const;
  [[nodiscard]] AIErr setUserAttr(AIArtHandle art, AIArtUserAttr which, AIArtUserAttr attr);
  // The name given to the art; empty when it has its default name.
  [[nodiscard]] AIErr artName(AIArtHandle art, std::string* name) const;
  [[nodiscard]] AIErr setArtName(AIArtHandle art, const char* name);
  [[nodiscard]] AIErr transformArt(AIArtHandle art, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags);
  // Every art has an id unique in the document by which scripts name it:
  // one made up from its type and a counter, or the one set when read in.
  // Ids are not journaled; art revived by undo keeps its own.
  [[nodiscard]] AIErr artId(AIArtHandle art, std::string* id) const;
  // Refuses an empty id and one that other art holds.
  [[nodiscard]] AIErr setArtId(AIArtHandle art, const std::string& id);
  // Null when no live art has the id.
  AIArtHandle artById(const std::string& id) const;
  // A detached deep copy of the art and its subtree, ids included.
  [[nodiscard]] AIErr copyArt(AIArtHandle art, ArtCopy* copy) const;
  // New art built from a copy (as read from a file), placed at the paint
  // order; each piece takes the copy's id when no other art holds it.
  [[nodiscard]] AIErr placeCopy(const ArtCopy& copy, AIPaintOrder order, AIArtHandle prep, AIArtHandle* newArt);
  // Leaf kinds (placed, raster, text, foreign, ...): matrix, box, payload.
  [[nodiscard]] AIErr leafData(AIArtHandle art, LeafData* leaf) const;
  [[nodiscard]] AIErr setLeafData(AIArtHandle art, const LeafData& leaf);

  // ---- Paths and groups -----------------------------------------------
  [[nodiscard]] AIErr segmentCount(AIArtHandle path, int16_t* count) const;
  [[nodiscard]] AIErr setSegmentCount(AIArtHandle path, int16_t count);
  [[nodiscard]] AIErr segments(AIArtHandle path, int16_t first, int16_t count, AIPathSegment* out) const;
  [[nodiscard]] AIErr setSegments(AIArtHandle path, int16_t first, int16_t count, const AIPathSegment* in);
  [[nodiscard]] AIErr pathClosed(AIArtHandle path, AIBoolean* closed) const;
  [[nodiscard]] AIErr setPathClosed(AIArtHandle path, AIBoolean closed);
  [[nodiscard]] AIErr groupClipped(AIArtHandle group, AIBoolean* clipped) const;
  [[nodiscard]] AIErr setGroupClipped(AIArtHandle group, AIBoolean clipped);

  // ---- Layers (the first is the topmost) --------------------------------
  // Appends a layer below the others, or puts it above them; the first
  // layer made becomes current.
  enum class LayerPlace { Bottom, Top };
  [[nodiscard]] AIErr addLayer(const char* title, AILayerHandle* layer, LayerPlace place = LayerPlace::Bottom);
  // A sublayer on top inside the given layer's group.
  [[nodiscard]] AIErr addSublayer(AILayerHandle parent, const char* title, AILayerHandle* layer);
  [[nodiscard]] AIErr countLayers(int32_t* count) const;
  [[nodiscard]] AIErr firstLayer(AILayerHandle* layer) const;
  [[nodiscard]] AIErr nextLayer(AILayerHandle layer, AILayerHandle* next) const;
  [[nodiscard]] AIErr currentLayer(AILayerHandle* layer) const;
  [[nodiscard]] AIErr setCurrentLayer(AILayerHandle layer);
  [[nodiscard]] AIErr layerTitle(AILayerHandle layer, std::string* title) const;
  // Visible (editable) only when the layer and every layer around it is.
  [[nodiscard]] AIErr layerVisible(AILayerHandle layer, AIBoolean* visible) const;
  [[nodiscard]] AIErr setLayerVisible(AILayerHandle layer, AIBoolean visible);
  [[nodiscard]] AIErr layerEditable(AILayerHandle layer, AIBoolean* editable) const;
  [[nodiscard]] AIErr setLayerEditable(AILayerHandle layer, AIBoolean editable);
  // The innermost layer whose group holds the art.
  [[nodiscard]] AIErr layerOfArt(AIArtHandle art, AILayerHandle* layer) const;
  // The layer's group; a null layer means the current layer.
  [[nodiscard]] AIErr firstArtOfLayer(AILayerHandle layer, AIArtHandle* art) const;
  // The group of each layer in the layer list, the topmost first.
  std::vector<AIArtHandle> layerGroups() const;
  [[nodiscard]] AIErr isLayerGroup(AIArtHandle art, AIBoolean* isLayerGroup) const;
  [[nodiscard]] AIErr changeLayerToGroup(AILayerHandle layer, AIArtHandle art);

  // ---- Artboard ---------------------------------------------------------
  // The page a document was read with; none for a new document.
  const std::optional<AIRealRect>& artboard() const { return artboard_; }
  void setArtboard(const std::optional<AIRealRect>& artboard) { artboard_ = artboard; }
  // What the document's file held that the document does not model (the
  // page as written, units included; style sheets, metadata), as text
  // the files library alone reads; empty for a document made here.
  const std::string& fileExtras() const { return fileExtras_; }
  void setFileExtras(std::string extras) { fileExtras_ = std::move(extras); }

  // ---- Dictionaries (keys are the host core's key indices) ----------------
  // Hands out a reference the caller releases.
  [[nodiscard]] AIErr artDictionary(AIArtHandle art, AIDictionaryRef* dictionary);
  [[nodiscard]] AIErr addDictionaryRef(AIDictionaryRef dictionary);
  [[nodiscard]] AIErr releaseDictionary(AIDictionaryRef dictionary);
  [[nodiscard]] AIErr entry(AIDictionaryRef dictionary, uint32_t key, const DictValue** value) const;
  [[nodiscard]] AIErr setEntry(AIDictionaryRef dictionary, uint32_t key, DictValue value);
  [[nodiscard]] AIErr deleteEntry(AIDictionaryRef dictionary, uint32_t key);
  [[nodiscard]] AIErr copyArtToEntry(AIDictionaryRef dictionary, uint32_t key, AIArtHandle art);
  [[nodiscard]] AIErr copyEntryToArt(AIDictionaryRef dictionary, uint32_t key, AIPaintOrder order, AIArtHandle prep,
                                     AIArtHandle* art);

  // ---- Arrays -----------------------------------------------------------
  [[nodiscard]] AIErr createArray(ArrayValues values, AIArrayRef* array);
  [[nodiscard]] AIErr addArrayRef(AIArrayRef array);
  [[nodiscard]] AIErr releaseArray(AIArrayRef array);
  [[nodiscard]] AIErr arrayValues(AIArrayRef array, ArrayValues** values);

  // ---- Art sets -----------------------------------------------------------
  [[nodiscard]] AIErr newArtSet(AIArtSet* set);
  [[nodiscard]] AIErr disposeArtSet(AIArtSet set);
  // The document's art matching any spec, layer by layer, depth first
  // from the top; inside groups and plug-in art's edit groups, never in
  // result groups. Layers' own groups are not art of their own.
  [[nodiscard]] AIErr matchArt(const AIArtSpec* specs, int16_t count, AIArtSet set);
  [[nodiscard]] AIErr artSetCount(AIArtSet set, int32_t* count) const;
  [[nodiscard]] AIErr artSetMember(AIArtSet set, int32_t index, AIArtHandle* art) const;

  // ---- Styles ---------------------------------------------------------------
  // Equal styles share one handle.
  [[nodiscard]] AIErr newStyle(const AIPathStyle& pathStyle, const AIPathStyleMap& paintData, AIArtStyleHandle* style);
  [[nodiscard]] AIErr styleAttributes(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData) const;
  [[nodiscard]] AIErr artStyle(AIArtHandle art, AIArtStyleHandle* style) const;
  // A null style leaves the art without a style of its own.
  [[nodiscard]] AIErr setArtStyle(AIArtHandle art, AIArtStyleHandle style);
  // Art without a style of its own reads as the cleared path style.
  [[nodiscard]] AIErr pathStyle(AIArtHandle art, AIPathStyle* style) const;
  [[nodiscard]] AIErr setPathStyle(AIArtHandle art, const AIPathStyle& style);
  static AIPathStyle clearedPathStyle() { return StyleTable::cleared(); }
  // Between handles and the style indices that art props and copies hold;
  // kNoIndex stands for no style of its own (a null handle).
  AIArtStyleHandle styleHandle(uint32_t index) const { return StyleTable::handle(index); }
  [[nodiscard]] AIErr styleIndex(AIArtStyleHandle style, uint32_t* index) const;

  // ---- Plug-in art ------------------------------------------------------------
  [[nodiscard]] AIErr attachPluginGroup(AIArtHandle art, uint32_t group, int32_t major, int32_t minor);
  [[nodiscard]] AIErr pluginGroupOf(AIArtHandle art, uint32_t* group) const;
  [[nodiscard]] AIErr pluginVersion(AIArtHandle art, int32_t* major, int32_t* minor) const;
  [[nodiscard]] AIErr editGroup(AIArtHandle art, AIArtHandle* group) const;
  [[nodiscard]] AIErr resultGroup(AIArtHandle art, AIArtHandle* group) const;
  [[nodiscard]] AIErr markDirty(AIArtHandle art);
  // Live plug-in art marked dirty, in the order it was marked.
  std::vector<AIArtHandle> dirtyPluginArt() const;
  [[nodiscard]] AIErr clearDirty(AIArtHandle art);

  // ---- Undo journal -------------------------------------------------------------
  Journal& journal() { return journal_; }
  const Journal& journal() const { return journal_; }

  // ---- Handles ------------------------------------------------------------------
  AIArtHandle artHandle(NodeIndex node) const { return tree_.artHandle(node); }
  AILayerHandle layerHandle(NodeIndex node) const { return tree_.layerHandle(node); }
  [[nodiscard]] AIErr findArt(AIArtHandle art, NodeIndex* node) const { return tree_.findArt(art, node); }
  [[nodiscard]] AIErr findLayer(AILayerHandle layer, NodeIndex* node) const { return tree_.findLayer(layer, node); }
  [[nodiscard]] AIErr findDictionary(AIDictionaryRef dictionary, uint32_t* index) const {
    return data_.findDictionary(dictionary, index);
  }

  friend std::vector<std::string> checkDocument(const Document& document);
  friend std::vector<std::string> checkNothingHeld(const Document& document);

 private:
  [[nodiscard]] AIErr findPath(AIArtHandle art, NodeIndex* node) const {
    return tree_.findArtOfType(art, kPathArt, node);
  }
  [[nodiscard]] AIErr findPluginArt(AIArtHandle art, NodeIndex* node) const {
    return tree_.findArtOfType(art, kPluginArt, node);
  }
  // kHostOutOfMemoryErr when `nodes` more would pass the art limit.
  [[nodiscard]] AIErr roomFor(size_t nodes) const;
  // New detached art put at its place, answered as a handle when asked.
  void placeNew(NodeIndex node, Place place, AIArtHandle* newArt);

  // Geometry (Geometry.cpp).
  AIRealRect boundsOf(NodeIndex node) const;
  void transformNode(NodeIndex node, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags);

  DataStore data_;
  StyleTable styles_;
  ArtSets artSets_;
  ArtTree tree_{data_};
  Journal journal_{tree_, data_};
  std::optional<AIRealRect> artboard_;
  std::string fileExtras_;
  size_t artLimit_ = kDefaultArtLimit;
};

}  // namespace hostcore
