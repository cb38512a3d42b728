#include <gtest/gtest.h>

#include <string>

#include "ovini.h"
#include "ovlog.h"
#include "ovmem.h"
#include "support_test_helpers.h"

namespace {

using Lines = std::vector<std::string>;

class IniTest : public ::testing::Test {
 protected:
  void TearDown() override {
    clear_ini_cache(file_.path().c_str());
    set_ini_cache_use(true);
  }

  void write(const std::string& contents) { file_.write(contents); }
  const char* file() const { return file_.path().c_str(); }

  std::string value(const char* section, const char* name) {
    char* found = getini(file(), section, name);
    std::string text = found ? found : "(null)";
    free_mem(found);
    return text;
  }

  TempFile file_{"settings.ini"};
};

}  // namespace

TEST_F(IniTest, UnnamedSettingsFileGivesDefaultsAfterTwoEntries) {
  EXPECT_TRUE(IniFileName().IsEmpty());
  LogCapture capture;
  EXPECT_TRUE(get_BOOLEAN_from_ini(IniFileName().CStr(), "General", "Check", true));
  EXPECT_EQ(capture.entries(), (Lines{":** Cont:  [] getini(): invalid args\n",
                                      ":** Cont:  [] get_BOOLEAN_from_ini(): NULL for Check\n"}));
}

TEST_F(IniTest, BooleanIsTrueForAnyPresentValue) {
  write("[General]\nCheck yes\nZero 0\nBare\n");
  EXPECT_TRUE(get_BOOLEAN_from_ini(file(), "General", "Check", false));
  EXPECT_TRUE(get_BOOLEAN_from_ini(file(), "General", "Zero", false));
  EXPECT_FALSE(get_BOOLEAN_from_ini(file(), "General", "Bare", true));
  EXPECT_FALSE(get_BOOLEAN_from_ini(file(), "General", "Missing", true));
  EXPECT_FALSE(get_BOOLEAN_from_ini(file(), "Other", "Check", true));
}

TEST_F(IniTest, RecordsNeedABlankNotAnEqualsSign) {
  write("[General]\nType=1\nSteps 12\n");
  LogCapture capture;
  EXPECT_EQ(get_int_from_ini(file(), "General", "Type", -5), -5);
  EXPECT_EQ(get_int_from_ini(file(), "General", "Steps", -5), 12);
  EXPECT_EQ(capture.entries(),
            Lines{":** Cont:  [] read_ini_record(): invalid record in file " + std::string(file()) +
                  " (Type=1)\n"});
}

TEST_F(IniTest, IntegersFollowTheirBase) {
  write("[General]\nDelay 0x10\nPartly 12abc\nOctal 010\nMinus -7\nHuge 99999999999999999999\n"
        "Empty \"\"\n");
  LogCapture capture;
  EXPECT_EQ(get_int_from_ini(file(), "General", "Delay", 0), 16);
  EXPECT_EQ(get_int_from_ini(file(), "General", "Partly", 0), 12);
  EXPECT_EQ(get_int_from_ini(file(), "General", "Octal", 0), 8);
  EXPECT_EQ(get_int_from_ini(file(), "General", "Minus", 0), -7);
  EXPECT_EQ(get_int_from_ini(file(), "General", "Empty", 3), 3);
  EXPECT_TRUE(capture.outputs().empty());
  EXPECT_EQ(get_int_from_ini(file(), "General", "Huge", 4), 4);
  EXPECT_EQ(get_unsigned_from_ini(file(), "General", "Huge", 5ul), 5ul);
  EXPECT_EQ(get_unsigned_from_ini(file(), "General", "Delay", 0ul), 16ul);
  EXPECT_EQ(capture.entries(), (Lines{":** Cont:  [] get_int_from_ini(): Can't get Huge\n",
                                      ":** Cont:  [] get_int_from_ini(): Can't get Huge\n"}));
}

TEST_F(IniTest, FloatsAndCharacters) {
  write("[General]\nScale 2.5\nWord abc\nLetter x\n");
  LogCapture capture;
  EXPECT_FLOAT_EQ(get_float_from_ini(file(), "General", "Scale", 1.0f), 2.5f);
  EXPECT_FLOAT_EQ(get_float_from_ini(file(), "General", "Word", 1.0f), 1.0f);
  EXPECT_FLOAT_EQ(get_float_from_ini(file(), "General", "None", 1.5f), 1.5f);
  EXPECT_EQ(get_char_from_ini(file(), "General", "Letter", '?'), 'x');
  EXPECT_EQ(get_char_from_ini(file(), "General", "Word", '?'), '?');
  EXPECT_EQ(get_char_from_ini(file(), "General", "None", '?'), '?');
  EXPECT_EQ(get_char_from_ini("", "General", "Letter", '?'), '?');
  EXPECT_EQ(capture.entries(),
            (Lines{":** Cont:  [] get_float_from_ini(): Can't get Word\n",
                   ":** Cont:  [] get_char_from_ini(): Item Word (General) not single character\n",
                   ":** Cont:  [] get_char_from_ini(): Item None (General) not single character\n",
                   ":** Cont:  [] getini(): invalid args\n",
                   ":** Cont:  [] get_char_from_ini(): NULL for Letter (General)\n"}));
}

TEST_F(IniTest, StringsAreHandedOverOnlyWhenNotEmpty) {
  write("[General]\nName Tile\nBare\n");
  char* name = get_string_from_ini(file(), "General", "Name");
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "Tile");
  free_mem(name);
  EXPECT_EQ(get_string_from_ini(file(), "General", "Bare"), nullptr);
  LogCapture capture;
  EXPECT_EQ(get_string_from_ini("", "General", "Name"), nullptr);
  EXPECT_EQ(capture.entries(), Lines{":** Cont:  [] getini(): invalid args\n"});
}

TEST_F(IniTest, NullRequestsAnswerTheDefaultAndTheProcessGoesOn) {
  write("[General]\nSteps 12\n");
  LogCapture capture;
  EXPECT_EQ(get_int_from_ini(file(), "General", nullptr, 9), 9);
  EXPECT_EQ(get_unsigned_from_ini(nullptr, "General", "Steps", 9ul), 9ul);
  EXPECT_FLOAT_EQ(get_float_from_ini(file(), nullptr, "Steps", 9.0f), 9.0f);
  EXPECT_TRUE(get_BOOLEAN_from_ini(file(), "General", nullptr, true));
  EXPECT_EQ(get_char_from_ini(file(), "General", nullptr, 'n'), 'n');
  EXPECT_EQ(get_string_from_ini(file(), "General", nullptr), nullptr);
  EXPECT_EQ(capture.entries(), (Lines{":** Cont:  [] get_int_from_ini(): Null request\n",
                                      ":** Cont:  [] get_int_from_ini(): Null request\n",
                                      ":** Cont:  [] get_float_from_ini(): Null request\n",
                                      ":** Cont:  [] get_BOOLEAN_from_ini(): Null request\n",
                                      ":** Cont:  [] get_char_from_ini(): Null request\n",
                                      ":** Cont:  [] get_string_from_ini(): Null request\n"}));
}

TEST_F(IniTest, QuotedValuesMayHoldBlanks) {
  write("[General]\nQuoted \"a b\"\nLoose a b\nTrailing \"a\" b\nUnclosed \"a b\nEmpty \"\"\n"
        "Tabbed\t  \"x\"  \n");
  LogCapture capture;
  EXPECT_EQ(value("General", "Quoted"), "a b");
  EXPECT_EQ(value("General", "Empty"), "");
  EXPECT_EQ(value("General", "Tabbed"), "x");
  EXPECT_EQ(value("General", "Loose"), "");
  EXPECT_EQ(value("General", "Trailing"), "");
  EXPECT_EQ(value("General", "Unclosed"), "");
  const std::string prefix = ":** Cont:  [] read_ini_record(): invalid record in file " + std::string(file());
  EXPECT_EQ(capture.entries(), (Lines{prefix + " (Loose a b)\n", prefix + " (Trailing \"a\" b)\n",
                                      prefix + " (Unclosed \"a b)\n"}));
}

TEST_F(IniTest, CommentsOnlyInTheFirstColumn) {
  write("[General]\n#Hidden 1\n;Hidden 2\n #Indented 3\n\n   \t\nShown 4\n");
  LogCapture capture;
  EXPECT_EQ(value("General", "Shown"), "4");
  EXPECT_EQ(value("General", "#Hidden"), "");
  EXPECT_EQ(capture.entries(),
            Lines{":** Cont:  [] read_ini_record(): invalid record in file " + std::string(file()) +
                  " ( #Indented 3)\n"});
}

TEST_F(IniTest, SectionHeadersAndNames) {
  write("Early 1\n  [  Spaced  ]  \nInside 2\n[ ]\n[Bad name]\n[Sub.section_1+-]\nName.x_y+-9 3\n");
  LogCapture capture;
  EXPECT_EQ(value("Spaced", "Early"), "");
  EXPECT_EQ(value("Spaced", "Inside"), "2");
  EXPECT_EQ(value("Sub.section_1+-", "Name.x_y+-9"), "3");
  EXPECT_EQ(value("spaced", "Inside"), "");
  EXPECT_EQ(capture.entries().size(), 2u);
}

TEST_F(IniTest, RepeatedSectionsMergeAndTheFirstRecordWins) {
  write("[General]\nSteps 1\n[Other]\nSteps 2\n[General]\nSteps 3\nDelay 4\n");
  EXPECT_EQ(value("General", "Steps"), "1");
  EXPECT_EQ(value("General", "Delay"), "4");
  EXPECT_EQ(value("Other", "Steps"), "2");
  set_ini_cache_use(false);
  EXPECT_EQ(value("General", "Steps"), "1");
  EXPECT_EQ(value("General", "Delay"), "4");
}

TEST_F(IniTest, LastLineWithoutNewlineIsUsedAndReported) {
  write("[General]\nLast 5");
  LogCapture capture;
  EXPECT_EQ(value("General", "Last"), "5");
  EXPECT_EQ(capture.entries(),
            Lines{":** Cont:  [] read_ini_record(): missing newline(maybe line too long?): Last 5\n"});
}

TEST_F(IniTest, OverlongLineContinuesAsTheNextLine) {
  const std::string filler(1018, 'v');  // with "Long " the 1023 characters one read takes
  write("[General]\nLong " + filler + " Next 6\nAfter 7\r\n");
  // The entry is longer than a debugger line, so it is read from standard error.
  const std::string written = log_on_stderr([&] {
    EXPECT_EQ(value("General", "Long"), filler);
    EXPECT_EQ(value("General", "Next"), "6");
    EXPECT_EQ(value("General", "After"), "7");
  });
  // The log cuts the entry's text at 1023 characters.
  const std::string entry_start =
      ":** Cont: read_ini_record(): missing newline(maybe line too long?): Long vvvv";
  const size_t entry_at = written.find(entry_start);
  EXPECT_NE(entry_at, std::string::npos) << written;
  EXPECT_EQ(written.find("Cont", entry_at + entry_start.size()), std::string::npos) << written;
}

TEST_F(IniTest, UnreadableFileIsTriedAgainOnEachRequest) {
  LogCapture capture;
  EXPECT_EQ(get_int_from_ini(file(), "General", "Steps", 8), 8);
  EXPECT_EQ(get_int_from_ini(file(), "General", "Steps", 8), 8);
  const std::string name(file());
  const Lines failure = {":** Cont:  [] load_cache(): cannot open file (" + name + ")\n",
                         ":** Cont:  [] getini(): cannot load cache for ini file: " + name + "\n",
                         ":** Cont:  [] get_int_from_ini(): NULL for Steps\n"};
  Lines twice = failure;
  twice.insert(twice.end(), failure.begin(), failure.end());
  EXPECT_EQ(capture.entries(), twice);

  write("[General]\nSteps 30\n");
  EXPECT_EQ(get_int_from_ini(file(), "General", "Steps", 8), 30);
}

TEST_F(IniTest, CacheKeepsTheFirstReadingUntilCleared) {
  write("[General]\nSteps 1\n");
  EXPECT_EQ(value("General", "Steps"), "1");
  write("[General]\nSteps 2\n");
  EXPECT_EQ(value("General", "Steps"), "1");
  EXPECT_TRUE(clear_ini_cache(file()));
  EXPECT_EQ(value("General", "Steps"), "2");
  EXPECT_TRUE(clear_ini_cache("never read"));
}

TEST_F(IniTest, WithoutTheCacheEachRequestReadsTheFile) {
  set_ini_cache_use(false);
  write("[General]\nSteps 1\n");
  EXPECT_EQ(value("General", "Steps"), "1");
  write("[General]\nSteps 2\n");
  EXPECT_EQ(value("General", "Steps"), "2");
  EXPECT_EQ(value("General", "Missing"), "");
  std::remove(file());
  LogCapture capture;
  EXPECT_EQ(value("General", "Steps"), "(null)");
  EXPECT_EQ(capture.entries(), Lines{":** Cont:  [] getini(): cannot open file (" + std::string(file()) + ")\n"});
}

TEST(IniMemoryDeathTest, CacheAndValuesLiveInNamedBlocks) {
  run_tracked([] {
    TempFile file("named.ini");
    file.write("[General]\nCheck yes\n");
    char* value = getini(file.path().c_str(), "General", "Check");
    LogCapture capture;
    display_memory(0);
    const std::string report = capture.joined();
    for (const char* use : {"cache c", "cache c name", "cache s", "cache s name", "cache r",
                            "cache r name", "cache r value", "General:Check"}) {
      EXPECT_NE(report.find(std::string("use = ") + use + "\n"), std::string::npos) << use;
    }
    free_mem(value);
    clear_ini_cache(file.path().c_str());
    capture.clear();
    display_memory(-1);
    EXPECT_EQ(capture.texts()[0], "No memory currently in use\n");
  });
}

TEST(IniMemoryDeathTest, OutOfMemoryWhileLoadingIsReportedAndRetried) {
  run_in_fresh_process(false, [] {
    static int allocations_left = 1000;
    register_memory_routines(
        [](size_t size) { return allocations_left-- > 0 ? std::malloc(size) : nullptr; }, std::free,
        std::realloc);
    TempFile file("short.ini");
    file.write("[General]\nCheck yes\n");
    LogCapture capture;
    allocations_left = 3;  // the cache and its name, then the section fails
    EXPECT_EQ(getini(file.path().c_str(), "General", "Check"), nullptr);
    const Lines entries = capture.entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[entries.size() - 2], ":** Cont:  [] load_cache(): cannot add new cache section\n");
    EXPECT_EQ(entries.back(), ":** Cont:  [] getini(): cannot load cache for ini file: " + file.path() + "\n");

    allocations_left = 1000;
    char* value = getini(file.path().c_str(), "General", "Check");
    ASSERT_NE(value, nullptr);
    EXPECT_STREQ(value, "yes");
    free_mem(value);
    clear_ini_cache(file.path().c_str());
  });
}
