#include "MirrorCells.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace hostfiles {

namespace {

using hostcore::ArtCopy;

struct Vec {
  double x, y;
};
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
double cross(Vec a, Vec b) { return a.x * b.y - a.y * b.x; }
double cross(Vec origin, Vec a, Vec b) { return cross(a - origin, b - origin); }

using Polygon = std::vector<Vec>;  // counter-clockwise

// The plug-in fills a hexagon with six cells; results of more are not its.
constexpr size_t kCellsOfAHexagon = 6;

double area(const Polygon& polygon) {
  double twice = 0;
  for (size_t i = 0; i < polygon.size(); ++i) twice += cross(polygon[i], polygon[(i + 1) % polygon.size()]);
  return twice / 2;
}

// The convex polygon of a closed path of straight segments, or an empty one.
Polygon convexPolygon(const ArtCopy& path) {
  if (path.type != kPathArt || !path.path.closed) return {};
  Polygon polygon;
  for (const AIPathSegment& segment : path.path.segments) {
    const bool straight = segment.in.h == segment.p.h && segment.in.v == segment.p.v && segment.out.h == segment.p.h &&
                          segment.out.v == segment.p.v;
    if (!straight || !std::isfinite(segment.p.h) || !std::isfinite(segment.p.v)) return {};
    const Vec p{segment.p.h, segment.p.v};
    if (polygon.empty() || p.x != polygon.back().x || p.y != polygon.back().y) polygon.push_back(p);
  }
  if (polygon.size() > 1 && polygon.front().x == polygon.back().x && polygon.front().y == polygon.back().y)
    polygon.pop_back();
  if (polygon.size() < 3) return {};
  if (area(polygon) < 0) std::reverse(polygon.begin(), polygon.end());
  for (size_t i = 0; i < polygon.size(); ++i) {
    const size_t n = polygon.size();
    if (cross(polygon[i], polygon[(i + 1) % n], polygon[(i + 2) % n]) < 0) return {};
  }
  return area(polygon) > 0 ? polygon : Polygon{};
}

Polygon convexHull(std::vector<Vec> points) {
  std::sort(points.begin(), points.end(), [](Vec a, Vec b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  Polygon hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k > 0 ? k - 1 : 0);
  return hull;
}

// Distance of `p` from the line through `a` and `b`, positive on its left.
double leftOf(Vec a, Vec b, Vec p) { return cross(a, b, p) / std::hypot(b.x - a.x, b.y - a.y); }

// The part of a convex polygon no further than `slack` right of the line.
Polygon clipToLeft(const Polygon& polygon, Vec a, Vec b, double slack) {
  Polygon kept;
  for (size_t i = 0; i < polygon.size(); ++i) {
    const Vec p = polygon[i], q = polygon[(i + 1) % polygon.size()];
    const double dp = leftOf(a, b, p) + slack, dq = leftOf(a, b, q) + slack;
    if (dp >= 0) kept.push_back(p);
    if ((dp >= 0) != (dq >= 0)) {
      const double t = dp / (dp - dq);
      kept.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y)});
    }
  }
  return kept;
}

struct Cell {
  ArtCopy* clipPath;
  Polygon polygon;
};

// The cell of a clipped group: its one clip path, a convex polygon.
bool addCell(ArtCopy& group, const std::function<bool(const ArtCopy&)>& isClipPath, std::vector<Cell>& cells) {
  if (group.type != kGroupArt || !group.props.clipped) return false;
  ArtCopy* clipPath = nullptr;
  for (ArtCopy& child : group.children) {
    if (!isClipPath(child)) continue;
    if (clipPath != nullptr) return false;
    clipPath = &child;
  }
  if (clipPath == nullptr) return false;
  Polygon polygon = convexPolygon(*clipPath);
  if (polygon.empty()) return false;
  cells.push_back({clipPath, std::move(polygon)});
  return true;
}

}  // namespace

bool widenMirrorCells(ArtCopy& result, double overlap, const std::function<bool(const ArtCopy&)>& isClipPath) {
  if (result.type != kGroupArt || result.children.size() != 1 || result.children[0].type != kGroupArt) return false;
  std::vector<Cell> cells;
  for (ArtCopy& child : result.children[0].children) {
    if (child.props.clipped) {
      if (!addCell(child, isClipPath, cells)) return false;
    } else if (child.type == kGroupArt) {
      for (ArtCopy& grandchild : child.children)
        if (!addCell(grandchild, isClipPath, cells)) return false;
    } else {
      return false;
    }
  }
  if (cells.size() < 2 || cells.size() > kCellsOfAHexagon) return false;

  std::vector<Vec> corners;
  double cellsArea = 0;
  for (const Cell& cell : cells) {
    corners.insert(corners.end(), cell.polygon.begin(), cell.polygon.end());
    cellsArea += area(cell.polygon);
  }
  const Polygon outline = convexHull(corners);
  // Coordinates are single precision: cells that meet may miss by that much.
  const double outlineArea = area(outline);
  if (outline.size() < 3 || std::abs(cellsArea - outlineArea) > 1e-4 * outlineArea) return false;
  double size = 0;
  for (const Vec corner : outline) size = std::max(size, std::hypot(corner.x - outline[0].x, corner.y - outline[0].y));
  const double tolerance = 1e-5 * size;

  const auto onOutline = [&](Vec a, Vec b) {
    for (size_t i = 0; i < outline.size(); ++i) {
      const Vec p = outline[i], q = outline[(i + 1) % outline.size()];
      if (std::abs(leftOf(p, q, a)) <= tolerance && std::abs(leftOf(p, q, b)) <= tolerance) return true;
    }
    return false;
  };
  for (Cell& cell : cells) {
    Polygon widened = outline;
    for (size_t i = 0; i < cell.polygon.size(); ++i) {
      const Vec a = cell.polygon[i], b = cell.polygon[(i + 1) % cell.polygon.size()];
      widened = clipToLeft(widened, a, b, onOutline(a, b) ? 0 : overlap);
    }
    std::vector<AIPathSegment> segments;
    for (const Vec corner : widened) {
      const AIRealPoint p{AIReal(corner.x), AIReal(corner.y)};
      segments.push_back(AIPathSegment{p, p, p, true});
    }
    cell.clipPath->path.segments = std::move(segments);
  }
  return true;
}

}  // namespace hostfiles
