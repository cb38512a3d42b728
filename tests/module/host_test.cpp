// The stand-in host's refusal of modules it cannot drive, its property-list
// reader and its preferences store, without the real module.

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "MirtilNames.h"
#include "hostapp/HostApplication.h"

namespace {

// A property list: kind, interface version, entry point.
std::vector<unsigned char> PropertyList(const char kind[4], uint32_t version, const char* entry) {
  std::vector<unsigned char> bytes = {1, 0, 0, 0, 0, 0, 3, 0, 0, 0};
  const auto word = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(v >> (8 * i)));
  };
  const auto four = [](const char* c) {
    return (uint32_t(uint8_t(c[0])) << 24) | (uint32_t(uint8_t(c[1])) << 16) | (uint32_t(uint8_t(c[2])) << 8) |
           uint32_t(uint8_t(c[3]));
  };
  word(four("ADBE")), word(four("kind")), word(0), word(4), word(four(kind));
  word(four("ADBE")), word(four("ivrs")), word(0), word(4), word(version);
  const std::string name = entry;
  const uint32_t length = static_cast<uint32_t>((name.size() + 1 + 3) / 4 * 4);
  word(four("ADBE")), word(four("wx86")), word(0), word(length);
  for (uint32_t i = 0; i < length; ++i) bytes.push_back(i < name.size() ? static_cast<unsigned char>(name[i]) : 0);
  bytes.push_back(0);
  return bytes;
}

std::vector<unsigned char> Cut(std::vector<unsigned char> bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

std::vector<unsigned char> currentList;
ModuleResource currentResource;
ModuleResourceTable currentTable;

const ModuleResourceTable* Directory() {
  currentResource = {kResourcePropertyList, 16000, 1033, currentList.data(), static_cast<uint32_t>(currentList.size())};
  currentTable = {1, &currentResource};
  return &currentTable;
}

AIErr EntryPoint(const char*, const char*, void*) { return kNoErr; }

class FakeModule : public hostapp::LoadedModule {
 public:
  void* findSymbol(const char* name) const override {
    if (std::string(name) == "PluginMain") return reinterpret_cast<void*>(&EntryPoint);
    return nullptr;
  }
  void* nativeHandle() const override { return nullptr; }
  const ModuleResourceTable* resources() const override { return Directory(); }
};

class FakeLoader : public hostapp::ModuleLoader {
 public:
  std::unique_ptr<hostapp::LoadedModule> load(const std::string&, std::string&) override {
    return std::make_unique<FakeModule>();
  }
};

struct Refusal {
  std::vector<unsigned char> list;
  const char* reason;
};

TEST(HostApplication, RefusesModulesItCannotDrive) {
  const std::vector<Refusal> refusals = {
      {PropertyList("SPEX", 2, "PluginMain"), "is not a plug-in (its kind is 'SPEX')"},
      {PropertyList("SPEA", 3, "PluginMain"), "speaks interface version 3, the host speaks 2"},
      {PropertyList("SPEA", 2, ""), "names no entry point"},
      {PropertyList("SPEA", 2, "OtherMain"), "does not export its entry point OtherMain"},
      {Cut(PropertyList("SPEA", 2, "PluginMain"), 66), "property list cut short in the data of property 3"},
      {Cut(PropertyList("SPEA", 2, "PluginMain"), 40), "property list cut short in property 2"},
      {Cut(PropertyList("SPEA", 2, "PluginMain"), 9), "property list too short for its header"}};
  FakeLoader loader;
  hostapp::HostApplication host(loader);
  for (const Refusal& refusal : refusals) {
    currentList = refusal.list;
    EXPECT_FALSE(host.loadModule("fake.aip"));
    EXPECT_EQ(host.loadError(), std::string("fake.aip: ") + refusal.reason);
    EXPECT_THROW(host.sendPlainMessage(kSPInterfaceCaller, kSPInterfaceStartupSelector), std::logic_error);
  }
  currentList = PropertyList("SPEA", 2, "PluginMain");
  EXPECT_TRUE(host.loadModule("fake.aip")) << host.loadError();
  EXPECT_EQ(host.sendPlainMessage(kSPInterfaceCaller, kSPInterfaceStartupSelector), kNoErr);
}

TEST(HostApplication, BasicSuiteCountsBlocksAndRefusesForeignOnes) {
  FakeLoader loader;
  hostapp::HostApplication host(loader);
  const SPBasicSuite* basic = host.basicSuite();
  void* block = nullptr;
  ASSERT_EQ(basic->AllocateBlock(16, &block), kNoErr);
  EXPECT_EQ(host.liveBlocks(), 1u);
  int local = 0;
  EXPECT_NE(basic->FreeBlock(&local), kNoErr);
  EXPECT_EQ(basic->FreeBlock(block), kNoErr);
  EXPECT_EQ(host.liveBlocks(), 0u);
  host.faults().failBlockAllocation(1);
  EXPECT_EQ(basic->AllocateBlock(16, &block), kHostOutOfMemoryErr);
  EXPECT_EQ(block, nullptr);

  const void* table = nullptr;
  EXPECT_EQ(basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kHostSuiteBusyErr);
  ASSERT_EQ(basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion, &table), kNoErr);
  EXPECT_NE(table, nullptr);
  EXPECT_EQ(host.suiteHoldCount(kAIMenuSuite), 1);
  EXPECT_EQ(basic->AcquireSuite(kAIMenuSuite, kAIMenuSuiteVersion + 1, &table), kHostSuiteNotFoundErr);
  EXPECT_EQ(basic->ReleaseSuite(kAIMenuSuite, kAIMenuSuiteVersion), kNoErr);
  EXPECT_EQ(host.suitesHeld(), 0);
  EXPECT_TRUE(basic->IsEqual("AI Go", "AI Go"));
  EXPECT_FALSE(basic->IsEqual("AI Go", "AI Gone"));
  EXPECT_FALSE(basic->IsEqual(nullptr, "AI Go"));
}

TEST(Preferences, SaveAndLoadRoundTripAndStopAtABadLine) {
  hostapp::Preferences preferences;
  preferences.put(kMirtilPrefsSection, kMirtilStepsPref, 90);
  preferences.put(kMirtilPrefsSection, kMirtilDelayPref, -5);
  std::stringstream saved;
  preferences.save(saved);

  hostapp::Preferences loaded;
  ASSERT_TRUE(loaded.load(saved));
  int32_t value = 0;
  ASSERT_TRUE(loaded.get(kMirtilPrefsSection, kMirtilDelayPref, value));
  EXPECT_EQ(value, -5);
  ASSERT_TRUE(loaded.get(kMirtilPrefsSection, kMirtilStepsPref, value));
  EXPECT_EQ(value, 90);
  EXPECT_FALSE(loaded.get(kMirtilPrefsSection, kMirtilTypePref, value));

  std::stringstream bad("Mirtil/Type=1\nno separator here\nMirtil/Other=2\n");
  hostapp::Preferences partial;
  EXPECT_FALSE(partial.load(bad));
  EXPECT_TRUE(partial.get(kMirtilPrefsSection, kMirtilTypePref, value));
  EXPECT_FALSE(partial.get("Mirtil", "Other", value));
}

}  // namespace
