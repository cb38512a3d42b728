// The art tree: art nodes in their slots, the links between them (parent,
// children in stacking order, the edit and result groups of plug-in art),
// the layer list and the current layer, art ids and the plug-in art
// waiting for an update. Its operations are the primitives the document
// builds on; none of them is journaled (the journal calls them to undo
// and redo). Art owns its dictionary, which lives in the data store.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/ArtIds.h"
#include "hostcore/ArtModel.h"
#include "hostcore/DataStore.h"
#include "hostcore/Handles.h"

namespace hostcore {

class ArtTree {
 public:
  explicit ArtTree(DataStore& data) : data_(data) {}
  ArtTree(const ArtTree&) = delete;
  ArtTree& operator=(const ArtTree&) = delete;

  // ---- Nodes and their handles -------------------------------------------
  ArtNode& node(NodeIndex n) { return nodes_[n]; }
  const ArtNode& node(NodeIndex n) const { return nodes_[n]; }
  bool used(NodeIndex n) const { return nodes_.used(n); }
  uint32_t slotCount() const { return nodes_.slotCount(); }
  // Nodes held, live or kept for undo.
  uint32_t nodeCount() const { return nodes_.usedCount(); }
  AIArtHandle artHandle(NodeIndex n) const { return makeHandle<AIArtHandle>(HandleKind::Art, n, nodes_.generation(n)); }
  AILayerHandle layerHandle(NodeIndex n) const {
    return makeHandle<AILayerHandle>(HandleKind::Layer, n, nodes_.generation(n));
  }
  // Null is a bad parameter; art of another kind, age or disposed of is stale.
  AIErr findArt(AIArtHandle art, NodeIndex* n) const {
    if (art == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(art, HandleKind::Art, h) || !nodes_.matches(h) || !nodes_[h.index].live) return kHostStaleHandleErr;
    *n = h.index;
    return kNoErr;
  }
  AIErr findLayer(AILayerHandle layer, NodeIndex* n) const {
    if (layer == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(layer, HandleKind::Layer, h) || !nodes_.matches(h) || !nodes_[h.index].live ||
        !nodes_[h.index].props->layer)
      return kHostStaleHandleErr;
    *n = h.index;
    return kNoErr;
  }
  // Live art of the type, else the wrong art type.
  AIErr findArtOfType(AIArtHandle art, AIArtType type, NodeIndex* n) const {
    if (AIErr err = findArt(art, n)) return err;
    return nodes_[*n].type == type ? kNoErr : kHostWrongArtTypeErr;
  }

  // ---- Making and freeing ------------------------------------------------
  // Art made from now on carries this undo step serial (0: outside steps).
  void setBirthSerial(uint32_t serial) { birthSerial_ = serial; }
  // A detached node; it takes `id` when that is free, else a made-up one.
  NodeIndex createNode(AIArtType type, const std::string& id = {});
  // A detached, live subtree from a copy, ids kept where free when asked.
  NodeIndex build(const ArtCopy& copy, bool keepIds = false);
  // The nodes build() makes from the copy.
  static size_t nodesToBuild(const ArtCopy& copy);
  // A detached, live copy of a subtree, segments shared until either changes.
  NodeIndex clone(NodeIndex source);
  ArtCopy copyOf(NodeIndex n) const;
  uint32_t ensureDictionary(NodeIndex n);
  void setSubtreeLife(NodeIndex root, bool live);
  // Frees dead, detached art that no journal record pins, with whatever
  // of its subtree is equally unreachable.
  void collect(NodeIndex n);

  // ---- Links ----------------------------------------------------------------
  void attach(NodeIndex n, Place place);
  void detach(NodeIndex n);
  Place placeOf(NodeIndex n) const {
    const ArtNode& a = nodes_[n];
    return a.parent == kNoNode ? Place{} : Place{a.parent, a.next};
  }
  bool isContainer(NodeIndex n) const {
    const AIArtType type = nodes_[n].type;
    return type == kGroupArt || type == kCompoundPathArt;
  }
  // Where art of the type goes for a paint order and reference art.
  AIErr resolvePlace(AIPaintOrder order, AIArtHandle prep, AIArtType type, Place* place) const;
  // Every node below root, root first, edit and result groups included.
  template <class F>
  void forSubtree(NodeIndex root, F&& visit) const {
    // Most subtrees walked are a single path: it makes no list.
    std::vector<NodeIndex> pending;
    for (NodeIndex n = root;;) {
      visit(n);
      const ArtNode& a = nodes_[n];
      if (a.editGroup != kNoNode) pending.push_back(a.editGroup);
      if (a.resultGroup != kNoNode) pending.push_back(a.resultGroup);
      for (NodeIndex c = a.firstChild; c != kNoNode; c = nodes_[c].next) pending.push_back(c);
      if (pending.empty()) return;
      n = pending.back();
      pending.pop_back();
    }
  }
  size_t subtreeSize(NodeIndex root) const {
    size_t size = 0;
    forSubtree(root, [&](NodeIndex) { ++size; });
    return size;
  }
  // Handles of the art matching any spec, layer by layer, depth first from
  // the top; inside groups and edit groups, never in result groups.
  void matchArt(const AIArtSpec* specs, int16_t count, std::vector<AIArtHandle>& members) const;

  // ---- Layers (the first is the topmost) -------------------------------------
  const std::vector<NodeIndex>& layers() const { return layers_; }
  void insertLayer(NodeIndex n, bool onTop);
  // Exchanges the layer list with the given one (undo and redo).
  void swapLayers(std::vector<NodeIndex>& layers);
  // False for a layer that is not in the list (a sublayer).
  bool layerPosition(NodeIndex n, size_t* position) const;
  // The current layer as set, which may since have gone.
  NodeIndex currentSetting() const { return current_; }
  // Sets the current layer and answers the one set before.
  NodeIndex exchangeCurrent(NodeIndex layer);
  // The current layer if it is still a live layer, else the topmost.
  NodeIndex currentLayer() const;
  // The innermost layer whose group holds the node.
  NodeIndex layerOf(NodeIndex n) const;

  // ---- Ids --------------------------------------------------------------------
  std::string idOf(NodeIndex n) const {
    const ArtNode& a = nodes_[n];
    return a.id.empty() ? ArtIds::madeUp(a.type, a.idNumber) : a.id;
  }
  AIErr setId(NodeIndex n, const std::string& id);
  NodeIndex byId(const std::string& id) const;

  // ---- Plug-in art waiting for an update ------------------------------------
  void markDirty(NodeIndex n);
  void clearDirty(NodeIndex n);
  const std::vector<NodeIndex>& dirtyOrder() const { return dirtyOrder_; }

 private:
  void releaseId(const ArtNode& a);
  void numberLayers();
  void freeNode(NodeIndex n);

  DataStore& data_;
  SlotTable<ArtNode> nodes_;
  std::vector<NodeIndex> layers_;
  std::unordered_map<NodeIndex, size_t> layerPositions_;  // index in layers_
  NodeIndex current_ = kNoNode;
  std::vector<NodeIndex> dirtyOrder_;
  ArtIds ids_;
  uint32_t birthSerial_ = 0;
};

}  // namespace hostcore
