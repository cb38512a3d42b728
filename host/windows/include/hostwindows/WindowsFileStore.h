// Files on Windows: UTF-8 paths handed to the system as wide paths; a file
// written is flushed to the disk when it closes, and a rename replaces the
// target in one step, so saves through writeFileAtomically are atomic.
#pragma once

#include "hostfiles/FileStore.h"
#include "hostfiles/SvgRenderer.h"

namespace hostwindows {

class WindowsFileStore : public hostfiles::FileStore {
 public:
  bool read(const std::string& path, std::string* data, std::string* error) override;
  std::unique_ptr<hostfiles::FileSink> create(const std::string& path, std::string* error) override;
  bool rename(const std::string& from, const std::string& to, std::string* error) override;
  void remove(const std::string& path) override;
};

// No picture renderer is built for Windows: every picture is refused.
class NoPictures : public hostfiles::SvgRenderer {
 public:
  bool renderPng(const std::string& svgText, double scale, std::string* png, std::string* error) override;
  bool animatedGif(const std::vector<std::string>& pngFrames, const std::vector<int>& centiseconds, std::string* gif,
                   std::string* error) override;
};

}  // namespace hostwindows
