#ifndef COMMON_MIRTILNAMES_H
#define COMMON_MIRTILNAMES_H

// The plug-in's names and codes that the stand-in host's program, validator
// and tests use too, each written here once: the plugin group, the keys of
// a mirror-tile object's dictionary, the preferences and the object types.
// The dialog, item, icon and cursor ids come from the resource description
// (MirtilResourceIds.h), the codes the plug-in answers from PluginErrors.h.
// The plug-in's checked calls spell names out, as the text of a call is what
// its error report prints.

#include <cstdint>

#include "MirtilResourceIds.h"
#include "framework/PluginErrors.h"

// The plugin group whose art is a mirror-tile object.
constexpr const char* kMirtilPluginGroupName = "ORVoMirtilPig";

// Entries of a mirror-tile object's dictionary.
constexpr const char* kMirtilCnjKey = "Mir-Cnj-XY";        // two reals: the cnj point
constexpr const char* kMirtilCentreKey = "Mir-Cnt-XY";     // two reals: the centre
constexpr const char* kMirtilOffsetKey = "Mir-Off-XY";     // two reals: the edit path's offset
constexpr const char* kMirtilAngleKey = "Mir-Angle";       // one real: the angle
constexpr const char* kMirtilTypeKey = "Mir-Type";         // an integer: the object's type
constexpr const char* kMirtilSourceKeyFormat = "Mir-Obj-%03d";  // source art entry n, from 000

// The preferences, kept by the host in one section.
constexpr const char* kMirtilPrefsSection = "Mirtil";
constexpr const char* kMirtilStepsPref = "Steps";
constexpr const char* kMirtilDelayPref = "Delay";
constexpr const char* kMirtilTypePref = "Type";

// Types of mirror-tile object; only equality with kMirtilSweep is ever tested.
enum {
  kMirtilInPlace = 0,  // triangle cells about cnj
  kMirtilSweep = 1     // 60-degree wedges about the centre
};

#endif
