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

bool PosixFileStore::write(const std::string& path, const std::string& data, std::string* error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    *error = std::strerror(errno);
    return false;
  }
  size_t written = 0;
  while (written < data.size()) {
    const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = std::strerror(errno);
      ::close(fd);
      return false;
    }
    written += size_t(n);
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
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
