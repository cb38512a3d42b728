// mirtil-host killed at any moment while it saves a document over an older
// one and writes its preferences: what is on disk afterwards is always the
// old file or the new one, whole, and it opens again.

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <thread>

#include "ProgramFixture.h"

namespace {

// Rounds in make test; MIRTIL_KILL_ROUNDS asks for more.
int Rounds() {
  const char* asked = std::getenv("MIRTIL_KILL_ROUNDS");
  return asked && std::atoi(asked) > 0 ? std::atoi(asked) : 12;
}

class KillTest : public ProgramTest {
 protected:
  // Starts the program on the words in the test's folder.
  pid_t start(const std::vector<std::string>& words) const {
    const pid_t child = fork();
    if (child == 0) {
      if (chdir(folder.c_str()) != 0) _exit(127);
      std::vector<char*> argv{const_cast<char*>(MIRTIL_HOST_PATH)};
      for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
      argv.push_back(nullptr);
      if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr)) _exit(127);
      execv(MIRTIL_HOST_PATH, argv.data());
      _exit(127);
    }
    return child;
  }
  static int finish(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return status;
  }
};

TEST_F(KillTest, ASaveOrAPreferenceWriteKilledLeavesTheOldFileOrTheNew) {
  // The old state: a drawing of many shapes and the preferences of a first run.
  std::string drawing;
  for (int i = 0; i < 400; ++i) {
    drawing += "rect " + std::to_string(i % 20 * 10) + " " + std::to_string(i / 20 * 10) + " 8 8 fill=#" +
               (i % 2 ? "d62828" : "1d3557") + "\n";
  }
  write("old.mirtil", drawing + "prefs steps=90\nsave doc.svg\n");
  ASSERT_EQ(run({"run", "old.mirtil"}).status, 0);
  const std::string oldDocument = read("doc.svg");
  const std::string oldPreferences = read("prefs");

  // The new state: the drawing opened, an object made, preferences changed, saved over it.
  write("new.mirtil", "open doc.svg\ndrag 100 100 160 100\nprefs steps=45\nsave doc.svg\n");
  const auto begun = std::chrono::steady_clock::now();
  ASSERT_EQ(finish(start({"run", "new.mirtil", "--prefs", "prefs"})), 0);
  const auto took = std::chrono::steady_clock::now() - begun;
  const std::string newDocument = read("doc.svg");
  const std::string newPreferences = read("prefs");
  ASSERT_NE(newDocument, oldDocument);
  ASSERT_NE(newPreferences, oldPreferences);

  // Killed at moments spread over a whole run, the same ones every time.
  std::mt19937 moments(7);
  const auto span = std::chrono::duration_cast<std::chrono::microseconds>(took).count();
  int killed = 0;
  for (int round = 0; round < Rounds(); ++round) {
    write("doc.svg", oldDocument);
    write("prefs", oldPreferences);
    const pid_t child = start({"run", "new.mirtil", "--prefs", "prefs"});
    ASSERT_GT(child, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moments() % (span + 1)));
    kill(child, SIGKILL);
    const int status = finish(child);
    killed += WIFSIGNALED(status) ? 1 : 0;

    const std::string document = read("doc.svg");
    EXPECT_TRUE(document == oldDocument || document == newDocument) << "round " << round;
    const std::string preferences = read("prefs");
    EXPECT_TRUE(preferences == oldPreferences || preferences == newPreferences) << "round " << round;
    write("check.mirtil", "open doc.svg\n");
    EXPECT_EQ(run({"run", "check.mirtil"}).status, 0) << "round " << round;
  }
  // The kills reached running programs, not only finished ones.
  EXPECT_GT(killed, 0);
}

}  // namespace
