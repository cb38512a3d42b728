// A PNG picture read back through cairo, pixel by pixel.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

struct SurfaceFree {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};

class Picture {
 public:
  explicit Picture(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}
  bool ok() const { return cairo_surface_status(surface_.get()) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(surface_.get()); }
  int height() const { return cairo_image_surface_get_height(surface_.get()); }
  // Red, green, blue of the pixel.
  std::array<int, 3> at(int x, int y) const {
    const unsigned char* row = cairo_image_surface_get_data(surface_.get()) +
                               static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_.get());
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + 4 * x, 4);
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
  }

 private:
  std::unique_ptr<cairo_surface_t, SurfaceFree> surface_;
};
