// The undo suite over the document's journal; who opens and closes steps
// and where the mark stands is written down in Journal.h.
#include "SuiteTables.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

AIErr UndoChanges(void) {
  HOSTCORE_ENTER(kAIUndoSuite, "UndoChanges");
  core->document().journal().revertToMark();
  return kNoErr;
}

AIErr SetSilent(AIBoolean silent) {
  HOSTCORE_ENTER(kAIUndoSuite, "SetSilent");
  core->document().journal().setSilent(silent != 0);
  return kNoErr;
}

}  // namespace

const AIUndoSuite kUndoSuiteTable = {UndoChanges, SetSilent};

}  // namespace hostcore
