#include "hostfiles/FileStore.h"

namespace hostfiles {

bool writeFileAtomically(FileStore& files, const std::string& path, const std::string& data, std::string* error) {
  // Beside the target, so that the rename stays on one file system.
  const std::string temporary = path + ".saving";
  if (!files.write(temporary, data, error) || !files.rename(temporary, path, error)) {
    files.remove(temporary);
    return false;
  }
  return true;
}

}  // namespace hostfiles
