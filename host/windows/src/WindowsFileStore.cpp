#include "hostwindows/WindowsFileStore.h"

#include <windows.h>

#include <algorithm>

#include "hostwindows/WideText.h"

namespace hostwindows {

namespace {

// Closes the handle when it goes out of scope.
struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

bool Fail(std::string* error) {
  *error = systemMessage(GetLastError());
  return false;
}

}  // namespace

bool WindowsFileStore::read(const std::string& path, std::string* data, std::string* error) {
  FileHandle file{CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return Fail(error);
  data->clear();
  char buffer[65536];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(file.handle, buffer, sizeof buffer, &count, nullptr)) return Fail(error);
    if (count == 0) return true;
    data->append(buffer, count);
  }
}

namespace {

class WindowsFileSink : public hostfiles::FileSink {
 public:
  explicit WindowsFileSink(HANDLE handle) : file_{handle} {}

  bool append(std::string_view piece, std::string* error) override {
    std::size_t written = 0;
    while (written < piece.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(piece.size() - written, 1u << 30));
      DWORD count = 0;
      if (!WriteFile(file_.handle, piece.data() + written, chunk, &count, nullptr)) return Fail(error);
      written += count;
    }
    return true;
  }

  // On the disk before the rename that follows makes it the file.
  bool close(std::string* error) override {
    if (!FlushFileBuffers(file_.handle)) return Fail(error);
    CloseHandle(file_.handle);
    file_.handle = INVALID_HANDLE_VALUE;
    return true;
  }

 private:
  FileHandle file_;
};

}  // namespace

std::unique_ptr<hostfiles::FileSink> WindowsFileStore::create(const std::string& path, std::string* error) {
  const HANDLE handle =
      CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    Fail(error);
    return nullptr;
  }
  return std::make_unique<WindowsFileSink>(handle);
}

bool WindowsFileStore::rename(const std::string& from, const std::string& to, std::string* error) {
  if (!MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail(error);
  }
  return true;
}

void WindowsFileStore::remove(const std::string& path) { DeleteFileW(wide(path).c_str()); }

bool NoPictures::renderPng(const std::string&, double, std::string*, std::string* error) {
  *error = "pictures are not drawn on Windows";
  return false;
}

bool NoPictures::animatedGif(const std::vector<std::string>&, const std::vector<int>&, std::string*,
                             std::string* error) {
  *error = "pictures are not drawn on Windows";
  return false;
}

}  // namespace hostwindows
