// Watches the messages of a trial: records each answer, tells in which
// message an injected fault fired, and checks the document after every
// message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hostapp/HostApplication.h"
#include "hostvalidate/Profile.h"

namespace hostvalidate {

struct MessageRecord {
  std::string caller;
  std::string selector;
  AIErr answer = kNoErr;
  // An injected fault fired while the plug-in handled this message (not
  // in a message it caused), and which call it was.
  bool faulted = false;
  std::string failedCall;

  std::string name() const { return "(\"" + caller + "\", \"" + selector + "\")"; }
};

class MessageLog : public hostapp::MessageWatcher {
 public:
  // Checking the document after every message: its invariants, and no
  // non-finite value in a plug-in object's dictionary unless such input
  // was given (inputWasNonFinite).
  MessageLog(hostapp::HostApplication& host, bool checkEachMessage,
             const PluginProfile& profile = mirrortileProfile());
  ~MessageLog() override;
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  void sending(const char* caller, const char* selector) override;
  void answered(const char* caller, const char* selector, AIErr answer) override;

  // From now on the input held infinite or not-a-number values.
  void inputWasNonFinite() { nonFiniteInput_ = true; }

  const std::vector<MessageRecord>& messages() const { return messages_; }
  // What the checks after each message found, naming the message.
  const std::vector<std::string>& problems() const { return problems_; }
  void clear();

 private:
  void checkDocument(const MessageRecord& message);

  hostapp::HostApplication& host_;
  const PluginProfile& profile_;
  bool checkEachMessage_;
  bool nonFiniteInput_ = false;
  struct Open {
    uint64_t faultsAtStart;
    uint64_t faultsInside;  // fired in messages sent while this one was open
  };
  std::vector<Open> open_;
  std::vector<MessageRecord> messages_;
  std::vector<std::string> problems_;
};

}  // namespace hostvalidate
