#include "hostcore/Journal.h"

#include <algorithm>
#include <iterator>
#include <unordered_set>

#include "JournalPins.h"

namespace hostcore {

namespace {

// The node whose state the record holds; kNoNode for the layer records.
NodeIndex primaryNode(const JournalRecord& record) {
  return std::visit(
      [](const auto& r) -> NodeIndex {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, LinkRecord> || std::is_same_v<R, PropsRecord> ||
                      std::is_same_v<R, GeometryRecord>) {
          return r.node;
        } else if constexpr (std::is_same_v<R, LifeRecord>) {
          return r.root;
        } else if constexpr (std::is_same_v<R, EntryRecord>) {
          return r.owner;
        } else {
          return kNoNode;
        }
      },
      record);
}

// Records of state that nothing else in the journal depends on: the first
// of them for a node (and key) restores what the step began with.
struct StateRecords {
  std::unordered_set<NodeIndex> props, geometry;
  std::unordered_set<uint64_t> entries;

  // False for a record of this kind already seen; true for any other.
  bool first(const JournalRecord& record) {
    if (const auto* r = std::get_if<PropsRecord>(&record)) return props.insert(r->node).second;
    if (const auto* r = std::get_if<GeometryRecord>(&record)) return geometry.insert(r->node).second;
    if (const auto* r = std::get_if<EntryRecord>(&record))
      return entries.insert(uint64_t(r->owner) << 32 | r->key).second;
    return true;
  }
};

// Art a step made and disposed of, each piece with the root it went with:
// a table by node, made only once a step has such art, so compacting a
// step that disposed of tens of thousands of pieces allocates nothing
// per piece.
class GoneArt {
 public:
  bool empty() const { return count_ == 0; }
  NodeIndex rootOf(NodeIndex n) const { return n < roots_.size() ? roots_[n] : kNoNode; }
  // A piece keeps the first root it is added with.
  void add(NodeIndex n, NodeIndex root, uint32_t slots) {
    if (roots_.empty()) roots_.assign(slots, kNoNode);
    if (roots_[n] != kNoNode) return;
    roots_[n] = root;
    ++count_;
  }
  void remove(NodeIndex n) {
    if (rootOf(n) == kNoNode) return;
    roots_[n] = kNoNode;
    --count_;
  }

 private:
  std::vector<NodeIndex> roots_;
  size_t count_ = 0;
};

bool holdsState(const JournalRecord& record) {
  return std::holds_alternative<PropsRecord>(record) || std::holds_alternative<GeometryRecord>(record) ||
         std::holds_alternative<EntryRecord>(record);
}

}  // namespace

bool Journal::bornIn(const UserStep& step, NodeIndex n) const {
  const uint32_t born = tree_.node(n).born;
  return born != 0 && born >= step.firstSerial && born <= step.lastSerial;
}

void Journal::compact(UserStep& step) {
  std::vector<JournalRecord>& records = step.records;
  // Art made and disposed of in the step, each piece with its root, when
  // no older art hangs inside it: undo and redo both leave it dead.
  GoneArt gone;
  for (const JournalRecord& r : records) {
    const auto* life = std::get_if<LifeRecord>(&r);
    if (life == nullptr || gone.rootOf(life->root) != kNoNode) continue;
    const ArtNode& root = tree_.node(life->root);
    if (root.live || root.parent != kNoNode || !bornIn(step, life->root)) continue;
    bool allBorn = true;
    tree_.forSubtree(life->root, [&](NodeIndex n) { allBorn = allBorn && bornIn(step, n); });
    if (allBorn) tree_.forSubtree(life->root, [&](NodeIndex n) { gone.add(n, life->root, tree_.slotCount()); });
  }
  // Art that a record kept for other art refers to must stay as it is.
  for (bool changed = true; changed && !gone.empty();) {
    changed = false;
    for (const JournalRecord& r : records) {
      if (gone.rootOf(primaryNode(r)) != kNoNode) continue;
      forEachPinned(r, [&](NodeIndex n) {
        const NodeIndex root = gone.rootOf(n);
        if (root == kNoNode) return;
        tree_.forSubtree(root, [&](NodeIndex m) { gone.remove(m); });
        changed = true;
      });
    }
  }
  // Records kept move up over those dropped, in their order.
  StateRecords seen;
  std::vector<NodeIndex> released;
  size_t kept = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    JournalRecord& r = records[i];
    const NodeIndex node = primaryNode(r);
    const bool needed = gone.rootOf(node) == kNoNode &&
                        (!holdsState(r) || (!bornIn(step, node) && seen.first(r)));
    if (needed) {
      if (kept != i) records[kept] = std::move(r);
      ++kept;
      continue;
    }
    pinRecord(r, -1);
    forEachPinned(r, [&](NodeIndex n) { released.push_back(n); });
  }
  records.erase(records.begin() + std::ptrdiff_t(kept), records.end());
  for (NodeIndex n : released) tree_.collect(n);
}

void Journal::pinRecord(const JournalRecord& record, int delta) {
  forEachPinned(record, [&](NodeIndex n) { tree_.node(n).pins = uint32_t(int(tree_.node(n).pins) + delta); });
}

void Journal::record(JournalRecord record) {
  if (!stepOpen_) {
    clear();
    return;
  }
  if (!undone_.empty()) {
    for (UserStep& step : undone_) discardRecords(step.records);
    undone_.clear();
  }
  pinRecord(record, +1);
  done_.back().records.push_back(std::move(record));
}

void Journal::discardRecords(std::vector<JournalRecord>& records) {
  std::vector<NodeIndex> released;
  for (const JournalRecord& r : records) {
    pinRecord(r, -1);
    forEachPinned(r, [&](NodeIndex n) { released.push_back(n); });
  }
  records.clear();
  for (NodeIndex n : released) tree_.collect(n);
}

void Journal::placeNew(NodeIndex n, Place place) {
  record(LifeRecord{n, Place{}, false});
  if (place.parent != kNoNode) tree_.attach(n, place);
}

void Journal::dispose(NodeIndex n) {
  record(LifeRecord{n, tree_.placeOf(n), true});
  tree_.detach(n);
  tree_.setSubtreeLife(n, false);
}

void Journal::moveNode(NodeIndex n, Place place) {
  record(LinkRecord{n, tree_.placeOf(n)});
  tree_.detach(n);
  if (place.parent != kNoNode) tree_.attach(n, place);
}

void Journal::setCurrentLayer(NodeIndex layer) {
  record(CurrentLayerRecord{tree_.currentSetting()});
  tree_.exchangeCurrent(layer);
}

void Journal::writeEntry(uint32_t dictionary, uint32_t key, std::optional<DictValue> value) {
  DictEntries& entries = data_.dictionary(dictionary).entries;
  const NodeIndex owner = data_.dictionary(dictionary).owner;
  const auto at = entries.find(key);
  // A dictionary whose art is gone is no longer part of the document.
  if (owner != kNoNode && !bornSinceMark(owner))
    record(EntryRecord{owner, key, at == entries.end() ? std::nullopt : std::optional<DictValue>(at->second)});
  if (value)
    entries[key] = std::move(*value);
  else if (at != entries.end())
    entries.erase(at);
}

void Journal::apply(JournalRecord& record) {
  pinRecord(record, -1);
  std::visit(
      [&](auto& r) {
        using R = std::decay_t<decltype(r)>;
        if constexpr (std::is_same_v<R, LinkRecord>) {
          const Place present = tree_.placeOf(r.node);
          tree_.detach(r.node);
          if (r.place.parent != kNoNode) tree_.attach(r.node, r.place);
          r.place = present;
        } else if constexpr (std::is_same_v<R, LifeRecord>) {
          const Place presentPlace = tree_.placeOf(r.root);
          const bool presentLife = tree_.node(r.root).live;
          tree_.detach(r.root);
          if (r.place.parent != kNoNode) tree_.attach(r.root, r.place);
          tree_.setSubtreeLife(r.root, r.live);
          r.place = presentPlace;
          r.live = presentLife;
        } else if constexpr (std::is_same_v<R, PropsRecord>) {
          std::swap(tree_.node(r.node).props, r.props);
        } else if constexpr (std::is_same_v<R, GeometryRecord>) {
          std::swap(tree_.node(r.node).path, *r.path);
        } else if constexpr (std::is_same_v<R, EntryRecord>) {
          DictEntries& entries = data_.dictionary(tree_.ensureDictionary(r.owner)).entries;
          const auto at = entries.find(r.key);
          std::optional<DictValue> present;
          if (at != entries.end()) {
            present = std::move(at->second);
            entries.erase(at);
          }
          if (r.value) entries[r.key] = std::move(*r.value);
          r.value = std::move(present);
        } else if constexpr (std::is_same_v<R, LayerListRecord>) {
          tree_.swapLayers(r.layers);
        } else {
          r.layer = tree_.exchangeCurrent(r.layer);
        }
      },
      record);
  pinRecord(record, +1);
}

void Journal::beginStep() {
  endStep();
  UserStep& step = done_.emplace_back();
  step.firstSerial = step.lastSerial = markSerial_ = ++stepSerials_;
  stepOpen_ = true;
  tree_.setBirthSerial(step.lastSerial);
  mark_ = 0;
}

void Journal::endStep() {
  if (!stepOpen_) return;
  stepOpen_ = false;
  tree_.setBirthSerial(0);
  UserStep step = std::move(done_.back());
  done_.pop_back();
  if (step.records.empty()) return;
  if (step.silent) {
    if (done_.empty()) {
      discardRecords(step.records);
    } else {
      // An endless run of silent steps joins one step; compacting it
      // keeps it from holding every result they replaced.
      UserStep& into = done_.back();
      into.records.insert(into.records.end(), std::make_move_iterator(step.records.begin()),
                          std::make_move_iterator(step.records.end()));
      into.lastSerial = step.lastSerial;
      compact(into);
    }
    return;
  }
  compact(step);
  done_.push_back(std::move(step));
  setLimit(limit_);
}

void Journal::setSilent(bool silent) {
  if (stepOpen_) done_.back().silent = silent;
}

void Journal::setMark() {
  mark_ = stepOpen_ ? done_.back().records.size() : 0;
  if (!stepOpen_) return;
  done_.back().lastSerial = markSerial_ = ++stepSerials_;
  tree_.setBirthSerial(markSerial_);
}

void Journal::revertToMark() {
  if (!stepOpen_) return;
  std::vector<JournalRecord>& records = done_.back().records;
  mark_ = std::min(mark_, records.size());
  for (size_t i = records.size(); i > mark_; --i) apply(records[i - 1]);
  std::vector<JournalRecord> reverted(std::make_move_iterator(records.begin() + std::ptrdiff_t(mark_)),
                                      std::make_move_iterator(records.end()));
  records.resize(mark_);
  discardRecords(reverted);
}

bool Journal::undo() {
  endStep();
  if (done_.empty()) return false;
  UserStep step = std::move(done_.back());
  done_.pop_back();
  for (size_t i = step.records.size(); i > 0; --i) apply(step.records[i - 1]);
  undone_.push_back(std::move(step));
  return true;
}

bool Journal::redo() {
  endStep();
  if (undone_.empty()) return false;
  UserStep step = std::move(undone_.back());
  undone_.pop_back();
  for (JournalRecord& r : step.records) apply(r);
  done_.push_back(std::move(step));
  return true;
}

size_t Journal::recordCount() const {
  size_t size = 0;
  for (const UserStep& step : done_) size += step.records.size();
  for (const UserStep& step : undone_) size += step.records.size();
  return size;
}

void Journal::setLimit(size_t steps) {
  limit_ = std::max<size_t>(steps, 1);
  const size_t keep = limit_ + (stepOpen_ ? 1 : 0);
  while (done_.size() > keep) {
    discardRecords(done_.front().records);
    done_.pop_front();
  }
}

void Journal::clear() {
  for (UserStep& step : undone_) discardRecords(step.records);
  undone_.clear();
  for (UserStep& step : done_) discardRecords(step.records);
  UserStep open;
  if (stepOpen_) {
    open.silent = done_.back().silent;
    open.firstSerial = done_.back().firstSerial;
    open.lastSerial = done_.back().lastSerial;
  }
  done_.clear();
  if (stepOpen_) done_.push_back(std::move(open));
  mark_ = 0;
}

}  // namespace hostcore
