// Failing host calls inside the making of an object and the generation of
// its result: each is reported with its call text, its code comes back
// unchanged, and nothing half-made is left in the document.

#include "LibraryFixture.h"
#include "hostapi/HostResources.h"
#include "hostlinked/LinkedModuleLoader.h"
#include "ovaimirtilpig.h"

extern "C" AIErr PluginMain(const char* caller, const char* selector, void* message);
extern "C" const ModuleResourceTable* ModuleResourceDirectory(void);

namespace {

struct InjectedFault {
  const char* suite;
  const char* function;
  uint64_t nth;
  std::vector<std::string> reports;  // call texts, innermost first
};

void PrintTo(const InjectedFault& fault, std::ostream* out) {
  *out << fault.suite << "::" << fault.function << " #" << fault.nth;
}

class MakeFaultTest : public LibraryTest, public ::testing::WithParamInterface<InjectedFault> {};

TEST_P(MakeFaultTest, IsReportedAndLeavesNoObject) {
  const AILayerHandle second = addLayer("Layer 2");
  addSquare(layer, 0, 0, 5);
  addSquare(second, 10, 0, 5);
  const size_t artBefore = children(layerGroup(layer)).size();
  const InjectedFault& fault = GetParam();
  faults().failCall(fault.suite, fault.function, fault.nth, kBoom);

  EXPECT_EQ(MakeMirtilPIG(0, 0, 100, 0, mirtilGroup()), kBoom);
  EXPECT_GT(faults().faultsFired(), 0u);
  for (const std::string& text : fault.reports) EXPECT_TRUE(reported(text)) << text;
  EXPECT_EQ(children(layerGroup(layer)).size(), artBefore);
  EXPECT_EQ(children(layerGroup(second)).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EachCheckedCall, MakeFaultTest,
    ::testing::Values(
        InjectedFault{kAIPreferenceSuite, "GetIntegerPreference", 1,
                      {"sAIPreference->GetIntegerPreference(\"Mirtil\",\"Type\",&type)"}},
        InjectedFault{kAIArtSuite, "GetFirstArtOfLayer", 1, {"sAIArt->GetFirstArtOfLayer(0,&thislayergrp)"}},
        InjectedFault{kAIArtSuite, "GetDictionary", 1, {"sAIArt->GetDictionary(pig,&dict)"}},
        InjectedFault{kAIArraySuite, "CreateArray", 1,
                      {"sAIArray->CreateArray(&arrref)", "WriteFloatArrayToDict(dict,\"Mir-Cnj-XY\",2,coords)"}},
        InjectedFault{kAIArraySuite, "SetRealEntry", 3,
                      {"sAIArray->SetRealEntry(arrref,lp,array[lp])",
                       "WriteFloatArrayToDict(dict,\"Mir-Cnt-XY\",2,coords)"}},
        InjectedFault{kAIDictionarySuite, "SetArrayEntry", 3,
                      {"sAIDictionary->SetArrayEntry (d,key,arrref)",
                       "WriteFloatArrayToDict(dict,\"Mir-Off-XY\",2,coords)"}},
        InjectedFault{kAIArraySuite, "InsertEntry", 7,
                      {"sAIArray->InsertEntry(arrref,lp)", "WriteFloatArrayToDict(dict,\"Mir-Angle\",1,coords)"}},
        InjectedFault{kAIDictionarySuite, "SetIntegerEntry", 1, {"WriteIntToDict(dict,\"Mir-Type\",type)"}},
        InjectedFault{kAILayerSuite, "GetFirstLayer", 1, {"sAILayer->GetFirstLayer(&layer)"}},
        InjectedFault{kAIArtSuite, "NewArt", 4,
                      {"sAIArt->NewArt(kGroupArt,kPlaceInsideOnTop,layergrp,&lgcopy)",
                       "CopyLayerArtIntoDict(layer,&bounds,dict,objkey)"}},
        InjectedFault{kAIArtSuite, "DuplicateArt", 1,
                      {"sAIArt->DuplicateArt( curr, kPlaceInsideOnBottom, togrp, &copy )",
                       "DuplicateChildren(layergrp,bounds,lgcopy)"}},
        InjectedFault{kAIArtSuite, "IsArtLayerGroup", 1,
                      {"sAIArt->IsArtLayerGroup(art,&layergrp)", "PruneTreeOfUnwantedObjects(lgcopy,bounds)"}},
        InjectedFault{kAIDictionarySuite, "CopyArtToEntry", 2,
                      {"sAIDictionary->CopyArtToEntry(dict,key,lgcopy)",
                       "CopyLayerArtIntoDict(layer,&bounds,dict,objkey)"}},
        InjectedFault{kAILayerSuite, "GetNextLayer", 2, {"sAILayer->GetNextLayer(layer,&layer)"}}));

class GenerateFaultTest : public LibraryTest, public ::testing::WithParamInterface<InjectedFault> {};

TEST_P(GenerateFaultTest, IsReportedAndAnsweredUnchanged) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  const InjectedFault& fault = GetParam();
  faults().failCall(fault.suite, fault.function, fault.nth, kBoom);

  AIPluginGroupMessage message{};
  message.art = pig;
  EXPECT_EQ(goUpdateResultArt(&message), kBoom);
  for (const std::string& text : fault.reports) EXPECT_TRUE(reported(text)) << text;
  EXPECT_TRUE(reported("GenerateResultArt(edit,result,message->art)"));
  EXPECT_EQ(reals(pig, kMirtilCnjKey), (std::vector<float>{100, 0}));
}

INSTANTIATE_TEST_SUITE_P(
    EachCheckedCall, GenerateFaultTest,
    ::testing::Values(
        InjectedFault{kAIPluginGroupSuite, "GetPluginArtVersion", 1,
                      {"sAIPluginGroup->GetPluginArtVersion(pig,&majver,&minver)"}},
        InjectedFault{kAIPathSuite, "GetPathSegments", 1,
                      {"sAIPath->GetPathSegments(editart,0,1,&editpt)", "UpdatePigForTranslate(pig)"}},
        InjectedFault{kAIArtSuite, "GetDictionary", 2, {"sAIArt->GetDictionary(pig,&dict)"}},
        InjectedFault{kAIArraySuite, "GetRealEntry", 3,
                      {"sAIArray->GetRealEntry(arrref,lp,array+lp)",
                       "ReadFloatArrayFromDict(dict,\"Mir-Off-XY\",2,coords)"}},
        InjectedFault{kAITransformArtSuite, "TransformArt", 1,
                      {"sAITransformArt->TransformArt(art,&m,1.0,((long) (1<<0)))", "TransformArt(h,m)",
                       "TranslateArt(clip,offs)"}},
        InjectedFault{kAIArraySuite, "GetRealEntry", 6, {"ReadFloatArrayFromDict(dict,\"Mir-Cnj-XY\",2,coords)"}},
        InjectedFault{kAIArraySuite, "GetRealEntry", 7, {"ReadFloatArrayFromDict(dict,\"Mir-Cnt-XY\",2,coords)"}},
        InjectedFault{kAIArraySuite, "GetRealEntry", 9, {"ReadFloatArrayFromDict(dict,\"Mir-Angle\",1,coords)"}},
        InjectedFault{kAIDictionarySuite, "GetIntegerEntry", 2, {"ReadIntFromDict(dict,\"Mir-Type\",&type)"}},
        InjectedFault{kAIArtSuite, "DuplicateArt", 1, {"DuplicateArt(edititem,clip,&resitem)"}},
        InjectedFault{kAIPathSuite, "SetPathSegmentCount", 1, {"sAIPath->SetPathSegmentCount(resitem,0)"}},
        InjectedFault{kAIPathSuite, "SetPathClosed", 2, {"sAIPath->SetPathClosed(resitem,true)"}},
        InjectedFault{kAIGroupSuite, "SetGroupClipped", 1, {"sAIGroup->SetGroupClipped(clip,true)"}},
        InjectedFault{kAIArtSuite, "DuplicateArt", 2, {"DuplicateArt(clip,reflgrp,&refl)"}},
        InjectedFault{kAITransformArtSuite, "TransformArt", 2,
                      {"RotateGroupAtPoint(refl,centre.h,centre.v,2.094395102)"}}));

TEST_F(LibraryTest, AFailingClipPathBuilderAnswersOutOfMemory) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  faults().failCall(kAIPathSuite, "SetPathClosed", 1, kBoom);
  AIPluginGroupMessage message{};
  message.art = pig;
  EXPECT_EQ(goUpdateResultArt(&message), HOST_FOURCC('!', 'M', 'E', 'M'));
  EXPECT_TRUE(reported("sAIPath->SetPathClosed(art,false)"));
}

TEST_F(LibraryTest, AnEmptyRegionAnswersNoArtAndLeavesTheDocumentAsItWas) {
  addSquare(layer, 500, 500, 5);
  EXPECT_EQ(MakeMirtilPIG(0, 0, 50, 0, mirtilGroup()), kNoArtInRegionErr);
  EXPECT_EQ(children(layerGroup(layer)).size(), 1u);
}

TEST_F(LibraryTest, AnObjectWithoutEditPathIsRefused) {
  const AIArtHandle pig = makeMirtil({0, 0}, {100, 0});
  ASSERT_NE(pig, nullptr);
  AIArtHandle edit = nullptr;
  ASSERT_EQ(doc().editGroup(pig, &edit), kNoErr);
  ASSERT_EQ(doc().disposeArt(children(edit)[0]), kNoErr);
  AIPluginGroupMessage message{};
  message.art = pig;
  EXPECT_EQ(goUpdateResultArt(&message), HOST_FOURCC('C', 'A', 'N', 'T'));
  EXPECT_TRUE(logged("Edit group with no child in GenerateResultArt"));
  AIArtHandle result = nullptr;
  ASSERT_EQ(doc().resultGroup(pig, &result), kNoErr);
  EXPECT_TRUE(children(result).empty());
}

// The plug-in linked into this program and driven by the host through its
// entry point, so that the reports of whole messages can be read: the
// start-up switches the log off, and the test switches it on again.
class LinkedPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.loadModule("linked")) << host.loadError();
    ASSERT_EQ(host.startup(), kNoErr);
    host.setDocumentOpen(true);
    log = std::make_unique<LogCapture>();
  }
  void TearDown() override {
    log.reset();
    host.shutdown();
    host.unload();
  }
  AIMenuItemHandle command() {
    for (size_t i = 0; i < host.menuItems().size(); ++i) {
      if (host.menuItems()[i].name == "Rotate Mirrortiles") return host.menuItemHandle(i);
    }
    return nullptr;
  }

  hostlinked::LinkedModuleLoader loader{&PluginMain, &ModuleResourceDirectory};
  hostapp::HostApplication host{loader};
  std::unique_ptr<LogCapture> log;
};

TEST_F(LinkedPluginTest, TheFirstAnimationStepIsReportedByItsCallText) {
  host.faults().failCall(kAITimerSuite, "SetTimerPeriod", 1, kBoom);
  EXPECT_EQ(host.chooseMenuItem(command()), std::optional<AIErr>(kBoom));
  const std::string reports = log->joined();
  EXPECT_NE(reports.find("\t<sAITimer->SetTimerPeriod(timer,60 * ms / 1000)>"), std::string::npos) << reports;
  EXPECT_NE(reports.find("\t<CallThisAfter(AutoRotateAllMirtils,500)>"), std::string::npos) << reports;
}

}  // namespace
