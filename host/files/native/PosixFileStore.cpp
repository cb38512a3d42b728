#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "hostfiles/NativeFiles.h"

namespace hostfiles {

bool PosixFileStore::read(const std::string& path, std::string* data, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  data->clear();
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data->append(buffer, size_t(n));
  }
  ::close(fd);
  return true;
}

namespace {

// A file open for writing; closed when dropped unfinished.
class PosixFileSink : public FileSink {
 public:
  explicit PosixFileSink(int fd) : fd_(fd) {}
  ~PosixFileSink() override {
    if (fd_ >= 0) ::close(fd_);
  }

  bool append(std::string_view piece, std::string* error) override {
    size_t written = 0;
    while (written < piece.size()) {
      const ssize_t n = ::write(fd_, piece.data() + written, piece.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        *error = std::strerror(errno);
        return false;
      }
      written += size_t(n);
    }
    return true;
  }

  bool close(std::string* error) override {
    const bool synced = ::fsync(fd_) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed) {
      *error = std::strerror(synced ? errno : syncError);
      return false;
    }
    return true;
  }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<FileSink> PosixFileStore::create(const std::string& path, std::string* error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<PosixFileSink>(fd);
}

bool PosixFileStore::rename(const std::string& from, const std::string& to, std::string* error) {
  if (std::rename(from.c_str(), to.c_str()) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

void PosixFileStore::remove(const std::string& path) { ::unlink(path.c_str()); }

}  // namespace hostfiles
