#include "plugingeneral/ovaipathmanip.h"

#include "framework/PluginSuites.h"

namespace {

// Control distance of a quarter circle of radius 1 drawn as one cubic Bezier.
const double kCircleControlFactor = 0.5522847498;

AIPathSegment CircleSegment(AIReal h, AIReal v, AIReal inh, AIReal inv, AIReal outh, AIReal outv) {
  AIPathSegment seg{};
  seg.p = {h, v};
  seg.in = {inh, inv};
  seg.out = {outh, outv};
  seg.corner = false;
  return seg;
}

}  // namespace

bool MakeCirclePath(AIArtHandle path, AIRealPoint centre, AIReal radius) {
  const AIReal h = centre.h;
  const AIReal v = centre.v;
  const AIReal r = radius;
  const AIReal k = static_cast<AIReal>(kCircleControlFactor * radius);
  const AIPathSegment segs[4] = {
      CircleSegment(h + r, v, h + r, v - k, h + r, v + k),
      CircleSegment(h, v + r, h + k, v + r, h - k, v + r),
      CircleSegment(h - r, v, h - r, v + k, h - r, v - k),
      CircleSegment(h, v - r, h - k, v - r, h + k, v - r),
  };
  if (sAIPath->SetPathSegments(path, 0, 4, segs) != kNoErr) return false;
  return sAIPath->SetPathClosed(path, true) == kNoErr;
}
