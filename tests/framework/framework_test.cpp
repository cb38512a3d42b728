// The framework in-process: the dispatch table with a recording plug-in
// object, the entry point's object life, and the checked call's report.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/CheckedCall.h"
#include "framework/Plugin.h"
#include "framework/PluginSuites.h"
#include "ovlog.h"
#include "platform/platform_host.h"

namespace {

std::vector<std::string> calls;
AIErr answer = kNoErr;
bool purgeFrees = false;
bool notifyThrows = false;

class RecordingPlugin : public Plugin {
 public:
  using Plugin::Plugin;
  ~RecordingPlugin() override { calls.push_back("destroyed"); }

#define RECORD(Operation, Message)          \
  AIErr Operation(Message*) override {      \
    calls.push_back(#Operation);            \
    return answer;                          \
  }
  RECORD(Startup, SPInterfaceMessage)
  RECORD(Shutdown, SPInterfaceMessage)
  RECORD(Unload, SPAccessMessage)
  RECORD(Reload, SPAccessMessage)
  RECORD(AcquireProperty, SPInterfaceMessage)
  RECORD(ReleaseProperty, SPInterfaceMessage)
  RECORD(About, SPInterfaceMessage)
  RECORD(GoMenu, AIMenuMessage)
  RECORD(UpdateMenu, AIMenuMessage)
  RECORD(GetFilterParameters, SPInterfaceMessage)
  RECORD(GoFilter, SPInterfaceMessage)
  RECORD(PluginGroupNotify, AIPluginGroupMessage)
  RECORD(PluginGroupUpdate, AIPluginGroupMessage)
  RECORD(GetFileFormatParameters, SPInterfaceMessage)
  RECORD(GoFileFormat, SPInterfaceMessage)
  RECORD(CheckFileFormat, SPInterfaceMessage)
  RECORD(EditToolOptions, AIToolMessage)
  RECORD(TrackToolCursor, AIToolMessage)
  RECORD(ToolMouseDown, AIToolMessage)
  RECORD(ToolMouseDrag, AIToolMessage)
  RECORD(ToolMouseUp, AIToolMessage)
  RECORD(SelectTool, AIToolMessage)
  RECORD(DeselectTool, AIToolMessage)
  RECORD(ReselectTool, AIToolMessage)
  RECORD(EditLiveEffectParameters, SPInterfaceMessage)
  RECORD(GoLiveEffect, SPInterfaceMessage)
  RECORD(InterpolateLiveEffectParameters, SPInterfaceMessage)
  RECORD(GetLiveEffectInputType, SPInterfaceMessage)
  RECORD(GoTimer, AITimerMessage)
#undef RECORD

  AIErr ApplicationStarted() override {
    calls.push_back("ApplicationStarted");
    return answer;
  }
  AIErr Notify(AINotifierMessage*) override {
    calls.push_back("Notify");
    if (notifyThrows) throw std::runtime_error("out of storage");
    return answer;
  }
  bool Purge() override {
    calls.push_back("Purge");
    return purgeFrees;
  }
};

AIBoolean Equal(const char* a, const char* b) { return std::strcmp(a, b) == 0; }
SPBasicSuite basic = {nullptr, nullptr, Equal, nullptr, nullptr};

int contextDepth = 0;
AIErr Push(SPPluginRef, AIAppContextHandle* context) {
  *context = reinterpret_cast<AIAppContextHandle>(static_cast<uintptr_t>(++contextDepth));
  return kNoErr;
}
AIErr Pop(AIAppContextHandle) {
  --contextDepth;
  return kNoErr;
}
const AIContextSuite contextSuite = {Push, Pop};

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    answer = kNoErr;
    purgeFrees = false;
    notifyThrows = false;
    message = {};
    message.d.basic = &basic;
    sAIContext = nullptr;
    contextDepth = 0;
  }
  void TearDown() override {
    // Leaves no object behind for the next test.
    if (message.d.globals) Send(kSPAccessCaller, kSPAccessUnloadSelector);
    sAIContext = nullptr;
  }
  AIErr Send(const char* caller, const char* selector) {
    calls.clear();
    return PluginMain(caller, selector, &message);
  }
  AINotifierMessage message;
};

struct Route {
  const char* caller;
  const char* selector;
  const char* operation;
};

TEST_F(Dispatch, EveryCallerAndSelectorReachesItsOperation) {
  const Route routes[] = {
      {"SP Access", "Reload", "Reload"},
      {"SP Interface", "About", "About"},
      {"SP Interface", "Startup", "Startup"},
      {"SP Interface", "Shutdown", "Shutdown"},
      {"SP Cache", "Plug-in Purge", "Purge"},
      {"SP Properties", "Acquire", "AcquireProperty"},
      {"SP Properties", "Release", "ReleaseProperty"},
      {"AI Menu", "AI Go", "GoMenu"},
      {"AI Menu", "AI Update", "UpdateMenu"},
      {"AI Filter", "AI Get Parameters", "GetFilterParameters"},
      {"AI Filter", "AI Go", "GoFilter"},
      {"AI Plugin Group", "AI Notify Edits", "PluginGroupNotify"},
      {"AI Plugin Group", "AI Update", "PluginGroupUpdate"},
      {"AI File Format", "AI Get Parameters", "GetFileFormatParameters"},
      {"AI File Format", "AI Go", "GoFileFormat"},
      {"AI File Format", "AI Check", "CheckFileFormat"},
      {"AI Tool", "AI Edit Options", "EditToolOptions"},
      {"AI Tool", "AI Track Cursor", "TrackToolCursor"},
      {"AI Tool", "AI Mouse Down", "ToolMouseDown"},
      {"AI Tool", "AI Mouse Drag", "ToolMouseDrag"},
      {"AI Tool", "AI Mouse Up", "ToolMouseUp"},
      {"AI Tool", "AI Select", "SelectTool"},
      {"AI Tool", "AI Deselect", "DeselectTool"},
      {"AI Tool", "AI Reselect", "ReselectTool"},
      {"AI Live Effect", "AI Live Effect Edit Parameters", "EditLiveEffectParameters"},
      {"AI Live Effect", "AI Live Effect Go Live", "GoLiveEffect"},
      {"AI Live Effect", "AI Live Effect Interpolate Parameters", "InterpolateLiveEffectParameters"},
      {"AI Live Effect", "AI Live Effect Input Type", "GetLiveEffectInputType"},
      {"AI Timer", "AI Go", "GoTimer"},
      {"SP Access", "Unload", "Unload"},
  };
  for (const Route& route : routes) {
    answer = HOST_FOURCC('c', 'o', 'd', 'e');
    const AIErr result = Send(route.caller, route.selector);
    ASSERT_FALSE(calls.empty()) << route.caller << " / " << route.selector;
    EXPECT_EQ(calls[0], route.operation) << route.caller << " / " << route.selector;
    if (std::string(route.operation) != "Purge") {
      EXPECT_EQ(result, answer) << route.operation;
    }
  }
}

TEST_F(Dispatch, UnknownMessagesAnswerUnhandledAndCallNothing) {
  ASSERT_EQ(Send("SP Interface", "Startup"), kNoErr);
  EXPECT_EQ(Send("No Such Caller", "AI Go"), kUnhandledMessageErr);
  EXPECT_TRUE(calls.empty());
  for (const char* caller : {"SP Access", "SP Interface", "SP Cache", "AI Menu", "AI Tool", "AI Timer"}) {
    EXPECT_EQ(Send(caller, "No Such Selector"), kUnhandledMessageErr) << caller;
    EXPECT_TRUE(calls.empty()) << caller;
  }
}

TEST_F(Dispatch, PurgeAnswersCachesFlushedOnlyWhenItFreedMemory) {
  EXPECT_EQ(Send("SP Cache", "Plug-in Purge"), kNoErr);
  purgeFrees = true;
  EXPECT_EQ(Send("SP Cache", "Plug-in Purge"), kCachesFlushedErr);
}

TEST_F(Dispatch, NotifierPushesAndPopsTheContextAroundItsOperations) {
  sAIContext = &contextSuite;
  message.type = kAIApplicationStartedNotifier;
  EXPECT_EQ(Send("AI Notifier", "AI Notify"), kNoErr);
  EXPECT_EQ(calls, (std::vector<std::string>{"ApplicationStarted", "Notify"}));
  EXPECT_EQ(contextDepth, 0);

  // A failing ApplicationStarted keeps Notify from running.
  answer = HOST_FOURCC('f', 'a', 'i', 'l');
  EXPECT_EQ(Send("AI Notifier", "AI Notify"), answer);
  EXPECT_EQ(calls, (std::vector<std::string>{"ApplicationStarted"}));

  answer = kNoErr;
  message.type = "AI Other Notifier";
  EXPECT_EQ(Send("AI Notifier", "AI Something"), kUnhandledMessageErr);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(contextDepth, 0);

  // An exception passing through still pops, and the host gets 'PARM'.
  notifyThrows = true;
  EXPECT_EQ(Send("AI Notifier", "AI Notify"), kBadParameterErr);
  EXPECT_EQ(contextDepth, 0);
}

TEST_F(Dispatch, UnloadDestroysTheObjectAndAFailingReloadToo) {
  ASSERT_EQ(Send("SP Interface", "Startup"), kNoErr);
  void* object = message.d.globals;
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(Send("SP Access", "Unload"), kNoErr);
  EXPECT_EQ(calls, (std::vector<std::string>{"Unload", "destroyed"}));
  EXPECT_EQ(message.d.globals, nullptr);

  // The old pointer handed back after the unload is refused untouched.
  message.d.globals = object;
  EXPECT_EQ(Send("AI Menu", "AI Go"), kBadParameterErr);
  EXPECT_TRUE(calls.empty());
  message.d.globals = nullptr;

  answer = HOST_FOURCC('f', 'a', 'i', 'l');
  EXPECT_EQ(Send("SP Access", "Reload"), answer);
  EXPECT_EQ(calls, (std::vector<std::string>{"Reload", "destroyed"}));
  EXPECT_EQ(message.d.globals, nullptr);

  // A failing start-up keeps the object.
  EXPECT_EQ(Send("SP Interface", "Startup"), answer);
  EXPECT_EQ(calls, (std::vector<std::string>{"Startup"}));
  EXPECT_NE(message.d.globals, nullptr);
}

// ---- Checked calls -------------------------------------------------------

std::vector<std::string> logged;

void Capture(PlatformOutputKind, const char* text, void*) {
  // Keep what follows the entry's prefix, without the line feed.
  std::string line = text;
  const std::size_t start = line.find("(): ");
  line = start == std::string::npos ? line : line.substr(start + 4);
  if (!line.empty() && line.back() == '\n') line.pop_back();
  logged.push_back(line);
}

AIErr ReturnCode(AIErr code) { return code; }

#define kShiftedAway 0

int plainLine = 0;
AIErr PlainCheck(AIErr code) {
  plainLine = __LINE__ + 1;
  CHECK_CALL(ReturnCode(code + kShiftedAway));
  return HOST_FOURCC('n', 'o', 'n', 'e');
}

int describedLine = 0;
AIErr DescribedCheck(AIErr code) {
  describedLine = __LINE__ + 1;
  CHECK_CALL_DESC("Unable to get art bbox", ReturnCode(code));
  return HOST_FOURCC('n', 'o', 'n', 'e');
}

class CheckedCall : public ::testing::Test {
 protected:
  void SetUp() override {
    logged.clear();
    platform_set_output_sink(Capture, nullptr);
    set_log_output(LOG_TO_DEBUGGER, nullptr);
  }
  void TearDown() override {
    set_log_output(LOG_TO_NOWHERE, nullptr);
    platform_set_output_sink(nullptr, nullptr);
  }
  static std::string ErrorLine(const std::string& code, int line) {
    return "Error (" + code + ") return at line <" + std::to_string(line) + "> in file <" + __FILE__ + ">";
  }
};

TEST_F(CheckedCall, FailureWritesTheBlockAndReturnsTheCode) {
  EXPECT_EQ(PlainCheck(kOutOfMemoryErr), kOutOfMemoryErr);
  // The empty title line is dropped; macros inside the call stay as written.
  EXPECT_EQ(logged, (std::vector<std::string>{"*****", ErrorLine("!MEM", plainLine),
                                              "\t<ReturnCode(code + kShiftedAway)>", "*****"}));
}

TEST_F(CheckedCall, SuccessWritesNothingAndGoesOn) {
  EXPECT_EQ(PlainCheck(kNoErr), HOST_FOURCC('n', 'o', 'n', 'e'));
  EXPECT_TRUE(logged.empty());
}

TEST_F(CheckedCall, DescribedFormCarriesItsTitleAndRepeatsUnsuppressed) {
  EXPECT_EQ(DescribedCheck(kCantErr), kCantErr);
  EXPECT_EQ(DescribedCheck(kCantErr), kCantErr);
  const std::vector<std::string> block = {"*****", "Unable to get art bbox", ErrorLine("CANT", describedLine),
                                          "\t<ReturnCode(code)>", "*****"};
  std::vector<std::string> twice = block;
  twice.insert(twice.end(), block.begin(), block.end());
  EXPECT_EQ(logged, twice);
}

TEST_F(CheckedCall, CodeWithZeroBytesStillWritesTheWholeBlock) {
  EXPECT_EQ(PlainCheck(1), 1);
  ASSERT_EQ(logged.size(), 4u);
  EXPECT_EQ(logged[1], ErrorLine(std::string("...") + '\x01', plainLine));
  EXPECT_EQ(logged[2], "\t<ReturnCode(code + kShiftedAway)>");
}

TEST_F(CheckedCall, BadArgumentsWriteOneEntryAndAnswerTheCode) {
  EXPECT_EQ(RefuseBadArgs("CallThisAfter"), kBadParameterErr);
  EXPECT_EQ(RefuseBadArgs("GetSingleSelMirtil", kCantErr), kCantErr);
  EXPECT_EQ(logged, (std::vector<std::string>{"Bad args to CallThisAfter", "Bad args to GetSingleSelMirtil"}));
}

}  // namespace

Plugin* AllocatePlugin(SPPluginRef pluginRef) { return new RecordingPlugin(pluginRef); }
