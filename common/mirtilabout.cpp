// The about box: the product's name, version and picture, closed by the
// first event that reaches it.

#include "MirtilPlugin.h"
#include "framework/PluginSuites.h"
#include "ovstr/ovstr.h"
#include "plugingeneral/generaladm.h"

AIErr MirtilPlugin::About(SPInterfaceMessage* message) {
  const OvStr text("Mirrortile\n\n\nVersion:%s\n\n\n\n\n"
                   "Copyright (c) The Mirrortile authors\n"
                   "Kaleidoscope tiles made from your artwork",
                   "3.0.0.quarn.316");
  // A box that cannot be shown changes nothing; the result is not needed.
  sADMDialog->Modal(message->d.self, "", kAboutDialogID, 0, AboutDialogInit,
                    const_cast<char*>(text.CStr()), 0);
  return kNoErr;
}
