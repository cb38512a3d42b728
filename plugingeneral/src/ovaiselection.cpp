#include "plugingeneral/ovaiselection.h"

#include "framework/PluginSuites.h"
#include "ovmem.h"
#include "plugingeneral/ovaiuserdata.h"

namespace {

class ArtSetOwner {
 public:
  ArtSetOwner() = default;
  ~ArtSetOwner() {
    if (set_) sAIArtSet->DisposeArtSet(&set_);
  }
  ArtSetOwner(const ArtSetOwner&) = delete;
  ArtSetOwner& operator=(const ArtSetOwner&) = delete;
  AIArtSet* Receive() { return &set_; }
  AIArtSet Get() const { return set_; }

 private:
  AIArtSet set_ = nullptr;
};

}  // namespace

int SelectedItems(AIArtType type, bool selectedOnly, AIArtHandle** out, SelectionFilter filter) {
  AIArtSpec spec{};
  if (selectedOnly) {
    spec.type = type;
    spec.whichAttr = kArtSelected;
    spec.attr = kArtSelected;
  } else {
    spec.type = kAnyArt;
    spec.whichAttr = kArtLocked | kArtHidden;
    spec.attr = 0;
  }
  ArtSetOwner set;
  if (sAIArtSet->NewArtSet(set.Receive()) != kNoErr) return -1;
  if (sAIArtSet->MatchingArtSet(&spec, 1, set.Get()) != kNoErr) return -1;
  int32_t count = 0;
  if (sAIArtSet->CountArtSet(set.Get(), &count) != kNoErr) return -1;
  if (count == 0 || !out) return count;

  AIArtHandle* list =
      static_cast<AIArtHandle*>(alloc_mem(static_cast<unsigned>(count * sizeof(AIArtHandle)), "SelectedItems"));
  if (!list) return -1;
  int kept = 0;
  for (int32_t i = 0; i < count; i++) {
    if (sAIArtSet->IndexArtSet(set.Get(), i, &list[kept]) != kNoErr) {
      free_mem(list);
      return -1;
    }
    const bool wanted = !IsOurPluginEditPath(list[kept]) && (!filter || filter(list[kept]));
    if (wanted) kept++;
  }
  if (kept == 0) {
    free_mem(list);
    return 0;
  }
  AIArtHandle* shrunk =
      static_cast<AIArtHandle*>(realloc_mem(list, static_cast<unsigned>(kept * sizeof(AIArtHandle))));
  if (!shrunk) {
    free_mem(list);
    return -1;
  }
  *out = shrunk;
  return kept;
}

int GetSelectedArtOfType(AIArtType type, AIArtHandle** out) {
  return SelectedItems(type, true, out, nullptr);
}
