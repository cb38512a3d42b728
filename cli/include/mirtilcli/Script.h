// The script language of mirtil-host: one command a line, words separated
// by blanks, double-quoted texts (with \" and \\ inside), comments from a
// '#' that begins a word to the end of the line, and options written
// name=value.
#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirtilcli {

// Bad usage or input the program cannot take: a script line, an option,
// a file. The text names the place. Exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A check the user asked for did not hold, or a message answered a code
// nobody expected. Exit status 1.
class CheckFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Word {
  std::string text;
  bool quoted = false;  // began with a double quote: never an option
};

struct ScriptLine {
  int number = 0;
  std::vector<Word> words;  // the command first; never empty
};

// The script's non-empty lines. Throws UsageError naming file:line for a
// text left open.
std::vector<ScriptLine> splitScript(const std::string& text, const std::string& fileName);

// An error code written as the script writes it: 0, a number, or four
// characters in single quotes ('STOP'); false for anything else.
bool parseResultCode(const std::string& text, int32_t& code);
// The code as a script writes it: 0, or its four characters in single quotes.
std::string formatResultCode(int32_t code);

// Reads the arguments of one line in order and checks that nothing is
// left over; every complaint names file:line and the command.
class LineReader {
 public:
  LineReader(const ScriptLine& line, const std::string& fileName);

  const std::string& command() const { return command_; }
  bool atEnd() const { return next_ >= positional_.size(); }
  // The next word, or an error naming what was wanted.
  std::string text(const char* what);
  double number(const char* what);
  int32_t integer(const char* what);
  // One of the choices.
  std::string choice(const char* what, const std::vector<std::string>& choices);
  int32_t resultCode(const char* what);

  bool hasOption(const std::string& name) const {
    if (std::find(optionsAsked_.begin(), optionsAsked_.end(), name) == optionsAsked_.end()) optionsAsked_.push_back(name);
    return options_.count(name) != 0;
  }
  // The option's value; the fallback when it was not given.
  std::string textOption(const std::string& name, const std::string& fallback);
  double numberOption(const std::string& name, double fallback);
  int32_t integerOption(const std::string& name, int32_t fallback);

  // Refuses words and options nobody read.
  void finish();
  // A UsageError for this line.
  UsageError error(const std::string& message) const;

 private:
  std::string take(const char* what);
  std::string takeOption(const std::string& name);
  double toNumber(const std::string& word, const std::string& label) const;
  int32_t toInteger(const std::string& word, const std::string& label) const;
  std::string matchChoice(const std::string& word, const std::string& what,
                          const std::vector<std::string>& choices) const;

  std::string place_;
  std::string command_;
  std::vector<Word> positional_;
  std::size_t next_ = 0;
  std::map<std::string, std::string> options_;
  std::map<std::string, bool> optionsRead_;
  // The options the command looked for, in its order, to name them when
  // an unknown one is given.
  mutable std::vector<std::string> optionsAsked_;
};

// Numbers as the command line and scripts write them: the whole text must
// be the number, finite.
bool parseNumber(const std::string& text, double& value);
bool parseInteger(const std::string& text, int32_t& value);

}  // namespace mirtilcli
