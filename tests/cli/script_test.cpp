// The script language read in process: words, texts, comments, options,
// result codes, and the place every complaint names.
#include <gtest/gtest.h>

#include "mirtilcli/Program.h"
#include "mirtilcli/Script.h"

namespace {

using mirtilcli::LineReader;
using mirtilcli::ScriptLine;
using mirtilcli::UsageError;

std::vector<std::string> Texts(const ScriptLine& line) {
  std::vector<std::string> texts;
  for (const mirtilcli::Word& word : line.words) texts.push_back(word.text);
  return texts;
}

std::string Complaint(const std::function<void()>& act) {
  try {
    act();
  } catch (const UsageError& error) {
    return error.what();
  }
  return "";
}

TEST(ScriptTest, LinesSplitIntoWordsTextsAndComments) {
  const std::vector<ScriptLine> lines = mirtilcli::splitScript(
      "# a comment line\n"
      "\n"
      "rect 1 2 3 4 fill=#ff0000   # the # of a colour is no comment\n"
      "menu \"Rotate Mirrortiles\"\r\n"
      "path \"M 0 0 L \\\"1\\\" \\\\\" stroke=\"dark red\"\n",
      "s.mirtil");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].number, 3);
  EXPECT_EQ(Texts(lines[0]), (std::vector<std::string>{"rect", "1", "2", "3", "4", "fill=#ff0000"}));
  EXPECT_EQ(lines[1].number, 4);
  EXPECT_EQ(Texts(lines[1]), (std::vector<std::string>{"menu", "Rotate Mirrortiles"}));
  EXPECT_TRUE(lines[1].words[1].quoted);
  EXPECT_EQ(Texts(lines[2]), (std::vector<std::string>{"path", "M 0 0 L \"1\" \\", "stroke=dark red"}));
  EXPECT_FALSE(lines[2].words[2].quoted);

  EXPECT_EQ(Complaint([] { mirtilcli::splitScript("new\n\nmenu \"Rotate\n", "s.mirtil"); }),
            "s.mirtil:3: a text in double quotes is not closed");
}

TEST(ScriptTest, TheReaderTakesArgumentsInOrderAndRefusesWhatIsLeft) {
  const std::vector<ScriptLine> lines =
      mirtilcli::splitScript("drag 1 -2.5 3e1 4 moves=6\nselect \"a=b\" c\n", "s.mirtil");
  LineReader drag(lines[0], "s.mirtil");
  EXPECT_EQ(drag.number("X1"), 1);
  EXPECT_EQ(drag.number("Y1"), -2.5);
  EXPECT_EQ(drag.number("X2"), 30);
  EXPECT_EQ(drag.integerOption("moves", 4), 6);
  EXPECT_EQ(Complaint([&] { drag.finish(); }), "s.mirtil:1: drag: unexpected '4'");
  EXPECT_EQ(drag.number("Y2"), 4);
  EXPECT_EQ(Complaint([&] { drag.number("X3"); }), "s.mirtil:1: drag: missing X3");
  drag.finish();

  // A quoted word is never an option.
  LineReader select(lines[1], "s.mirtil");
  EXPECT_EQ(select.text("ID"), "a=b");
  EXPECT_EQ(select.text("ID"), "c");
  select.finish();
}

TEST(ScriptTest, OptionsAreCheckedByNameAndValue) {
  const std::vector<ScriptLine> lines = mirtilcli::splitScript(
      "options steps=x type=round ok\nprefs steps=1 steps=2\nwait 1 later=1\n", "s.mirtil");
  LineReader options(lines[0], "s.mirtil");
  EXPECT_EQ(Complaint([&] { options.integerOption("steps", 0); }),
            "s.mirtil:1: options: steps= must be a whole number, not 'x'");
  EXPECT_EQ(Complaint([&] { LineReader twice(lines[1], "s.mirtil"); }),
            "s.mirtil:2: prefs: option steps= given twice");
  LineReader wait(lines[2], "s.mirtil");
  wait.number("SECONDS");
  EXPECT_EQ(Complaint([&] { wait.finish(); }), "s.mirtil:3: wait: unknown option later=; wait takes no options");
}

TEST(ScriptTest, NumbersAreWholeWordsAndFinite) {
  double number = 0;
  int32_t integer = 0;
  EXPECT_TRUE(mirtilcli::parseNumber("-0.25", number));
  EXPECT_EQ(number, -0.25);
  for (const char* bad : {"", " 1", "1x", "nan", "inf", "1e999", "0x"}) {
    EXPECT_FALSE(mirtilcli::parseNumber(bad, number)) << bad;
  }
  EXPECT_TRUE(mirtilcli::parseInteger("-2147483648", integer));
  EXPECT_EQ(integer, INT32_MIN);
  for (const char* bad : {"2147483648", "1.5", "", "+"}) EXPECT_FALSE(mirtilcli::parseInteger(bad, integer)) << bad;
}

TEST(ScriptTest, ResultCodesAreZeroOrFourCharactersInQuotes) {
  int32_t code = -1;
  EXPECT_TRUE(mirtilcli::parseResultCode("0", code));
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(mirtilcli::parseResultCode("'STOP'", code));
  EXPECT_EQ(code, 0x53544F50);
  EXPECT_EQ(mirtilcli::formatResultCode(code), "'STOP'");
  EXPECT_TRUE(mirtilcli::parseResultCode("'!MEM'", code));
  EXPECT_EQ(code, 0x214D454D);
  EXPECT_EQ(mirtilcli::formatResultCode(0), "0");
  for (const char* bad : {"STOP", "'STO'", "'STOPS'", "1", ""}) {
    EXPECT_FALSE(mirtilcli::parseResultCode(bad, code)) << bad;
  }
}

TEST(ScriptTest, PreferencesLiveInTheUsersConfigurationFolder) {
  EXPECT_EQ(mirtilcli::configPreferencesPath("/x/config", "/home/u"), "/x/config/mirrortile/prefs");
  EXPECT_EQ(mirtilcli::configPreferencesPath("", "/home/u"), "/home/u/.config/mirrortile/prefs");
  EXPECT_EQ(mirtilcli::configPreferencesPath("", ""), "");
}

}  // namespace
