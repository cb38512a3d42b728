// The art, path, group and layer suites.
#include "SuiteTables.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

// The name shown for art of a kind that has one name for all.
const char* kindName(AIArtType type) {
  switch (type) {
    case kPathArt:
      return "<Path>";
    case kCompoundPathArt:
      return "<Compound Path>";
    case kPlacedArt:
      return "<Placed>";
    case kRasterArt:
      return "<Image>";
    case kMeshArt:
      return "<Mesh>";
    case kTextFrameArt:
      return "<Text>";
    case kSymbolArt:
      return "<Symbol>";
    case kForeignArt:
      return "<Foreign Object>";
    default:
      return "<Unknown>";
  }
}

// The name shown for art without a name of its own.
AIErr defaultArtName(HostCore& core, AIArtHandle art, AIArtType type, std::string* name) {
  Document& doc = core.document();
  AIBoolean isLayer = false;
  if (AIErr err = doc.isLayerGroup(art, &isLayer)) return err;
  if (isLayer) {
    AILayerHandle layer = nullptr;
    if (AIErr err = doc.layerOfArt(art, &layer)) return err;
    return doc.layerTitle(layer, name);
  }
  if (type == kGroupArt) {
    AIBoolean clipped = false;
    if (AIErr err = doc.groupClipped(art, &clipped)) return err;
    *name = clipped ? "<Clip Group>" : "<Group>";
  } else if (type == kPluginArt) {
    uint32_t group;
    const bool named = doc.pluginGroupOf(art, &group) == kNoErr && !core.pluginGroup(group).defaultName.empty();
    *name = named ? core.pluginGroup(group).defaultName : "<Plugin Art>";
  } else {
    *name = kindName(type);
  }
  return kNoErr;
}

// ---- AI Art Suite ----

AIErr NewArt(AIArtType type, AIPaintOrder paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
  HOSTCORE_ENTER(kAIArtSuite, "NewArt");
  return core->document().newArt(type, paintOrder, prep, newArt);
}

AIErr DisposeArt(AIArtHandle art) {
  HOSTCORE_ENTER(kAIArtSuite, "DisposeArt");
  return core->document().disposeArt(art);
}

AIErr GetArtType(AIArtHandle art, AIArtType* type) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtType");
  return core->document().artType(art, type);
}

AIErr GetArtParent(AIArtHandle art, AIArtHandle* parent) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtParent");
  return core->document().artParent(art, parent);
}

AIErr GetArtFirstChild(AIArtHandle art, AIArtHandle* child) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtFirstChild");
  return core->document().firstChild(art, child);
}

AIErr GetArtSibling(AIArtHandle art, AIArtHandle* sibling) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtSibling");
  return core->document().sibling(art, sibling);
}

AIErr GetArtPriorSibling(AIArtHandle art, AIArtHandle* sibling) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtPriorSibling");
  return core->document().priorSibling(art, sibling);
}

AIErr GetArtBounds(AIArtHandle art, AIRealRect* bounds) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtBounds");
  return core->document().artBounds(art, bounds);
}

AIErr GetArtUserAttr(AIArtHandle art, AIArtUserAttr whichAttr, AIArtUserAttr* attr) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtUserAttr");
  return core->document().userAttr(art, whichAttr, attr);
}

AIErr SetArtUserAttr(AIArtHandle art, AIArtUserAttr whichAttr, AIArtUserAttr attr) {
  HOSTCORE_ENTER(kAIArtSuite, "SetArtUserAttr");
  return core->document().setUserAttr(art, whichAttr, attr);
}

AIErr GetLayerOfArt(AIArtHandle art, AILayerHandle* layer) {
  HOSTCORE_ENTER(kAIArtSuite, "GetLayerOfArt");
  return core->document().layerOfArt(art, layer);
}

AIErr GetFirstArtOfLayer(AILayerHandle layer, AIArtHandle* art) {
  HOSTCORE_ENTER(kAIArtSuite, "GetFirstArtOfLayer");
  return core->document().firstArtOfLayer(layer, art);
}

AIErr IsArtLayerGroup(AIArtHandle art, AIBoolean* isLayerGroup) {
  HOSTCORE_ENTER(kAIArtSuite, "IsArtLayerGroup");
  return core->document().isLayerGroup(art, isLayerGroup);
}

AIErr DuplicateArt(AIArtHandle art, AIPaintOrder paintOrder, AIArtHandle prep, AIArtHandle* newArt) {
  HOSTCORE_ENTER(kAIArtSuite, "DuplicateArt");
  return core->document().duplicateArt(art, paintOrder, prep, newArt);
}

AIErr ReorderArt(AIArtHandle art, AIPaintOrder paintOrder, AIArtHandle prep) {
  HOSTCORE_ENTER(kAIArtSuite, "ReorderArt");
  return core->document().reorderArt(art, paintOrder, prep);
}

AIErr GetDictionary(AIArtHandle art, AIDictionaryRef* dictionary) {
  HOSTCORE_ENTER(kAIArtSuite, "GetDictionary");
  return core->document().artDictionary(art, dictionary);
}

AIBoolean ValidArt(AIArtHandle art) {
  HOSTCORE_ENTER_OR(kAIArtSuite, "ValidArt", false);
  return core->document().validArt(art);
}

AIErr GetArtName(AIArtHandle art, char* name, int32_t maxLength, AIBoolean* isDefaultName) {
  HOSTCORE_ENTER(kAIArtSuite, "GetArtName");
  Document& doc = core->document();
  std::string given;
  AIArtType type = kUnknownArt;
  if (AIErr err = doc.artName(art, &given)) return err;
  if (AIErr err = doc.artType(art, &type)) return err;
  const bool isDefault = given.empty();
  if (isDefault)
    if (AIErr err = defaultArtName(*core, art, type, &given)) return err;
  if (AIErr err = copyText(given, name, maxLength)) return err;
  if (isDefaultName != nullptr) *isDefaultName = isDefault;
  return kNoErr;
}

AIErr SetArtName(AIArtHandle art, const char* name) {
  HOSTCORE_ENTER(kAIArtSuite, "SetArtName");
  return core->document().setArtName(art, name);
}

// ---- AI Path Suite ----

AIErr GetPathSegmentCount(AIArtHandle path, int16_t* count) {
  HOSTCORE_ENTER(kAIPathSuite, "GetPathSegmentCount");
  return core->document().segmentCount(path, count);
}

AIErr SetPathSegmentCount(AIArtHandle path, int16_t count) {
  HOSTCORE_ENTER(kAIPathSuite, "SetPathSegmentCount");
  return core->document().setSegmentCount(path, count);
}

AIErr GetPathSegments(AIArtHandle path, int16_t segNumber, int16_t count, AIPathSegment segments[]) {
  HOSTCORE_ENTER(kAIPathSuite, "GetPathSegments");
  return core->document().segments(path, segNumber, count, segments);
}

AIErr SetPathSegments(AIArtHandle path, int16_t segNumber, int16_t count, const AIPathSegment segments[]) {
  HOSTCORE_ENTER(kAIPathSuite, "SetPathSegments");
  return core->document().setSegments(path, segNumber, count, segments);
}

AIErr GetPathClosed(AIArtHandle path, AIBoolean* closed) {
  HOSTCORE_ENTER(kAIPathSuite, "GetPathClosed");
  return core->document().pathClosed(path, closed);
}

AIErr SetPathClosed(AIArtHandle path, AIBoolean closed) {
  HOSTCORE_ENTER(kAIPathSuite, "SetPathClosed");
  return core->document().setPathClosed(path, closed);
}

// ---- AI Group Suite ----

AIErr GetGroupClipped(AIArtHandle group, AIBoolean* clipped) {
  HOSTCORE_ENTER(kAIGroupSuite, "GetGroupClipped");
  return core->document().groupClipped(group, clipped);
}

AIErr SetGroupClipped(AIArtHandle group, AIBoolean clipped) {
  HOSTCORE_ENTER(kAIGroupSuite, "SetGroupClipped");
  return core->document().setGroupClipped(group, clipped);
}

// ---- AI Layer Suite ----

AIErr CountLayers(int32_t* count) {
  HOSTCORE_ENTER(kAILayerSuite, "CountLayers");
  return core->document().countLayers(count);
}

AIErr GetFirstLayer(AILayerHandle* first) {
  HOSTCORE_ENTER(kAILayerSuite, "GetFirstLayer");
  return core->document().firstLayer(first);
}

AIErr GetNextLayer(AILayerHandle prev, AILayerHandle* next) {
  HOSTCORE_ENTER(kAILayerSuite, "GetNextLayer");
  return core->document().nextLayer(prev, next);
}

AIErr GetCurrentLayer(AILayerHandle* layer) {
  HOSTCORE_ENTER(kAILayerSuite, "GetCurrentLayer");
  return core->document().currentLayer(layer);
}

AIErr SetCurrentLayer(AILayerHandle layer) {
  HOSTCORE_ENTER(kAILayerSuite, "SetCurrentLayer");
  return core->document().setCurrentLayer(layer);
}

AIErr GetLayerTitle(AILayerHandle layer, char* title, int32_t maxLength) {
  HOSTCORE_ENTER(kAILayerSuite, "GetLayerTitle");
  std::string text;
  if (AIErr err = core->document().layerTitle(layer, &text)) return err;
  return copyText(text, title, maxLength);
}

AIErr GetLayerVisible(AILayerHandle layer, AIBoolean* visible) {
  HOSTCORE_ENTER(kAILayerSuite, "GetLayerVisible");
  return core->document().layerVisible(layer, visible);
}

AIErr SetLayerVisible(AILayerHandle layer, AIBoolean visible) {
  HOSTCORE_ENTER(kAILayerSuite, "SetLayerVisible");
  return core->document().setLayerVisible(layer, visible);
}

AIErr GetLayerEditable(AILayerHandle layer, AIBoolean* editable) {
  HOSTCORE_ENTER(kAILayerSuite, "GetLayerEditable");
  return core->document().layerEditable(layer, editable);
}

AIErr SetLayerEditable(AILayerHandle layer, AIBoolean editable) {
  HOSTCORE_ENTER(kAILayerSuite, "SetLayerEditable");
  return core->document().setLayerEditable(layer, editable);
}

AIErr ChangeLayerToGroup(AILayerHandle layer, AIArtHandle art) {
  HOSTCORE_ENTER(kAILayerSuite, "ChangeLayerToGroup");
  return core->document().changeLayerToGroup(layer, art);
}

}  // namespace

const AIArtSuite kArtSuiteTable = {
    NewArt,        DisposeArt,         GetArtType,      GetArtParent,   GetArtFirstChild,
    GetArtSibling, GetArtPriorSibling, GetArtBounds,    GetArtUserAttr, SetArtUserAttr,
    GetLayerOfArt, GetFirstArtOfLayer, IsArtLayerGroup, DuplicateArt,   ReorderArt,
    GetDictionary, ValidArt,           GetArtName,      SetArtName,
};

const AIPathSuite kPathSuiteTable = {
    GetPathSegmentCount, SetPathSegmentCount, GetPathSegments, SetPathSegments, GetPathClosed, SetPathClosed,
};

const AIGroupSuite kGroupSuiteTable = {GetGroupClipped, SetGroupClipped};

const AILayerSuite kLayerSuiteTable = {
    CountLayers,     GetFirstLayer,   GetNextLayer,     GetCurrentLayer,  SetCurrentLayer,    GetLayerTitle,
    GetLayerVisible, SetLayerVisible, GetLayerEditable, SetLayerEditable, ChangeLayerToGroup,
};

}  // namespace hostcore
