// One stand-in host's state: the document, the dictionary keys, the
// registered plugin groups, the suite registry and the fault injector.
// Suite functions take no context argument, so they reach the active core
// through HostCore::current(), the core's one global.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

#include "hostapi/HostSuites.h"
#include "hostcore/Document.h"
#include "hostcore/FaultInjector.h"
#include "hostcore/SuiteRegistry.h"

namespace hostcore {

struct PluginGroupEntry {
  SPPluginRef plugin = nullptr;
  std::string name;
  std::string description;
  std::string defaultName;
  int32_t major = 0;
  int32_t minor = 0;
  int32_t options = 0;
  bool fromDocument = false;  // named by a document; no plug-in has registered it
};

class HostCore {
 public:
  HostCore();
  ~HostCore();
  HostCore(const HostCore&) = delete;
  HostCore& operator=(const HostCore&) = delete;

  // The core the suite functions act on; null when none is active.
  static HostCore* current() { return current_; }

  // Makes a core the active one for its lifetime, then restores the one before.
  class Activation {
   public:
    explicit Activation(HostCore& core);
    ~Activation();
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;

   private:
    HostCore* previous_;
  };

  Document& document() { return *document_; }
  // Starts over with an empty document (no layers, no undo history).
  void newDocument();
  // Starts over with a document made elsewhere (a file read in), whose
  // keys and plugin groups are this core's.
  void adoptDocument(std::unique_ptr<Document> document);

  // The art limit of this document and of every one made or read after it.
  size_t artLimit() const { return artLimit_; }
  void setArtLimit(size_t nodes);

  FaultInjector& faults() { return faults_; }
  SuiteRegistry& suites() { return suites_; }
  const SuiteRegistry& suites() const { return suites_; }
  // The basic suite's acquisition: injected faults first, then the registry.
  AIErr acquireSuite(const char* name, int32_t version, const void** table);

  // ---- Dictionary keys: one per text, never freed ----
  AIDictKey key(const char* text);  // null for a null or empty text
  AIErr findKey(AIDictKey key, uint32_t* index) const;
  const char* keyText(uint32_t index) const { return keys_[index].c_str(); }

  // ---- Plugin groups ----
  // Refuses a second group of the same name, except that a plug-in takes
  // over a group known so far only from a document.
  AIErr addPluginGroup(SPPluginRef plugin, const char* name, const AIAddPluginGroupData& data, int32_t options,
                       AIPluginGroupHandle* entry);
  AIErr findPluginGroup(AIPluginGroupHandle entry, uint32_t* index) const;
  AIPluginGroupHandle pluginGroupHandle(uint32_t index) const;
  // The group of that name, added without a plug-in when no plug-in has
  // registered it yet: a document read in names the groups of its art.
  uint32_t documentPluginGroup(const std::string& name);
  const std::deque<PluginGroupEntry>& pluginGroups() const { return pluginGroups_; }
  PluginGroupEntry& pluginGroup(uint32_t index) { return pluginGroups_[index]; }

 private:
  static HostCore* current_;

  std::unique_ptr<Document> document_;
  size_t artLimit_ = Document::kDefaultArtLimit;
  FaultInjector faults_;
  SuiteRegistry suites_;
  std::deque<std::string> keys_;
  std::unordered_map<std::string, uint32_t> keyIndex_;
  std::deque<PluginGroupEntry> pluginGroups_;  // deque: names handed out stay put
};

}  // namespace hostcore
