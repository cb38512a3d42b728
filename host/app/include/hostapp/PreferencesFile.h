// Where the host keeps its preferences between runs: one text file, reached
// through a small seam so that tests can stand in for the disk.
#pragma once

#include <string>

#include "hostapp/Preferences.h"

namespace hostapp {

class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // False when the file is missing or cannot be read.
  virtual bool read(const std::string& path, std::string& contents) = 0;
  // Replaces the file's contents; false when it cannot be written, and
  // then the file keeps what it held.
  virtual bool write(const std::string& path, const std::string& contents) = 0;
};

// The files of the machine the host runs on.
class DiskTextFiles : public TextFiles {
 public:
  bool read(const std::string& path, std::string& contents) override;
  bool write(const std::string& path, const std::string& contents) override;
};

// The environment variable by which a user names another preferences file.
constexpr const char* kPreferencesPathVariable = "MIRTIL_PREFERENCES";

// $MIRTIL_PREFERENCES when set and not empty; else ".mirrortile-preferences"
// in $HOME; else that name in the working directory.
std::string defaultPreferencesPath();

class PreferencesFile {
 public:
  PreferencesFile(TextFiles& files, std::string path);

  const std::string& path() const { return path_; }
  // Replaces prefs with the file's values. A missing file holds none; a file
  // that does not read as preferences is refused with false, and prefs keep
  // what they held.
  bool load(Preferences& prefs);
  bool save(const Preferences& prefs);

 private:
  TextFiles& files_;
  std::string path_;
};

}  // namespace hostapp
