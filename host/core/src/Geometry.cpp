// Bounds and transformation of art.
#include <algorithm>
#include <cmath>

#include "hostapi/HostSuites.h"
#include "hostcore/Document.h"
#include "hostcore/MatrixMath.h"

namespace hostcore {

namespace {

constexpr AIRealRect kEmptyRect{HUGE_VALF, -HUGE_VALF, -HUGE_VALF, HUGE_VALF};

struct Extent {
  double left = HUGE_VAL, bottom = HUGE_VAL, right = -HUGE_VAL, top = -HUGE_VAL;

  void add(double h, double v) {
    left = std::min(left, h);
    right = std::max(right, h);
    bottom = std::min(bottom, v);
    top = std::max(top, v);
  }
  AIRealRect rect() const {
    if (left > right) return kEmptyRect;
    return AIRealRect{AIReal(left), AIReal(top), AIReal(right), AIReal(bottom)};
  }
};

void unite(AIRealRect& into, const AIRealRect& r) {
  into.left = std::min(into.left, r.left);
  into.right = std::max(into.right, r.right);
  into.top = std::max(into.top, r.top);
  into.bottom = std::min(into.bottom, r.bottom);
}

double cubicAt(double p0, double p1, double p2, double p3, double t) {
  const double u = 1 - t;
  return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// Parameters in (0, 1) where one coordinate of the cubic turns.
int cubicTurns(double p0, double p1, double p2, double p3, double t[2]) {
  const double a = -p0 + 3 * p1 - 3 * p2 + p3;
  const double b = 2 * (p0 - 2 * p1 + p2);
  const double c = p1 - p0;
  int count = 0;
  const auto keep = [&](double x) {
    if (x > 0 && x < 1) t[count++] = x;
  };
  if (std::fabs(a) < 1e-12) {
    if (std::fabs(b) > 1e-12) keep(-c / b);
    return count;
  }
  const double disc = b * b - 4 * a * c;
  if (disc < 0) return 0;
  const double root = std::sqrt(disc);
  keep((-b + root) / (2 * a));
  keep((-b - root) / (2 * a));
  return count;
}

void addCurve(Extent& extent, const AIPathSegment& from, const AIPathSegment& to) {
  const double h[4] = {from.p.h, from.out.h, to.in.h, to.p.h};
  const double v[4] = {from.p.v, from.out.v, to.in.v, to.p.v};
  extent.add(h[0], v[0]);
  extent.add(h[3], v[3]);
  double t[2];
  for (int i = 0, n = cubicTurns(h[0], h[1], h[2], h[3], t); i < n; ++i)
    extent.add(cubicAt(h[0], h[1], h[2], h[3], t[i]), cubicAt(v[0], v[1], v[2], v[3], t[i]));
  for (int i = 0, n = cubicTurns(v[0], v[1], v[2], v[3], t); i < n; ++i)
    extent.add(cubicAt(h[0], h[1], h[2], h[3], t[i]), cubicAt(v[0], v[1], v[2], v[3], t[i]));
}

AIRealRect pathBounds(const PathGeometry& path) {
  Extent extent;
  const std::vector<AIPathSegment>& s = path.segments;
  if (s.size() == 1) extent.add(s[0].p.h, s[0].p.v);
  for (size_t i = 0; i + 1 < s.size(); ++i) addCurve(extent, s[i], s[i + 1]);
  if (path.closed && s.size() > 1) addCurve(extent, s.back(), s.front());
  return extent.rect();
}

AIRealRect leafBounds(const LeafData& leaf) {
  Extent extent;
  const AIRealPoint corners[4] = {{leaf.box.left, leaf.box.top},
                                  {leaf.box.right, leaf.box.top},
                                  {leaf.box.right, leaf.box.bottom},
                                  {leaf.box.left, leaf.box.bottom}};
  for (const AIRealPoint& corner : corners) {
    const AIRealPoint p = transformPoint(leaf.matrix, corner);
    extent.add(p.h, p.v);
  }
  return extent.rect();
}

}  // namespace

AIRealRect Document::boundsOf(NodeIndex node) const {
  const ArtNode& n = tree_.node(node);
  switch (n.type) {
    case kPathArt:
      return pathBounds(n.path);
    case kPluginArt:
      return boundsOf(n.resultGroup);
    case kGroupArt:
    case kCompoundPathArt: {
      // A clipping group shows no more than its clipping paths.
      AIRealRect all = kEmptyRect, clips = kEmptyRect;
      bool clipFound = false;
      for (NodeIndex c = n.firstChild; c != kNoNode; c = tree_.node(c).next) {
        const AIRealRect r = boundsOf(c);
        unite(all, r);
        const uint32_t style = tree_.node(c).props->style;
        if (n.props->clipped && style != kNoIndex && styles_[style].pathStyle.clip) {
          unite(clips, r);
          clipFound = true;
        }
      }
      return clipFound ? clips : all;
    }
    default:
      return leafBounds(n.props->leaf);
  }
}

void Document::transformNode(NodeIndex node, const AIRealMatrix& matrix, AIReal lineScale, int32_t flags) {
  const ArtNode& n = tree_.node(node);
  if ((flags & kScaleLines) && n.props->style != kNoIndex) {
    ArtStyle scaled = styles_[n.props->style];
    if (scaled.pathStyle.strokePaint) {
      scaled.pathStyle.stroke.width *= lineScale;
      const uint32_t s = styles_.intern(scaled.pathStyle, scaled.paintData);
      if (s != n.props->style) journal_.editProps(node).style = s;
    }
  }
  const bool moves = (flags & kTransformObjects) != 0;
  switch (n.type) {
    case kPathArt:
      if (moves) {
        PathGeometry& path = journal_.editGeometry(node);
        path.segments.transform(matrix);
        if (!matrixFinite(matrix)) path.callerNonFinite = true;
      }
      break;
    case kPluginArt:
      transformNode(n.editGroup, matrix, lineScale, flags);
      transformNode(n.resultGroup, matrix, lineScale, flags);
      break;
    case kGroupArt:
    case kCompoundPathArt:
      for (NodeIndex c = n.firstChild; c != kNoNode; c = tree_.node(c).next) transformNode(c, matrix, lineScale, flags);
      break;
    default:
      if (moves) {
        LeafData& leaf = journal_.editProps(node).leaf;
        leaf.matrix = concatMatrices(leaf.matrix, matrix);
        if (!matrixFinite(matrix)) leaf.callerNonFinite = true;
      }
      break;
  }
}

}  // namespace hostcore
