// Reading any words as mirtil-host's command line (the input split at
// each zero byte): bad ones are refused with a usage error, never a crash,
// and a line that is read means the same written again in the long form
// (each option as --name=value after the file names).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ModuleFuzzing.h"
#include "mirtilcli/Program.h"

namespace {

std::vector<std::string> wordsOf(const uint8_t* data, size_t size) {
  std::vector<std::string> words(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      words.emplace_back();
    } else {
      words.back() += static_cast<char>(data[i]);
    }
  }
  return words;
}

std::vector<std::string> longForm(const mirtilcli::Arguments& args) {
  std::vector<std::string> words{args.command};
  words.insert(words.end(), args.positional.begin(), args.positional.end());
  for (const auto& option : args.options) words.push_back("--" + option.first + "=" + option.second);
  return words;
}

std::string shown(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += " [" + word + "]";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> words = wordsOf(data, size);
  mirtilcli::Arguments args;
  try {
    args = mirtilcli::readArguments(words);
  } catch (const mirtilcli::UsageError&) {
    return 0;  // refused with a message: what bad input should get
  }
  if (args.help) return 0;
  const std::vector<std::string> again = longForm(args);
  try {
    const mirtilcli::Arguments reread = mirtilcli::readArguments(again);
    if (reread.command != args.command || reread.positional != args.positional || reread.options != args.options ||
        reread.help) {
      fail("the long form means something else:" + shown(words) + " ->" + shown(again));
    }
  } catch (const mirtilcli::UsageError& error) {
    fail("the long form is refused:" + shown(words) + " ->" + shown(again) + ": " + error.what());
  }
  return 0;
}
