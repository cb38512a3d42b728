// Injected faults: by suite function, by host call number, on suite
// acquisition and on block allocation.
#include "HostCoreFixture.h"

using hostcore::FaultRepeat;

namespace {

class FaultTest : public HostCoreTest {
 protected:
  void SetUp() override { addLayer("Layer"); }
  hostcore::FaultInjector& faults() { return core_.faults(); }
};

TEST_F(FaultTest, AFunctionFailsOnItsNthCallOnly) {
  faults().failCall(kAIArtSuite, "NewArt", 2, kHostOutOfMemoryErr);
  AIArtHandle made = nullptr;
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kNoErr);
  AIArtHandle second = nullptr;
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &second), kHostOutOfMemoryErr);
  EXPECT_EQ(second, nullptr);  // nothing done
  EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kNoErr);
  EXPECT_EQ(children(layerGroup(nullptr)).size(), 2u);
  EXPECT_EQ(faults().faultsFired(), 1u);
}

TEST_F(FaultTest, AFunctionFailsOnEveryCallFromTheNth) {
  AIArtHandle a = newArt(kPathArt, kPlaceAboveAll, nullptr);
  faults().failCall(kAIArtSuite, "GetArtType", 2, kHostInjectedFaultErr, FaultRepeat::FromThenOn);
  AIArtType type;
  EXPECT_EQ(art->GetArtType(a, &type), kNoErr);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(art->GetArtType(a, &type), kHostInjectedFaultErr);
  faults().clear();
  EXPECT_EQ(art->GetArtType(a, &type), kNoErr);
}

TEST_F(FaultTest, FunctionsWithoutAnErrorCodeAnswerTheirFailureValue) {
  AIArtHandle a = newArt(kPathArt, kPlaceAboveAll, nullptr);
  faults().failCall(kAIArtSuite, "ValidArt");
  EXPECT_FALSE(art->ValidArt(a));
  faults().failCall(kAIDictionarySuite, "Key");
  EXPECT_EQ(dict->Key("Mir-Type"), nullptr);
  faults().failCall(kAIArtStyleSuite, "ArtHasNoStyle");
  EXPECT_FALSE(artStyle->ArtHasNoStyle(a));
  faults().failCall(kAIArraySuite, "Size");
  AIArrayRef values = nullptr;
  ASSERT_EQ(array->CreateArray(&values), kNoErr);
  EXPECT_EQ(array->Size(values), -1);
  faults().failCall(kAIRealMathSuite, "AIRealMatrixSetIdentity");
  AIRealMatrix m{2, 2, 2, 2, 2, 2};
  math->AIRealMatrixSetIdentity(&m);
  EXPECT_EQ(m.a, 2);  // untouched
  math->AIRealMatrixSetIdentity(&m);
  EXPECT_EQ(m.a, 1);
}

// Counts the calls of a small job, then fails each in turn: the job must
// report a failure every time and the document must stay sound.
TEST_F(FaultTest, FailingEachHostCallInTurnLeavesASoundDocument) {
  const auto job = [&]() -> AIErr {
    AIArtHandle g = nullptr, p = nullptr, copy = nullptr;
    AIDictionaryRef d = nullptr;
    if (AIErr err = art->NewArt(kGroupArt, kPlaceAboveAll, nullptr, &g)) return err;
    if (AIErr err = art->NewArt(kPathArt, kPlaceInsideOnTop, g, &p)) return err;
    const AIPathSegment s[2] = {{{0, 0}, {0, 0}, {0, 0}, false}, {{5, 5}, {5, 5}, {5, 5}, false}};
    if (AIErr err = path->SetPathSegments(p, 0, 2, s)) return err;
    if (AIErr err = art->GetDictionary(g, &d)) return err;
    AIDictKey key = dict->Key("Mir-Obj-000");
    if (key == nullptr) return kHostInjectedFaultErr;
    AIErr err = dict->CopyArtToEntry(d, key, g);
    if (err == kNoErr) err = dict->CopyEntryToArt(d, key, kPlaceInsideOnBottom, g, &copy);
    if (AIErr released = dict->Release(d)) return err != kNoErr ? err : released;
    return err;
  };
  const uint64_t before = faults().hostCalls();
  ASSERT_EQ(job(), kNoErr);
  const uint64_t calls = faults().hostCalls() - before;
  ASSERT_EQ(calls, 8u);
  for (uint64_t k = 1; k <= calls; ++k) {
    SCOPED_TRACE(k);
    faults().failHostCall(k, kHostOutOfMemoryErr);
    EXPECT_NE(job(), kNoErr);
    expectSound();
  }
  EXPECT_EQ(faults().faultsFired(), calls);
}

TEST_F(FaultTest, SuiteAcquisitionAndBlockAllocationCanBeMadeToFail) {
  faults().failAcquisition(kAIPathSuite, kHostSuiteNotFoundErr);
  const void* table = nullptr;
  EXPECT_EQ(core_.acquireSuite(kAIPathSuite, kAIPathSuiteVersion, &table), kHostSuiteNotFoundErr);
  EXPECT_EQ(table, nullptr);
  EXPECT_EQ(core_.acquireSuite(kAIArtSuite, kAIArtSuiteVersion, &table), kNoErr);
  EXPECT_EQ(core_.acquireSuite(kAIArtSuite, kAIArtSuiteVersion + 1, &table), kHostSuiteNotFoundErr);

  faults().failBlockAllocation(2);
  EXPECT_FALSE(faults().blockAllocationFails());
  EXPECT_TRUE(faults().blockAllocationFails());
  EXPECT_FALSE(faults().blockAllocationFails());
  faults().failBlockAllocation(1, FaultRepeat::FromThenOn);
  EXPECT_TRUE(faults().blockAllocationFails());
  EXPECT_TRUE(faults().blockAllocationFails());
}

TEST_F(FaultTest, AnotherActiveCoreRefusesThisCoresHandles) {
  AIArtHandle mine = newArt(kPathArt, kPlaceAboveAll, nullptr);
  hostcore::HostCore other;
  {
    hostcore::HostCore::Activation activation(other);
    AIArtType type = kUnknownArt;
    EXPECT_EQ(art->GetArtType(mine, &type), kHostStaleHandleErr);
    AIArtHandle made = nullptr;
    EXPECT_EQ(art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &made), kHostNoDocumentErr);
  }
  EXPECT_EQ(hostcore::HostCore::current(), &core_);
  EXPECT_TRUE(art->ValidArt(mine));
}

}  // namespace
