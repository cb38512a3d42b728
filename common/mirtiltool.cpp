// The "Mirrortile" tool: a drag on an empty selection makes a mirror-tile
// object, a drag with one object selected turns it. Feedback paths drawn
// during the drag are taken away again by the host's undo of the next
// message.

#include "MirtilArtList.h"
#include "MirtilPlugin.h"
#include "framework/CheckedCall.h"
#include "framework/PluginSuites.h"
#include "ovaiart.h"
#include "ovaimirtilpig.h"
#include "plugingeneral/ovaiselection.h"

namespace {


// A release this close to the press is a click; closer than the second a
// cell too small to be of use.
constexpr AIReal kClickTolerance = 1.0f;
constexpr AIReal kShortestMirrorLine = 10.0f;

AIErr ReadCurrentLayerState(AIBoolean* visible, AIBoolean* editable) {
  AILayerHandle layer = nullptr;
  AIBoolean vis = false;
  AIBoolean edt = false;
  CHECK_CALL(sAILayer->GetCurrentLayer(&layer));
  CHECK_CALL(sAILayer->GetLayerVisible(layer,&vis));
  CHECK_CALL(sAILayer->GetLayerEditable(layer,&edt));
  *visible = vis;
  *editable = edt;
  return kNoErr;
}

bool NothingSelected() { return GetSelectedArtOfType(kAnyArt, nullptr) == 0; }

void Alert(const char* text) { sADMBasic->MessageAlert(text); }

}  // namespace

bool CurrentLayerUsable() {
  AIBoolean visible = false;
  AIBoolean editable = false;
  return ReadCurrentLayerState(&visible, &editable) == kNoErr && visible && editable;
}

AIErr MirtilPlugin::TrackToolCursor(AIToolMessage* message) {
  uint16_t cursorId = kRefuseCursorID;
  if (CurrentLayerUsable()) {
    if (NothingSelected()) {
      cursorId = kCreateCursorID;
    } else if (MirtilArtList(GetSelectedMirtils).Count() == 1) {
      cursorId = kReAlignCursorID;
    }
  }
  SetToolCursor(message->d.self, cursorId);
  return kNoErr;
}

// A question to the host that fails is answered as the failure; taken for
// its answer, it would tell the user of a refusal that was never made.
AIErr MirtilPlugin::ToolMouseDown(AIToolMessage* message) {
  toolMode = kToolModeNone;
  AIBoolean visible = false;
  AIBoolean editable = false;
  CHECK_CALL(ReadCurrentLayerState(&visible, &editable));
  if (!visible || !editable) {
    Alert("Current layer either locked or hidden");
    return kNoErr;
  }
  const int selected = GetSelectedArtOfType(kAnyArt, nullptr);
  if (selected < 0) return kCantErr;
  if (selected == 0) {
    toolMode = kToolModeCreate;
  } else {
    const int count = MirtilArtList(GetSelectedMirtils).Count();
    if (count < 0) {
      return kCantErr;
    } else if (count == 0) {
      Alert("Non-mirrortile object selected");
    } else if (count > 1) {
      Alert("Too many mirrortile objects selected");
    } else {
      toolMode = kToolModeReAlign;
    }
  }
  startingPoint = message->cursor;
  return kNoErr;
}

AIErr MirtilPlugin::ToolMouseDrag(AIToolMessage* message) {
  // Takes away the feedback of the previous drag message.
  sAIUndo->UndoChanges();

  const AIRealPoint cursor = message->cursor;
  AIArtHandle art = nullptr;
  if (toolMode == kToolModeCreate) {
    int32_t type = kMirtilSweep;
    CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Type",&type));
    CHECK_CALL(TempPathObj(&art));
    if (type != kMirtilSweep) {
      return MakeTriangleSidesPath(art, startingPoint.h, startingPoint.v, cursor.h, cursor.v)
                 ? kNoErr
                 : kOutOfMemoryErr;
    }
    if (!MakeCirclePathThrough(art, startingPoint.h, startingPoint.v, cursor.h, cursor.v)) {
      return kOutOfMemoryErr;
    }
    CHECK_CALL(TempPathObj(&art));
    return MakeWedgePath(art, startingPoint.h, startingPoint.v, cursor.h, cursor.v) ? kNoErr
                                                                                    : kOutOfMemoryErr;
  }
  if (toolMode == kToolModeReAlign) {
    CHECK_CALL(GetSingleSelMirtil(&art));
    AIRealPoint pivot{};
    CHECK_CALL(ReadMirtilPivot(art, &pivot));
    CHECK_CALL(TempPathObj(&art));
    return MakeLinePath(art, pivot.h, pivot.v, cursor.h, cursor.v) ? kNoErr : kOutOfMemoryErr;
  }
  return kNoErr;
}

AIErr MirtilPlugin::ToolMouseUp(AIToolMessage* message) {
  // No feedback path survives the drag.
  sAIUndo->UndoChanges();

  if (toolMode == kToolModeCreate) {
    if (sAIRealMath->AIRealPointClose(&startingPoint, &message->cursor, kClickTolerance)) {
      return kNoErr;
    }
    if (sAIRealMath->AIRealPointClose(&startingPoint, &message->cursor, kShortestMirrorLine)) {
      Alert("Mirror lines are too short");
      return kNoErr;
    }
    const AIErr made = MakeMirtilPIG(startingPoint.h, startingPoint.v, message->cursor.h,
                                     message->cursor.v, pig_handle);
    if (made == kNoArtInRegionErr) {
      Alert("No art in region - no mirrortile created");
      return kNoErr;
    }
    return made;
  }
  if (toolMode == kToolModeReAlign) {
    AIArtHandle art = nullptr;
    CHECK_CALL(GetSingleSelMirtil(&art));
    CHECK_CALL(ReAlignMirtilPIG(art,startingPoint.h,startingPoint.v, message->cursor.h,message->cursor.v));
    CHECK_CALL(sAIPluginGroup->MarkPluginArtDirty(art));
  }
  return kNoErr;
}

// Choosing the tool or another one needs nothing of the plug-in.
AIErr MirtilPlugin::SelectTool(AIToolMessage*) { return kNoErr; }
AIErr MirtilPlugin::DeselectTool(AIToolMessage*) { return kNoErr; }
AIErr MirtilPlugin::ReselectTool(AIToolMessage*) { return kNoErr; }
