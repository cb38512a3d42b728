#include "hostapp/Registries.h"

namespace hostapp {

bool MenuRegistry::enabled(AIMenuItemHandle item, bool documentOpen) const {
  const MenuItemRecord* record = items.find(item);
  if (!record) return false;
  if (!record->automatic || record->autoAction != kAutoEnableMenuItemAction) return true;
  if ((record->ifIsTrue & kIfOpenDocument) && !documentOpen) return false;
  if ((record->ifIsNotTrue & kIfOpenDocument) && documentOpen) return false;
  return true;
}

std::optional<std::size_t> TimerClock::nextDue(int64_t by) {
  const std::vector<TimerRecord>& all = timers.records();
  std::optional<std::size_t> due;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const TimerRecord& t = all[i];
    if (!t.active || t.periodStart + t.period > by) continue;
    if (!due || t.periodStart + t.period < all[*due].periodStart + all[*due].period) due = i;
  }
  if (due) {
    now_ = all[*due].periodStart + all[*due].period;
    timers[*due].periodStart = now_;
  }
  return due;
}

int32_t ToolRegistry::iconResourceID(ADMIconRef icon) const {
  const IconRecord* record = icons.find(icon);
  return record ? record->resourceID : -1;
}

AIAppContextHandle AppContexts::push() {
  pushes_ += 1;
  const uint32_t serial = static_cast<uint32_t>(pushes_) & hostcore::handle_layout::kGenerationMask;
  open_.push_back(serial == 0 ? 1 : serial);
  return hostcore::makeHandle<AIAppContextHandle>(hostcore::HandleKind::AppContext,
                                                  static_cast<uint32_t>(open_.size() - 1), open_.back());
}

bool AppContexts::pop(AIAppContextHandle context) {
  hostcore::DecodedHandle h;
  if (open_.empty() || !hostcore::readHandle(context, hostcore::HandleKind::AppContext, h) ||
      h.index != open_.size() - 1 || h.generation != open_.back()) {
    return false;
  }
  open_.pop_back();
  return true;
}

}  // namespace hostapp
