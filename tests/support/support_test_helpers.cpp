#include <fstream>
#include <filesystem>
#include <random>
#include <regex>
#include <sstream>

#include "ovlog.h"
#include "support_test_helpers.h"

LogCapture::LogCapture(int mode, const char* tag) {
  platform_set_output_sink(&LogCapture::Collect, this);
  set_log_output(mode, tag);
}

LogCapture::~LogCapture() {
  set_log_output(LOG_TO_NOWHERE, nullptr);
  platform_set_output_sink(nullptr, nullptr);
}

void LogCapture::Collect(PlatformOutputKind kind, const char* text, void* context) {
  static_cast<LogCapture*>(context)->outputs_.push_back({kind, text});
}

std::vector<std::string> LogCapture::texts() const {
  std::vector<std::string> result;
  for (const Output& output : outputs_) result.push_back(output.text);
  return result;
}

std::vector<std::string> LogCapture::entries() const {
  static const std::regex stamp(R"(^\d\d/\d\d/\d\d \d\d:\d\d:\d\d)");
  std::vector<std::string> result;
  for (const Output& output : outputs_) result.push_back(std::regex_replace(output.text, stamp, ""));
  return result;
}

std::string LogCapture::joined() const {
  std::string all;
  for (const Output& output : outputs_) all += output.text;
  return all;
}

std::string log_on_stderr(const std::function<void()>& action) {
  set_log_output(LOG_TO_STDERR, nullptr);
  ::testing::internal::CaptureStderr();
  action();
  std::string written = ::testing::internal::GetCapturedStderr();
  set_log_output(LOG_TO_NOWHERE, nullptr);
  return written;
}

TempFile::TempFile(const std::string& leaf) {
  // Test processes run side by side, so each folder gets a random name.
  std::random_device random;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("mirtil_support_" + std::to_string(random()) + "_" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  folder_ = folder.string();
  path_ = (folder / leaf).string();
}

TempFile::~TempFile() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

void TempFile::write(const std::string& contents) const {
  std::ofstream(path_, std::ios::binary) << contents;
}

std::string TempFile::read() const {
  std::ifstream in(path_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
