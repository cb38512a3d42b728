// The INI reader over any file: every getter for the names and sections
// the file holds and for a few it may not, cached and uncached.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ovini.h"
#include "ovlog.h"
#include "ovmem.h"

namespace {

std::string filePath;

// Words that may be section or record names: the bracketed ones and the
// first word of every line.
void namesIn(const std::string& text, std::vector<std::string>& sections, std::vector<std::string>& names) {
  std::size_t start = 0;
  while (start < text.size() && sections.size() + names.size() < 64) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      if (line[first] == '[') {
        const std::size_t close = line.find(']', first);
        sections.push_back(line.substr(first + 1, close == std::string::npos ? std::string::npos : close - first - 1));
      } else {
        names.push_back(line.substr(first, line.find_first_of(" \t\r", first) - first));
      }
    }
    start = end + 1;
  }
}

void askEverything(const std::vector<std::string>& sections, const std::vector<std::string>& names) {
  const char* file = filePath.c_str();
  for (const std::string& section : sections) {
    for (const std::string& name : names) {
      const char* s = section.c_str();
      const char* n = name.c_str();
      free_mem(getini(file, s, n));
      free_mem(get_string_from_ini(file, s, n));
      get_int_from_ini(file, s, n, 7);
      get_unsigned_from_ini(file, s, n, 7);
      get_float_from_ini(file, s, n, 7.0f);
      get_BOOLEAN_from_ini(file, s, n, true);
      get_char_from_ini(file, s, n, 'x');
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  set_log_output(0, nullptr);
  filePath = (std::filesystem::temp_directory_path() / ("mirtil-ini-fuzz-" + std::to_string(getpid()) + ".ini")).string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (std::FILE* out = std::fopen(filePath.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
  }
  std::vector<std::string> sections{"Mirtil", ""};
  std::vector<std::string> names{"Steps", ""};
  namesIn(text, sections, names);
  clear_ini_cache(filePath.c_str());
  set_ini_cache_use(true);
  askEverything(sections, names);
  clear_ini_cache(filePath.c_str());
  set_ini_cache_use(false);
  askEverything({sections.front()}, {names.back()});
  set_ini_cache_use(true);
  return 0;
}
