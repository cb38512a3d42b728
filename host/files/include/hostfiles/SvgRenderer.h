// The seam to a renderer of SVG text into PNG images.
#pragma once

#include <string>
#include <vector>

namespace hostfiles {

class SvgRenderer {
 public:
  virtual ~SvgRenderer() = default;
  // PNG bytes of the SVG drawn at `scale` pixels per user unit; false
  // with a reason in `error` for text the renderer cannot draw.
  virtual bool renderPng(const std::string& svgText, double scale, std::string* png, std::string* error) = 0;
  // A looping animated GIF of PNG pictures of one size, each shown for
  // its time in hundredths of a second, over white; false with a reason.
  virtual bool animatedGif(const std::vector<std::string>& pngFrames, const std::vector<int>& centiseconds,
                           std::string* gif, std::string* error) = 0;
};

}  // namespace hostfiles
