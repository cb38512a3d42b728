#include "mirtilcli/Script.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace mirtilcli {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Place(const std::string& fileName, int line) { return fileName + ":" + std::to_string(line); }

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

}  // namespace

std::vector<ScriptLine> splitScript(const std::string& text, const std::string& fileName) {
  std::vector<ScriptLine> lines;
  std::size_t at = 0;
  int number = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    number += 1;
    ScriptLine line;
    line.number = number;
    std::size_t i = at;
    while (i < end) {
      if (IsBlank(text[i])) {
        ++i;
        continue;
      }
      if (text[i] == '#') break;
      Word word;
      word.quoted = text[i] == '"';
      // A word runs to the next blank; quoted stretches inside it keep
      // their blanks (name="a b" is one option).
      while (i < end && !IsBlank(text[i])) {
        if (text[i] != '"') {
          word.text += text[i++];
          continue;
        }
        ++i;
        bool closed = false;
        while (i < end) {
          const char c = text[i++];
          if (c == '"') {
            closed = true;
            break;
          }
          if (c == '\\' && i < end && (text[i] == '"' || text[i] == '\\')) {
            word.text += text[i++];
          } else {
            word.text += c;
          }
        }
        if (!closed) throw UsageError(Place(fileName, number) + ": a text in double quotes is not closed");
      }
      line.words.push_back(word);
    }
    if (!line.words.empty()) lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

bool parseNumber(const std::string& text, double& value) {
  if (text.empty() || IsBlank(text[0]) || text[0] == '\n') return false;
  errno = 0;
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

bool parseInteger(const std::string& text, int32_t& value) {
  if (text.empty() || IsBlank(text[0]) || text[0] == '\n') return false;
  errno = 0;
  char* end = nullptr;
  const long long parsed = std::strtoll(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size() || errno == ERANGE || parsed < INT32_MIN || parsed > INT32_MAX) {
    return false;
  }
  value = static_cast<int32_t>(parsed);
  return true;
}

bool parseResultCode(const std::string& text, int32_t& code) {
  if (text == "0") {
    code = 0;
    return true;
  }
  if (text.size() != 6 || text.front() != '\'' || text.back() != '\'') return false;
  uint32_t value = 0;
  for (std::size_t i = 1; i < 5; ++i) value = (value << 8) | static_cast<unsigned char>(text[i]);
  code = static_cast<int32_t>(value);
  return true;
}

std::string formatResultCode(int32_t code) {
  if (code == 0) return "0";
  std::string text = "'";
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return text + "'";
}

LineReader::LineReader(const ScriptLine& line, const std::string& fileName)
    : place_(Place(fileName, line.number)), command_(line.words.front().text) {
  for (std::size_t i = 1; i < line.words.size(); ++i) {
    const Word& word = line.words[i];
    const std::size_t equals = word.text.find('=');
    // A word that begins with a quote, or has nothing before its '=',
    // stands for itself.
    if (word.quoted || equals == std::string::npos || equals == 0) {
      positional_.push_back(word);
      continue;
    }
    const std::string name = word.text.substr(0, equals);
    if (options_.count(name)) throw error("option " + name + "= given twice");
    options_[name] = word.text.substr(equals + 1);
    optionsRead_[name] = false;
  }
}

UsageError LineReader::error(const std::string& message) const {
  return UsageError(place_ + ": " + command_ + ": " + message);
}

std::string LineReader::take(const char* what) {
  if (atEnd()) throw error(std::string("missing ") + what);
  return positional_[next_++].text;
}

std::string LineReader::text(const char* what) { return take(what); }

double LineReader::toNumber(const std::string& word, const std::string& label) const {
  double value = 0;
  if (!parseNumber(word, value)) throw error(label + " must be a number, not " + Quoted(word));
  return value;
}

int32_t LineReader::toInteger(const std::string& word, const std::string& label) const {
  int32_t value = 0;
  if (!parseInteger(word, value)) throw error(label + " must be a whole number, not " + Quoted(word));
  return value;
}

double LineReader::number(const char* what) { return toNumber(take(what), what); }

int32_t LineReader::integer(const char* what) { return toInteger(take(what), what); }

std::string LineReader::matchChoice(const std::string& word, const std::string& what,
                                    const std::vector<std::string>& choices) const {
  std::string list;
  for (const std::string& candidate : choices) {
    if (word == candidate) return word;
    list += (list.empty() ? "" : "|") + candidate;
  }
  throw error(what + " must be " + list + ", not " + Quoted(word));
}

std::string LineReader::choice(const char* what, const std::vector<std::string>& choices) {
  return matchChoice(take(what), what, choices);
}

int32_t LineReader::resultCode(const char* what) {
  const std::string word = take(what);
  int32_t code = 0;
  if (!parseResultCode(word, code)) {
    throw error(std::string(what) + " must be 0 or four characters in single quotes, not " + Quoted(word));
  }
  return code;
}

std::string LineReader::takeOption(const std::string& name) {
  optionsRead_[name] = true;
  return options_.at(name);
}

std::string LineReader::textOption(const std::string& name, const std::string& fallback) {
  return hasOption(name) ? takeOption(name) : fallback;
}

double LineReader::numberOption(const std::string& name, double fallback) {
  return hasOption(name) ? toNumber(takeOption(name), name + "=") : fallback;
}

int32_t LineReader::integerOption(const std::string& name, int32_t fallback) {
  return hasOption(name) ? toInteger(takeOption(name), name + "=") : fallback;
}

void LineReader::finish() {
  if (!atEnd()) throw error("unexpected " + Quoted(positional_[next_].text));
  for (const auto& option : optionsRead_) {
    if (option.second) continue;
    std::string known;
    for (const std::string& name : optionsAsked_) known += (known.empty() ? "" : ", ") + name + "=";
    throw error("unknown option " + option.first + "=; " + command_ +
                (known.empty() ? " takes no options" : " takes " + known));
  }
}

}  // namespace mirtilcli
