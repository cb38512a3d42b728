#ifndef PLUGINGENERAL_OVAISELECTION_H
#define PLUGINGENERAL_OVAISELECTION_H

// Lists of the document's art. An array handed out is a block named
// "SelectedItems" of the tracked allocator; the caller frees it with free_mem.

#include "hostapi/HostTypes.h"

// Answers false for art to leave out of a list.
typedef bool (*SelectionFilter)(AIArtHandle art);

// With selectedOnly, the selected art of the given type; otherwise all art
// of any type that is neither locked nor hidden. Edit paths of the
// variable-width stroke objects and art the filter refuses are left out.
// Answers the count kept (the array is handed out only when it is at least
// 1), or -1 on failure. A null out answers the count of the set.
int SelectedItems(AIArtType type, bool selectedOnly, AIArtHandle** out, SelectionFilter filter);
int GetSelectedArtOfType(AIArtType type, AIArtHandle** out);

#endif
