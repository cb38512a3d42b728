// The art each journal record refers to and keeps from being freed.
#pragma once

#include <type_traits>

#include "hostcore/ArtModel.h"

namespace hostcore {

template <class F>
inline void forEachPinned(const JournalRecord& record, F&& pin) {
  const auto pinIfSet = [&](NodeIndex n) {
    if (n != kNoNode) pin(n);
  };
  std::visit(
      [&](const auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, LinkRecord>) {
          pinIfSet(r.node);
          pinIfSet(r.place.parent);
          pinIfSet(r.place.next);
        } else if constexpr (std::is_same_v<R, LifeRecord>) {
          pinIfSet(r.root);
          pinIfSet(r.place.parent);
          pinIfSet(r.place.next);
        } else if constexpr (std::is_same_v<R, PropsRecord> || std::is_same_v<R, GeometryRecord>) {
          pinIfSet(r.node);
        } else if constexpr (std::is_same_v<R, EntryRecord>) {
          pinIfSet(r.owner);
        } else if constexpr (std::is_same_v<R, LayerListRecord>) {
          for (NodeIndex n : r.layers) pinIfSet(n);
        } else {
          pinIfSet(r.layer);
        }
      },
      record);
}

}  // namespace hostcore
