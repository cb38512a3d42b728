#ifndef PLUGINGENERAL_OVAIUSERDATA_H
#define PLUGINGENERAL_OVAIUSERDATA_H

// Typed values kept in art dictionaries under text keys, and recognition of
// the variable-width stroke objects' art.

#include "hostapi/HostTypes.h"

AIErr WriteIntToDict(AIDictionaryRef d, const char* keystr, int value);
AIErr ReadIntFromDict(AIDictionaryRef d, const char* keystr, int* value);
AIErr WriteBoolToDict(AIDictionaryRef d, const char* keystr, AIBoolean value);
AIErr ReadBoolFromDict(AIDictionaryRef d, const char* keystr, AIBoolean* value);
// An array entry of count real entries; the count itself is not stored.
AIErr WriteFloatArrayToDict(AIDictionaryRef d, const char* keystr, int count, const AIReal* array);
// Reads exactly count elements into array; fewer stored elements fail.
AIErr ReadFloatArrayFromDict(AIDictionaryRef d, const char* keystr, int count, AIReal* array);

// Plug-in art of the variable-width stroke objects.
bool IsOurPluginArt(AIArtHandle art);
// A path inside the edit group of such an object.
bool IsOurPluginEditPath(AIArtHandle art);

#endif
