#ifndef COMMON_OVAIART_H
#define COMMON_OVAIART_H

// Geometry on art (rotation, reflection, translation, the construction
// paths of the tool and the result art) and the capture of source art into
// an object's dictionary with its read-back.

#include "MirtilNames.h"
#include "hostapi/HostTypes.h"

// ---- Transformations -----------------------------------------------------
// Groups and compound paths are walked; every other art is handed to the
// host's transform whole.
AIErr TransformArt(AIArtHandle art, AIRealMatrix m);
AIErr RotateGroupAtPoint(AIArtHandle art, AIReal h, AIReal v, double angle);
// Reflects across the line through (h1, v1) and (h2, v2).
AIErr MirrorGroupInPlaceAtLine(AIArtHandle art, AIReal h1, AIReal v1, AIReal h2, AIReal v2);
AIErr TranslateArt(AIArtHandle art, AIRealPoint offs);
// Turns *pt about centre, in place.
AIErr RotatePointAroundPoint(AIRealPoint centre, AIRealPoint* pt, double angle);

// ---- Construction paths --------------------------------------------------
// The current layer's art group; 'CANT' when there is none.
AIErr GetCurrentLayerGroup(AIArtHandle* layergroup);
// A new path placed by the reference art (see CreateNewArt); '!MEM' when
// none can be made.
AIErr NewPathArt(AIArtHandle ref, AIArtHandle* path);
// A new empty path on top of the current layer; art may be null.
AIErr TempPathObj(AIArtHandle* art);
// The makers fill an existing path; false after a failing host call.
bool MakeLinePath(AIArtHandle art, AIReal ah, AIReal av, AIReal bh, AIReal bv);
// Two sides of the equilateral triangle centred on c with a vertex at p,
// meeting at p; open.
bool MakeTriangleSidesPath(AIArtHandle art, AIReal ch, AIReal cv, AIReal ph, AIReal pv);
// Two radii 60 degrees apart of the circle about c through p, meeting at c; open.
bool MakeWedgePath(AIArtHandle art, AIReal ch, AIReal cv, AIReal ph, AIReal pv);
bool MakeCirclePathThrough(AIArtHandle art, AIReal ch, AIReal cv, AIReal ph, AIReal pv);

// ---- Source art ------------------------------------------------------------
// The dictionary key of source-art entry index ("Mir-Obj-000" onward).
AIDictKey SourceArtKey(int index);
// Stores under key a group of the layer's art that meets bounds, with the
// plug-in objects taken out; stores nothing when nothing is left.
AIErr CopyLayerArtIntoDict(AILayerHandle layer, const AIRealRect* bounds, AIDictionaryRef dict,
                           AIDictKey key);
// Copies the top-level children of fromgrp that meet bounds (null: all) to
// the bottom of togrp, keeping their stacking order.
AIErr DuplicateChildren(AIArtHandle fromgrp, const AIRealRect* bounds, AIArtHandle togrp);
// Disposes of the plug-in art that meets bounds and turns sublayers into
// plain groups.
AIErr PruneTreeOfUnwantedObjects(AIArtHandle art, const AIRealRect* bounds);
// True for a null region and for art whose bounds cannot be read.
bool ArtIntersectsBounds(AIArtHandle art, const AIRealRect* bounds);
// Direct children of a group; 0 for other art; an error code on failure.
int CountGroupChildren(AIArtHandle art);
// Copies the source-art entries, in index order up to the first gap, into
// group at paintOrder. Always 0.
AIErr CopyDictArtToGroup(AIDictionaryRef dict, AIArtHandle group, AIPaintOrder paintOrder);

#endif
