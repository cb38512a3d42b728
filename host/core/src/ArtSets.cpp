#include "hostcore/ArtSets.h"

namespace hostcore {

AIErr ArtSets::find(AIArtSet set, uint32_t* index) const {
  if (set == nullptr) return kHostBadParameterErr;
  DecodedHandle h;
  if (!readHandle(set, HandleKind::ArtSet, h) || !sets_.matches(h)) return kHostStaleHandleErr;
  *index = h.index;
  return kNoErr;
}

AIErr ArtSets::create(AIArtSet* set) {
  if (set == nullptr) return kHostBadParameterErr;
  const uint32_t s = sets_.add({});
  *set = makeHandle<AIArtSet>(HandleKind::ArtSet, s, sets_.generation(s));
  return kNoErr;
}

AIErr ArtSets::dispose(AIArtSet set) {
  uint32_t s;
  if (AIErr err = find(set, &s)) return err;
  sets_.remove(s);
  return kNoErr;
}

AIErr ArtSets::members(AIArtSet set, std::vector<AIArtHandle>** members) {
  uint32_t s;
  if (AIErr err = find(set, &s)) return err;
  *members = &sets_[s];
  return kNoErr;
}

AIErr ArtSets::count(AIArtSet set, int32_t* count) const {
  if (count == nullptr) return kHostBadParameterErr;
  uint32_t s;
  if (AIErr err = find(set, &s)) return err;
  *count = int32_t(sets_[s].size());
  return kNoErr;
}

AIErr ArtSets::member(AIArtSet set, int32_t index, AIArtHandle* art) const {
  if (art == nullptr) return kHostBadParameterErr;
  uint32_t s;
  if (AIErr err = find(set, &s)) return err;
  const std::vector<AIArtHandle>& members = sets_[s];
  if (index < 0 || size_t(index) >= members.size()) return kHostIndexRangeErr;
  *art = members[size_t(index)];
  return kNoErr;
}

std::vector<std::string> ArtSets::heldSets() const {
  std::vector<std::string> held;
  for (uint32_t i = 0; i < sets_.slotCount(); ++i)
    if (sets_.used(i)) held.push_back("art set " + std::to_string(i) + ": not disposed");
  return held;
}

}  // namespace hostcore
