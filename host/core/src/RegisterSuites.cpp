#include "SuiteTables.h"
#include "hostcore/CoreSuites.h"

namespace hostcore {

namespace {

// Suites the plug-in acquires but never calls have no functions; they are
// handed out as this empty table.
const unsigned char kNoFunctions = 0;

}  // namespace

bool registerCoreSuites(SuiteRegistry& registry) {
  bool fresh = true;
  const auto add = [&](const char* name, int32_t version, const void* table) {
    fresh = registry.add(name, version, table) && fresh;
  };
  add(kAIArtSuite, kAIArtSuiteVersion, &kArtSuiteTable);
  add(kAIPathSuite, kAIPathSuiteVersion, &kPathSuiteTable);
  add(kAIGroupSuite, kAIGroupSuiteVersion, &kGroupSuiteTable);
  add(kAILayerSuite, kAILayerSuiteVersion, &kLayerSuiteTable);
  add(kAIDictionarySuite, kAIDictionarySuiteVersion, &kDictionarySuiteTable);
  add(kAIArraySuite, kAIArraySuiteVersion, &kArraySuiteTable);
  add(kAIArtSetSuite, kAIArtSetSuiteVersion, &kArtSetSuiteTable);
  add(kAIPathStyleSuite, kAIPathStyleSuiteVersion, &kPathStyleSuiteTable);
  add(kAIArtStyleSuite, kAIArtStyleSuiteVersion, &kArtStyleSuiteTable);
  add(kAIPluginGroupSuite, kAIPluginGroupSuiteVersion, &kPluginGroupSuiteTable);
  add(kAITransformArtSuite, kAITransformArtSuiteVersion, &kTransformArtSuiteTable);
  add(kAIRealMathSuite, kAIRealMathSuiteVersion, &kRealMathSuiteTable);
  add(kAIUndoSuite, kAIUndoSuiteVersion, &kUndoSuiteTable);

  add(kAIDocumentSuite, kAIDocumentSuiteVersion, &kNoFunctions);
  add(kAIHardSoftSuite, kAIHardSoftSuiteVersion, &kNoFunctions);
  add(kAITextFrameSuite, kAITextFrameSuiteVersion, &kNoFunctions);
  add(kAILegacyTextConversionSuite, kAILegacyTextConversionSuiteVersion, &kNoFunctions);
  add(kAIMatchingArtSuite, kAIMatchingArtSuiteVersion, &kNoFunctions);
  add(kAIMdMemorySuite, kAIMdMemorySuiteVersion, &kNoFunctions);
  add(kAIFilterSuite, kAIFilterSuiteVersion, &kNoFunctions);
  add(kAIBlendStyleSuite, kAIBlendStyleSuiteVersion, &kNoFunctions);
  add(kAIDictionaryIteratorSuite, kAIDictionaryIteratorSuiteVersion, &kNoFunctions);
  add(kAITagSuite, kAITagSuiteVersion, &kNoFunctions);
  add(kAIUserSuite, kAIUserSuiteVersion, &kNoFunctions);
  add(kAIRealBezierSuite, kAIRealBezierSuiteVersion, &kNoFunctions);
  add(kAIRasterSuite, kAIRasterSuiteVersion, &kNoFunctions);
  add(kAIHitTestSuite, kAIHitTestSuiteVersion, &kNoFunctions);
  add(kAIPathConstructionSuite, kAIPathConstructionSuiteVersion, &kNoFunctions);
  add(kAIActionManagerSuite, kAIActionManagerSuiteVersion, &kNoFunctions);
  add(kAIDocumentViewSuite, kAIDocumentViewSuiteVersion, &kNoFunctions);
  add(kAICommandManagerSuite, kAICommandManagerSuiteVersion, &kNoFunctions);
  add(kAIRasterizeSuite, kAIRasterizeSuiteVersion, &kNoFunctions);
#define HOSTCORE_ADD_ATE_SUITE(word) add("ATE " #word " Suite", kATESuiteVersion, &kNoFunctions);
  HOST_ATE_SUITE_WORDS(HOSTCORE_ADD_ATE_SUITE)
#undef HOSTCORE_ADD_ATE_SUITE
  return fresh;
}

}  // namespace hostcore
