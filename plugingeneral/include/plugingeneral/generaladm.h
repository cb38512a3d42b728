#ifndef PLUGINGENERAL_GENERALADM_H
#define PLUGINGENERAL_GENERALADM_H

// Dialog procedures of a click-to-close box, a text comparison and the user
// alerts. A null argument or an empty alert text fails an assertion: four
// Info lines (the marker, the source file, the line, the condition) and then
// the const char* exception "Plugin assertion", which the entry point turns
// into 'PARM'.

#include "hostapi/HostTypes.h"
#include "ovstr/ovstr.h"

// Init procedure of a box closed by its first event; the dialog's user data,
// a text, goes into item 3.
AIErr AboutDialogInit(ADMDialogRef inDialog);
AIBoolean AboutDialogTrack(ADMDialogRef inDialog, ADMTrackerRef inTracker);
AIBoolean AboutItemTrack(ADMItemRef inItem, ADMTrackerRef inTracker);

bool StringsEqual(const char* a, const char* b);

void UserADMAlert(OvStr msg);
void UserADMInfo(OvStr msg);
// True when the user answered yes.
bool UserADMQuestion(OvStr qn);

// Text of the exception a failed assertion raises.
extern const char* const kPluginAssertion;

#endif
