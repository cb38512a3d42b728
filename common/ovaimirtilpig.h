#ifndef COMMON_OVAIMIRTILPIG_H
#define COMMON_OVAIMIRTILPIG_H

// The mirror-tile object: a plugin-group art object whose dictionary keeps
// its centre, its cnj point, offset, angle, type and captured source art,
// and whose result group is rebuilt from them.

#include "MirtilNames.h"
#include "hostapi/HostMessages.h"
#include "hostapi/HostTypes.h"

// Makes an object in the current layer from the art of every layer within
// the square about the centre reaching cnj. '!IMP' when that holds no art;
// nothing is left behind on any failure.
AIErr MakeMirtilPIG(AIReal centreh, AIReal centrev, AIReal cnjh, AIReal cnjv,
                    AIPluginGroupHandle pig_handle);
bool IsMirtilPIG(AIArtHandle art);
// Stores how far the host has moved the object's edit path.
AIErr UpdatePigForTranslate(AIArtHandle pig);
// Turns the object by the turn of a drag from start to end about its pivot.
AIErr ReAlignMirtilPIG(AIArtHandle pig, AIReal starth, AIReal startv, AIReal endh, AIReal endv);
AIErr RotateMirtilPIG(AIArtHandle pig, AIReal step);

// Lists as SelectedItems hands them out.
int GetSelectedMirtils(AIArtHandle** list);
int GetAllMirtils(AIArtHandle** list);
// 'CANT' unless exactly one object is selected.
AIErr GetSingleSelMirtil(AIArtHandle* art);

// Rebuilds the result art of the object of an update message.
AIErr goUpdateResultArt(AIPluginGroupMessage* message);
// Fills the empty result group of pig.
AIErr GenerateResultArt(AIArtHandle edit, AIArtHandle result, AIArtHandle pig);

#endif
