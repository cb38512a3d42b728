#ifndef PLUGINGENERAL_OVAIGENERAL_H
#define PLUGINGENERAL_OVAIGENERAL_H

// Creating, duplicating and emptying art, reading its type, and the path
// style of plug-in art.
//
// Placement relative to a reference art: inside it on top when it is a
// group, just above it otherwise, above all art when there is none.

#include "hostapi/HostTypes.h"

// Null when the host fails.
AIArtHandle CreateNewArt(AIArtType type, AIArtHandle ref);
AIErr DuplicateArt(AIArtHandle art, AIArtHandle ref, AIArtHandle* newart);
// Disposes of every child of grp, emptying child groups first.
AIErr DeleteGroupContents(AIArtHandle grp);
// kUnknownArt when the host fails.
AIArtType ArtType(AIArtHandle art);
AIBoolean IsValidArt(AIArtHandle art);

// The art's path style; for art without a style of its own only the two
// paint switches are set (off).
AIErr GetPigPathStyle(AIArtHandle art, AIPathStyle* style);
// Gives the art a new style made of style and the paint map of its old one.
AIErr SetPigPathStyle(AIArtHandle art, AIPathStyle style);

#endif
