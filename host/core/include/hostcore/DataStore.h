// The data store: the dictionaries art owns and the arrays that callers
// and dictionary entries share, with the references callers hold on them.
// It knows art only by node index (a dictionary's owner) and journals
// nothing: changes of entries go through the journal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/ArtModel.h"
#include "hostcore/Handles.h"

namespace hostcore {

class DataStore {
 public:
  // ---- Dictionaries ----------------------------------------------------
  uint32_t newDictionary(NodeIndex owner);
  Dictionary& dictionary(uint32_t index) { return dictionaries_[index]; }
  const Dictionary& dictionary(uint32_t index) const { return dictionaries_[index]; }
  // A new reference to the dictionary, which the caller releases.
  AIDictionaryRef handOut(uint32_t index);
  AIErr findDictionary(AIDictionaryRef dictionary, uint32_t* index) const {
    if (dictionary == nullptr) return kHostBadParameterErr;
    DecodedHandle h;
    if (!readHandle(dictionary, HandleKind::Dictionary, h) || !dictionaries_.matches(h)) return kHostStaleHandleErr;
    *index = h.index;
    return kNoErr;
  }
  AIErr addDictionaryRef(AIDictionaryRef dictionary);
  // More releases than references are refused as a stale handle.
  AIErr releaseDictionary(AIDictionaryRef dictionary);
  // Its art is gone: freed now, or when the last reference is released.
  void orphan(uint32_t index);

  // ---- Arrays ------------------------------------------------------------
  AIErr createArray(ArrayValues values, AIArrayRef* array);
  AIErr addArrayRef(AIArrayRef array);
  AIErr releaseArray(AIArrayRef array);
  AIErr arrayValues(AIArrayRef array, ArrayValues** values);

  // One line per reference handed out and not released.
  std::vector<std::string> heldReferences() const;
  bool dictionaryUsed(uint32_t index) const { return dictionaries_.used(index); }

 private:
  AIErr findArray(AIArrayRef array, uint32_t* index) const;

  SlotTable<Dictionary> dictionaries_;
  SlotTable<ArrayObject> arrays_;
};

}  // namespace hostcore
