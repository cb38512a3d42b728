// Runs the built mirtil-host as a user does, in a folder of its own with a
// preferences file of its own, and reads what it wrote.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "MirtilNames.h"

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // Of this process: other test runs on the machine may run the same test.
    root = std::filesystem::temp_directory_path() / ("mirtil-host-tests-" + std::to_string(::getpid()));
    folder = root / (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }

  std::string path(const std::string& name) const { return (folder / name).string(); }

  void write(const std::string& name, const std::string& contents) const {
    std::ofstream out(path(name), std::ios::binary);
    out << contents;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool exists(const std::string& name) const { return std::filesystem::exists(folder / name); }

  // The program with the words, in the test's folder, its preferences in
  // the file "prefs" there unless told to find its own; `shellPrefix`
  // runs before it in the same shell.
  enum class Preferences { InFolder, Default };
  ProgramRun run(const std::vector<std::string>& words, const std::string& shellPrefix = "",
                 Preferences preferences = Preferences::InFolder) const {
    std::string command = "cd '" + folder.string() + "' && " + shellPrefix + " '" + MIRTIL_HOST_PATH + "'";
    for (const std::string& word : words) command += " '" + word + "'";
    if (preferences == Preferences::InFolder) command += " --prefs prefs";
    command += " >stdout.txt 2>stderr.txt";
    ProgramRun result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = read("stdout.txt");
    result.err = read("stderr.txt");
    return result;
  }

  // Runs the script text saved as script.mirtil, with more words after it.
  ProgramRun script(const std::string& text, const std::vector<std::string>& more = {}) const {
    write("script.mirtil", text);
    std::vector<std::string> words = {"run", "script.mirtil"};
    words.insert(words.end(), more.begin(), more.end());
    return run(words);
  }

  nlohmann::json json(const std::string& name) const { return nlohmann::json::parse(read(name)); }

  // The plug-in objects of a dump, in layer order, top first.
  static std::vector<nlohmann::json> mirrortiles(const nlohmann::json& dump) {
    std::vector<nlohmann::json> found;
    for (const nlohmann::json& layer : dump.at("layers")) {
      for (const nlohmann::json& art : layer.at("art")) {
        if (art.at("type") == "plugin" && art.at("plugin").at("group") == kMirtilPluginGroupName) found.push_back(art);
      }
    }
    return found;
  }
  static std::vector<float> entry(const nlohmann::json& object, const char* key) {
    return object.at("plugin").at("dictionary").at(key).get<std::vector<float>>();
  }

  std::filesystem::path root;    // every folder of this process
  std::filesystem::path folder;  // this test's
};

// A red square with a blue disc in it, the art a drag can capture.
constexpr const char* kSquareScript =
    "rect 0 0 100 100 fill=#ff0000 id=red\n"
    "circle 70 30 20 fill=blue id=dot\n";

// The same art as a file.
constexpr const char* kSquareSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"200\" viewBox=\"0 0 200 200\">\n"
    "  <g id=\"art\">\n"
    "    <rect id=\"red\" x=\"0\" y=\"0\" width=\"100\" height=\"100\" fill=\"#ff0000\"/>\n"
    "    <circle id=\"dot\" cx=\"70\" cy=\"30\" r=\"20\" fill=\"blue\"/>\n"
    "  </g>\n"
    "</svg>\n";
