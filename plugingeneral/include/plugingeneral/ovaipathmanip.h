#ifndef PLUGINGENERAL_OVAIPATHMANIP_H
#define PLUGINGENERAL_OVAIPATHMANIP_H

#include "hostapi/HostTypes.h"

// Makes path a closed four-segment Bezier circle, starting at the point
// right of the centre and running counter-clockwise. True on success.
bool MakeCirclePath(AIArtHandle path, AIRealPoint centre, AIReal radius);

#endif
