#include "ovaimirtilpig.h"

#include <cmath>
#include <cstring>

#include "framework/PluginSuites.h"
#include "framework/CheckedCall.h"
#include "MirtilPlugin.h"
#include "ovaiart.h"
#include "ovlog.h"
#include "ovmem.h"
#include "plugingeneral/ovaigeneral.h"
#include "plugingeneral/ovaiscoped.h"
#include "plugingeneral/ovaiselection.h"
#include "plugingeneral/ovaiuserdata.h"

namespace {


AIRealPoint PointOf(const AIReal* coords) { return {coords[0], coords[1]}; }

AIRealPoint Sum(AIRealPoint a, AIRealPoint b) { return {a.h + b.h, a.v + b.v}; }

// Points further out than this (in document points) overflow the cells'
// arithmetic; no document made with the tool comes near it.
constexpr AIReal kFarthestCoordinate = 1e7f;

bool InRange(AIReal value) { return std::isfinite(value) && std::fabs(value) <= kFarthestCoordinate; }
bool InRange(AIRealPoint p) { return InRange(p.h) && InRange(p.v); }

// The cells of a hexagon come in threes: a cell and two copies of it turned
// by one and two thirds of a turn, about cnj for triangles and about the
// centre for wedges.
AIErr AddTurnedCopiesAboutCnj(AIArtHandle clip, AIArtHandle reflgrp, AIRealPoint cnj) {
  AIArtHandle refl = nullptr;
  CHECK_CALL(DuplicateArt(clip,reflgrp,&refl));
  CHECK_CALL(RotateGroupAtPoint(refl,cnj.h,cnj.v,2.094395102));
  CHECK_CALL(DuplicateArt(clip,reflgrp,&refl));
  CHECK_CALL(RotateGroupAtPoint(refl,cnj.h,cnj.v,4.188790205));
  return kNoErr;
}

AIErr AddTurnedCopiesAboutCentre(AIArtHandle clip, AIArtHandle reflgrp, AIRealPoint centre) {
  AIArtHandle refl = nullptr;
  CHECK_CALL(DuplicateArt(clip,reflgrp,&refl));
  CHECK_CALL(RotateGroupAtPoint(refl,centre.h,centre.v,2.094395102));
  CHECK_CALL(DuplicateArt(clip,reflgrp,&refl));
  CHECK_CALL(RotateGroupAtPoint(refl,centre.h,centre.v,4.188790205));
  return kNoErr;
}

}  // namespace

AIErr MakeMirtilPIG(AIReal centreh, AIReal centrev, AIReal cnjh, AIReal cnjv,
                    AIPluginGroupHandle pig_handle) {
  int32_t type = kMirtilSweep;
  CHECK_CALL(sAIPreference->GetIntegerPreference("Mirtil","Type",&type));

  AIArtHandle thislayergrp = nullptr;
  if (const AIErr err = GetCurrentLayerGroup(&thislayergrp)) return err;

  AIArtHandle pig = nullptr;
  AIErr err = sAIArt->NewArt(kPluginArt, kPlaceInsideOnTop, thislayergrp, &pig);
  // Until the object is complete, every way out disposes of it.
  ArtDisposal unfinished(pig);
  if (err == kNoErr) err = sAIPluginGroup->UseAIPluginGroup(pig, pig_handle);
  if (err != kNoErr) return err;
  AIArtHandle edit = nullptr;
  err = sAIPluginGroup->GetPluginArtEditArt(pig, &edit);
  if (err != kNoErr) return err;

  AIArtHandle editpath = nullptr;
  if (const AIErr pathErr = NewPathArt(edit, &editpath)) return pathErr;
  const AIRealPoint pivot = (type == kMirtilSweep) ? AIRealPoint{centreh, centrev}
                                                   : AIRealPoint{cnjh, cnjv};
  if (!MakeLinePath(editpath, pivot.h, pivot.v, pivot.h, pivot.v)) return kOutOfMemoryErr;

  AIDictionaryRef dict = nullptr;
  DictionaryRelease releaseDict(dict);
  CHECK_CALL(sAIArt->GetDictionary(pig,&dict));
  AIReal coords[2] = {cnjh, cnjv};
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Cnj-XY",2,coords));
  coords[0] = centreh;
  coords[1] = centrev;
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Cnt-XY",2,coords));
  coords[0] = 0;
  coords[1] = 0;
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Off-XY",2,coords));
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Angle",1,coords));
  CHECK_CALL(WriteIntToDict(dict,"Mir-Type",type));

  const double dh = static_cast<double>(cnjh) - centreh;
  const double dv = static_cast<double>(cnjv) - centrev;
  const AIReal r = static_cast<AIReal>(std::sqrt(dh * dh + dv * dv));
  const AIRealRect bounds = {centreh - r, centrev + r, centreh + r, centrev - r};

  AILayerHandle layer = nullptr;
  CHECK_CALL(sAILayer->GetFirstLayer(&layer));
  int index = 0;
  while (layer) {
    AIDictKey objkey = SourceArtKey(index);
    CHECK_CALL(CopyLayerArtIntoDict(layer,&bounds,dict,objkey));
    if (sAIDictionary->IsKnown(dict, objkey)) index++;
    CHECK_CALL(sAILayer->GetNextLayer(layer,&layer));
  }
  if (!sAIDictionary->IsKnown(dict, SourceArtKey(0))) return kNoArtInRegionErr;

  releaseDict.ReleaseNow();
  unfinished.Keep();
  sAIPluginGroup->MarkPluginArtDirty(pig);
  return kNoErr;
}

bool IsMirtilPIG(AIArtHandle art) {
  if (ArtType(art) != kPluginArt) return false;
  const char* name = nullptr;
  if (sAIPluginGroup->GetPluginArtName(art, &name) != kNoErr || !name) {
    log_info("IsMirtilPIG - cant get plugin name");
    return false;
  }
  return std::strcmp(name, kMirtilPluginGroupName) == 0;
}

AIErr UpdatePigForTranslate(AIArtHandle pig) {
  AIArtHandle editgrp = nullptr;
  AIArtHandle editart = nullptr;
  AIPathSegment editpt{};
  CHECK_CALL(sAIPluginGroup->GetPluginArtEditArt(pig, &editgrp));
  CHECK_CALL(sAIArt->GetArtFirstChild(editgrp,&editart));
  CHECK_CALL(sAIPath->GetPathSegments(editart,0,1,&editpt));

  AIDictionaryRef dict = nullptr;
  DictionaryRelease releaseDict(dict);
  int32_t type = kMirtilInPlace;
  AIReal coords[2];
  CHECK_CALL(sAIArt->GetDictionary(pig,&dict));
  CHECK_CALL(ReadIntFromDict(dict,"Mir-Type",&type));
  if (type == kMirtilSweep) {
    CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnt-XY",2,coords));
  } else {
    CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnj-XY",2,coords));
  }
  coords[0] = editpt.p.h - coords[0];
  coords[1] = editpt.p.v - coords[1];
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Off-XY",2,coords));
  return kNoErr;
}

AIErr ReAlignMirtilPIG(AIArtHandle pig, AIReal starth, AIReal startv, AIReal endh, AIReal endv) {
  AIDictionaryRef dict = nullptr;
  DictionaryRelease releaseDict(dict);
  int32_t type = kMirtilInPlace;
  AIReal coords[2];
  CHECK_CALL(sAIArt->GetDictionary(pig,&dict));
  CHECK_CALL(ReadIntFromDict(dict,"Mir-Type",&type));
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnj-XY",2,coords));
  const AIRealPoint cnj = PointOf(coords);
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnt-XY",2,coords));
  const AIRealPoint centre = PointOf(coords);
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Off-XY",2,coords));
  const AIRealPoint offs = PointOf(coords);
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Angle",1,coords));
  const AIReal angle = coords[0];
  releaseDict.ReleaseNow();

  const AIRealPoint pivot = Sum(type == kMirtilSweep ? centre : cnj, offs);
  const AIRealPoint start = {starth, startv};
  const AIRealPoint end = {endh, endv};
  const AIReal delta = sAIRealMath->AIRealPointAngle(&end, &pivot) -
                       sAIRealMath->AIRealPointAngle(&start, &pivot);

  CHECK_CALL(sAIArt->GetDictionary(pig,&dict));
  coords[0] = angle + delta;
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Angle",1,coords));
  return kNoErr;
}

AIErr RotateMirtilPIG(AIArtHandle pig, AIReal step) {
  AIDictionaryRef dict = nullptr;
  DictionaryRelease releaseDict(dict);
  AIReal coords[1];
  CHECK_CALL(sAIArt->GetDictionary(pig,&dict));
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Angle",1,coords));
  coords[0] += step;
  CHECK_CALL(WriteFloatArrayToDict(dict,"Mir-Angle",1,coords));
  return kNoErr;
}

int GetSelectedMirtils(AIArtHandle** list) {
  return SelectedItems(kPluginArt, true, list, IsMirtilPIG);
}

int GetAllMirtils(AIArtHandle** list) {
  return SelectedItems(kPluginArt, false, list, IsMirtilPIG);
}

AIErr GetSingleSelMirtil(AIArtHandle* art) {
  if (!art) return RefuseBadArgs("GetSingleSelMirtil", kCantErr);
  AIArtHandle* list = nullptr;
  const int n = GetSelectedMirtils(&list);
  if (n <= 0) {
    log_info("Nothing selected in GetSingleSelMirtil");
    return kCantErr;
  }
  if (n > 1) {
    free_mem(list);
    log_info("Too many selected in GetSingleSelMirtil");
    return kCantErr;
  }
  *art = list[0];
  free_mem(list);
  return kNoErr;
}

AIErr goUpdateResultArt(AIPluginGroupMessage* message) {
  if (!message || ArtType(message->art) != kPluginArt) {
    log_info("Bad PluginArt in goUpdateResultArt\n");
    return kBadParameterErr;
  }
  AIArtHandle edit = nullptr;
  AIArtHandle result = nullptr;
  CHECK_CALL(sAIPluginGroup->GetPluginArtEditArt(message->art,&edit));
  CHECK_CALL(sAIPluginGroup->GetPluginArtResultArt(message->art,&result));
  if (ArtType(edit) != kGroupArt) {
    log_info("Bad edit group in goUpdateResultArt\n");
    return kBadParameterErr;
  }
  if (ArtType(result) != kGroupArt) {
    log_info("Bad result group in goUpdateResultArt\n");
    return kBadParameterErr;
  }
  CHECK_CALL(DeleteGroupContents(result));
  CHECK_CALL(GenerateResultArt(edit,result,message->art));
  return kNoErr;
}

AIErr MirtilPlugin::PluginGroupUpdate(AIPluginGroupMessage* message) {
  return goUpdateResultArt(message);
}

AIErr GenerateResultArt(AIArtHandle edit, AIArtHandle result, AIArtHandle pig) {
  int32_t majver = 0;
  int32_t minver = 0;
  CHECK_CALL(sAIPluginGroup->GetPluginArtVersion(pig,&majver,&minver));
  // Objects of plugin-group version 1.1 have no result art.
  if (majver == 1 && minver == 1) return kNoErr;

  AIArtHandle edititem = nullptr;
  CHECK_CALL(sAIArt->GetArtFirstChild(edit,&edititem));
  if (!edititem) {
    log_info("Edit group with no child in GenerateResultArt");
    return kCantErr;
  }
  CHECK_CALL(UpdatePigForTranslate(pig));

  // The entries are read and checked before anything is made: a document
  // read in may hold values out of all range, and an object whose points
  // are not numbers or lie beyond any drawing keeps its result group empty.
  AIDictionaryRef dict = nullptr;
  DictionaryRelease releaseDict(dict);
  AIReal coords[2];
  CHECK_CALL(sAIArt->GetDictionary(pig,&dict));
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Off-XY",2,coords));
  const AIRealPoint offs = PointOf(coords);
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnj-XY",2,coords));
  AIRealPoint cnj = Sum(PointOf(coords), offs);
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Cnt-XY",2,coords));
  const AIRealPoint centre = Sum(PointOf(coords), offs);
  CHECK_CALL(ReadFloatArrayFromDict(dict,"Mir-Angle",1,coords));
  const AIReal angle = coords[0];
  int32_t type = kMirtilInPlace;
  CHECK_CALL(ReadIntFromDict(dict,"Mir-Type",&type));
  if (!InRange(offs) || !InRange(centre) || !InRange(cnj) || !InRange(angle)) {
    log_info("Centre, cnj or angle out of range in GenerateResultArt");
    return kBadParameterErr;
  }

  AIArtHandle overall = CreateNewArt(kGroupArt, result);
  if (!overall) {
    log_info("Unable to create overall group in result art");
    return kOutOfMemoryErr;
  }
  AIArtHandle clip = CreateNewArt(kGroupArt, overall);
  if (!clip) {
    log_info("Unable to create clip group in result art");
    return kOutOfMemoryErr;
  }
  AIArtHandle reflgrp = CreateNewArt(kGroupArt, overall);
  if (!reflgrp) {
    log_info("Unable to create refl group in result art");
    return kOutOfMemoryErr;
  }

  CHECK_CALL(CopyDictArtToGroup(dict,clip,kPlaceInsideOnBottom));
  releaseDict.ReleaseNow();
  CHECK_CALL(TranslateArt(clip,offs));

  // Type 0 turns the art behind a fixed triangle; type 1 sweeps the wedge
  // over the art and turns the whole result back at the end.
  if (type != kMirtilSweep) {
    CHECK_CALL(RotateGroupAtPoint(clip,centre.h,centre.v,angle));
  } else {
    CHECK_CALL(RotatePointAroundPoint(centre,&cnj,angle));
  }

  AIArtHandle resitem = nullptr;
  CHECK_CALL(DuplicateArt(edititem,clip,&resitem));
  CHECK_CALL(sAIPath->SetPathSegmentCount(resitem,0));
  const bool outlined = (type != kMirtilSweep)
                            ? MakeTriangleSidesPath(resitem, centre.h, centre.v, cnj.h, cnj.v)
                            : MakeWedgePath(resitem, centre.h, centre.v, cnj.h, cnj.v);
  if (!outlined) return kOutOfMemoryErr;
  CHECK_CALL(sAIPath->SetPathClosed(resitem,true));

  AIPathStyle style{};
  sAIPathStyle->GetPathStyle(resitem, &style);
  style.fillPaint = false;
  style.strokePaint = false;
  style.clip = true;
  sAIPathStyle->SetPathStyle(resitem, &style);
  CHECK_CALL(sAIGroup->SetGroupClipped(clip,true));

  AIArtHandle refl = nullptr;
  if (type != kMirtilSweep) {
    if (const AIErr err = AddTurnedCopiesAboutCnj(clip, reflgrp, cnj)) return err;
    AIRealPoint vtx = cnj;
    CHECK_CALL(RotatePointAroundPoint(centre,&vtx,2.094395102));
    CHECK_CALL(DuplicateArt(clip,reflgrp,&refl));
    CHECK_CALL(MirrorGroupInPlaceAtLine(refl,cnj.h,cnj.v,vtx.h,vtx.v));
    clip = refl;
    return AddTurnedCopiesAboutCnj(clip, reflgrp, cnj);
  }
  if (const AIErr err = AddTurnedCopiesAboutCentre(clip, reflgrp, centre)) return err;
  CHECK_CALL(DuplicateArt(clip,reflgrp,&refl));
  CHECK_CALL(MirrorGroupInPlaceAtLine(refl,centre.h,centre.v,cnj.h,cnj.v));
  clip = refl;
  if (const AIErr err = AddTurnedCopiesAboutCentre(clip, reflgrp, centre)) return err;
  CHECK_CALL(RotateGroupAtPoint(overall,centre.h,centre.v,-1.0 * angle));
  return kNoErr;
}
