#include "hostcore/ArtIds.h"

#include <algorithm>

namespace hostcore {

namespace {

const char* const kPrefixes[] = {"art", "g", "path", "compound", "plugin"};

}  // namespace

uint8_t ArtIds::prefixOf(AIArtType type) {
  switch (type) {
    case kGroupArt:
      return 1;
    case kPathArt:
      return 2;
    case kCompoundPathArt:
      return 3;
    case kPluginArt:
      return 4;
    default:
      return 0;
  }
}

std::string ArtIds::madeUp(AIArtType type, uint64_t number) {
  return kPrefixes[prefixOf(type)] + std::to_string(number);
}

bool ArtIds::parse(const std::string& id, uint8_t* prefix, uint64_t* number) {
  for (uint8_t p = 0; p < sizeof kPrefixes / sizeof kPrefixes[0]; ++p) {
    const std::string text = kPrefixes[p];
    if (id.size() <= text.size() || id.compare(0, text.size(), text) != 0) continue;
    // Digits as std::to_string writes them: no sign, no leading zero.
    if (id.size() - text.size() > 19 || id[text.size()] == '0') return false;
    uint64_t value = 0;
    for (size_t i = text.size(); i < id.size(); ++i) {
      if (id[i] < '0' || id[i] > '9') return false;
      value = value * 10 + uint64_t(id[i] - '0');
    }
    *prefix = p;
    *number = value;
    return true;
  }
  return false;
}

uint64_t ArtIds::takeNumber(AIArtType type, uint32_t holder) {
  const uint8_t prefix = prefixOf(type);
  for (;;) {
    ++counter_;
    if (givenNumbers_.empty() || givenNumbers_.count(counter_) == 0 ||
        given_.count(kPrefixes[prefix] + std::to_string(counter_)) == 0)
      break;
  }
  numbered_.push_back(Numbered{counter_, holder, prefix});
  return counter_;
}

size_t ArtIds::find(uint64_t number) const {
  const auto at = std::lower_bound(numbered_.begin(), numbered_.end(), number,
                                   [](const Numbered& entry, uint64_t n) { return entry.number < n; });
  return at != numbered_.end() && at->number == number ? size_t(at - numbered_.begin()) : numbered_.size();
}

void ArtIds::releaseNumber(uint64_t number) {
  const size_t at = find(number);
  if (at == numbered_.size() || numbered_[at].holder == kNoIndex) return;
  numbered_[at].holder = kNoIndex;
  // Released entries are dropped together once they are half of all.
  if (++released_ * 2 < numbered_.size()) return;
  numbered_.erase(std::remove_if(numbered_.begin(), numbered_.end(),
                                 [](const Numbered& e) { return e.holder == kNoIndex; }),
                  numbered_.end());
  released_ = 0;
}

void ArtIds::give(const std::string& id, uint32_t holder) {
  given_.emplace(id, holder);
  uint8_t prefix;
  uint64_t number;
  if (parse(id, &prefix, &number)) ++givenNumbers_[number];
}

void ArtIds::releaseGiven(const std::string& id) {
  given_.erase(id);
  uint8_t prefix;
  uint64_t number;
  if (!parse(id, &prefix, &number)) return;
  const auto at = givenNumbers_.find(number);
  if (--at->second == 0) givenNumbers_.erase(at);
}

uint32_t ArtIds::holder(const std::string& id) const {
  const auto given = given_.find(id);
  if (given != given_.end()) return given->second;
  uint8_t prefix;
  uint64_t number;
  if (!parse(id, &prefix, &number)) return kNoIndex;
  const size_t at = find(number);
  return at != numbered_.size() && numbered_[at].prefix == prefix ? numbered_[at].holder : kNoIndex;
}

}  // namespace hostcore
