#include "ovaiart.h"

#include <cmath>
#include <cstdio>

#include "framework/PluginSuites.h"
#include "framework/CheckedCall.h"
#include "ovlog.h"
#include "plugingeneral/ovaigeneral.h"
#include "plugingeneral/ovaipathmanip.h"
#include "plugingeneral/ovaiscoped.h"

namespace {

// Turns of the construction paths, in single precision.
const AIReal kThirdTurn = 2.0943952f;
const AIReal kSixthTurn = 1.0471976f;

// Every matrix starts as the identity, so that a real-math call that leaves
// it unwritten turns nothing instead of reading undefined values.
const AIRealMatrix kIdentityMatrix = {1, 0, 0, 1, 0, 0};

// Past this index source entries are never read back.
const int kSourceEntryLimit = 1000;

// (1) translate by (-h, -v), (2) rotate by angle, (3) translate back.
AIRealMatrix RotationAboutPoint(AIReal h, AIReal v, double angle) {
  AIRealMatrix m = kIdentityMatrix;
  sAIRealMath->AIRealMatrixSetTranslate(&m, -h, -v);
  sAIRealMath->AIRealMatrixConcatRotate(&m, static_cast<AIReal>(angle));
  sAIRealMath->AIRealMatrixConcatTranslate(&m, h, v);
  return m;
}

AIRealPoint TurnedPoint(AIRealPoint centre, AIRealPoint pt, AIReal angle) {
  const AIRealMatrix m = RotationAboutPoint(centre.h, centre.v, angle);
  AIRealPoint turned = pt;
  sAIRealMath->AIRealMatrixXformPoint(&m, &pt, &turned);
  return turned;
}

AIPathSegment StraightSegment(AIRealPoint p) {
  AIPathSegment seg{};
  seg.p = p;
  seg.in = p;
  seg.out = p;
  seg.corner = true;
  return seg;
}

AIErr SetTwoSegmentPath(AIArtHandle art, const AIPathSegment* seg) {
  CHECK_CALL(sAIPath->SetPathSegments( art, 0, 2, seg ));
  CHECK_CALL(sAIPath->SetPathSegmentCount(art, 2));
  return kNoErr;
}

AIErr SetOpenThreeSegmentPath(AIArtHandle art, const AIPathSegment* seg) {
  CHECK_CALL(sAIPath->SetPathSegments( art, 0, 3, seg ));
  CHECK_CALL(sAIPath->SetPathSegmentCount(art, 3));
  CHECK_CALL(sAIPath->SetPathClosed(art,false));
  return kNoErr;
}

}  // namespace

AIErr TransformArt(AIArtHandle art, AIRealMatrix m) {
  const AIArtType type = ArtType(art);
  if (type == kGroupArt || type == kCompoundPathArt) {
    AIArtHandle h = nullptr;
    CHECK_CALL(sAIArt->GetArtFirstChild(art,&h));
    while (h) {
      CHECK_CALL(TransformArt(h,m));
      CHECK_CALL(sAIArt->GetArtSibling(h,&h));
    }
    return kNoErr;
  }
  CHECK_CALL(sAITransformArt->TransformArt(art,&m,1.0,((long) (1<<0))));
  return kNoErr;
}

AIErr RotateGroupAtPoint(AIArtHandle art, AIReal h, AIReal v, double angle) {
  return TransformArt(art, RotationAboutPoint(h, v, angle));
}

AIErr MirrorGroupInPlaceAtLine(AIArtHandle art, AIReal h1, AIReal v1, AIReal h2, AIReal v2) {
  const AIRealPoint first = {h1, v1};
  const AIRealPoint second = {h2, v2};
  const AIReal theta = sAIRealMath->AIRealPointAngle(&second, &first);
  AIRealMatrix m = kIdentityMatrix;
  sAIRealMath->AIRealMatrixSetTranslate(&m, -h1, -v1);
  sAIRealMath->AIRealMatrixConcatRotate(&m, -theta);
  sAIRealMath->AIRealMatrixConcatScale(&m, 1, -1);
  sAIRealMath->AIRealMatrixConcatRotate(&m, theta);
  sAIRealMath->AIRealMatrixConcatTranslate(&m, h1, v1);
  return TransformArt(art, m);
}

AIErr TranslateArt(AIArtHandle art, AIRealPoint offs) {
  AIRealMatrix m = kIdentityMatrix;
  sAIRealMath->AIRealMatrixSetTranslate(&m, offs.h, offs.v);
  return TransformArt(art, m);
}

AIErr RotatePointAroundPoint(AIRealPoint centre, AIRealPoint* pt, double angle) {
  if (!pt) return RefuseBadArgs("RotatePointAroundPoint");
  const AIRealMatrix m = RotationAboutPoint(centre.h, centre.v, angle);
  const AIRealPoint from = *pt;
  sAIRealMath->AIRealMatrixXformPoint(&m, &from, pt);
  return kNoErr;
}

AIErr GetCurrentLayerGroup(AIArtHandle* layergroup) {
  AIArtHandle thislayergrp = nullptr;
  CHECK_CALL(sAIArt->GetFirstArtOfLayer(0,&thislayergrp));
  if (!thislayergrp) {
    log_info("Unable to find correct layer");
    return kCantErr;
  }
  *layergroup = thislayergrp;
  return kNoErr;
}

AIErr NewPathArt(AIArtHandle ref, AIArtHandle* path) {
  *path = CreateNewArt(kPathArt, ref);
  if (!*path) {
    log_info("Unable to create path art");
    return kOutOfMemoryErr;
  }
  return kNoErr;
}

AIErr TempPathObj(AIArtHandle* art) {
  AIArtHandle layergroup = nullptr;
  AIArtHandle path = nullptr;
  if (const AIErr err = GetCurrentLayerGroup(&layergroup)) return err;
  if (const AIErr err = NewPathArt(layergroup, &path)) return err;
  if (art) *art = path;
  return kNoErr;
}

bool MakeLinePath(AIArtHandle art, AIReal ah, AIReal av, AIReal bh, AIReal bv) {
  const AIPathSegment seg[2] = {StraightSegment({ah, av}), StraightSegment({bh, bv})};
  return SetTwoSegmentPath(art, seg) == kNoErr;
}

bool MakeTriangleSidesPath(AIArtHandle art, AIReal ch, AIReal cv, AIReal ph, AIReal pv) {
  const AIRealPoint c = {ch, cv};
  const AIRealPoint p = {ph, pv};
  const AIPathSegment seg[3] = {StraightSegment(TurnedPoint(c, p, -kThirdTurn)), StraightSegment(p),
                                StraightSegment(TurnedPoint(c, p, kThirdTurn))};
  return SetOpenThreeSegmentPath(art, seg) == kNoErr;
}

bool MakeWedgePath(AIArtHandle art, AIReal ch, AIReal cv, AIReal ph, AIReal pv) {
  const AIRealPoint c = {ch, cv};
  const AIRealPoint p = {ph, pv};
  const AIPathSegment seg[3] = {StraightSegment(p), StraightSegment(c),
                                StraightSegment(TurnedPoint(c, p, kSixthTurn))};
  return SetOpenThreeSegmentPath(art, seg) == kNoErr;
}

bool MakeCirclePathThrough(AIArtHandle art, AIReal ch, AIReal cv, AIReal ph, AIReal pv) {
  const double dh = static_cast<double>(ph) - ch;
  const double dv = static_cast<double>(pv) - cv;
  const AIReal r = static_cast<AIReal>(std::sqrt(dh * dh + dv * dv));
  return MakeCirclePath(art, {ch, cv}, r);
}

AIDictKey SourceArtKey(int index) {
  char text[24];
  std::snprintf(text, sizeof text, kMirtilSourceKeyFormat, index);
  return sAIDictionary->Key(text);
}

AIErr CopyLayerArtIntoDict(AILayerHandle layer, const AIRealRect* bounds, AIDictionaryRef dict,
                           AIDictKey key) {
  AIArtHandle layergrp = nullptr;
  AIArtHandle lgcopy = nullptr;
  CHECK_CALL(sAIArt->GetFirstArtOfLayer(layer,&layergrp));
  CHECK_CALL(sAIArt->NewArt(kGroupArt,kPlaceInsideOnTop,layergrp,&lgcopy));
  // The temporary group must not outlive the capture, whatever fails.
  ArtDisposal temporary(lgcopy);
  CHECK_CALL(DuplicateChildren(layergrp,bounds,lgcopy));
  CHECK_CALL(PruneTreeOfUnwantedObjects(lgcopy,bounds));
  if (CountGroupChildren(lgcopy) != 0) {
    CHECK_CALL(sAIDictionary->CopyArtToEntry(dict,key,lgcopy));
  }
  temporary.Keep();
  CHECK_CALL(sAIArt->DisposeArt(lgcopy));
  return kNoErr;
}

AIErr DuplicateChildren(AIArtHandle fromgrp, const AIRealRect* bounds, AIArtHandle togrp) {
  if (ArtType(fromgrp) != kGroupArt || ArtType(togrp) != kGroupArt) {
    log_info("One of inputs isn't a group");
    return kBadParameterErr;
  }
  AIArtHandle curr = nullptr;
  CHECK_CALL(sAIArt->GetArtFirstChild(fromgrp,&curr));
  while (curr) {
    AIArtHandle next = nullptr;
    CHECK_CALL(sAIArt->GetArtSibling(curr,&next));
    if (curr != togrp && ArtIntersectsBounds(curr, bounds)) {
      AIArtHandle copy = nullptr;
      CHECK_CALL(sAIArt->DuplicateArt( curr, kPlaceInsideOnBottom, togrp, &copy ));
    }
    curr = next;
  }
  return kNoErr;
}

AIErr PruneTreeOfUnwantedObjects(AIArtHandle art, const AIRealRect* bounds) {
  if (!ArtIntersectsBounds(art, bounds)) return kNoErr;
  const AIArtType type = ArtType(art);
  if (type == kGroupArt) {
    AIBoolean layergrp = false;
    CHECK_CALL(sAIArt->IsArtLayerGroup(art,&layergrp));
    if (layergrp) {
      CHECK_CALL(sAILayer->ChangeLayerToGroup(0,art));
    }
    AIArtHandle curr = nullptr;
    CHECK_CALL(sAIArt->GetArtFirstChild(art,&curr));
    while (curr) {
      AIArtHandle next = nullptr;
      CHECK_CALL(sAIArt->GetArtSibling(curr,&next));
      CHECK_CALL(PruneTreeOfUnwantedObjects(curr,bounds));
      curr = next;
    }
  } else if (type == kPluginArt) {
    CHECK_CALL(sAIArt->DisposeArt(art));
  }
  return kNoErr;
}

bool ArtIntersectsBounds(AIArtHandle art, const AIRealRect* bounds) {
  if (!bounds) return true;
  AIRealRect artBounds;
  if (sAIArt->GetArtBounds(art, &artBounds) != kNoErr) return true;
  return sAIRealMath->AIRealRectOverlap(bounds, &artBounds);
}

int CountGroupChildren(AIArtHandle art) {
  if (ArtType(art) != kGroupArt) return 0;
  int count = 0;
  AIArtHandle curr = nullptr;
  CHECK_CALL(sAIArt->GetArtFirstChild(art,&curr));
  while (curr) {
    count++;
    AIArtHandle next = nullptr;
    CHECK_CALL(sAIArt->GetArtSibling(curr,&next));
    curr = next;
  }
  return count;
}

AIErr CopyDictArtToGroup(AIDictionaryRef dict, AIArtHandle group, AIPaintOrder paintOrder) {
  for (int n = 0; n + 1 < kSourceEntryLimit; n++) {
    AIArtHandle copy = nullptr;
    if (sAIDictionary->CopyEntryToArt(dict, SourceArtKey(n), paintOrder, group, &copy) != kNoErr) {
      break;
    }
  }
  return kNoErr;
}
