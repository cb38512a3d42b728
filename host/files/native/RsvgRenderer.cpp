#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <memory>

#include "hostfiles/NativeFiles.h"

namespace hostfiles {

namespace {

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool RsvgRenderer::renderPng(const std::string& svgText, double scale, std::string* png, std::string* error) {
  GError* gerror = nullptr;
  std::unique_ptr<RsvgHandle, decltype(&g_object_unref)> handle(
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svgText.data()), gsize(svgText.size()), &gerror),
      g_object_unref);
  if (!handle) {
    *error = gerror != nullptr ? gerror->message : "not an SVG picture";
    if (gerror != nullptr) g_error_free(gerror);
    return false;
  }
  double width = 0, height = 0;
  if (!rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height) || width <= 0 || height <= 0) {
    *error = "the picture has no size of its own";
    return false;
  }
  const int pixelsWide = int(std::ceil(width * scale)), pixelsHigh = int(std::ceil(height * scale));
  if (pixelsWide <= 0 || pixelsHigh <= 0 || pixelsWide > 32767 || pixelsHigh > 32767) {
    *error = "the picture would be " + std::to_string(pixelsWide) + " by " + std::to_string(pixelsHigh) + " pixels";
    return false;
  }
  std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsWide, pixelsHigh), cairo_surface_destroy);
  std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
  const RsvgRectangle viewport{0, 0, width * scale, height * scale};
  if (!rsvg_handle_render_document(handle.get(), cr.get(), &viewport, &gerror)) {
    *error = gerror != nullptr ? gerror->message : "the picture could not be drawn";
    if (gerror != nullptr) g_error_free(gerror);
    return false;
  }
  png->clear();
  if (cairo_surface_write_to_png_stream(surface.get(), appendToString, png) != CAIRO_STATUS_SUCCESS) {
    *error = "the picture could not be encoded";
    return false;
  }
  return true;
}

}  // namespace hostfiles
