// The INI reader over any file: every getter for each record the file
// holds, asked in its own section and in the file's last one, cached and
// uncached. The reader takes a path, so the file lives in memory
// (a memfd reached through /proc) and no disk is touched per input.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ovini.h"
#include "ovlog.h"
#include "ovmem.h"

namespace {

int fileDescriptor = -1;
std::string filePath;

// Each record's first word with the section it stands in, and the names
// of the sections; at most a few dozen, so the questions stay linear.
constexpr std::size_t kMostRecords = 48;

struct Records {
  std::vector<std::string> sections{"Mirtil"};
  std::vector<std::pair<std::string, std::string>> named;  // section, name
};

Records recordsIn(const std::string& text) {
  Records records;
  std::string section;
  std::size_t start = 0;
  while (start < text.size() && records.named.size() < kMostRecords) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos) {
      if (line[first] == '[') {
        const std::size_t close = line.find(']', first);
        section = line.substr(first + 1, close == std::string::npos ? std::string::npos : close - first - 1);
        records.sections.push_back(section);
      } else {
        records.named.emplace_back(section, line.substr(first, line.find_first_of(" \t\r", first) - first));
      }
    }
    start = end + 1;
  }
  records.named.emplace_back("Mirtil", "Steps");
  records.named.emplace_back("", "");
  return records;
}

void askAll(const std::string& section, const std::string& name) {
  const char* file = filePath.c_str();
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

void askEverything(const Records& records) {
  for (const auto& record : records.named) {
    askAll(record.first, record.second);
    askAll(records.sections.back(), record.second);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  set_log_output(0, nullptr);
  // The reader logs every bad line with a time stamp; with a fixed zone the
  // C library reads none from disk for it.
  setenv("TZ", "UTC", 1);
  fileDescriptor = memfd_create("mirtil-ini-fuzz", 0);
  if (fileDescriptor < 0) {
    std::perror("memfd_create");
    std::abort();
  }
  filePath = "/proc/self/fd/" + std::to_string(fileDescriptor);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ftruncate(fileDescriptor, 0) != 0 || pwrite(fileDescriptor, data, size, 0) != static_cast<ssize_t>(size)) {
    std::perror("the memory file");
    std::abort();
  }
  const Records records = recordsIn(std::string(reinterpret_cast<const char*>(data), size));
  clear_ini_cache(filePath.c_str());
  set_ini_cache_use(true);
  askEverything(records);
  // Uncached, every getter reads the file through the same path as
  // getini: a record there and one that is not are enough.
  clear_ini_cache(filePath.c_str());
  set_ini_cache_use(false);
  free_mem(getini(filePath.c_str(), records.named.front().first.c_str(), records.named.front().second.c_str()));
  free_mem(getini(filePath.c_str(), records.sections.back().c_str(), "Missing"));
  set_ini_cache_use(true);
  return 0;
}
