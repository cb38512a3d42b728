#include "framework/HostSuiteSet.h"

#include "framework/PluginSuites.h"
#include "ovstr/ovstr.h"

SPBasicSuite* sSPBasic = nullptr;

const SPAccessSuite* sSPAccess = nullptr;
const SPPluginsSuite* sSPPlugins = nullptr;
const AINotifierSuite* sAINotifier = nullptr;
const AIContextSuite* sAIContext = nullptr;
const ADMBasicSuite* sADMBasic = nullptr;

const ADMDialogSuite* sADMDialog = nullptr;
const ADMIconSuite* sADMIcon = nullptr;
const SPBlocksSuite* sSPBlocks = nullptr;
const AIArtSuite* sAIArt = nullptr;
const AIDocumentSuite* sAIDocument = nullptr;
const AIRealMathSuite* sAIRealMath = nullptr;
const AIDictionarySuite* sAIDictionary = nullptr;
const AIHardSoftSuite* sAIHardSoft = nullptr;
const AITextFrameSuite* sAITextFrame = nullptr;
const AIPathSuite* sAIPath = nullptr;
const AIGroupSuite* sAIGroup = nullptr;
const AILayerSuite* sAILayer = nullptr;
const AIMenuSuite* sAIMenu = nullptr;
const AIUndoSuite* sAIUndo = nullptr;
const AILegacyTextConversionSuite* sAILegacyTextConversion = nullptr;
const AIMatchingArtSuite* sAIMatchingArt = nullptr;
const AIMdMemorySuite* sAIMdMemory = nullptr;
const AIFilterSuite* sAIFilter = nullptr;
const AIArtSetSuite* sAIArtSet = nullptr;
const AIPathStyleSuite* sAIPathStyle = nullptr;
const AIArtStyleSuite* sAIArtStyle = nullptr;
const AIBlendStyleSuite* sAIBlendStyle = nullptr;
const AIDictionaryIteratorSuite* sAIDictionaryIterator = nullptr;
const AIArraySuite* sAIArray = nullptr;
const AITagSuite* sAITag = nullptr;
const AITransformArtSuite* sAITransformArt = nullptr;
const AIPluginGroupSuite* sAIPluginGroup = nullptr;
const AIUserSuite* sAIUser = nullptr;
const AIRealBezierSuite* sAIRealBezier = nullptr;
const AIRasterSuite* sAIRaster = nullptr;
const AIHitTestSuite* sAIHitTest = nullptr;
const AIPathConstructionSuite* sAIPathConstruction = nullptr;
const AIActionManagerSuite* sAIActionManager = nullptr;
const AIDocumentViewSuite* sAIDocumentView = nullptr;
const AIToolSuite* sAITool = nullptr;
const AITimerSuite* sAITimer = nullptr;
const AICommandManagerSuite* sAICommandManager = nullptr;
const AIRasterizeSuite* sAIRasterize = nullptr;
const AIPreferenceSuite* sAIPreference = nullptr;
const ADMItemSuite* sADMItem = nullptr;
const ADMListSuite* sADMList = nullptr;
const ADMEntrySuite* sADMEntry = nullptr;
const ADMTrackerSuite* sADMTracker = nullptr;
const ADMNotifierSuite* sADMNotifier = nullptr;

#define MIRTIL_DEFINE_ATE_SUITE(word) const void* sATE##word = nullptr;
HOST_ATE_SUITE_WORDS(MIRTIL_DEFINE_ATE_SUITE)
#undef MIRTIL_DEFINE_ATE_SUITE

namespace {

// The basic suite writes the suite's address through an untyped place.
template <typename Suite>
const void** PlaceOf(const Suite*& pointer) {
  return reinterpret_cast<const void**>(&pointer);
}

#define MIRTIL_SUITE(name) {k##name##Suite, k##name##SuiteVersion, PlaceOf(s##name)}

const ImportedSuite kFrameworkSuites[] = {
    MIRTIL_SUITE(SPAccess), MIRTIL_SUITE(SPPlugins), MIRTIL_SUITE(AINotifier),
    MIRTIL_SUITE(AIContext), MIRTIL_SUITE(ADMBasic), {nullptr, 0, nullptr}};

#define MIRTIL_ATE_SUITE(word) {"ATE " #word " Suite", kATESuiteVersion, &sATE##word},

const ImportedSuite kProductSuites[] = {
    MIRTIL_SUITE(ADMDialog),
    MIRTIL_SUITE(ADMIcon),
    MIRTIL_SUITE(SPBlocks),
    MIRTIL_SUITE(AIArt),
    MIRTIL_SUITE(AIDocument),
    MIRTIL_SUITE(AIRealMath),
    MIRTIL_SUITE(AIDictionary),
    MIRTIL_SUITE(AIHardSoft),
    MIRTIL_SUITE(AITextFrame),
    MIRTIL_SUITE(AIPath),
    MIRTIL_SUITE(AIGroup),
    MIRTIL_SUITE(AILayer),
    MIRTIL_SUITE(AIMenu),
    MIRTIL_SUITE(AIUndo),
    MIRTIL_SUITE(AILegacyTextConversion),
    MIRTIL_SUITE(AIMatchingArt),
    MIRTIL_SUITE(AIMdMemory),
    MIRTIL_SUITE(AIFilter),
    MIRTIL_SUITE(AIArtSet),
    MIRTIL_SUITE(AIPathStyle),
    MIRTIL_SUITE(AIArtStyle),
    MIRTIL_SUITE(AIBlendStyle),
    MIRTIL_SUITE(AIDictionaryIterator),
    MIRTIL_SUITE(AIArray),
    MIRTIL_SUITE(AITag),
    MIRTIL_SUITE(AITransformArt),
    MIRTIL_SUITE(AIPluginGroup),
    MIRTIL_SUITE(AIUser),
    MIRTIL_SUITE(AIRealBezier),
    MIRTIL_SUITE(AIRaster),
    MIRTIL_SUITE(AIHitTest),
    MIRTIL_SUITE(AIPathConstruction),
    MIRTIL_SUITE(AIActionManager),
    MIRTIL_SUITE(AIDocumentView),
    MIRTIL_SUITE(AITool),
    MIRTIL_SUITE(AITimer),
    MIRTIL_SUITE(AICommandManager),
    MIRTIL_SUITE(AIRasterize),
    MIRTIL_SUITE(AIPreference),
    MIRTIL_SUITE(ADMItem),
    MIRTIL_SUITE(ADMList),
    MIRTIL_SUITE(ADMEntry),
    MIRTIL_SUITE(ADMTracker),
    MIRTIL_SUITE(ADMNotifier),
    HOST_ATE_SUITE_WORDS(MIRTIL_ATE_SUITE){nullptr, 0, nullptr}};

#undef MIRTIL_ATE_SUITE
#undef MIRTIL_SUITE

const ImportedSuite* const kSuiteLists[] = {kFrameworkSuites, kProductSuites};

int32_t acquisitionCount = 0;

AIErr AcquireOne(const ImportedSuite& entry) {
  if (!entry.place) return kNoErr;
  const AIErr result = sSPBasic->AcquireSuite(entry.name, entry.version, entry.place);
  if (result != kNoErr && sADMBasic) {
    // Without storage for the text the alert is skipped: the code still
    // reaches the host, and the suites already held are still given back.
    try {
      const OvStr alert("Error: %d, suite: %s, version: %d!", static_cast<int>(result), entry.name,
                        static_cast<int>(entry.version));
      sADMBasic->MessageAlert(alert.CStr());
    } catch (...) {
    }
  }
  return result;
}

AIErr ReleaseOne(const ImportedSuite& entry) {
  if (!entry.place || !*entry.place) return kNoErr;
  const AIErr result = sSPBasic->ReleaseSuite(entry.name, entry.version);
  *entry.place = nullptr;
  return result;
}

}  // namespace

HostSuites::HostSuites() : acquireResult_(AcquireAll()) {}

HostSuites::~HostSuites() { ReleaseAll(); }

int32_t HostSuites::AcquisitionCount() { return acquisitionCount; }

void HostSuites::SetAcquisitionCount(int32_t count) { acquisitionCount = count; }

AIErr HostSuites::AcquireAll() {
  if (acquisitionCount != 0) {
    acquisitionCount += 1;
    return kNoErr;
  }
  for (const ImportedSuite* list : kSuiteLists) {
    for (const ImportedSuite* entry = list; entry->name; ++entry) {
      const AIErr result = AcquireOne(*entry);
      if (result != kNoErr) return result;
    }
  }
  acquisitionCount += 1;
  return kNoErr;
}

AIErr HostSuites::ReleaseAll() {
  const int32_t before = acquisitionCount;
  acquisitionCount -= 1;
  if (before != 1) return kNoErr;
  for (const ImportedSuite* list : kSuiteLists) {
    for (const ImportedSuite* entry = list; entry->name; ++entry) {
      const AIErr result = ReleaseOne(*entry);
      if (result != kNoErr) return result;
    }
  }
  return kNoErr;
}
