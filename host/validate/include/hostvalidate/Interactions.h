// Random interactions with the plug-in: tool drags, cursor tracking, menu
// choices, timer ticks, the host's edits, selections, layers, dialogs,
// undo and redo, unloading and reloading, and messages of valid and
// unknown callers and selectors. The choices come from a source: a seeded
// generator for the validator, the input bytes for the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "hostvalidate/MessageLog.h"
#include "hostvalidate/Random.h"
#include "hostvalidate/Trial.h"

namespace hostvalidate {

class ChoiceSource {
 public:
  virtual ~ChoiceSource() = default;
  // A number from 0 to n - 1 (n > 0).
  virtual uint32_t below(uint32_t n) = 0;
  // No more choices worth making.
  virtual bool exhausted() const = 0;
};

class SeededChoices : public ChoiceSource {
 public:
  explicit SeededChoices(uint64_t seed) : random_(seed) {}
  uint32_t below(uint32_t n) override { return random_.below(n); }
  bool exhausted() const override { return false; }

 private:
  Random random_;
};

// Choices read from bytes; past the end every choice is 0.
class ByteChoices : public ChoiceSource {
 public:
  ByteChoices(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  uint32_t below(uint32_t n) override;
  bool exhausted() const override { return next_ >= size_; }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

class RandomInteractions {
 public:
  // The log is told of non-finite input as it is given.
  RandomInteractions(Trial& trial, MessageLog& log, ChoiceSource& choices);

  // Does one interaction chosen at random; answers what it did, in words
  // that name its arguments.
  std::string step();

 private:
  std::string drag();
  std::string trackCursor();
  std::string chooseMenu();
  std::string tick();
  std::string hostEdit();
  std::string selection();
  std::string layers();
  std::string addArt();
  std::string options();
  std::string about();
  std::string undoOrRedo();
  std::string rawMessage();
  std::string unloadAndReload();

  double real(double low, double high);
  AIReal coordinate();
  AIRealPoint point();
  // Near the art already there, mostly.
  AIRealPoint pointNearArt();
  AIArtHandle someArt();
  std::string pick(const char* const* texts, std::size_t count);

  Trial& trial_;
  MessageLog& log_;
  ChoiceSource& choices_;
};

}  // namespace hostvalidate
