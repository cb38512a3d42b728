// The real math and transform art suites, in single precision.
#include <cmath>

#include "SuiteTables.h"
#include "hostcore/MatrixMath.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

// ---- AI Real Math Suite ----

void AIRealMatrixSetIdentity(AIRealMatrix* m) {
  HOSTCORE_ENTER_VOID(kAIRealMathSuite, "AIRealMatrixSetIdentity");
  if (m != nullptr) *m = identityMatrix();
}

void AIRealMatrixSetTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) {
  HOSTCORE_ENTER_VOID(kAIRealMathSuite, "AIRealMatrixSetTranslate");
  if (m != nullptr) *m = translateMatrix(tx, ty);
}

void AIRealMatrixConcatTranslate(AIRealMatrix* m, AIReal tx, AIReal ty) {
  HOSTCORE_ENTER_VOID(kAIRealMathSuite, "AIRealMatrixConcatTranslate");
  if (m != nullptr) *m = concatMatrices(*m, translateMatrix(tx, ty));
}

void AIRealMatrixConcatScale(AIRealMatrix* m, AIReal sh, AIReal sv) {
  HOSTCORE_ENTER_VOID(kAIRealMathSuite, "AIRealMatrixConcatScale");
  if (m != nullptr) *m = concatMatrices(*m, scaleMatrix(sh, sv));
}

void AIRealMatrixConcatRotate(AIRealMatrix* m, AIReal angle) {
  HOSTCORE_ENTER_VOID(kAIRealMathSuite, "AIRealMatrixConcatRotate");
  if (m != nullptr) *m = concatMatrices(*m, rotateMatrix(angle));
}

void AIRealMatrixXformPoint(const AIRealMatrix* m, const AIRealPoint* in, AIRealPoint* out) {
  HOSTCORE_ENTER_VOID(kAIRealMathSuite, "AIRealMatrixXformPoint");
  if (m != nullptr && in != nullptr && out != nullptr) *out = transformPoint(*m, *in);
}

AIReal AIRealPointAngle(const AIRealPoint* p1, const AIRealPoint* p2) {
  HOSTCORE_ENTER_OR(kAIRealMathSuite, "AIRealPointAngle", 0);
  if (p1 == nullptr || p2 == nullptr) return 0;
  return realAtan2(p2->v - p1->v, p2->h - p1->h);
}

AIBoolean AIRealPointClose(const AIRealPoint* p1, const AIRealPoint* p2, AIReal tolerance) {
  HOSTCORE_ENTER_OR(kAIRealMathSuite, "AIRealPointClose", false);
  if (p1 == nullptr || p2 == nullptr) return false;
  return std::hypot(p2->h - p1->h, p2->v - p1->v) <= tolerance;
}

AIBoolean AIRealRectOverlap(const AIRealRect* r1, const AIRealRect* r2) {
  HOSTCORE_ENTER_OR(kAIRealMathSuite, "AIRealRectOverlap", false);
  if (r1 == nullptr || r2 == nullptr) return false;
  return r1->left <= r2->right && r2->left <= r1->right && r1->bottom <= r2->top && r2->bottom <= r1->top;
}

// ---- AI Transform Art Suite ----

AIErr TransformArt(AIArtHandle art, AIRealMatrix* matrix, AIReal lineScale, int32_t flags) {
  HOSTCORE_ENTER(kAITransformArtSuite, "TransformArt");
  if (matrix == nullptr) return kHostBadParameterErr;
  return core->document().transformArt(art, *matrix, lineScale, flags);
}

}  // namespace

const AIRealMathSuite kRealMathSuiteTable = {
    AIRealMatrixSetIdentity, AIRealMatrixSetTranslate, AIRealMatrixConcatTranslate,
    AIRealMatrixConcatScale, AIRealMatrixConcatRotate, AIRealMatrixXformPoint,
    AIRealPointAngle,        AIRealPointClose,         AIRealRectOverlap,
};

const AITransformArtSuite kTransformArtSuiteTable = {TransformArt};

}  // namespace hostcore
