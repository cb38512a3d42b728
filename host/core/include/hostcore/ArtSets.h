// Art sets: lists of art handles a caller makes, fills by matching and
// disposes of. A set holds handles, not art, so art disposed of after the
// set was filled answers as stale when read through it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/Handles.h"

namespace hostcore {

class ArtSets {
 public:
  AIErr create(AIArtSet* set);
  AIErr dispose(AIArtSet set);
  AIErr members(AIArtSet set, std::vector<AIArtHandle>** members);
  AIErr count(AIArtSet set, int32_t* count) const;
  AIErr member(AIArtSet set, int32_t index, AIArtHandle* art) const;
  // One line per set not disposed of.
  std::vector<std::string> heldSets() const;

 private:
  AIErr find(AIArtSet set, uint32_t* index) const;

  SlotTable<std::vector<AIArtHandle>> sets_;
};

}  // namespace hostcore
