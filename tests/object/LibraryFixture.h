// The mirror-tile routines called in this process against the stand-in
// host's suites, beside the started module (which registered the plugin
// group), with the diagnostic log collected so that error reports can be read.
#pragma once

#include <algorithm>
#include <memory>
#include <string>

#include "ObjectFixture.h"
#include "framework/HostSuiteSet.h"
#include "framework/PluginSuites.h"
#include "support_test_helpers.h"

class LibraryTest : public ObjectTest {
 protected:
  void SetUp() override {
    ObjectTest::SetUp();
    sSPBasic = const_cast<SPBasicSuite*>(host->basicSuite());
    suites = std::make_unique<HostSuites>();
    ASSERT_EQ(suites->AcquireResult(), kNoErr);
    HostSuites::SetAcquisitionCount(1);
    log = std::make_unique<LogCapture>();
  }
  void TearDown() override {
    log.reset();
    suites.reset();
    ObjectTest::TearDown();
  }

  AIPluginGroupHandle mirtilGroup() {
    const auto& groups = host->core().pluginGroups();
    for (uint32_t i = 0; i < groups.size(); ++i) {
      if (groups[i].name == kMirtilPluginGroupName) return host->core().pluginGroupHandle(i);
    }
    return nullptr;
  }

  // True when an error report named the call text.
  bool reported(const std::string& callText) const {
    const std::vector<std::string> texts = log->texts();
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
      return text.find("\t<" + callText + ">") != std::string::npos;
    });
  }
  bool logged(const std::string& line) const {
    const std::vector<std::string> texts = log->texts();
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& text) { return text.find(line) != std::string::npos; });
  }

  std::unique_ptr<HostSuites> suites;
  std::unique_ptr<LogCapture> log;
};

constexpr AIErr kBoom = HOST_FOURCC('B', 'O', 'O', 'M');
