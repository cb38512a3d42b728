// The art ids of a document: every art has one, unique while its slot is
// held. Art made here is numbered from a counter, and its id (its type's
// prefix and the number, "path12") is spelled out only when asked for, so
// making art costs no string and no map entry of its own. Ids given to art
// (kept from a file, set by a script) are held as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/Handles.h"

namespace hostcore {

class ArtIds {
 public:
  // The id of art of the type numbered `number`.
  static std::string madeUp(AIArtType type, uint64_t number);

  // The next number of the counter whose id no given id holds, taken by
  // art `holder` of the type.
  uint64_t takeNumber(AIArtType type, uint32_t holder);
  void releaseNumber(uint64_t number);
  void give(const std::string& id, uint32_t holder);
  void releaseGiven(const std::string& id);

  // The slot holding the id, or kNoIndex.
  uint32_t holder(const std::string& id) const;

 private:
  struct Numbered {
    uint64_t number;
    uint32_t holder;  // kNoIndex once released
    uint8_t prefix;
  };
  // The prefix of made-up ids of the type, as an index into the prefixes.
  static uint8_t prefixOf(AIArtType type);
  // Prefix and number of an id spelled as made up here; false for others.
  static bool parse(const std::string& id, uint8_t* prefix, uint64_t* number);
  // The position of the number's entry in numbered_ (sorted, as numbers
  // only grow), or its size when there is none.
  size_t find(uint64_t number) const;

  std::vector<Numbered> numbered_;
  size_t released_ = 0;  // entries of numbered_ released and not yet dropped
  std::unordered_map<std::string, uint32_t> given_;
  // How many given ids are spelled as made-up ones with each number: the
  // counter skips a number only when one of them is its own id.
  std::unordered_map<uint64_t, uint32_t> givenNumbers_;
  uint64_t counter_ = 0;
};

}  // namespace hostcore
