// The native side of the files library's seams: files through POSIX,
// pictures through librsvg and cairo, animations through giflib. Linked from mirtil_hostfiles_native.
#pragma once

#include "hostfiles/FileStore.h"
#include "hostfiles/SvgRenderer.h"

namespace hostfiles {

class PosixFileStore : public FileStore {
 public:
  bool read(const std::string& path, std::string* data, std::string* error) override;
  // Its close flushes the file to the disk, so a rename after it is safe.
  std::unique_ptr<FileSink> create(const std::string& path, std::string* error) override;
  bool rename(const std::string& from, const std::string& to, std::string* error) override;
  void remove(const std::string& path) override;
};

class RsvgRenderer : public SvgRenderer {
 public:
  bool renderPng(const std::string& svgText, double scale, std::string* png, std::string* error) override;
  // Through giflib, each frame with its own palette of 252 colours.
  bool animatedGif(const std::vector<std::string>& pngFrames, const std::vector<int>& centiseconds, std::string* gif,
                   std::string* error) override;
};

}  // namespace hostfiles
