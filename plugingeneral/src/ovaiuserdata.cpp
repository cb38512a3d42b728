#include "plugingeneral/ovaiuserdata.h"

#include <cstring>

#include "framework/PluginSuites.h"
#include "framework/CheckedCall.h"
#include "ovlog.h"
#include "ovstr/ovstr.h"
#include "plugingeneral/ovaigeneral.h"
#include "plugingeneral/ovaiscoped.h"

namespace {

const char* const kVariableWidthPluginName = "OrvoSwellpenPIG";

// The key of keystr in *key, or a refusal: bad arguments (with an Info line
// unless routine is null) or a key that cannot be made.
AIErr GetKey(AIDictionaryRef d, const char* keystr, const char* routine, const char* keyRoutine,
             AIDictKey* key) {
  if (!d || !keystr) return routine ? RefuseBadArgs(routine) : kBadParameterErr;
  *key = sAIDictionary->Key(keystr);
  if (!*key) {
    log_info(OvStr("getting key in %s", keyRoutine).CStr());
    return kCantErr;
  }
  return kNoErr;
}

// One unreported host call on the entry of keystr, after the key is made.
template <typename EntryCall>
AIErr WithKey(AIDictionaryRef d, const char* keystr, const char* routine, EntryCall entryCall) {
  AIDictKey key = nullptr;
  if (const AIErr err = GetKey(d, keystr, routine, routine, &key)) return err;
  return entryCall(key);
}

}  // namespace

AIErr WriteIntToDict(AIDictionaryRef d, const char* keystr, int value) {
  return WithKey(d, keystr, "WriteIntToDict",
                 [&](AIDictKey key) { return sAIDictionary->SetIntegerEntry(d, key, value); });
}

AIErr ReadIntFromDict(AIDictionaryRef d, const char* keystr, int* value) {
  return WithKey(d, keystr, "ReadIntFromDict",
                 [&](AIDictKey key) { return sAIDictionary->GetIntegerEntry(d, key, value); });
}

AIErr WriteBoolToDict(AIDictionaryRef d, const char* keystr, AIBoolean value) {
  return WithKey(d, keystr, "WriteBoolToDict",
                 [&](AIDictKey key) { return sAIDictionary->SetBooleanEntry(d, key, value); });
}

AIErr ReadBoolFromDict(AIDictionaryRef d, const char* keystr, AIBoolean* value) {
  return WithKey(d, keystr, "ReadBoolFromDict",
                 [&](AIDictKey key) { return sAIDictionary->GetBooleanEntry(d, key, value); });
}

AIErr WriteFloatArrayToDict(AIDictionaryRef d, const char* keystr, int count, const AIReal* array) {
  if (count < 1 || !array) return RefuseBadArgs("WriteRealArrayToDict");
  AIDictKey key = nullptr;
  if (const AIErr err = GetKey(d, keystr, "WriteRealArrayToDict", "WriteRealArrayToDict", &key)) return err;
  AIArrayRef arrref = nullptr;
  CHECK_CALL(sAIArray->CreateArray(&arrref));
  ArrayRelease arrayReference(arrref);
  for (int lp = 0; lp < count; lp++) {
    CHECK_CALL(sAIArray->InsertEntry(arrref,lp));
    CHECK_CALL(sAIArray->SetRealEntry(arrref,lp,array[lp]));
  }
  CHECK_CALL(sAIDictionary->SetArrayEntry (d,key,arrref));
  return kNoErr;
}

AIErr ReadFloatArrayFromDict(AIDictionaryRef d, const char* keystr, int count, AIReal* array) {
  if (count < 1 || !array) return kBadParameterErr;
  AIDictKey key = nullptr;
  if (const AIErr err = GetKey(d, keystr, nullptr, "ReadFloatArrayFromToDict", &key)) return err;
  AIArrayRef arrref = nullptr;
  CHECK_CALL(sAIArray->CreateArray(&arrref));
  // The fetch replaces arrref by the stored array without releasing the one
  // made here, so both references are given back.
  ArrayRelease createdReference(arrref);
  const AIArrayRef created = arrref;
  CHECK_CALL(sAIDictionary->GetArrayEntry (d,key,&arrref));
  ArrayRelease storedReference(arrref != created ? arrref : nullptr);
  for (int lp = 0; lp < count; lp++) {
    CHECK_CALL(sAIArray->GetRealEntry(arrref,lp,array+lp));
  }
  return kNoErr;
}

bool IsOurPluginArt(AIArtHandle art) {
  if (ArtType(art) != kPluginArt) {
    log_info("IsOurPluginArt - bad parameters");
    return false;
  }
  const char* name = nullptr;
  if (sAIPluginGroup->GetPluginArtName(art, &name) != kNoErr || !name) {
    log_info("IsOurPluginArt - cant get plugin name");
    return false;
  }
  if (std::strcmp(name, kVariableWidthPluginName) != 0) {
    log_info("IsOurPluginArt - wrong plugin name");
    return false;
  }
  return true;
}

bool IsOurPluginEditPath(AIArtHandle art) {
  if (ArtType(art) != kPathArt) return false;
  AIArtHandle parent = nullptr;
  AIArtHandle grandparent = nullptr;
  if (sAIArt->GetArtParent(art, &parent) != kNoErr || !parent) return false;
  if (sAIArt->GetArtParent(parent, &grandparent) != kNoErr || !grandparent) return false;
  return ArtType(grandparent) == kPluginArt && IsOurPluginArt(grandparent);
}
