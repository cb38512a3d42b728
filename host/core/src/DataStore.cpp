#include "hostcore/DataStore.h"

namespace hostcore {

uint32_t DataStore::newDictionary(NodeIndex owner) {
  Dictionary d;
  d.owner = owner;
  return dictionaries_.add(std::move(d));
}

AIDictionaryRef DataStore::handOut(uint32_t index) {
  ++dictionaries_[index].handedOut;
  return makeHandle<AIDictionaryRef>(HandleKind::Dictionary, index, dictionaries_.generation(index));
}

AIErr DataStore::addDictionaryRef(AIDictionaryRef dictionary) {
  uint32_t d;
  if (AIErr err = findDictionary(dictionary, &d)) return err;
  ++dictionaries_[d].handedOut;
  return kNoErr;
}

AIErr DataStore::releaseDictionary(AIDictionaryRef dictionary) {
  uint32_t d;
  if (AIErr err = findDictionary(dictionary, &d)) return err;
  Dictionary& dict = dictionaries_[d];
  if (dict.handedOut == 0) return kHostStaleHandleErr;
  if (--dict.handedOut == 0 && dict.owner == kNoNode) dictionaries_.remove(d);
  return kNoErr;
}

void DataStore::orphan(uint32_t index) {
  Dictionary& d = dictionaries_[index];
  d.owner = kNoNode;
  if (d.handedOut == 0) dictionaries_.remove(index);
}

AIErr DataStore::findArray(AIArrayRef array, uint32_t* index) const {
  if (array == nullptr) return kHostBadParameterErr;
  DecodedHandle h;
  if (!readHandle(array, HandleKind::Array, h) || !arrays_.matches(h)) return kHostStaleHandleErr;
  *index = h.index;
  return kNoErr;
}

AIErr DataStore::createArray(ArrayValues values, AIArrayRef* array) {
  if (array == nullptr) return kHostBadParameterErr;
  const uint32_t a = arrays_.add(ArrayObject{std::move(values), 1});
  *array = makeHandle<AIArrayRef>(HandleKind::Array, a, arrays_.generation(a));
  return kNoErr;
}

AIErr DataStore::addArrayRef(AIArrayRef array) {
  uint32_t a;
  if (AIErr err = findArray(array, &a)) return err;
  ++arrays_[a].references;
  return kNoErr;
}

AIErr DataStore::releaseArray(AIArrayRef array) {
  uint32_t a;
  if (AIErr err = findArray(array, &a)) return err;
  if (--arrays_[a].references == 0) arrays_.remove(a);
  return kNoErr;
}

AIErr DataStore::arrayValues(AIArrayRef array, ArrayValues** values) {
  uint32_t a;
  if (AIErr err = findArray(array, &a)) return err;
  *values = &arrays_[a].values;
  return kNoErr;
}

std::vector<std::string> DataStore::heldReferences() const {
  std::vector<std::string> held;
  for (uint32_t i = 0; i < dictionaries_.slotCount(); ++i)
    if (dictionaries_.used(i) && dictionaries_[i].handedOut > 0)
      held.push_back("dictionary " + std::to_string(i) + ": " + std::to_string(dictionaries_[i].handedOut) +
                     " references not released");
  for (uint32_t i = 0; i < arrays_.slotCount(); ++i)
    if (arrays_.used(i))
      held.push_back("array " + std::to_string(i) + ": " + std::to_string(arrays_[i].references) +
                     " references not released");
  return held;
}

}  // namespace hostcore
