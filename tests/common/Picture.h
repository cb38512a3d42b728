// A PNG picture read back through cairo, pixel by pixel.
#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

class Picture {
 public:
  explicit Picture(const std::string& path) : surface_(cairo_image_surface_create_from_png(path.c_str())) {}

  static Picture fromPng(std::string_view png) {
    const auto readFrom = [](void* closure, unsigned char* data, unsigned int length) {
      auto* rest = static_cast<std::string_view*>(closure);
      if (rest->size() < length) return CAIRO_STATUS_READ_ERROR;
      std::memcpy(data, rest->data(), length);
      rest->remove_prefix(length);
      return CAIRO_STATUS_SUCCESS;
    };
    return Picture(cairo_image_surface_create_from_png_stream(readFrom, &png));
  }

  bool ok() const { return cairo_surface_status(surface_.get()) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(surface_.get()); }
  int height() const { return cairo_image_surface_get_height(surface_.get()); }
  // Alpha, red, green and blue of the pixel, premultiplied, from the high byte down.
  uint32_t argb(int x, int y) const {
    const unsigned char* row = cairo_image_surface_get_data(surface_.get()) +
                               static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_.get());
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + 4 * x, 4);
    return pixel;
  }
  // Red, green, blue of the pixel.
  std::array<int, 3> at(int x, int y) const {
    const uint32_t pixel = argb(x, y);
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
  }

 private:
  struct SurfaceFree {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  explicit Picture(cairo_surface_t* surface) : surface_(surface) {}

  std::unique_ptr<cairo_surface_t, SurfaceFree> surface_;
};
