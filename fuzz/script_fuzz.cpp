// Reading any text as a mirtil-host script: every line is split and
// checked against the commands, and bad input is refused with a usage
// error, never a crash.

#include <cstddef>
#include <cstdint>
#include <sstream>

#include "ModuleFuzzing.h"
#include "mirtilcli/ScriptRunner.h"

namespace {

// No files and no pictures: a script is only read here, never run.
class NoFiles : public hostfiles::FileStore {
 public:
  bool read(const std::string&, std::string*, std::string* error) override { return refuse(error); }
  std::unique_ptr<hostfiles::FileSink> create(const std::string&, std::string* error) override {
    refuse(error);
    return nullptr;
  }
  bool rename(const std::string&, const std::string&, std::string* error) override { return refuse(error); }
  void remove(const std::string&) override {}

 private:
  static bool refuse(std::string* error) {
    if (error) *error = "no files while fuzzing";
    return false;
  }
};

class NoPictures : public hostfiles::SvgRenderer {
 public:
  bool renderPng(const std::string&, double, std::string*, std::string* error) override {
    if (error) *error = "no pictures while fuzzing";
    return false;
  }
  bool animatedGif(const std::vector<std::string>&, const std::vector<int>&, std::string*,
                   std::string* error) override {
    if (error) *error = "no pictures while fuzzing";
    return false;
  }
};

bool NoFolders(const std::string&, std::string* error) {
  if (error) *error = "no folders while fuzzing";
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  moduleLoader();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static NoFiles files;
  static NoPictures renderer;
  static std::ostringstream out;
  static mirtilcli::Machine machine{moduleLoader(), files, renderer, NoFolders, out, out};
  static mirtilcli::Session session(machine, {MIRTIL_MODULE_PATH, ""});
  mirtilcli::ScriptRunner runner(session, "fuzz.script");
  try {
    runner.load(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const mirtilcli::UsageError&) {
    // Refused with a message naming the line: what bad input should get.
  }
  out.str({});
  return 0;
}
