// The host's affine matrices, in single precision as the host's reals
// are. A step appended to a matrix acts after the steps already in it.
#pragma once

#include <cmath>

#include "hostapi/HostTypes.h"

namespace hostcore {

inline AIRealMatrix identityMatrix() { return AIRealMatrix{1, 0, 0, 1, 0, 0}; }

inline AIRealPoint transformPoint(const AIRealMatrix& m, AIRealPoint p) {
  return AIRealPoint{m.a * p.h + m.c * p.v + m.tx, m.b * p.h + m.d * p.v + m.ty};
}

// `first` acts on a point, then `then`.
inline AIRealMatrix concatMatrices(const AIRealMatrix& first, const AIRealMatrix& then) {
  AIRealMatrix r;
  r.a = then.a * first.a + then.c * first.b;
  r.b = then.b * first.a + then.d * first.b;
  r.c = then.a * first.c + then.c * first.d;
  r.d = then.b * first.c + then.d * first.d;
  r.tx = then.a * first.tx + then.c * first.ty + then.tx;
  r.ty = then.b * first.tx + then.d * first.ty + then.ty;
  return r;
}

inline AIRealMatrix translateMatrix(AIReal tx, AIReal ty) { return AIRealMatrix{1, 0, 0, 1, tx, ty}; }
inline AIRealMatrix scaleMatrix(AIReal sh, AIReal sv) { return AIRealMatrix{sh, 0, 0, sv, 0, 0}; }
// Sine, cosine and direction in single precision, worked out in long
// double: the C libraries of Linux and Windows round their single-precision
// functions differently in the last bit, while their long double ones
// agree, so the host turns art to the same bits on either system.
inline AIReal realSin(AIReal angle) { return static_cast<AIReal>(std::sin(static_cast<long double>(angle))); }
inline AIReal realCos(AIReal angle) { return static_cast<AIReal>(std::cos(static_cast<long double>(angle))); }
inline AIReal realAtan2(AIReal y, AIReal x) {
  return static_cast<AIReal>(std::atan2(static_cast<long double>(y), static_cast<long double>(x)));
}

inline AIRealMatrix rotateMatrix(AIReal angle) {
  const AIReal c = realCos(angle);
  const AIReal s = realSin(angle);
  return AIRealMatrix{c, s, -s, c, 0, 0};
}

inline bool matrixFinite(const AIRealMatrix& m) {
  return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) && std::isfinite(m.tx) &&
         std::isfinite(m.ty);
}

inline bool pointFinite(const AIRealPoint& p) { return std::isfinite(p.h) && std::isfinite(p.v); }

inline bool segmentFinite(const AIPathSegment& s) {
  return pointFinite(s.p) && pointFinite(s.in) && pointFinite(s.out);
}

}  // namespace hostcore
