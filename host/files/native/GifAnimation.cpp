// Animated GIF pictures through giflib: the PNG frames decoded by cairo,
// laid over white and each given a fixed palette of 6 reds, 7 greens and
// 6 blues, the frames' times in a graphics control block each, and the
// looping block browsers read.
#include <cairo.h>
#include <gif_lib.h>

#include <cstring>
#include <memory>
#include <string_view>

#include "hostfiles/NativeFiles.h"

namespace hostfiles {

namespace {

constexpr int kReds = 6, kGreens = 7, kBlues = 6;

cairo_status_t readFrom(void* closure, unsigned char* data, unsigned int length) {
  auto* rest = static_cast<std::string_view*>(closure);
  if (rest->size() < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, rest->data(), length);
  rest->remove_prefix(length);
  return CAIRO_STATUS_SUCCESS;
}

int writeTo(GifFileType* file, const GifByteType* data, int length) {
  static_cast<std::string*>(file->UserData)->append(reinterpret_cast<const char*>(data), size_t(length));
  return length;
}

int level(int value, int levels) { return (value * (levels - 1) + 127) / 255; }

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

}  // namespace

bool RsvgRenderer::animatedGif(const std::vector<std::string>& pngFrames, const std::vector<int>& centiseconds,
                               std::string* gif, std::string* error) {
  if (pngFrames.empty() || pngFrames.size() != centiseconds.size()) {
    *error = "an animation needs frames, each with its time";
    return false;
  }
  std::vector<Surface> frames;
  for (const std::string& png : pngFrames) {
    std::string_view rest = png;
    frames.emplace_back(cairo_image_surface_create_from_png_stream(readFrom, &rest), cairo_surface_destroy);
    if (cairo_surface_status(frames.back().get()) != CAIRO_STATUS_SUCCESS) {
      *error = "a frame is not a PNG picture";
      return false;
    }
  }
  const int width = cairo_image_surface_get_width(frames[0].get());
  const int height = cairo_image_surface_get_height(frames[0].get());
  if (width > 65535 || height > 65535) {
    *error = "a GIF picture is at most 65535 pixels wide and high";
    return false;
  }

  GifColorType colours[256] = {};
  for (int r = 0; r < kReds; ++r)
    for (int g = 0; g < kGreens; ++g)
      for (int b = 0; b < kBlues; ++b)
        colours[(r * kGreens + g) * kBlues + b] =
            GifColorType{GifByteType(r * 255 / (kReds - 1)), GifByteType(g * 255 / (kGreens - 1)),
                         GifByteType(b * 255 / (kBlues - 1))};

  gif->clear();
  int status = 0;
  GifFileType* file = EGifOpen(gif, writeTo, &status);
  if (file == nullptr) {
    *error = GifErrorString(status);
    return false;
  }
  ColorMapObject* palette = GifMakeMapObject(256, colours);
  EGifSetGifVersion(file, true);
  bool ok = palette != nullptr && EGifPutScreenDesc(file, width, height, 8, 0, palette) == GIF_OK;
  // Loops for ever.
  const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
  const GifByteType loop[] = {1, 0, 0};
  ok = ok && EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
       EGifPutExtensionBlock(file, sizeof application, application) == GIF_OK &&
       EGifPutExtensionBlock(file, sizeof loop, loop) == GIF_OK && EGifPutExtensionTrailer(file) == GIF_OK;
  std::vector<GifPixelType> row(size_t(width), 0);
  for (size_t f = 0; ok && f < frames.size(); ++f) {
    cairo_surface_t* frame = frames[f].get();
    if (cairo_image_surface_get_width(frame) != width || cairo_image_surface_get_height(frame) != height) {
      *error = "the frames are not all of one size";
      EGifCloseFile(file, &status);
      GifFreeMapObject(palette);
      return false;
    }
    GraphicsControlBlock control{DISPOSE_DO_NOT, false, centiseconds[f], NO_TRANSPARENT_COLOR};
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    ok = EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) == GIF_OK &&
         EGifPutImageDesc(file, 0, 0, width, height, false, nullptr) == GIF_OK;
    cairo_surface_flush(frame);
    const unsigned char* data = cairo_image_surface_get_data(frame);
    const int stride = cairo_image_surface_get_stride(frame);
    for (int y = 0; ok && y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        uint32_t argb;
        std::memcpy(&argb, data + size_t(y) * size_t(stride) + size_t(x) * 4, 4);
        // Premultiplied: over white, each channel gains what alpha leaves.
        const int white = 255 - int(argb >> 24);
        const int r = int(argb >> 16 & 0xff) + white, g = int(argb >> 8 & 0xff) + white, b = int(argb & 0xff) + white;
        row[size_t(x)] = GifPixelType((level(r, kReds) * kGreens + level(g, kGreens)) * kBlues + level(b, kBlues));
      }
      ok = EGifPutLine(file, row.data(), width) == GIF_OK;
    }
  }
  if (!ok) *error = GifErrorString(file->Error);
  if (EGifCloseFile(file, &status) != GIF_OK && ok) {
    *error = GifErrorString(status);
    ok = false;
  }
  GifFreeMapObject(palette);
  return ok;
}

}  // namespace hostfiles
