// What the plug-in registers with the host, one registry each: menu items,
// timers on the host's clock, tools with their icons, notifiers, and the
// application contexts it pushes. Every handle they give out is checked by
// kind and age (hostcore::Registry); the application suites and the
// host's front (HostApplication) work through them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostapi/HostAPI.h"
#include "hostcore/Handles.h"

namespace hostapp {

struct MenuItemRecord {
  std::string group;
  std::string name;
  std::string text;  // as shown, without the length byte
  int32_t options = 0;
  bool checked = false;
  bool automatic = false;  // UpdateMenuItemAutomatically was called
  int32_t autoAction = 0;
  int32_t ifIsTrue = 0;     // conditions that must hold
  int32_t ifIsNotTrue = 0;  // conditions that must not hold
};

struct TimerRecord {
  std::string name;
  int32_t period = 0;  // ticks of 1/60 second
  bool active = false;
  int64_t periodStart = 0;  // tick from which the running period counts
};

struct ToolRecord {
  std::string name;
  std::string title;
  std::string tooltip;
  int32_t helpID = 0;
  int32_t options = 0;
  int32_t iconID = -1;  // resource id of the icon, -1 for none
  int32_t rolloverIconID = -1;
  int16_t sameGroupAs = 0;
  int16_t sameToolsetAs = 0;
};

struct NotifierRecord {
  std::string name;
  std::string type;
  bool active = true;
};

struct IconRecord {
  int32_t resourceID = 0;
  int32_t type = 0;  // kADMUnknownIconType when it could not be loaded
  int32_t width = 0;
  int32_t height = 0;
};

class MenuRegistry {
 public:
  hostcore::Registry<MenuItemRecord> items{hostcore::HandleKind::MenuItem};
  // Enabled unless its automatic update's conditions on an open document fail.
  bool enabled(AIMenuItemHandle item, bool documentOpen) const;
};

// The timers and the host's clock, in ticks of 1/60 second.
class TimerClock {
 public:
  hostcore::Registry<TimerRecord> timers{hostcore::HandleKind::Timer};
  int64_t now() const { return now_; }
  // The active timer whose period ends first, if it ends by the tick; the
  // clock then stands at that end and the timer's next period begins.
  std::optional<std::size_t> nextDue(int64_t by);
  void moveTo(int64_t tick) { now_ = tick; }

 private:
  int64_t now_ = 0;
};

class ToolRegistry {
 public:
  hostcore::Registry<ToolRecord> tools{hostcore::HandleKind::Tool};
  hostcore::Registry<IconRecord> icons{hostcore::HandleKind::Icon};
  // The resource id of the icon; -1 for a handle this host did not give out.
  int32_t iconResourceID(ADMIconRef icon) const;
};

class NotifierRegistry {
 public:
  hostcore::Registry<NotifierRecord> notifiers{hostcore::HandleKind::Notifier};
};

// Application contexts the plug-in pushes, popped innermost first. A
// context's handle names its depth and the push that made it.
class AppContexts {
 public:
  AIAppContextHandle push();
  // False for any context but the innermost one still pushed.
  bool pop(AIAppContextHandle context);
  int32_t depth() const { return static_cast<int32_t>(open_.size()); }
  int32_t pushes() const { return pushes_; }

 private:
  std::vector<uint32_t> open_;  // the push serial of each, innermost last
  int32_t pushes_ = 0;
};

}  // namespace hostapp
