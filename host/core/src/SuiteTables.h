// The core's suite tables, one definition each in the suite sources.
#pragma once

#include <algorithm>
#include <string>

#include "hostapi/HostSuites.h"

namespace hostcore {

extern const AIArtSuite kArtSuiteTable;
extern const AIPathSuite kPathSuiteTable;
extern const AIGroupSuite kGroupSuiteTable;
extern const AILayerSuite kLayerSuiteTable;
extern const AIDictionarySuite kDictionarySuiteTable;
extern const AIArraySuite kArraySuiteTable;
extern const AIArtSetSuite kArtSetSuiteTable;
extern const AIPathStyleSuite kPathStyleSuiteTable;
extern const AIArtStyleSuite kArtStyleSuiteTable;
extern const AIPluginGroupSuite kPluginGroupSuiteTable;
extern const AITransformArtSuite kTransformArtSuiteTable;
extern const AIRealMathSuite kRealMathSuiteTable;
extern const AIUndoSuite kUndoSuiteTable;

// Copies at most maxLength - 1 characters and a terminator.
inline AIErr copyText(const std::string& text, char* out, int32_t maxLength) {
  if (out == nullptr || maxLength < 1) return kHostBadParameterErr;
  const size_t n = std::min(text.size(), size_t(maxLength - 1));
  text.copy(out, n);
  out[n] = '\0';
  return kNoErr;
}

}  // namespace hostcore
