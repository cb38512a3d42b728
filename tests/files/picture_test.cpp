#include <cairo.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "FilesFixture.h"
#include "hostfiles/NativeFiles.h"

namespace {

struct Pixel {
  int r, g, b, a;
};

class PictureTest : public FilesTest {
 protected:
  hostfiles::PosixFileStore files;
  hostfiles::RsvgRenderer renderer;
  // Of this process: tests run side by side.
  const std::string path = ::testing::TempDir() + "files_picture-" + std::to_string(::getpid()) + ".png";
  cairo_surface_t* image = nullptr;

  void TearDown() override {
    if (image != nullptr) cairo_surface_destroy(image);
    std::remove(path.c_str());
  }

  void load() {
    image = cairo_image_surface_create_from_png(path.c_str());
    ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  }
  int width() { return cairo_image_surface_get_width(image); }
  int height() { return cairo_image_surface_get_height(image); }
  Pixel at(int x, int y) {
    cairo_surface_flush(image);
    const unsigned char* row = cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    return Pixel{int(argb >> 16 & 0xff), int(argb >> 8 & 0xff), int(argb & 0xff), int(argb >> 24)};
  }
};

TEST_F(PictureTest, TheDocumentIsDrawnAtTheScaleAsWritten) {
  read(R"svg(<g><rect x="10" y="10" width="50" height="20" fill="#ff0000"/>
            <g clip-path="url(#c)"><rect width="200" height="100" fill="#0000ff"/></g></g>
            <clipPath id="c"><rect x="150" y="50" width="10" height="10"/></clipPath>)svg");
  ASSERT_TRUE(hostfiles::renderPng(renderer, files, core, 2, path).ok());
  load();
  EXPECT_EQ(width(), 400);
  EXPECT_EQ(height(), 200);
  const Pixel red = at(60, 40);  // file point (30, 20)
  EXPECT_EQ(red.r, 255);
  EXPECT_EQ(red.b, 0);
  EXPECT_EQ(red.a, 255);
  EXPECT_EQ(at(10, 10).a, 0);  // nothing drawn there
  // The clipping group shows only inside its clip path.
  EXPECT_EQ(at(310, 110).b, 255);
  EXPECT_EQ(at(250, 150).a, 0);
}

TEST_F(PictureTest, PlugInObjectsShowOnlyTheirResult) {
  // The edit art and the stored art would cover the page if drawn.
  read(R"svg(<g><g id="obj"><mirtil:plugin xmlns:mirtil="urn:mirrortile:host-document" group="G" version="1.2">
              <mirtil:edit id="e"><rect width="200" height="100" fill="#000000"/></mirtil:edit>
              <mirtil:entry key="Mir-Obj-000" type="art"><rect width="200" height="100" fill="#000000"/></mirtil:entry>
            </mirtil:plugin>
            <g id="res"><circle cx="100" cy="50" r="10" fill="#00ff00"/></g></g></g>)svg");
  ASSERT_TRUE(hostfiles::renderPng(renderer, files, core, 1, path).ok());
  load();
  EXPECT_EQ(at(100, 50).g, 255);
  EXPECT_EQ(at(5, 5).a, 0);
}

TEST_F(PictureTest, TextThatIsNoPictureIsRefused) {
  const hostfiles::Outcome outcome = hostfiles::renderPng(renderer, files, std::string("<nothing"), 1, path + "x");
  EXPECT_EQ(outcome.error.rfind(path + "x: ", 0), 0u);
  EXPECT_FALSE(hostfiles::renderPng(renderer, files, std::string("<svg/>"), 0, path).ok());
}

}  // namespace

namespace {

TEST_F(PictureTest, AnAnimationIsRefusedFramesOfDifferentSizes) {
  std::string small, large, gif, error;
  const std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>";
  ASSERT_TRUE(renderer.renderPng(svg, 1, &small, &error)) << error;
  ASSERT_TRUE(renderer.renderPng(svg, 2, &large, &error)) << error;
  EXPECT_TRUE(renderer.animatedGif({small, small}, {10, 20}, &gif, &error)) << error;
  EXPECT_FALSE(renderer.animatedGif({small, large}, {10, 20}, &gif, &error));
  EXPECT_EQ(error, "the frames are not all of one size");
  EXPECT_FALSE(renderer.animatedGif({small, "not a picture"}, {10, 20}, &gif, &error));
  EXPECT_EQ(error, "a frame is not a PNG picture");
  EXPECT_FALSE(renderer.animatedGif({}, {}, &gif, &error));
}

}  // namespace
