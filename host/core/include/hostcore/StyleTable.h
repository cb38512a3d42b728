// Art styles: each distinct path style and paint map is kept once, named by
// its index, and never freed, so style handles never go stale. Art holds a
// style index in its properties; kNoIndex means no style of its own.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/ArtModel.h"
#include "hostcore/Handles.h"

namespace hostcore {

class StyleTable {
 public:
  // The index of an equal style, added when there is none.
  uint32_t intern(const AIPathStyle& pathStyle, const AIPathStyleMap& paintData);
  const ArtStyle& operator[](uint32_t index) const { return styles_[index]; }
  // Null for kNoIndex.
  static AIArtStyleHandle handle(uint32_t index) {
    return index == kNoIndex ? nullptr : makeHandle<AIArtStyleHandle>(HandleKind::ArtStyle, index, 1);
  }
  // A null handle is refused as a bad parameter.
  AIErr find(AIArtStyleHandle style, uint32_t* index) const {
    if (style == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(style, HandleKind::ArtStyle, h) || h.index >= styles_.size() || h.generation != 1)
      return kHostStaleHandleErr;
    *index = h.index;
    return kNoErr;
  }
  // What art without a style of its own reads as: no fill, no stroke.
  static AIPathStyle cleared();

 private:
  std::vector<ArtStyle> styles_;
  std::unordered_map<std::string, uint32_t> indexByKey_;
};

}  // namespace hostcore
