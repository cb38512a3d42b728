// Opaque handle values and the slot tables behind them. A handle packs a
// kind, a slot index and the slot's generation, so a handle of the wrong
// kind, of a freed slot or never issued is recognised instead of followed.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace hostcore {

enum class HandleKind : uint8_t {
  Art = 1,
  Layer,
  Dictionary,
  DictKey,
  Array,
  ArtSet,
  ArtStyle,
  PluginGroup,
  // The application's objects.
  MenuItem,
  Timer,
  Notifier,
  Icon,
  Tool,
  AppContext,
  Dialog,
  DialogItem
};

constexpr uint32_t kNoIndex = 0xFFFFFFFFu;

namespace handle_layout {
constexpr bool kWide = sizeof(uintptr_t) >= 8;
constexpr unsigned kIndexBits = kWide ? 32 : 19;
constexpr unsigned kGenerationBits = kWide ? 24 : 8;
constexpr unsigned kKindShift = kIndexBits + kGenerationBits;
constexpr uintptr_t kIndexMask = (uintptr_t(1) << kIndexBits) - 1;
constexpr uint32_t kGenerationMask = (uint32_t(1) << kGenerationBits) - 1;
}  // namespace handle_layout

struct DecodedHandle {
  uint32_t index = kNoIndex;
  uint32_t generation = 0;
};

inline uintptr_t encodeHandle(HandleKind kind, uint32_t index, uint32_t generation) {
  using namespace handle_layout;
  return (uintptr_t(kind) << kKindShift) | (uintptr_t(generation & kGenerationMask) << kIndexBits) |
         (uintptr_t(index) & kIndexMask);
}

// False for null, for another kind of handle and for values no table issued.
inline bool decodeHandle(uintptr_t value, HandleKind kind, DecodedHandle& out) {
  using namespace handle_layout;
  if (value == 0 || (value >> kKindShift) != uintptr_t(kind)) return false;
  out.index = uint32_t(value & kIndexMask);
  out.generation = uint32_t((value >> kIndexBits) & kGenerationMask);
  return true;
}

template <class Handle>
Handle makeHandle(HandleKind kind, uint32_t index, uint32_t generation) {
  return reinterpret_cast<Handle>(encodeHandle(kind, index, generation));
}

template <class Handle>
bool readHandle(Handle handle, HandleKind kind, DecodedHandle& out) {
  return decodeHandle(reinterpret_cast<uintptr_t>(handle), kind, out);
}

// Objects kept in reusable slots; a slot's generation changes when it is
// freed, so old handles to it stop matching. Slots live in fixed-size
// chunks: an index finds its slot by a shift and a mask, and references
// stay valid while slots are added. Whether a slot is used and its
// generation are one word, held apart from the values, so checking a
// handle reads one word.
template <class T>
class SlotTable {
 public:
  uint32_t add(T value) {
    const uint32_t index = add();
    slotAt(index) = std::move(value);
    return index;
  }

  // A slot holding a default value, which a freed slot is reset to.
  uint32_t add() {
    uint32_t index;
    if (!free_.empty()) {
      index = free_.back();
      free_.pop_back();
    } else {
      index = uint32_t(states_.size());
      if ((index & kChunkMask) == 0) chunks_.push_back(std::make_unique<T[]>(kChunkSize));
      states_.push_back(1u << kGenerationShift);
    }
    states_[index] |= kUsed;
    return index;
  }

  // Built again in place rather than assigned a blank value.
  void remove(uint32_t index) {
    T& value = slotAt(index);
    value.~T();
    new (&value) T();
    uint32_t generation = (this->generation(index) + 1) & handle_layout::kGenerationMask;
    if (generation == 0) generation = 1;
    states_[index] = generation << kGenerationShift;
    free_.push_back(index);
  }

  bool used(uint32_t index) const { return index < states_.size() && (states_[index] & kUsed) != 0; }

  // The slot is in use and the generation is its present one.
  bool matches(const DecodedHandle& h) const {
    return h.index < states_.size() && states_[h.index] == ((h.generation << kGenerationShift) | kUsed);
  }

  uint32_t generation(uint32_t index) const { return states_[index] >> kGenerationShift; }
  T& operator[](uint32_t index) { return slotAt(index); }
  const T& operator[](uint32_t index) const { return slotAt(index); }
  uint32_t slotCount() const { return uint32_t(states_.size()); }
  uint32_t usedCount() const { return uint32_t(states_.size() - free_.size()); }

 private:
  static constexpr uint32_t kUsed = 1;
  static constexpr unsigned kGenerationShift = 1;
  static constexpr unsigned kChunkBits = 8;
  static constexpr uint32_t kChunkSize = uint32_t(1) << kChunkBits;
  static constexpr uint32_t kChunkMask = kChunkSize - 1;

  T& slotAt(uint32_t index) { return chunks_[index >> kChunkBits][index & kChunkMask]; }
  const T& slotAt(uint32_t index) const { return chunks_[index >> kChunkBits][index & kChunkMask]; }

  std::vector<std::unique_ptr<T[]>> chunks_;
  std::vector<uint32_t> states_;  // generation, shifted, and the used bit
  std::vector<uint32_t> free_;
};

// Records the host keeps as long as it lives (menu items, timers, tools,
// notifiers, icons), in the order they were added. Their handles carry the
// kind and the registry's age, so a handle of another kind, of an earlier
// registry (an earlier host) or never issued finds nothing.
template <class Record>
class Registry {
 public:
  explicit Registry(HandleKind kind) : kind_(kind), age_(nextAge()) {}

  template <class Handle>
  Handle add(Record record) {
    records_.push_back(std::move(record));
    return handleAt<Handle>(records_.size() - 1);
  }
  // Null past the last record.
  template <class Handle>
  Handle handleAt(size_t position) const {
    return position < records_.size() ? makeHandle<Handle>(kind_, uint32_t(position), age_) : nullptr;
  }
  template <class Handle>
  bool position(Handle handle, size_t* position) const {
    DecodedHandle h;
    if (!readHandle(handle, kind_, h) || h.generation != age_ || h.index >= records_.size()) return false;
    *position = h.index;
    return true;
  }
  template <class Handle>
  Record* find(Handle handle) {
    size_t at;
    return position(handle, &at) ? &records_[at] : nullptr;
  }
  template <class Handle>
  const Record* find(Handle handle) const {
    size_t at;
    return position(handle, &at) ? &records_[at] : nullptr;
  }
  const std::vector<Record>& records() const { return records_; }
  Record& operator[](size_t position) { return records_[position]; }

  // A generation no registry alive before had; 0 is never one.
  static uint32_t nextAge() {
    static uint32_t last = 0;
    last = (last + 1) & handle_layout::kGenerationMask;
    if (last == 0) last = 1;
    return last;
  }

 private:
  HandleKind kind_;
  uint32_t age_;
  std::vector<Record> records_;
};

}  // namespace hostcore
