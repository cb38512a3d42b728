// The document's layers: the layer list, the current layer, sublayers and
// what is shown and editable.
#include "hostcore/Document.h"

namespace hostcore {

AIErr Document::addLayer(const char* title, AILayerHandle* layer, LayerPlace place) {
  if (title == nullptr || layer == nullptr) return kHostBadParameterErr;
  if (AIErr err = roomFor(1)) return err;
  const NodeIndex n = tree_.createNode(kGroupArt);
  tree_.node(n).props.edit().layer = LayerInfo{title, true, true};
  journal_.record(LifeRecord{n, Place{}, false});
  journal_.record(LayerListRecord{tree_.layers()});
  tree_.insertLayer(n, place == LayerPlace::Top);
  if (tree_.layers().size() == 1) journal_.setCurrentLayer(n);
  *layer = layerHandle(n);
  return kNoErr;
}

AIErr Document::addSublayer(AILayerHandle parent, const char* title, AILayerHandle* layer) {
  NodeIndex p;
  if (AIErr err = findLayer(parent, &p)) return err;
  if (title == nullptr || layer == nullptr) return kHostBadParameterErr;
  if (AIErr err = roomFor(1)) return err;
  const NodeIndex n = tree_.createNode(kGroupArt);
  tree_.node(n).props.edit().layer = LayerInfo{title, true, true};
  journal_.placeNew(n, Place{p, tree_.node(p).firstChild});
  *layer = layerHandle(n);
  return kNoErr;
}

AIErr Document::countLayers(int32_t* count) const {
  if (count == nullptr) return kHostBadParameterErr;
  *count = int32_t(tree_.layers().size());
  return kNoErr;
}

AIErr Document::firstLayer(AILayerHandle* layer) const {
  if (layer == nullptr) return kHostBadParameterErr;
  *layer = tree_.layers().empty() ? nullptr : layerHandle(tree_.layers().front());
  return kNoErr;
}

AIErr Document::nextLayer(AILayerHandle layer, AILayerHandle* next) const {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (next == nullptr) return kHostBadParameterErr;
  size_t position;
  if (!tree_.layerPosition(n, &position)) return kHostBadParameterErr;  // a sublayer is not in the layer list
  const std::vector<NodeIndex>& layers = tree_.layers();
  *next = position + 1 == layers.size() ? nullptr : layerHandle(layers[position + 1]);
  return kNoErr;
}

AIErr Document::currentLayer(AILayerHandle* layer) const {
  if (layer == nullptr) return kHostBadParameterErr;
  const NodeIndex n = tree_.currentLayer();
  if (n == kNoNode) return kHostNoDocumentErr;
  *layer = layerHandle(n);
  return kNoErr;
}

AIErr Document::setCurrentLayer(AILayerHandle layer) {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (tree_.currentSetting() != n) journal_.setCurrentLayer(n);
  return kNoErr;
}

AIErr Document::layerTitle(AILayerHandle layer, std::string* title) const {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (title == nullptr) return kHostBadParameterErr;
  *title = tree_.node(n).props->layer->title;
  return kNoErr;
}

AIErr Document::layerVisible(AILayerHandle layer, AIBoolean* visible) const {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (visible == nullptr) return kHostBadParameterErr;
  *visible = true;
  for (NodeIndex m = n; m != kNoNode; m = tree_.node(m).parent)
    if (tree_.node(m).props->layer && !tree_.node(m).props->layer->visible) *visible = false;
  return kNoErr;
}

AIErr Document::setLayerVisible(AILayerHandle layer, AIBoolean visible) {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (tree_.node(n).props->layer->visible != (visible != 0)) journal_.editProps(n).layer->visible = visible != 0;
  return kNoErr;
}

AIErr Document::layerEditable(AILayerHandle layer, AIBoolean* editable) const {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (editable == nullptr) return kHostBadParameterErr;
  *editable = true;
  for (NodeIndex m = n; m != kNoNode; m = tree_.node(m).parent)
    if (tree_.node(m).props->layer && !tree_.node(m).props->layer->editable) *editable = false;
  return kNoErr;
}

AIErr Document::setLayerEditable(AILayerHandle layer, AIBoolean editable) {
  NodeIndex n;
  if (AIErr err = findLayer(layer, &n)) return err;
  if (tree_.node(n).props->layer->editable != (editable != 0)) journal_.editProps(n).layer->editable = editable != 0;
  return kNoErr;
}

AIErr Document::layerOfArt(AIArtHandle art, AILayerHandle* layer) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (layer == nullptr) return kHostBadParameterErr;
  const NodeIndex l = tree_.layerOf(n);
  if (l == kNoNode) return kHostStaleHandleErr;
  *layer = layerHandle(l);
  return kNoErr;
}

AIErr Document::firstArtOfLayer(AILayerHandle layer, AIArtHandle* art) const {
  if (art == nullptr) return kHostBadParameterErr;
  NodeIndex n = kNoNode;
  if (layer == nullptr) {
    n = tree_.currentLayer();
    if (n == kNoNode) return kHostNoDocumentErr;
  } else if (AIErr err = findLayer(layer, &n)) {
    return err;
  }
  *art = artHandle(n);
  return kNoErr;
}

std::vector<AIArtHandle> Document::layerGroups() const {
  std::vector<AIArtHandle> groups;
  for (const NodeIndex layer : tree_.layers()) groups.push_back(artHandle(layer));
  return groups;
}

AIErr Document::isLayerGroup(AIArtHandle art, AIBoolean* isLayerGroup) const {
  NodeIndex n;
  if (AIErr err = findArt(art, &n)) return err;
  if (isLayerGroup == nullptr) return kHostBadParameterErr;
  *isLayerGroup = tree_.node(n).props->layer.has_value();
  return kNoErr;
}

AIErr Document::changeLayerToGroup(AILayerHandle layer, AIArtHandle art) {
  NodeIndex target;
  if (layer != nullptr) {
    if (AIErr err = findLayer(layer, &target)) return err;
  } else {
    NodeIndex n;
    if (AIErr err = findArt(art, &n)) return err;
    target = tree_.layerOf(n);
    if (target == kNoNode) return kHostStaleHandleErr;
  }
  if (tree_.node(target).parent == kNoNode) return kHostNotAllowedErr;  // a top-level layer stays a layer
  journal_.editProps(target).layer.reset();
  return kNoErr;
}

}  // namespace hostcore
