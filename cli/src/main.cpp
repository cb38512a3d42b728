// mirtil-host on this machine: the dynamic linker loads the module, POSIX
// files, librsvg pictures, the user's configuration folder.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "hostfiles/NativeFiles.h"
#include "hostposix/DlopenModuleLoader.h"
#include "mirtilcli/Program.h"

namespace {

constexpr const char* kModuleFileName = "Mirtil.aip";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The folder this program was started from, where the module sits beside it.
std::string ProgramFolder(const char* argv0) {
  std::string path(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
  path = length > 0 ? path.substr(0, static_cast<std::size_t>(length)) : std::string(argv0 ? argv0 : "");
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? "." : folder.string();
}

bool MakeFolders(const std::string& path, std::string* error) {
  std::error_code failure;
  std::filesystem::create_directories(path, failure);
  if (failure) *error = failure.message();
  return !failure;
}

}  // namespace

int main(int argc, char** argv) {
  hostposix::DlopenModuleLoader loader;
  hostfiles::PosixFileStore files;
  hostfiles::RsvgRenderer renderer;
  mirtilcli::Machine machine{loader, files, renderer, MakeFolders, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};

  mirtilcli::ProgramDefaults defaults;
  defaults.pluginPath = ProgramFolder(argc > 0 ? argv[0] : nullptr) + "/" + kModuleFileName;
  defaults.preferencesPath = mirtilcli::configPreferencesPath(Variable("XDG_CONFIG_HOME"), Variable("HOME"));
  return mirtilcli::runProgram(std::vector<std::string>(argv + 1, argv + argc), machine, defaults);
}
