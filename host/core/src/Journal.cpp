// The undo journal. Each change records the state it replaces; applying a
// record swaps that state with the document's, so the same records undo
// and redo. Records pin the art they name: disposed art stays in its slot
// (its handles refused) until no record can bring it back.
#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "JournalPins.h"
#include "hostcore/Document.h"

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

bool holdsState(const JournalRecord& record) {
    return std::holds_alternative<PropsRecord>(record) || std::holds_alternative<GeometryRecord>(record) ||
           std::holds_alternative<EntryRecord>(record);
}

}  // namespace

bool Document::bornSinceMark(NodeIndex node) const {
    return stepOpen_ && nodes_[node].born != 0 && nodes_[node].born >= markSerial_;
}

bool Document::bornIn(const UserStep& step, NodeIndex node) const {
    const uint32_t born = nodes_[node].born;
    return born != 0 && born >= step.firstSerial && born <= step.lastSerial;
}

void Document::compact(UserStep& step) {
    std::vector<JournalRecord>& records = step.records;
    // Art made and disposed of in the step, each piece with its root, when
    // no older art hangs inside it: undo and redo both leave it dead.
    std::unordered_map<NodeIndex, NodeIndex> gone;
    for (const JournalRecord& r : records) {
        const auto* life = std::get_if<LifeRecord>(&r);
        if (life == nullptr || gone.count(life->root) != 0) continue;
        const ArtNode& root = nodes_[life->root];
        if (root.live || root.parent != kNoNode || !bornIn(step, life->root)) continue;
        const std::vector<NodeIndex> pieces = subtree(life->root);
        if (std::all_of(pieces.begin(), pieces.end(), [&](NodeIndex n) { return bornIn(step, n); }))
            for (NodeIndex n : pieces) gone.emplace(n, life->root);
    }
    // Art that a record kept for other art refers to must stay as it is.
    for (bool changed = true; changed && !gone.empty();) {
        changed = false;
        for (const JournalRecord& r : records) {
            if (gone.count(primaryNode(r)) != 0) continue;
            forEachPinned(r, [&](NodeIndex n) {
                const auto at = gone.find(n);
                if (at == gone.end()) return;
                for (NodeIndex m : subtree(at->second)) gone.erase(m);
                changed = true;
            });
        }
    }
    StateRecords seen;
    std::vector<JournalRecord> kept;
    std::vector<NodeIndex> released;
    kept.reserve(records.size());
    for (JournalRecord& r : records) {
        const NodeIndex node = primaryNode(r);
        const bool needed = gone.count(node) == 0 && (!holdsState(r) || (!bornIn(step, node) && seen.first(r)));
        if (needed) {
            kept.push_back(std::move(r));
            continue;
        }
        pinRecord(r, -1);
        forEachPinned(r, [&](NodeIndex n) { released.push_back(n); });
    }
    records = std::move(kept);
    for (NodeIndex n : released) collect(n);
}

void Document::pinRecord(const JournalRecord& record, int delta) {
    forEachPinned(record, [&](NodeIndex n) { nodes_[n].pins = uint32_t(int(nodes_[n].pins) + delta); });
}

void Document::record(JournalRecord record) {
    if (!stepOpen_) {
        clearUndoHistory();
        return;
    }
    if (!undone_.empty()) {
        for (UserStep& step : undone_) discardRecords(step.records);
        undone_.clear();
    }
    pinRecord(record, +1);
    done_.back().records.push_back(std::move(record));
}

void Document::discardRecords(std::vector<JournalRecord>& records) {
    std::vector<NodeIndex> released;
    for (const JournalRecord& r : records) {
        pinRecord(r, -1);
        forEachPinned(r, [&](NodeIndex n) { released.push_back(n); });
    }
    records.clear();
    for (NodeIndex n : released) collect(n);
}

void Document::moveNode(NodeIndex node, Place place) {
    record(LinkRecord{node, placeOf(node)});
    detach(node);
    if (place.parent != kNoNode) attach(node, place);
}

ArtProps& Document::editProps(NodeIndex node) {
    if (!bornSinceMark(node)) record(PropsRecord{node, nodes_[node].props});
    return nodes_[node].props;
}

PathGeometry& Document::editGeometry(NodeIndex node) {
    if (!bornSinceMark(node)) record(GeometryRecord{node, nodes_[node].path});
    return nodes_[node].path;
}

void Document::writeEntry(uint32_t dictionary, uint32_t key, std::optional<DictValue> value) {
    DictEntries& entries = dictionaries_[dictionary].entries;
    const NodeIndex owner = dictionaries_[dictionary].owner;
    const auto at = entries.find(key);
    // A dictionary whose art is gone is no longer part of the document.
    if (owner != kNoNode && !bornSinceMark(owner))
        record(EntryRecord{owner, key, at == entries.end() ? std::nullopt : std::optional<DictValue>(at->second)});
    if (value)
        entries[key] = std::move(*value);
    else if (at != entries.end())
        entries.erase(at);
}

void Document::apply(JournalRecord& record) {
    pinRecord(record, -1);
    std::visit(
        [&](auto& r) {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, LinkRecord>) {
                const Place present = placeOf(r.node);
                detach(r.node);
                if (r.place.parent != kNoNode) attach(r.node, r.place);
                r.place = present;
            } else if constexpr (std::is_same_v<R, LifeRecord>) {
                const bool present = nodes_[r.root].live;
                setSubtreeLife(r.root, r.live);
                r.live = present;
            } else if constexpr (std::is_same_v<R, PropsRecord>) {
                std::swap(nodes_[r.node].props, r.props);
            } else if constexpr (std::is_same_v<R, GeometryRecord>) {
                std::swap(nodes_[r.node].path, r.path);
            } else if constexpr (std::is_same_v<R, EntryRecord>) {
                DictEntries& entries = dictionaries_[ensureDictionary(r.owner)].entries;
                const auto at = entries.find(r.key);
                std::optional<DictValue> present;
                if (at != entries.end()) {
                    present = std::move(at->second);
                    entries.erase(at);
                }
                if (r.value) entries[r.key] = std::move(*r.value);
                r.value = std::move(present);
            } else if constexpr (std::is_same_v<R, LayerListRecord>) {
                std::swap(layers_, r.layers);
                numberLayers();
            } else {
                std::swap(current_, r.layer);
            }
        },
        record);
    pinRecord(record, +1);
}

void Document::beginUserStep() {
    endUserStep();
    UserStep& step = done_.emplace_back();
    step.firstSerial = step.lastSerial = markSerial_ = ++stepSerials_;
    stepOpen_ = true;
    mark_ = 0;
}

void Document::endUserStep() {
    if (!stepOpen_) return;
    stepOpen_ = false;
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
    setUndoLimit(undoLimit_);
}

AIErr Document::setSilent(bool silent) {
    if (stepOpen_) done_.back().silent = silent;
    return kNoErr;
}

void Document::setUndoMark() {
    mark_ = stepOpen_ ? done_.back().records.size() : 0;
    if (stepOpen_) done_.back().lastSerial = markSerial_ = ++stepSerials_;
}

void Document::revertToMark() {
    if (!stepOpen_) return;
    std::vector<JournalRecord>& records = done_.back().records;
    mark_ = std::min(mark_, records.size());
    for (size_t i = records.size(); i > mark_; --i) apply(records[i - 1]);
    std::vector<JournalRecord> reverted(std::make_move_iterator(records.begin() + std::ptrdiff_t(mark_)),
                                        std::make_move_iterator(records.end()));
    records.resize(mark_);
    discardRecords(reverted);
}

bool Document::undo() {
    endUserStep();
    if (done_.empty()) return false;
    UserStep step = std::move(done_.back());
    done_.pop_back();
    for (size_t i = step.records.size(); i > 0; --i) apply(step.records[i - 1]);
    undone_.push_back(std::move(step));
    return true;
}

bool Document::redo() {
    endUserStep();
    if (undone_.empty()) return false;
    UserStep step = std::move(undone_.back());
    undone_.pop_back();
    for (JournalRecord& r : step.records) apply(r);
    done_.push_back(std::move(step));
    return true;
}

size_t Document::journalSize() const {
    size_t size = 0;
    for (const UserStep& step : done_) size += step.records.size();
    for (const UserStep& step : undone_) size += step.records.size();
    return size;
}

void Document::setUndoLimit(size_t steps) {
    undoLimit_ = std::max<size_t>(steps, 1);
    const size_t keep = undoLimit_ + (stepOpen_ ? 1 : 0);
    while (done_.size() > keep) {
        discardRecords(done_.front().records);
        done_.pop_front();
    }
}

void Document::clearUndoHistory() {
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
