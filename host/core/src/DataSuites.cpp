// The dictionary, array and art set suites.
#include "SuiteTables.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

template <class T>
AIErr readEntry(HostCore& core, AIDictionaryRef dictionary, AIDictKey key, T* value) {
  uint32_t k;
  if (AIErr err = core.findKey(key, &k)) return err;
  const DictValue* stored;
  if (AIErr err = core.document().entry(dictionary, k, &stored)) return err;
  const T* typed = std::get_if<T>(stored);
  if (typed == nullptr) return kHostEntryKindErr;
  if (value == nullptr) return kHostBadParameterErr;
  *value = *typed;
  return kNoErr;
}

AIErr writeEntry(HostCore& core, AIDictionaryRef dictionary, AIDictKey key, DictValue value) {
  uint32_t k;
  if (AIErr err = core.findKey(key, &k)) return err;
  return core.document().setEntry(dictionary, k, std::move(value));
}

// ---- AI Dictionary Suite ----

AIDictKey Key(const char* keyString) {
  HOSTCORE_ENTER_OR(kAIDictionarySuite, "Key", nullptr);
  return core->key(keyString);
}

const char* GetKeyString(AIDictKey key) {
  HOSTCORE_ENTER_OR(kAIDictionarySuite, "GetKeyString", nullptr);
  uint32_t k;
  return core->findKey(key, &k) == kNoErr ? core->keyText(k) : nullptr;
}

AIErr DictionaryAddRef(AIDictionaryRef dictionary) {
  HOSTCORE_ENTER(kAIDictionarySuite, "AddRef");
  return core->document().addDictionaryRef(dictionary);
}

AIErr DictionaryRelease(AIDictionaryRef dictionary) {
  HOSTCORE_ENTER(kAIDictionarySuite, "Release");
  return core->document().releaseDictionary(dictionary);
}

AIBoolean IsKnown(AIDictionaryRef dictionary, AIDictKey key) {
  HOSTCORE_ENTER_OR(kAIDictionarySuite, "IsKnown", false);
  uint32_t k;
  const DictValue* stored;
  return core->findKey(key, &k) == kNoErr && core->document().entry(dictionary, k, &stored) == kNoErr;
}

AIErr DictionaryDeleteEntry(AIDictionaryRef dictionary, AIDictKey key) {
  HOSTCORE_ENTER(kAIDictionarySuite, "DeleteEntry");
  uint32_t k;
  if (AIErr err = core->findKey(key, &k)) return err;
  return core->document().deleteEntry(dictionary, k);
}

AIErr DictGetIntegerEntry(AIDictionaryRef dictionary, AIDictKey key, int32_t* value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "GetIntegerEntry");
  return readEntry(*core, dictionary, key, value);
}

AIErr DictSetIntegerEntry(AIDictionaryRef dictionary, AIDictKey key, int32_t value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "SetIntegerEntry");
  return writeEntry(*core, dictionary, key, value);
}

AIErr DictGetBooleanEntry(AIDictionaryRef dictionary, AIDictKey key, AIBoolean* value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "GetBooleanEntry");
  bool stored = false;
  if (AIErr err = readEntry(*core, dictionary, key, &stored)) return err;
  if (value == nullptr) return kHostBadParameterErr;
  *value = stored;
  return kNoErr;
}

AIErr DictSetBooleanEntry(AIDictionaryRef dictionary, AIDictKey key, AIBoolean value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "SetBooleanEntry");
  return writeEntry(*core, dictionary, key, value != 0);
}

AIErr DictGetRealEntry(AIDictionaryRef dictionary, AIDictKey key, AIReal* value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "GetRealEntry");
  return readEntry(*core, dictionary, key, value);
}

AIErr DictSetRealEntry(AIDictionaryRef dictionary, AIDictKey key, AIReal value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "SetRealEntry");
  return writeEntry(*core, dictionary, key, value);
}

AIErr GetArrayEntry(AIDictionaryRef dictionary, AIDictKey key, AIArrayRef* value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "GetArrayEntry");
  if (value == nullptr) return kHostBadParameterErr;
  ArrayValues stored;
  if (AIErr err = readEntry(*core, dictionary, key, &stored)) return err;
  return core->document().createArray(std::move(stored), value);
}

AIErr SetArrayEntry(AIDictionaryRef dictionary, AIDictKey key, AIArrayRef value) {
  HOSTCORE_ENTER(kAIDictionarySuite, "SetArrayEntry");
  ArrayValues* values;
  if (AIErr err = core->document().arrayValues(value, &values)) return err;
  return writeEntry(*core, dictionary, key, *values);  // the entry keeps its own copy
}

AIErr CopyArtToEntry(AIDictionaryRef dictionary, AIDictKey key, AIArtHandle art) {
  HOSTCORE_ENTER(kAIDictionarySuite, "CopyArtToEntry");
  uint32_t k;
  if (AIErr err = core->findKey(key, &k)) return err;
  return core->document().copyArtToEntry(dictionary, k, art);
}

AIErr CopyEntryToArt(AIDictionaryRef dictionary, AIDictKey key, AIPaintOrder paintOrder, AIArtHandle prep,
                     AIArtHandle* art) {
  HOSTCORE_ENTER(kAIDictionarySuite, "CopyEntryToArt");
  uint32_t k;
  if (AIErr err = core->findKey(key, &k)) return err;
  return core->document().copyEntryToArt(dictionary, k, paintOrder, prep, art);
}

// ---- AI Array Suite ----

// The array's entry i, or an error when the array or the index is not there.
AIErr arrayEntry(HostCore& core, AIArrayRef array, int32_t i, ArrayEntry** entry) {
  ArrayValues* values;
  if (AIErr err = core.document().arrayValues(array, &values)) return err;
  if (i < 0 || size_t(i) >= values->size()) return kHostIndexRangeErr;
  *entry = &(*values)[size_t(i)];
  return kNoErr;
}

template <class T>
AIErr readArrayEntry(HostCore& core, AIArrayRef array, int32_t i, ArrayEntryKind kind, T ArrayEntry::*field, T* value) {
  ArrayEntry* entry;
  if (AIErr err = arrayEntry(core, array, i, &entry)) return err;
  if (entry->kind == ArrayEntryKind::Empty) return kHostNoSuchEntryErr;
  if (entry->kind != kind) return kHostEntryKindErr;
  if (value == nullptr) return kHostBadParameterErr;
  *value = entry->*field;
  return kNoErr;
}

template <class T>
AIErr writeArrayEntry(HostCore& core, AIArrayRef array, int32_t i, ArrayEntryKind kind, T ArrayEntry::*field, T value) {
  ArrayEntry* entry;
  if (AIErr err = arrayEntry(core, array, i, &entry)) return err;
  *entry = ArrayEntry{};
  entry->kind = kind;
  entry->*field = value;
  return kNoErr;
}

AIErr CreateArray(AIArrayRef* array) {
  HOSTCORE_ENTER(kAIArraySuite, "CreateArray");
  return core->document().createArray({}, array);
}

AIErr ArrayAddRef(AIArrayRef array) {
  HOSTCORE_ENTER(kAIArraySuite, "AddRef");
  return core->document().addArrayRef(array);
}

AIErr ArrayRelease(AIArrayRef array) {
  HOSTCORE_ENTER(kAIArraySuite, "Release");
  return core->document().releaseArray(array);
}

int32_t Size(AIArrayRef array) {
  HOSTCORE_ENTER_OR(kAIArraySuite, "Size", -1);
  ArrayValues* values;
  if (core->document().arrayValues(array, &values) != kNoErr) return -1;
  return int32_t(values->size());
}

AIErr InsertEntry(AIArrayRef array, int32_t i) {
  HOSTCORE_ENTER(kAIArraySuite, "InsertEntry");
  ArrayValues* values;
  if (AIErr err = core->document().arrayValues(array, &values)) return err;
  if (i < 0 || size_t(i) > values->size()) return kHostIndexRangeErr;
  values->insert(values->begin() + i, ArrayEntry{});
  return kNoErr;
}

AIErr ArrayDeleteEntry(AIArrayRef array, int32_t i) {
  HOSTCORE_ENTER(kAIArraySuite, "DeleteEntry");
  ArrayValues* values;
  if (AIErr err = core->document().arrayValues(array, &values)) return err;
  if (i < 0 || size_t(i) >= values->size()) return kHostIndexRangeErr;
  values->erase(values->begin() + i);
  return kNoErr;
}

AIErr ArrayGetRealEntry(AIArrayRef array, int32_t i, AIReal* value) {
  HOSTCORE_ENTER(kAIArraySuite, "GetRealEntry");
  return readArrayEntry(*core, array, i, ArrayEntryKind::Real, &ArrayEntry::real, value);
}

AIErr ArraySetRealEntry(AIArrayRef array, int32_t i, AIReal value) {
  HOSTCORE_ENTER(kAIArraySuite, "SetRealEntry");
  return writeArrayEntry(*core, array, i, ArrayEntryKind::Real, &ArrayEntry::real, value);
}

AIErr ArrayGetIntegerEntry(AIArrayRef array, int32_t i, int32_t* value) {
  HOSTCORE_ENTER(kAIArraySuite, "GetIntegerEntry");
  return readArrayEntry(*core, array, i, ArrayEntryKind::Integer, &ArrayEntry::integer, value);
}

AIErr ArraySetIntegerEntry(AIArrayRef array, int32_t i, int32_t value) {
  HOSTCORE_ENTER(kAIArraySuite, "SetIntegerEntry");
  return writeArrayEntry(*core, array, i, ArrayEntryKind::Integer, &ArrayEntry::integer, value);
}

// ---- AI Art Set Suite ----

AIErr NewArtSet(AIArtSet* artSet) {
  HOSTCORE_ENTER(kAIArtSetSuite, "NewArtSet");
  return core->document().newArtSet(artSet);
}

AIErr DisposeArtSet(AIArtSet* artSet) {
  HOSTCORE_ENTER(kAIArtSetSuite, "DisposeArtSet");
  if (artSet == nullptr) return kHostBadParameterErr;
  if (AIErr err = core->document().disposeArtSet(*artSet)) return err;
  *artSet = nullptr;
  return kNoErr;
}

AIErr MatchingArtSet(AIArtSpec* specs, int16_t numSpecs, AIArtSet artSet) {
  HOSTCORE_ENTER(kAIArtSetSuite, "MatchingArtSet");
  return core->document().matchArt(specs, numSpecs, artSet);
}

AIErr CountArtSet(AIArtSet artSet, int32_t* count) {
  HOSTCORE_ENTER(kAIArtSetSuite, "CountArtSet");
  return core->document().artSetCount(artSet, count);
}

AIErr IndexArtSet(AIArtSet artSet, int32_t index, AIArtHandle* art) {
  HOSTCORE_ENTER(kAIArtSetSuite, "IndexArtSet");
  return core->document().artSetMember(artSet, index, art);
}

}  // namespace

const AIDictionarySuite kDictionarySuiteTable = {
    Key,
    GetKeyString,
    DictionaryAddRef,
    DictionaryRelease,
    IsKnown,
    DictionaryDeleteEntry,
    DictGetIntegerEntry,
    DictSetIntegerEntry,
    DictGetBooleanEntry,
    DictSetBooleanEntry,
    DictGetRealEntry,
    DictSetRealEntry,
    GetArrayEntry,
    SetArrayEntry,
    CopyArtToEntry,
    CopyEntryToArt,
};

const AIArraySuite kArraySuiteTable = {
    CreateArray,          ArrayAddRef,          ArrayRelease,      Size,
    InsertEntry,          ArrayDeleteEntry,     ArrayGetRealEntry, ArraySetRealEntry,
    ArrayGetIntegerEntry, ArraySetIntegerEntry,
};

const AIArtSetSuite kArtSetSuiteTable = {NewArtSet, DisposeArtSet, MatchingArtSet, CountArtSet, IndexArtSet};

}  // namespace hostcore
