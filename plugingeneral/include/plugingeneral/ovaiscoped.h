#ifndef PLUGINGENERAL_OVAISCOPED_H
#define PLUGINGENERAL_OVAISCOPED_H

// Small owners of host references, so that every way out of a routine
// gives back what it took: a dictionary or array reference is released,
// a half-made art object is disposed of unless the routine keeps it.

#include "hostapi/HostTypes.h"

// Watches a dictionary variable that a host getter fills, and releases what
// it holds at the end of the scope.
class DictionaryRelease {
 public:
  explicit DictionaryRelease(AIDictionaryRef& dict) : dict_(dict) {}
  ~DictionaryRelease() { ReleaseNow(); }
  DictionaryRelease(const DictionaryRelease&) = delete;
  DictionaryRelease& operator=(const DictionaryRelease&) = delete;

  // Releases at once and clears the variable.
  void ReleaseNow();

 private:
  AIDictionaryRef& dict_;
};

class ArrayRelease {
 public:
  explicit ArrayRelease(AIArrayRef array) : array_(array) {}
  ~ArrayRelease();
  ArrayRelease(const ArrayRelease&) = delete;
  ArrayRelease& operator=(const ArrayRelease&) = delete;

 private:
  AIArrayRef array_;
};

class ArtDisposal {
 public:
  explicit ArtDisposal(AIArtHandle art) : art_(art) {}
  ~ArtDisposal();
  ArtDisposal(const ArtDisposal&) = delete;
  ArtDisposal& operator=(const ArtDisposal&) = delete;

  // The art stays in the document.
  void Keep() { art_ = nullptr; }

 private:
  AIArtHandle art_;
};

#endif
