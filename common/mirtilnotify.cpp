// The host tells the plugin group about its own edits of an object (moves,
// transformations, point edits, paint); the fix-ups here restore what the
// object's edit path and style must be before its result is rebuilt.

#include <cmath>
#include <cstring>

#include "MirtilPlugin.h"
#include "framework/CheckedCall.h"
#include "framework/PluginSuites.h"
#include "ovaimirtilpig.h"
#include "ovlog.h"
#include "plugingeneral/ovaigeneral.h"
#include "plugingeneral/ovaiscoped.h"
#include "plugingeneral/ovaiuserdata.h"

namespace {

bool TextIs(const char* text, const char* expected) {
  return text && std::strcmp(text, expected) == 0;
}

// The object's edit path and its two segments.
AIErr ReadEditSegments(AIArtHandle art, AIArtHandle* path, AIPathSegment seg[2]) {
  AIArtHandle editgrp = nullptr;
  AIArtHandle editart = nullptr;
  CHECK_CALL(sAIPluginGroup->GetPluginArtEditArt(art,&editgrp));
  CHECK_CALL(sAIArt->GetArtFirstChild(editgrp,&editart));
  CHECK_CALL(sAIPath->GetPathSegments( editart, 0, 2, seg ));
  *path = editart;
  return kNoErr;
}

bool IsFinite(AIReal coordinate) { return std::isfinite(static_cast<double>(coordinate)); }

bool AllFinite(const AIPathSegment& segment) {
  return IsFinite(segment.p.h) && IsFinite(segment.p.v) && IsFinite(segment.in.h) &&
         IsFinite(segment.in.v) && IsFinite(segment.out.h) && IsFinite(segment.out.v);
}

}  // namespace

AIErr MirtilPlugin::PluginGroupNotify(AIPluginGroupMessage* message) {
  if (TextIs(message->time, kAICheckOperationTime)) return kNoErr;
  if (TextIs(message->time, kAIBeforeOperationTime)) {
    // Geometry and paint need a fix-up once the host is done.
    if (TextIs(message->code, kAIGeometryOperationCode) || TextIs(message->code, kAIStyleOperationCode)) {
      return kWantsAfterMsgPluginGroupErr;
    }
    return kNoErr;
  }
  if (TextIs(message->time, kAIAfterOperationTime)) {
    if (!TextIs(message->code, kAIChangeOperationCode)) return kNoErr;
    if (message->subCode == 0) {
      CHECK_CALL(EnsureCentrePointsCoinc(message->art));
      CHECK_CALL(EnsureMirtilNoStyle(message->art));
    } else if (message->subCode == kAIPluginArtChangeSubCode) {
      CHECK_CALL(SolveFreeTransformFix(message->art));
    }
    return kNoErr;
  }
  if (TextIs(message->time, kAIDuringOperationTime)) return kNoErr;
  log_info("Unknown notify TIME");
  return kCantErr;
}

AIErr EnsureCentrePointsCoinc(AIArtHandle art) {
  if (!IsMirtilPIG(art)) return kNoErr;
  AIArtHandle editart = nullptr;
  AIPathSegment seg[2];
  CHECK_CALL(ReadEditSegments(art, &editart, seg));
  // Segment 0 is the master, whichever of the two the user moved.
  seg[1] = seg[0];
  CHECK_CALL(sAIPath->SetPathSegments( editart, 0, 2, seg ));
  return kNoErr;
}

AIErr EnsureMirtilNoStyle(AIArtHandle art) {
  if (!IsMirtilPIG(art)) return kNoErr;
  AIPathStyle pigstyle{};
  CHECK_CALL(GetPigPathStyle(art,&pigstyle));
  pigstyle.fillPaint = false;
  pigstyle.strokePaint = false;
  CHECK_CALL(SetPigPathStyle(art,pigstyle));
  return kNoErr;
}

AIErr SolveFreeTransformFix(AIArtHandle art) {
  if (!IsMirtilPIG(art)) return kNoErr;
  AIArtHandle editart = nullptr;
  AIPathSegment seg[2];
  CHECK_CALL(ReadEditSegments(art, &editart, seg));
  if (AllFinite(seg[0]) && AllFinite(seg[1])) return kNoErr;

  // Where the edit path stood when the object was last generated.
  AIRealPoint p{};
  CHECK_CALL(ReadMirtilPivot(art, &p));
  for (AIPathSegment& segment : seg) {
    segment.p = p;
    segment.in = p;
    segment.out = p;
  }
  CHECK_CALL(sAIPath->SetPathSegments( editart, 0, 2, seg ));
  return kNoErr;
}

AIErr ReadMirtilPivot(AIArtHandle art, AIRealPoint* pivot) {
  AIDictionaryRef dict = nullptr;
  DictionaryRelease releaseDict(dict);
  CHECK_CALL(sAIArt->GetDictionary(art,&dict));
  int type = kMirtilInPlace;
  CHECK_CALL(ReadIntFromDict(dict,"Mir-Type",&type));
  AIReal coords[2] = {0, 0};
  if (type == kMirtilSweep) {
    CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnt-XY",2,coords));
  } else {
    CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnj-XY",2,coords));
  }
  const AIRealPoint base{coords[0], coords[1]};
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Off-XY",2,coords));
  pivot->h = base.h + coords[0];
  pivot->v = base.v + coords[1];
  return kNoErr;
}
