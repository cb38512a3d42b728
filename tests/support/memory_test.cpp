#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ovlog.h"
#include "ovmem.h"
#include "support_test_helpers.h"

namespace {

using Lines = std::vector<std::string>;

std::string hex(const void* p) {
  char text[32];
  std::snprintf(text, sizeof text, "%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)));
  return text;
}

uint32_t header_word(const void* block, int word) {
  uint32_t value = 0;
  std::memcpy(&value, static_cast<const char*>(block) - 32 + 4 * word, sizeof value);
  return value;
}

// Allocation routines that fail on demand and count their calls.
struct FailingRoutines {
  static inline int failures_left = 0;
  static inline int allocations = 0;
  static inline int handler_calls = 0;
  static void* allocate(size_t size) {
    ++allocations;
    if (failures_left > 0) {
      --failures_left;
      return nullptr;
    }
    return std::malloc(size);
  }
  static void* reallocate(void* block, size_t size) {
    if (failures_left > 0) {
      --failures_left;
      return nullptr;
    }
    return std::realloc(block, size);
  }
  static void out_of_memory() { ++handler_calls; }
};

void register_failing_routines() {
  register_memory_routines(FailingRoutines::allocate, std::free, FailingRoutines::reallocate);
}

// The entry's errno part depends on the routine, so only what comes before it is compared.
void expect_realloc_failure(const LogCapture& capture, const void* block, const std::string& size_label) {
  ASSERT_EQ(capture.entries().size(), 1u);
  const std::string expected = ":** Cont:  [] realloc_mem(): Memory realloc failed - addr = " +
                               hex(block) + "   " + size_label + " = 64   errno = ";
  EXPECT_EQ(capture.entries()[0].substr(0, expected.size()), expected);
}

}  // namespace

TEST(UntrackedMemoryTest, BlocksAllocateGrowAndFree) {
  char* block = static_cast<char*>(alloc_mem(4, "four"));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "abc", 4);
  block = static_cast<char*>(realloc_mem(block, 4000));
  ASSERT_NE(block, nullptr);
  EXPECT_STREQ(block, "abc");
  free_mem(block);
  free_mem(nullptr);
}

TEST(UntrackedMemoryTest, VerboseTraceNamesEachCall) {
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  set_memory_verbose(1);
  void* block = alloc_mem(10, "ten");
  free_mem(block);
  EXPECT_FALSE(enough_mem_left(77));
  set_memory_verbose(0);
  EXPECT_EQ(capture.texts(),
            (Lines{"Memory requested 10 for ten\n", "Memory achieved: " + hex(block) + "\n",
                   "Memory free request " + hex(block) + "\n", "Space avail is 77 request was 77\n"}));
}

TEST(UntrackedMemoryTest, SwitchesAreRefusedOnceMemoryWasUsed) {
  free_mem(nullptr);
  LogCapture capture(LOG_TO_DEBUGGER, nullptr);
  set_memory_verbose(1);
  switch_memory_tracking_on();
  register_memory_routines(FailingRoutines::allocate, std::free, FailingRoutines::reallocate);
  set_memory_verbose(0);
  EXPECT_EQ(capture.texts(), (Lines{"Too late to switch tracking on\n", "Too late to register memory routines\n"}));

  capture.clear();
  FailingRoutines::allocations = 0;
  void* block = alloc_mem(5, "still untracked");
  display_memory(-1);
  free_mem(block);
  EXPECT_EQ(FailingRoutines::allocations, 0);
  ASSERT_GE(capture.texts().size(), 1u);
  EXPECT_EQ(capture.texts()[0], "No memory currently in use\n");
}

TEST(UntrackedMemoryDeathTest, RegisteredRoutinesServeAllocations) {
  run_in_fresh_process(false, [] {
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    set_memory_verbose(1);
    register_memory_routines(FailingRoutines::allocate, nullptr, FailingRoutines::reallocate);
    free_mem(alloc_mem(3, "by malloc"));
    EXPECT_EQ(FailingRoutines::allocations, 0);
    set_memory_verbose(0);
    EXPECT_EQ(capture.texts()[0], "One or more memory routines was NULL - none are being used\n");
  });
  run_in_fresh_process(false, [] {
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    set_memory_verbose(1);
    register_failing_routines();
    set_memory_verbose(0);
    free_mem(alloc_mem(3, "by routine"));
    EXPECT_EQ(FailingRoutines::allocations, 1);
    EXPECT_EQ(capture.texts(), Lines{"Memory routines registered\n"});
  });
}

TEST(UntrackedMemoryDeathTest, FailedAllocationCallsTheHandlerAndRetriesOnce) {
  run_in_fresh_process(false, [] {
    register_failing_routines();
    set_out_of_memory_handler(FailingRoutines::out_of_memory);
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);

    FailingRoutines::failures_left = 1;
    void* rescued = alloc_mem(7, "rescued");
    EXPECT_NE(rescued, nullptr);
    EXPECT_EQ(FailingRoutines::handler_calls, 1);
    EXPECT_TRUE(capture.outputs().empty());
    free_mem(rescued);

    FailingRoutines::failures_left = 2;
    EXPECT_EQ(alloc_mem(7, "big"), nullptr);
    EXPECT_EQ(FailingRoutines::handler_calls, 2);
    EXPECT_EQ(FailingRoutines::allocations, 4);
    EXPECT_EQ(capture.entries(),
              Lines{":** Cont:  [] alloc_mem(): Memory allocation failed - Request for 7 bytes for big\n"});
  });
}

TEST(UntrackedMemoryDeathTest, FailedReallocationKeepsTheOldBlock) {
  run_in_fresh_process(false, [] {
    register_failing_routines();
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    char* block = static_cast<char*>(alloc_mem(4, "kept"));
    std::memcpy(block, "abc", 4);
    FailingRoutines::failures_left = 1;
    EXPECT_EQ(realloc_mem(block, 64), nullptr);
    EXPECT_STREQ(block, "abc");
    expect_realloc_failure(capture, block, "new_size");
    free_mem(block);
  });
}

TEST(TrackedMemoryDeathTest, SwitchedOnTrackingPutsAHeaderBeforeAnAlignedBlock) {
  run_in_fresh_process(false, [] {
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    set_memory_verbose(1);
    switch_memory_tracking_on();
    set_memory_verbose(0);
    EXPECT_EQ(capture.texts(), Lines{"Memory tracking switched on\n"});
    void* block = alloc_mem(5, "abc");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
    EXPECT_EQ(header_word(block, 7), 12341234u);
    const void* name = nullptr;
    std::memcpy(&name, static_cast<char*>(block) - 32 + 2 * sizeof(void*), sizeof name);
    EXPECT_STREQ(static_cast<const char*>(name), "abc");
    free_mem(block);
  });
}

TEST(TrackedMemoryDeathTest, TotalsCountSizesAndOverhead) {
  run_tracked([] {
    void* named = alloc_mem(5, "abc");
    void* unnamed = alloc_mem(3, nullptr);
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    display_memory(-1);
    EXPECT_EQ(capture.texts(),
              (Lines{"Memory: 8 bytes in 2 blocks (+ 68 bytes (850.00%) overhead))\n",
                     "Malloc calls 2  free calls = 0  realloc calls = 0\n"}));
    free_mem(named);
    free_mem(unnamed);
    capture.clear();
    display_memory(-1);
    EXPECT_EQ(capture.texts(), (Lines{"No memory currently in use\n",
                                      "Malloc calls 2  free calls = 2  realloc calls = 0\n"}));
  });
}

TEST(TrackedMemoryDeathTest, ListShowsNewestFirstAndSurvivesUnlinking) {
  run_tracked([] {
    void* first = alloc_mem(1, "first");
    void* second = alloc_mem(2, "second");
    void* third = alloc_mem(3, "third");
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    auto listing = [&] {
      capture.clear();
      display_memory(0);
      Lines blocks;
      for (const std::string& text : capture.texts()) {
        if (text.rfind("Memory block at ", 0) == 0) blocks.push_back(text);
      }
      return blocks;
    };
    auto line = [](void* block, int size, const char* name) {
      return "Memory block at " + hex(block) + ", size = " + std::to_string(size) +
             "   use = " + name + "\n";
    };
    EXPECT_EQ(listing(), (Lines{line(third, 3, "third"), line(second, 2, "second"), line(first, 1, "first")}));
    free_mem(second);
    EXPECT_EQ(listing(), (Lines{line(third, 3, "third"), line(first, 1, "first")}));
    free_mem(third);
    EXPECT_EQ(listing(), (Lines{line(first, 1, "first")}));
    free_mem(first);
    EXPECT_EQ(listing(), Lines{});
  });
}

TEST(TrackedMemoryDeathTest, DumpShowsBytesAndPrintableColumn) {
  run_tracked([] {
    unsigned char* small = static_cast<unsigned char*>(alloc_mem(5, "small"));
    std::memcpy(small, "ab\0\x7f~", 5);
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    display_memory(16);
    const std::string dump = capture.joined();
    const std::string row = " 61 62  0 7f 7e" + std::string(11 * 3, ' ') + "      a b . . ~ \n";
    EXPECT_NE(dump.find("use = small\n" + row + "\nMemory: 5 bytes"), std::string::npos) << dump;
    free_mem(small);

    unsigned char* large = static_cast<unsigned char*>(alloc_mem(20, "large"));
    for (int i = 0; i < 20; ++i) large[i] = static_cast<unsigned char>('A' + i);
    capture.clear();
    display_memory(16);
    const std::string cut = capture.joined();
    EXPECT_NE(cut.find("use = large\nOnly the first 16 bytes displayed\n"
                       " 41 42 43 44 45 46 47 48 49 4a 4b 4c 4d 4e 4f 50"
                       "      A B C D E F G H I J K L M N O P \n\n"),
              std::string::npos)
        << cut;
    free_mem(large);
  });
}

TEST(TrackedMemoryDeathTest, SecondFreeIsReportedAndReleasesNothing) {
  run_tracked([] {
    static int handler_calls = 0;
    set_free_error_handler([] { ++handler_calls; }, true);
    void* keep = alloc_mem(8, "keep");
    void* block = alloc_mem(8, "twice");
    free_mem(block);
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    free_mem(block);
    EXPECT_EQ(handler_calls, 1);
    ASSERT_EQ(capture.texts().size(), 2u);
    EXPECT_EQ(capture.entries()[0],
              ":** Cont:  [] free_block_error(): ATTEMPT TO FREE UNMALLOCED BLOCK - Block = 0x" +
                  hex(static_cast<char*>(block) - 32) + "   ptr = 0x" + hex(block) + "\n");
    EXPECT_EQ(capture.texts()[1], "stacktrace is not available in Windows\n");

    set_free_error_handler(nullptr, false);
    capture.clear();
    char foreign[64] = {};
    free_mem(foreign + 32);
    EXPECT_EQ(capture.texts().size(), 1u);

    capture.clear();
    display_memory(0);
    EXPECT_NE(capture.joined().find("Memory: 8 bytes in 1 blocks"), std::string::npos);
    free_mem(keep);
  });
}

// A write just before a block that spoils its header's marker is caught
// at its release, which then releases nothing.
TEST(TrackedMemoryDeathTest, ABlockWithASpoiltMarkerIsReportedAndNotReleased) {
  run_tracked([] {
    static int handler_calls = 0;
    set_free_error_handler([] { ++handler_calls; }, false);
    char* block = static_cast<char*>(alloc_mem(8, "spoilt"));
    const uint32_t marker = header_word(block, 7);
    const uint32_t spoilt = marker + 1;
    std::memcpy(block - 4, &spoilt, sizeof spoilt);
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    free_mem(block);
    EXPECT_EQ(handler_calls, 1);
    EXPECT_EQ(capture.texts().size(), 1u);

    std::memcpy(block - 4, &marker, sizeof marker);
    capture.clear();
    display_memory(0);
    EXPECT_NE(capture.joined().find("Memory: 8 bytes in 1 blocks"), std::string::npos) << "still listed";
    free_mem(block);
    EXPECT_EQ(handler_calls, 1);
    set_free_error_handler(nullptr, false);
  });
}

TEST(TrackedMemoryDeathTest, ReallocationKeepsTheBlockInItsPlaceOfTheList) {
  run_tracked([] {
    void* oldest = alloc_mem(1, "oldest");
    char* middle = static_cast<char*>(alloc_mem(4, "middle"));
    void* newest = alloc_mem(1, "newest");
    std::memcpy(middle, "xyz", 4);
    middle = static_cast<char*>(realloc_mem(middle, 100000));
    ASSERT_NE(middle, nullptr);
    EXPECT_STREQ(middle, "xyz");
    EXPECT_EQ(header_word(middle, 7), 12341234u);

    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    display_memory(0);
    const std::string report = capture.joined();
    const size_t newest_at = report.find("use = newest");
    const size_t middle_at = report.find(hex(middle) + ", size = 100000   use = middle");
    const size_t oldest_at = report.find("use = oldest");
    EXPECT_LT(newest_at, middle_at);
    EXPECT_LT(middle_at, oldest_at);
    EXPECT_NE(oldest_at, std::string::npos);

    free_mem(newest);
    free_mem(middle);
    free_mem(oldest);
    capture.clear();
    display_memory(-1);
    EXPECT_EQ(capture.texts()[0], "No memory currently in use\n");
  });
}

TEST(TrackedMemoryDeathTest, RefusedReallocationsAnswerNullAndLeaveTheBlockLive) {
  run_tracked([] {
    register_failing_routines();
    char* block = static_cast<char*>(alloc_mem(4, "kept"));
    std::memcpy(block, "abc", 4);
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    // A null block is refused at level Cont: the process goes on.
    EXPECT_EQ(realloc_mem(nullptr, 10), nullptr);
    EXPECT_EQ(capture.entries(), Lines{":** Cont:  [] realloc_mem(): passed NULL ptr\n"});
    capture.clear();
    FailingRoutines::failures_left = 1;
    EXPECT_EQ(realloc_mem(block, 64), nullptr);
    expect_realloc_failure(capture, block, "new size");
    EXPECT_EQ(header_word(block, 7), 12341234u);
    capture.clear();
    free_mem(block);
    display_memory(-1);
    EXPECT_EQ(capture.texts()[0], "No memory currently in use\n");
  });
}

