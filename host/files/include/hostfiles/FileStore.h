// The seam to the file system: whole-file reads and writes, renaming and
// removal. The files library writes atomically on top of it; a native
// build uses the POSIX store, a browser build supplies its own.
#pragma once

#include <string>

namespace hostfiles {

class FileStore {
 public:
  virtual ~FileStore() = default;
  // Each answers false with a reason in `error` on failure.
  virtual bool read(const std::string& path, std::string* data, std::string* error) = 0;
  // Creates or truncates the file and writes all of `data`.
  virtual bool write(const std::string& path, const std::string& data, std::string* error) = 0;
  // Replaces `to` with `from` in one step.
  virtual bool rename(const std::string& from, const std::string& to, std::string* error) = 0;
  virtual void remove(const std::string& path) = 0;
};

// Writes `data` to a temporary file beside `path` and renames it into
// place: on failure the old file is left as it was and no temporary stays.
bool writeFileAtomically(FileStore& files, const std::string& path, const std::string& data, std::string* error);

}  // namespace hostfiles
