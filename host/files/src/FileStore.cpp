#include "hostfiles/FileStore.h"

namespace hostfiles {

bool FileStore::write(const std::string& path, std::string_view data, std::string* error) {
  const std::unique_ptr<FileSink> file = create(path, error);
  return file != nullptr && file->append(data, error) && file->close(error);
}

bool writeFileAtomically(FileStore& files, const std::string& path, const TextSource& text, std::string* error) {
  // Beside the target, so that the rename stays on one file system.
  const std::string temporary = path + ".saving";
  bool written = false;
  if (std::unique_ptr<FileSink> file = files.create(temporary, error)) {
    std::string refusal;
    const bool made = text([&](std::string_view piece) { return file->append(piece, &refusal); });
    if (!made && refusal.empty()) refusal = "the text could not be made";
    if (!made) *error = refusal;
    written = made && file->close(error);
  }
  if (!written || !files.rename(temporary, path, error)) {
    files.remove(temporary);
    return false;
  }
  return true;
}

bool writeFileAtomically(FileStore& files, const std::string& path, std::string_view data, std::string* error) {
  return writeFileAtomically(
      files, path, [&](const TextSink& sink) { return sink(data); }, error);
}

}  // namespace hostfiles
