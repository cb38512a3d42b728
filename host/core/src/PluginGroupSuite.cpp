// The plugin group suite: registered groups live in the core, the art
// that belongs to them in the document.
#include "SuiteTables.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

AIErr AddAIPluginGroup(SPPluginRef self, const char* name, AIAddPluginGroupData* data, int32_t options,
                       AIPluginGroupHandle* entry) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "AddAIPluginGroup");
  if (data == nullptr) return kHostBadParameterErr;
  return core->addPluginGroup(self, name, *data, options, entry);
}

AIErr SetAIPluginGroupDefaultName(AIPluginGroupHandle entry, const char* name) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "SetAIPluginGroupDefaultName");
  uint32_t group;
  if (AIErr err = core->findPluginGroup(entry, &group)) return err;
  if (name == nullptr) return kHostBadParameterErr;
  core->pluginGroup(group).defaultName = name;
  return kNoErr;
}

AIErr GetAIPluginGroupName(AIPluginGroupHandle entry, const char** name) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "GetAIPluginGroupName");
  uint32_t group;
  if (AIErr err = core->findPluginGroup(entry, &group)) return err;
  if (name == nullptr) return kHostBadParameterErr;
  *name = core->pluginGroup(group).name.c_str();
  return kNoErr;
}

AIErr UseAIPluginGroup(AIArtHandle art, AIPluginGroupHandle entry) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "UseAIPluginGroup");
  uint32_t group;
  if (AIErr err = core->findPluginGroup(entry, &group)) return err;
  const PluginGroupEntry& registered = core->pluginGroup(group);
  return core->document().attachPluginGroup(art, group, registered.major, registered.minor);
}

AIErr GetPluginArtEditArt(AIArtHandle art, AIArtHandle* editArt) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "GetPluginArtEditArt");
  return core->document().editGroup(art, editArt);
}

AIErr GetPluginArtResultArt(AIArtHandle art, AIArtHandle* resultArt) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "GetPluginArtResultArt");
  return core->document().resultGroup(art, resultArt);
}

AIErr GetPluginArtPluginGroup(AIArtHandle art, AIPluginGroupHandle* entry) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "GetPluginArtPluginGroup");
  uint32_t group;
  if (AIErr err = core->document().pluginGroupOf(art, &group)) return err;
  if (entry == nullptr) return kHostBadParameterErr;
  *entry = core->pluginGroupHandle(group);
  return kNoErr;
}

AIErr GetPluginArtName(AIArtHandle art, const char** name) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "GetPluginArtName");
  uint32_t group;
  if (AIErr err = core->document().pluginGroupOf(art, &group)) return err;
  if (name == nullptr) return kHostBadParameterErr;
  *name = core->pluginGroup(group).name.c_str();
  return kNoErr;
}

AIErr GetPluginArtVersion(AIArtHandle art, int32_t* major, int32_t* minor) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "GetPluginArtVersion");
  return core->document().pluginVersion(art, major, minor);
}

AIErr MarkPluginArtDirty(AIArtHandle art) {
  HOSTCORE_ENTER(kAIPluginGroupSuite, "MarkPluginArtDirty");
  return core->document().markDirty(art);
}

}  // namespace

const AIPluginGroupSuite kPluginGroupSuiteTable = {
    AddAIPluginGroup,      SetAIPluginGroupDefaultName, GetAIPluginGroupName, UseAIPluginGroup,    GetPluginArtEditArt,
    GetPluginArtResultArt, GetPluginArtPluginGroup,     GetPluginArtName,     GetPluginArtVersion, MarkPluginArtDirty,
};

}  // namespace hostcore
