// mirtil-host on Windows: LoadLibrary loads the module, files go through
// wide paths, preferences live under %APPDATA%. Arguments arrive wide and
// are UTF-8 from here on.
#include <windows.h>

#include <filesystem>
#include <iostream>
#include <system_error>

#include "hostwindows/WideText.h"
#include "hostwindows/WindowsFileStore.h"
#include "hostwindows/WindowsModuleLoader.h"
#include "mirtilcli/Program.h"

namespace {

constexpr const char* kModuleFileName = "Mirtil.aip";

std::string Variable(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return "";
  std::wstring value(size, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), size));
  return hostwindows::utf8(value);
}

// The folder of this program, where the module sits beside it.
std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  return folder.empty() ? "." : hostwindows::utf8(folder.wstring());
}

bool MakeFolders(const std::string& path, std::string* error) {
  std::error_code failure;
  std::filesystem::create_directories(std::filesystem::path(hostwindows::wide(path)), failure);
  if (failure) *error = failure.message();
  return !failure;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  hostwindows::WindowsModuleLoader loader;
  hostwindows::WindowsFileStore files;
  hostwindows::NoPictures renderer;
  mirtilcli::Machine machine{loader, files, renderer, MakeFolders, std::cout, std::cerr};

  mirtilcli::ProgramDefaults defaults;
  defaults.pluginPath = ProgramFolder() + "\\" + kModuleFileName;
  // %APPDATA% holds the user's configuration as $XDG_CONFIG_HOME does elsewhere.
  defaults.preferencesPath = mirtilcli::configPreferencesPath(Variable(L"APPDATA"), "");
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(hostwindows::utf8(argv[i]));
  return mirtilcli::runProgram(args, machine, defaults);
}
