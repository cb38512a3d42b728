#include "hostvalidate/MessageLog.h"

#include <cmath>
#include <variant>

#include "hostcore/Invariants.h"

namespace hostvalidate {

MessageLog::MessageLog(hostapp::HostApplication& host, bool checkEachMessage, const PluginProfile& profile)
    : host_(host), profile_(profile), checkEachMessage_(checkEachMessage) {
  host_.watchMessages(this);
}

MessageLog::~MessageLog() { host_.watchMessages(nullptr); }

void MessageLog::clear() {
  messages_.clear();
  problems_.clear();
}

void MessageLog::sending(const char*, const char*) { open_.push_back({host_.faults().faultsFired(), 0}); }

void MessageLog::answered(const char* caller, const char* selector, AIErr answer) {
  const uint64_t now = host_.faults().faultsFired();
  Open frame{now, 0};
  if (!open_.empty()) {
    frame = open_.back();
    open_.pop_back();
  }
  const uint64_t firedWhileOpen = now - frame.faultsAtStart;
  if (!open_.empty()) open_.back().faultsInside += firedWhileOpen;

  MessageRecord record;
  record.caller = caller;
  record.selector = selector;
  record.answer = answer;
  record.faulted = firedWhileOpen > frame.faultsInside;
  if (record.faulted) record.failedCall = host_.faults().lastFailedCall();
  if (checkEachMessage_) checkDocument(record);
  messages_.push_back(std::move(record));
}

void MessageLog::checkDocument(const MessageRecord& message) {
  hostcore::Document& doc = host_.document();
  for (const std::string& fault : hostcore::checkDocument(doc)) {
    problems_.push_back("after " + message.name() + ": " + fault);
  }
  if (nonFiniteInput_) return;
  hostcore::HostCore& core = host_.core();
  AIArtSpec spec{kPluginArt, 0, 0};
  AIArtSet set = nullptr;
  if (doc.newArtSet(&set) != kNoErr) return;
  int32_t count = 0;
  if (doc.matchArt(&spec, 1, set) == kNoErr) hostcore::require(doc.artSetCount(set, &count), "artSetCount");
  for (int32_t i = 0; i < count; ++i) {
    AIArtHandle art = nullptr;
    AIDictionaryRef dictionary = nullptr;
    if (doc.artSetMember(set, i, &art) != kNoErr || doc.artDictionary(art, &dictionary) != kNoErr) continue;
    for (const std::string& text : profile_.finiteRealKeys) {
      uint32_t key = 0;
      const hostcore::DictValue* value = nullptr;
      if (core.findKey(core.key(text.c_str()), &key) != kNoErr || doc.entry(dictionary, key, &value) != kNoErr) continue;
      const auto* reals = std::get_if<hostcore::ArrayValues>(value);
      if (!reals) continue;
      for (const hostcore::ArrayEntry& element : *reals) {
        if (element.kind == hostcore::ArrayEntryKind::Real && !std::isfinite(element.real)) {
          problems_.push_back("after " + message.name() + ": non-finite " + text + " in a mirror-tile object");
          break;
        }
      }
    }
    hostcore::require(doc.releaseDictionary(dictionary), "releaseDictionary");
  }
  hostcore::require(doc.disposeArtSet(set), "disposeArtSet");
}

}  // namespace hostvalidate
