// The undo suite over the document's journal; the application decides
// where user steps begin and end and where the mark stands.
#include "SuiteTables.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

AIErr UndoChanges(void) {
    HOSTCORE_ENTER(kAIUndoSuite, "UndoChanges");
    core->document().revertToMark();
    return kNoErr;
}

AIErr SetSilent(AIBoolean silent) {
    HOSTCORE_ENTER(kAIUndoSuite, "SetSilent");
    return core->document().setSilent(silent != 0);
}

}  // namespace

const AIUndoSuite kUndoSuiteTable = {UndoChanges, SetSilent};

}  // namespace hostcore
