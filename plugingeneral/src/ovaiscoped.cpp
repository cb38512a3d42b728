#include "plugingeneral/ovaiscoped.h"

#include "framework/PluginSuites.h"

void DictionaryRelease::ReleaseNow() {
  if (dict_) sAIDictionary->Release(dict_);
  dict_ = nullptr;
}

ArrayRelease::~ArrayRelease() {
  if (array_) sAIArray->Release(array_);
}

ArtDisposal::~ArtDisposal() {
  if (art_) sAIArt->DisposeArt(art_);
}
