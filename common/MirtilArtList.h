#ifndef COMMON_MIRTILARTLIST_H
#define COMMON_MIRTILARTLIST_H

// Owns a list of art handed out by the selection routines and frees it on
// every way out of the routine that asked for it.

#include "hostapi/HostTypes.h"
#include "ovmem.h"

class MirtilArtList {
 public:
  // lister: GetSelectedMirtils or GetAllMirtils.
  explicit MirtilArtList(int (*lister)(AIArtHandle**)) : count_(lister(&items_)) {
    if (count_ < 1) items_ = nullptr;
  }
  ~MirtilArtList() {
    if (items_) free_mem(items_);
  }
  MirtilArtList(const MirtilArtList&) = delete;
  MirtilArtList& operator=(const MirtilArtList&) = delete;

  // The number of objects; -1 when the list could not be made.
  int Count() const { return count_; }
  AIArtHandle operator[](int index) const { return items_[index]; }

 private:
  AIArtHandle* items_ = nullptr;
  int count_;
};

#endif
