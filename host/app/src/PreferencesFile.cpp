#include "hostapp/PreferencesFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace hostapp {

namespace {

constexpr const char* kPreferencesFileName = ".mirrortile-preferences";

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

bool DiskTextFiles::read(const std::string& path, std::string& contents) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return false;
  contents = text.str();
  return true;
}

bool DiskTextFiles::write(const std::string& path, const std::string& contents) {
  // Written beside the file and renamed over it, so that a write that
  // fails half-way (a full disk) leaves the file as it was.
  const std::string fresh = path + ".new";
  std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
  out << contents;
  out.close();
  if (!out || std::rename(fresh.c_str(), path.c_str()) != 0) {
    std::remove(fresh.c_str());
    return false;
  }
  return true;
}

std::string defaultPreferencesPath() {
  const std::string chosen = Variable(kPreferencesPathVariable);
  if (!chosen.empty()) return chosen;
  const std::string home = Variable("HOME");
  return home.empty() ? kPreferencesFileName : home + "/" + kPreferencesFileName;
}

PreferencesFile::PreferencesFile(TextFiles& files, std::string path) : files_(files), path_(std::move(path)) {}

bool PreferencesFile::load(Preferences& prefs) {
  std::string contents;
  if (!files_.read(path_, contents)) {
    prefs.clear();
    return true;
  }
  Preferences read;
  std::istringstream in(contents);
  if (!read.load(in)) return false;
  prefs = read;
  return true;
}

bool PreferencesFile::save(const Preferences& prefs) {
  std::ostringstream out;
  prefs.save(out);
  return files_.write(path_, out.str());
}

}  // namespace hostapp
