// Drawings made elsewhere: our own corpus, and the stock examples of a
// drawing program where it is installed. Each is read, written, read and
// written again to the same bytes, and drawn by librsvg the same before
// and after.
#include <librsvg/rsvg.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "FilesFixture.h"
#include "Picture.h"
#include "hostfiles/NativeFiles.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kStockExamples = "/usr/share/inkscape/examples";

std::vector<std::string> drawings() {
  std::vector<std::string> found;
  for (const char* folder : {MIRTIL_CORPUS_PATH, kStockExamples}) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
      if (entry.path().extension() == ".svg") found.push_back(entry.path().string());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The share of pixels that differ in some channel by more than anti-aliasing does.
double differingShare(const Picture& a, const Picture& b) {
  size_t differing = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      for (int shift = 0; shift < 32; shift += 8) {
        const int channelA = int(a.argb(x, y) >> shift & 0xff), channelB = int(b.argb(x, y) >> shift & 0xff);
        if (std::abs(channelA - channelB) > 48) {
          ++differing;
          break;
        }
      }
  const size_t all = size_t(a.width()) * size_t(a.height());
  return all == 0 ? 0 : double(differing) / double(all);
}

class CorpusTest : public FilesTest, public ::testing::WithParamInterface<std::string> {
 protected:
  hostfiles::PosixFileStore files;
  hostfiles::RsvgRenderer renderer;

  std::string roundTrip(const std::string& text, const std::string& name) {
    const hostfiles::Outcome read = hostfiles::readSvg(core, text, name);
    EXPECT_TRUE(read.ok()) << read.error;
    return hostfiles::writeSvg(core);
  }

  // Small pictures, the longer side 200 pixels: the comparison is of what
  // is drawn, not of detail, and filters take long on large ones.
  std::optional<Picture> render(const std::string& text, double scale) {
    std::string png, error;
    if (!renderer.renderPng(text, scale, &png, &error)) return std::nullopt;
    Picture picture = Picture::fromPng(png);
    EXPECT_TRUE(picture.ok()) << "librsvg's PNG does not decode";
    return picture;
  }

  static double smallScale(const std::string& text) {
    RsvgHandle* handle = rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()), text.size(), nullptr);
    double width = 0, height = 0;
    if (handle != nullptr) {
      rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height);
      g_object_unref(handle);
    }
    return std::max(width, height) > 0 ? 200 / std::max(width, height) : 1;
  }
};

TEST_P(CorpusTest, SavedTwiceGivesTheSameBytesAndTheSamePicture) {
  const std::string path = GetParam();
  std::string original, error;
  ASSERT_TRUE(files.read(path, &original, &error)) << error;

  const std::string first = roundTrip(original, path);
  const std::string second = roundTrip(first, path + " (saved)");
  EXPECT_EQ(first, second);

  // A drawing librsvg cannot draw as it came is only kept as it is.
  const double scale = smallScale(original);
  const std::optional<Picture> before = render(original, scale);
  if (!before) return;
  const std::optional<Picture> after = render(first, scale);
  ASSERT_TRUE(after) << "librsvg does not draw the saved file";
  ASSERT_EQ(before->width(), after->width());
  ASSERT_EQ(before->height(), after->height());
  EXPECT_LT(differingShare(*before, *after), 0.002);
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name =
      fs::path(info.param).stem().string() + (info.param.rfind(kStockExamples, 0) == 0 ? "_stock" : "_own");
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Drawings, CorpusTest, ::testing::ValuesIn(drawings()), testName);

}  // namespace
