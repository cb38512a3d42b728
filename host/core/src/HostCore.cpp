#include "hostcore/HostCore.h"

namespace hostcore {

HostCore* HostCore::current_ = nullptr;

HostCore::HostCore() : document_(std::make_unique<Document>()) {}

HostCore::~HostCore() {
  if (current_ == this) current_ = nullptr;
}

HostCore::Activation::Activation(HostCore& core) : previous_(current_) { current_ = &core; }

HostCore::Activation::~Activation() { current_ = previous_; }

void HostCore::newDocument() {
  document_ = std::make_unique<Document>();
  document_->setArtLimit(artLimit_);
}

void HostCore::adoptDocument(std::unique_ptr<Document> document) {
  document_ = std::move(document);
  document_->setArtLimit(artLimit_);
}

void HostCore::setArtLimit(size_t nodes) {
  artLimit_ = nodes;
  document_->setArtLimit(nodes);
}

AIErr HostCore::acquireSuite(const char* name, int32_t version, const void** table) {
  if (name == nullptr || table == nullptr) return kHostBadParameterErr;
  if (AIErr fault = faults_.acquisitionFault(name)) return fault;
  const void* found = suites_.find(name, version);
  if (found == nullptr) return kHostSuiteNotFoundErr;
  *table = found;
  return kNoErr;
}

AIDictKey HostCore::key(const char* text) {
  if (text == nullptr || *text == '\0') return nullptr;
  auto at = keyIndex_.find(text);
  if (at == keyIndex_.end()) {
    at = keyIndex_.emplace(text, uint32_t(keys_.size())).first;
    keys_.emplace_back(text);
  }
  return makeHandle<AIDictKey>(HandleKind::DictKey, at->second, 1);
}

AIErr HostCore::findKey(AIDictKey key, uint32_t* index) const {
  if (key == nullptr) return kHostBadParameterErr;
  DecodedHandle h;
  if (!readHandle(key, HandleKind::DictKey, h) || h.index >= keys_.size() || h.generation != 1)
    return kHostStaleHandleErr;
  *index = h.index;
  return kNoErr;
}

AIErr HostCore::addPluginGroup(SPPluginRef plugin, const char* name, const AIAddPluginGroupData& data, int32_t options,
                               AIPluginGroupHandle* entry) {
  if (name == nullptr || *name == '\0' || entry == nullptr) return kHostBadParameterErr;
  size_t index = 0;
  while (index < pluginGroups_.size() && pluginGroups_[index].name != name) ++index;
  if (index < pluginGroups_.size() && !pluginGroups_[index].fromDocument) return kHostNotAllowedErr;
  if (index == pluginGroups_.size()) {
    pluginGroups_.emplace_back();
    pluginGroups_.back().name = name;
  }
  // A group taken over keeps its name string: the texts handed out for it stay valid.
  PluginGroupEntry& group = pluginGroups_[index];
  group.plugin = plugin;
  group.description = data.desc != nullptr ? data.desc : "";
  group.major = data.major;
  group.minor = data.minor;
  group.options = options;
  group.fromDocument = false;
  *entry = pluginGroupHandle(uint32_t(index));
  return kNoErr;
}

AIErr HostCore::findPluginGroup(AIPluginGroupHandle entry, uint32_t* index) const {
  if (entry == nullptr) return kHostBadParameterErr;
  DecodedHandle h;
  if (!readHandle(entry, HandleKind::PluginGroup, h) || h.index >= pluginGroups_.size() || h.generation != 1)
    return kHostStaleHandleErr;
  *index = h.index;
  return kNoErr;
}

uint32_t HostCore::documentPluginGroup(const std::string& name) {
  for (size_t i = 0; i < pluginGroups_.size(); ++i)
    if (pluginGroups_[i].name == name) return uint32_t(i);
  PluginGroupEntry group;
  group.name = name;
  group.fromDocument = true;
  pluginGroups_.push_back(std::move(group));
  return uint32_t(pluginGroups_.size() - 1);
}

AIPluginGroupHandle HostCore::pluginGroupHandle(uint32_t index) const {
  return makeHandle<AIPluginGroupHandle>(HandleKind::PluginGroup, index, 1);
}

}  // namespace hostcore
