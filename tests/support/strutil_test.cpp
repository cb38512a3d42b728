#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ovlog.h"
#include "ovmem.h"
#include "ovstrutil.h"
#include "support_test_helpers.h"

namespace {

std::string taken(char* text) {
  std::string copy = text ? text : "(null)";
  free_mem(text);
  return copy;
}

}  // namespace

TEST(StringUtilityTest, DuplicateCopiesOrAnswersNull) {
  EXPECT_EQ(string_duplicate(nullptr), nullptr);
  EXPECT_EQ(taken(string_duplicate("copy me")), "copy me");
  EXPECT_EQ(taken(string_duplicate("")), "");
}

TEST(StringUtilityTest, ConcatJoinsAndTreatsNullAsEmpty) {
  EXPECT_EQ(taken(string_concat(nullptr, nullptr)), "");
  EXPECT_EQ(taken(string_concat(string_duplicate("head"), "tail")), "headtail");
  EXPECT_EQ(taken(string_concat(string_duplicate("alone"), nullptr)), "alone");
  EXPECT_EQ(taken(string_concat(nullptr, "only")), "only");
}

TEST(StringUtilityTest, SeparatorIsAddedOnlyWhenMissing) {
  EXPECT_EQ(taken(strcat_with_separator("dir", '/', "file")), "dir/file");
  EXPECT_EQ(taken(strcat_with_separator("dir/", '/', "file")), "dir/file");
  EXPECT_EQ(taken(strcat_with_separator("", '/', "file")), "file");
  EXPECT_EQ(taken(strcat_with_separator(nullptr, '/', nullptr)), "");
  EXPECT_EQ(taken(strcat_with_separator("dir", '/', "")), "dir/");
}

TEST(StringUtilityTest, UpperCaseInPlace) {
  char text[] = "Mixed case 12 z!";
  str_to_upper(text);
  EXPECT_STREQ(text, "MIXED CASE 12 Z!");
  EXPECT_EQ(log_on_stderr([] { str_to_upper(nullptr); }),
            "Error - str_to_upper is passed NULL pointer\n");
}

TEST(StringUtilityDeathTest, ConcatConsumesItsFirstOperandOnlyOnSuccess) {
  run_in_fresh_process(false, [] {
    static bool fail_next = false;
    register_memory_routines(
        [](size_t size) { return fail_next ? nullptr : std::malloc(size); }, std::free,
        std::realloc);
    switch_memory_tracking_on();
    LogCapture capture(LOG_TO_DEBUGGER, nullptr);
    char* head = string_duplicate("head");
    fail_next = true;
    EXPECT_EQ(string_concat(head, "tail"), nullptr);
    fail_next = false;
    EXPECT_STREQ(head, "head");
    char* joined = string_concat(head, "tail");
    EXPECT_STREQ(joined, "headtail");
    capture.clear();
    display_memory(0);
    const std::string report = capture.joined();
    EXPECT_NE(report.find("use = string_concat\n"), std::string::npos) << report;
    EXPECT_EQ(report.find("use = string_duplicate\n"), std::string::npos) << report;
    free_mem(joined);
  });
}

TEST(StringToNumberTest, IntegersWithBlanksAndSignsWithin32Bits) {
  const struct {
    const char* text;
    int value;
  } accepted[] = {{"  -42  ", -42}, {"+", 0}, {"\t123", 123}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
  for (const auto& c : accepted) {
    int value = 7;
    EXPECT_EQ(str_to_int(c.text, &value), 0) << '"' << c.text << '"';
    EXPECT_EQ(value, c.value) << '"' << c.text << '"';
  }
  int value = 7;
  for (const char* text : {"4-2", "--1", "1 2", "12a", "1.5", "", "   ", "2147483648", "-2147483649",
                           "99999999999999999999"}) {
    EXPECT_EQ(str_to_int(text, &value), -1) << '"' << text << '"';
  }
  EXPECT_EQ(str_to_int(nullptr, &value), -1);
  EXPECT_EQ(value, 7);
}

TEST(StringToNumberTest, InputsOver31CharactersAreTooLong) {
  const std::string longer(32, '1');
  int int_value = 0;
  float float_value = 0;
  EXPECT_EQ(log_on_stderr([&] { EXPECT_EQ(str_to_int(longer.c_str(), &int_value), -1); }),
            "Error - string supplied to str_to_int is too long");
  EXPECT_EQ(log_on_stderr([&] { EXPECT_EQ(str_to_float(longer.c_str(), &float_value), -1); }),
            "Error - string supplied to str_to_float is too long");
  EXPECT_EQ(str_to_int(std::string(31, '1').c_str(), &int_value), -1);  // fits, but overflows
  EXPECT_EQ(str_to_int(std::string(31, '0').c_str(), &int_value), 0);
  EXPECT_EQ(str_to_float(std::string(31, ' ').c_str(), &float_value), -1);
}

TEST(StringToNumberTest, FloatsWithOnePoint) {
  float value = 0;
  EXPECT_EQ(str_to_float("  2.25  ", &value), 0);
  EXPECT_FLOAT_EQ(value, 2.25f);
  EXPECT_EQ(str_to_float("-0.125", &value), 0);
  EXPECT_FLOAT_EQ(value, -0.125f);
  EXPECT_EQ(str_to_float("7", &value), 0);
  EXPECT_FLOAT_EQ(value, 7.0f);
  EXPECT_EQ(str_to_float(".", &value), 0);
  EXPECT_FLOAT_EQ(value, 0.0f);
  EXPECT_EQ(str_to_float("1.5.2", &value), -1);
  EXPECT_EQ(str_to_float("1,5", &value), -1);
  EXPECT_EQ(str_to_float("3000000000.5", &value), -1);
}

// Only the digits before the point can overflow; a long fraction is read
// and the precision beyond a float's is dropped.
TEST(StringToNumberTest, LongFractionsAreReadToAFloatsPrecision) {
  float value = 0;
  EXPECT_EQ(str_to_float("1.99999999999", &value), 0);
  EXPECT_FLOAT_EQ(value, 2.0f);
  EXPECT_EQ(str_to_float("-0.000000000012345678901234", &value), 0);
  EXPECT_FLOAT_EQ(value, -1.2345679e-11f);
  EXPECT_EQ(str_to_float("2147483647.123456789012345", &value), 0);
  EXPECT_FLOAT_EQ(value, 2147483647.0f);
  EXPECT_EQ(str_to_float("0.12345678x", &value), -1);
}
