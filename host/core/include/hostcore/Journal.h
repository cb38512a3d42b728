// The undo journal. Each change records the state it replaces; applying a
// record swaps that state with the document's, so the same records undo
// and redo. Records pin the art they name: disposed art stays in its slot
// (its handles refused) until no record can bring it back.
//
// Changes are journaled only inside an undo step; a change made outside
// one cannot be replayed around, so it clears the undo history.
//
// Who opens and closes undo steps, and nobody else:
// - the host's message driver: a message sent while no step is open is a
//   step of its own, with the plug-in art updates it causes
//   (HostApplication::sendMessage, an UndoStep that joins an open step);
// - a tool drag: the press opens the step and marks it, the release closes
//   it, so the drag and its messages are one step (ToolEvents, the only
//   step that spans several calls);
// - a host edit with its notifications to the plug-in (HostEdits);
// - each change the program's scripts make outside the plug-in, and a
//   selection as a silent step that joins the step before it (cli Session);
// - the validator's random press, which opens the step as a press does and
//   closes it when its message is answered (validate Interactions).
// Every one of them but the drag uses the UndoStep guard below.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "hostcore/ArtModel.h"
#include "hostcore/ArtTree.h"
#include "hostcore/DataStore.h"

namespace hostcore {

class Journal {
 public:
  Journal(ArtTree& tree, DataStore& data) : tree_(tree), data_(data) {}
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  // ---- Steps -----------------------------------------------------------------
  // Closes a step still open and opens a new one.
  void beginStep();
  // A silent step joins the step before it (or is kept without undo); a
  // step that changed nothing leaves no step behind.
  void endStep();
  bool stepOpen() const { return stepOpen_; }
  void setSilent(bool silent);
  // Marks the present point of the open step (the start of the step
  // until set); revertToMark undoes everything after it, keeping the mark.
  void setMark();
  void revertToMark();
  // Close an open step first; false when there is nothing to undo or redo.
  bool undo();
  bool redo();
  size_t undoDepth() const { return done_.size(); }
  size_t redoDepth() const { return undone_.size(); }
  // Records kept for undo and redo, over all steps.
  size_t recordCount() const;
  // Steps kept for undo, at least one; the oldest go first.
  void setLimit(size_t steps);
  void clear();

  // ---- Journaled changes -------------------------------------------------------
  void record(JournalRecord record);
  // Art made in the open step after its mark: undoing or reverting takes
  // it away whole, so the state it passes through need not be kept.
  bool bornSinceMark(NodeIndex n) const {
    const uint32_t born = tree_.node(n).born;
    return stepOpen_ && born != 0 && born >= markSerial_;
  }
  // New detached art put at its place (undo takes it away).
  void placeNew(NodeIndex n, Place place);
  // Takes art out of its place and out of life, with its subtree (undo
  // puts it back); the caller frees what nothing pins.
  void dispose(NodeIndex n);
  void moveNode(NodeIndex n, Place place);
  ArtProps& editProps(NodeIndex n) {
    if (!bornSinceMark(n)) record(PropsRecord{n, tree_.node(n).props});
    return tree_.node(n).props.edit();
  }
  PathGeometry& editGeometry(NodeIndex n) {
    if (!bornSinceMark(n)) record(GeometryRecord{n, std::make_unique<PathGeometry>(tree_.node(n).path)});
    return tree_.node(n).path;
  }
  // Sets (or with no value deletes) a dictionary's entry.
  void writeEntry(uint32_t dictionary, uint32_t key, std::optional<DictValue> value);
  void setCurrentLayer(NodeIndex layer);

  // Calls visit with every record kept, for the document's check.
  template <class F>
  void forEachRecord(F&& visit) const {
    for (const UserStep& step : done_)
      for (const JournalRecord& r : step.records) visit(r);
    for (const UserStep& step : undone_)
      for (const JournalRecord& r : step.records) visit(r);
  }

 private:
  // Art made in a step carries the step's serial; a step that later
  // steps joined spans their serials too.
  struct UserStep {
    std::vector<JournalRecord> records;
    bool silent = false;
    uint32_t firstSerial = 0;
    uint32_t lastSerial = 0;
  };

  bool bornIn(const UserStep& step, NodeIndex n) const;
  // Drops what undo and redo of a closed step never need: all but the
  // first record of each node's properties, geometry and entries, those
  // of art the step made, and the records of art it made and disposed of.
  void compact(UserStep& step);
  void apply(JournalRecord& record);
  void pinRecord(const JournalRecord& record, int delta);
  void discardRecords(std::vector<JournalRecord>& records);

  ArtTree& tree_;
  DataStore& data_;
  std::deque<UserStep> done_;
  std::vector<UserStep> undone_;
  bool stepOpen_ = false;
  size_t mark_ = 0;           // record index in the open step
  uint32_t markSerial_ = 0;   // art born from this serial on came after the mark
  uint32_t stepSerials_ = 0;  // serials handed out so far
  size_t limit_ = 200;
};

// An undo step for the length of a scope, closed on every way out.
class UndoStep {
 public:
  enum class Kind {
    Own,        // a step of its own
    Silent,     // joins the step before it
    UnlessOpen  // a step of its own only when none is open; else within that one
  };
  explicit UndoStep(Journal& journal, Kind kind = Kind::Own)
      : journal_(journal), owns_(kind != Kind::UnlessOpen || !journal.stepOpen()) {
    if (!owns_) return;
    journal_.beginStep();
    if (kind == Kind::Silent) journal_.setSilent(true);
  }
  ~UndoStep() {
    if (owns_) journal_.endStep();
  }
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;

 private:
  Journal& journal_;
  bool owns_;
};

}  // namespace hostcore
