// The undo journal. Each change records the state it replaces; applying a
// record swaps that state with the document's, so the same records undo
// and redo. Records pin the art they name: disposed art stays in its slot
// (its handles refused) until no record can bring it back.
#include <algorithm>
#include <iterator>

#include "JournalPins.h"
#include "hostcore/Document.h"

namespace hostcore {


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
    record(PropsRecord{node, nodes_[node].props});
    return nodes_[node].props;
}

PathGeometry& Document::editGeometry(NodeIndex node) {
    record(GeometryRecord{node, nodes_[node].path});
    return nodes_[node].path;
}

void Document::writeEntry(uint32_t dictionary, uint32_t key, std::optional<DictValue> value) {
    DictEntries& entries = dictionaries_[dictionary].entries;
    const NodeIndex owner = dictionaries_[dictionary].owner;
    const auto at = entries.find(key);
    // A dictionary whose art is gone is no longer part of the document.
    if (owner != kNoNode)
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
            } else {
                std::swap(current_, r.layer);
            }
        },
        record);
    pinRecord(record, +1);
}

void Document::beginUserStep() {
    endUserStep();
    done_.emplace_back();
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
            std::vector<JournalRecord>& into = done_.back().records;
            into.insert(into.end(), std::make_move_iterator(step.records.begin()),
                        std::make_move_iterator(step.records.end()));
        }
        return;
    }
    done_.push_back(std::move(step));
    setUndoLimit(undoLimit_);
}

AIErr Document::setSilent(bool silent) {
    if (stepOpen_) done_.back().silent = silent;
    return kNoErr;
}

void Document::setUndoMark() { mark_ = stepOpen_ ? done_.back().records.size() : 0; }

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
    const bool silent = stepOpen_ && done_.back().silent;
    done_.clear();
    if (stepOpen_) done_.push_back(UserStep{{}, silent});
    mark_ = 0;
}

}  // namespace hostcore
