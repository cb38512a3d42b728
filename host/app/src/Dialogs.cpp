#include "hostapp/Dialogs.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "hostcore/Handles.h"

namespace hostapp {

struct DialogHost::Item {
  Dialog* dialog = nullptr;
  uint32_t index = 0;  // in the dialog's items
  int32_t id = kDialogItemNoID;
  int32_t kind = 0;
  const char* type = "";
  std::string text;
  int32_t style = 0;
  int32_t units = 0;
  int32_t precision = 0;
  int32_t minValue = INT32_MIN;
  int32_t maxValue = INT32_MAX;
  int32_t intValue = 0;
  bool boolValue = false;
  ADMItemTrackProc tracker = nullptr;
  ADMItemNotifyProc notify = nullptr;
};

struct DialogHost::Dialog {
  uint32_t slot = 0;  // place among the open dialogs
  uint32_t age = 0;   // which of the dialogs opened so far it is
  int32_t resourceID = 0;
  ADMUserData userData = nullptr;
  ADMDialogTrackProc tracker = nullptr;
  std::vector<std::unique_ptr<Item>> items;  // template order; addresses stay put
  bool ended = false;
  int32_t result = 0;
};

namespace {

// What the host hands the plug-in's procedures with an event or a click.
struct TrackerRecord {
  ADMTrackerRef ref() { return reinterpret_cast<ADMTrackerRef>(this); }
};
struct NotifierRecord {
  ADMNotifierRef ref() { return reinterpret_cast<ADMNotifierRef>(this); }
};

const char* ItemTypeName(int32_t kind) {
  switch (kind) {
    case kDialogItemPushButton:
    case kDialogItemDefaultPushButton:
      return kADMPushButtonType;
    case kDialogItemStaticText:
      return kADMTextStaticType;
    case kDialogItemEditText:
      return kADMTextEditType;
    case kDialogItemRadioButton:
      return kADMRadioButtonType;
    case kDialogItemPicture:
      return kADMPictureType;
    case kDialogItemGroupFrame:
      return kADMFrameType;
    default:
      return "";
  }
}

bool IsPushButton(const DialogHost::Item& item) {
  return item.kind == kDialogItemPushButton || item.kind == kDialogItemDefaultPushButton;
}

// Handles of the core's scheme: a dialog's names its slot among the open
// dialogs and its age; an item's names its dialog's slot and age and its
// place among the dialog's items.
constexpr unsigned kItemBits = 12;
constexpr uint32_t kItemMask = (1u << kItemBits) - 1;

ADMDialogRef RefOf(DialogHost::Dialog* dialog) {
  return hostcore::makeHandle<ADMDialogRef>(hostcore::HandleKind::Dialog, dialog->slot, dialog->age);
}
ADMItemRef RefOf(DialogHost::Item* item) {
  return hostcore::makeHandle<ADMItemRef>(hostcore::HandleKind::DialogItem,
                                          item->dialog->slot << kItemBits | item->index, item->dialog->age);
}

void SetIntValue(DialogHost::Item& item, int32_t value) {
  item.intValue = std::clamp(value, item.minValue, std::max(item.minValue, item.maxValue));
  item.text = std::to_string(item.intValue);
}

// Text typed or set: a whole number also becomes the item's value, kept
// within its limits; other text leaves the value as it was.
void SetText(DialogHost::Item& item, const char* text) {
  item.text = text;
  int32_t value = 0;
  const char* end = text + std::strlen(text);
  const auto parsed = std::from_chars(text, end, value);
  if (parsed.ec == std::errc() && parsed.ptr == end && parsed.ptr != text) SetIntValue(item, value);
}

void SwitchRadioOn(DialogHost::Item& item) {
  for (const auto& other : item.dialog->items) {
    if (other->kind == kDialogItemRadioButton) other->boolValue = false;
  }
  item.boolValue = true;
}

void EndModal(DialogHost::Dialog& dialog, int32_t result) {
  if (dialog.ended) return;
  dialog.ended = true;
  dialog.result = result;
}

// The item's own reaction to a click.
void DefaultNotify(DialogHost::Item& item) {
  if (IsPushButton(item)) {
    EndModal(*item.dialog, item.id);
  } else if (item.kind == kDialogItemRadioButton) {
    SwitchRadioOn(item);
  }
}

DialogItemView ViewOf(const DialogHost::Item& item) {
  DialogItemView view;
  view.id = item.id;
  view.type = item.type;
  view.text = item.text;
  view.style = item.style;
  view.intValue = item.intValue;
  view.boolValue = item.boolValue;
  view.minValue = item.minValue;
  view.maxValue = item.maxValue;
  return view;
}

}  // namespace

DialogStep DialogStep::type(int32_t item, std::string text) {
  DialogStep step;
  step.kind = Kind::Type;
  step.item = item;
  step.text = std::move(text);
  return step;
}

DialogStep DialogStep::press(int32_t item) {
  DialogStep step;
  step.kind = Kind::Press;
  step.item = item;
  return step;
}

DialogStep DialogStep::event(int32_t item, bool withTracker) {
  DialogStep step;
  step.kind = Kind::Event;
  step.item = item;
  step.withTracker = withTracker;
  return step;
}

const DialogItemView* DialogRecord::item(int32_t id) const {
  for (const DialogItemView& view : shown) {
    if (view.id == id && id != kDialogItemNoID) return &view;
  }
  return nullptr;
}

DialogHost* DialogHost::active_ = nullptr;

DialogHost::DialogHost(TemplateLookup lookup) : lookup_(std::move(lookup)) { active_ = this; }

DialogHost::~DialogHost() {
  if (active_ == this) active_ = nullptr;
}

DialogHost* DialogHost::active() { return active_; }

void DialogHost::script(std::vector<DialogStep> steps) { scripts_.push_back(std::move(steps)); }

DialogHost::Dialog* DialogHost::openDialog(uint32_t slot, uint32_t age) const {
  return slot < open_.size() && open_[slot]->age == age ? open_[slot].get() : nullptr;
}

DialogHost::Dialog* DialogHost::findDialog(ADMDialogRef ref) const {
  hostcore::DecodedHandle h;
  return hostcore::readHandle(ref, hostcore::HandleKind::Dialog, h) ? openDialog(h.index, h.generation) : nullptr;
}

DialogHost::Item* DialogHost::findItem(ADMItemRef ref) const {
  hostcore::DecodedHandle h;
  if (!hostcore::readHandle(ref, hostcore::HandleKind::DialogItem, h)) return nullptr;
  const Dialog* dialog = openDialog(h.index >> kItemBits, h.generation);
  const uint32_t index = h.index & kItemMask;
  return dialog && index < dialog->items.size() ? dialog->items[index].get() : nullptr;
}

int32_t DialogHost::runModal(const char* name, int32_t dialogID, ADMDialogInitProc initProc,
                             ADMUserData userData) {
  const ResourceDialog* templ = lookup_(dialogID);
  if (!templ || scripts_.empty()) return kDialogNotShown;
  const std::vector<DialogStep> steps = std::move(scripts_.front());
  scripts_.pop_front();

  auto made = std::make_unique<Dialog>();
  made->slot = static_cast<uint32_t>(open_.size());
  dialogsOpened_ = (dialogsOpened_ + 1) & hostcore::handle_layout::kGenerationMask;
  if (dialogsOpened_ == 0) dialogsOpened_ = 1;
  made->age = dialogsOpened_;
  made->resourceID = dialogID;
  made->userData = userData;
  for (int32_t i = 0; i < templ->itemCount; ++i) {
    const ResourceDialogItem& source = templ->items[i];
    auto item = std::make_unique<Item>();
    item->dialog = made.get();
    item->index = static_cast<uint32_t>(i);
    item->id = source.id;
    item->kind = source.kind;
    item->type = ItemTypeName(source.kind);
    item->text = source.text ? source.text : "";
    made->items.push_back(std::move(item));
  }
  Dialog& dialog = *made;
  open_.push_back(std::move(made));
  // The dialog closes on every way out, also when a procedure throws.
  struct Closer {
    std::vector<std::unique_ptr<Dialog>>& open;
    ~Closer() { open.pop_back(); }
  } closer{open_};

  if (initProc && initProc(RefOf(&dialog)) != kNoErr) return kDialogNotShown;

  DialogRecord record;
  record.resourceID = dialogID;
  record.name = name ? name : "";
  for (const auto& item : dialog.items) record.shown.push_back(ViewOf(*item));
  for (const DialogStep& step : steps) {
    if (dialog.ended) {
      record.ignoredSteps += 1;
      continue;
    }
    const bool toDialog = step.kind == DialogStep::Kind::Event && step.item == kDialogAsTarget;
    Item* item = nullptr;
    for (const auto& candidate : dialog.items) {
      if (candidate->id == step.item && step.item != kDialogItemNoID) item = candidate.get();
    }
    if (!toDialog && !item) {
      record.ignoredSteps += 1;
      continue;
    }
    TrackerRecord tracker;
    const ADMTrackerRef trackerRef = step.withTracker ? tracker.ref() : nullptr;
    switch (step.kind) {
      case DialogStep::Kind::Type:
        SetText(*item, step.text.c_str());
        break;
      case DialogStep::Kind::Press: {
        NotifierRecord notifier;
        if (item->notify) {
          item->notify(RefOf(item), notifier.ref());
        } else {
          DefaultNotify(*item);
        }
        break;
      }
      case DialogStep::Kind::Event:
        if (toDialog) {
          if (dialog.tracker) dialog.tracker(RefOf(&dialog), trackerRef);
        } else if (item->tracker) {
          item->tracker(RefOf(item), trackerRef);
        }
        break;
    }
  }
  record.result = dialog.ended ? dialog.result : kDialogDismissed;
  history_.push_back(record);
  return record.result;
}

// The suite functions. A handle the host did not issue, or of a dialog no
// longer open, is answered with nothing rather than followed.
struct DialogFunctions {
  static DialogHost::Dialog* dialog(ADMDialogRef ref) {
    return DialogHost::active() ? DialogHost::active()->findDialog(ref) : nullptr;
  }
  static DialogHost::Item* item(ADMItemRef ref) {
    return DialogHost::active() ? DialogHost::active()->findItem(ref) : nullptr;
  }

  // ---- ADM Dialog ----
  static int32_t Modal(SPPluginRef, const char* name, int32_t dialogID, int32_t, ADMDialogInitProc initProc,
                       ADMUserData userData, int32_t) {
    DialogHost* host = DialogHost::active();
    return host ? host->runModal(name, dialogID, initProc, userData) : kDialogNotShown;
  }
  static void EndModal(ADMDialogRef ref, int32_t result, AIBoolean) {
    if (DialogHost::Dialog* d = dialog(ref)) hostapp::EndModal(*d, result);
  }
  static ADMUserData GetUserData(ADMDialogRef ref) {
    const DialogHost::Dialog* d = dialog(ref);
    return d ? d->userData : nullptr;
  }
  static void SetDialogTrackProc(ADMDialogRef ref, ADMDialogTrackProc proc) {
    if (DialogHost::Dialog* d = dialog(ref)) d->tracker = proc;
  }
  static ADMItemRef GetItem(ADMDialogRef ref, int32_t id) {
    const DialogHost::Dialog* d = dialog(ref);
    if (!d || id == kDialogItemNoID) return nullptr;
    for (const auto& candidate : d->items) {
      if (candidate->id == id) return RefOf(candidate.get());
    }
    return nullptr;
  }
  static ADMItemRef GetFirstItem(ADMDialogRef ref) {
    const DialogHost::Dialog* d = dialog(ref);
    return d && !d->items.empty() ? RefOf(d->items.front().get()) : nullptr;
  }
  static ADMItemRef GetNextItem(ADMDialogRef ref, ADMItemRef after) {
    const DialogHost::Dialog* d = dialog(ref);
    if (!d) return nullptr;
    for (std::size_t i = 0; i + 1 < d->items.size(); ++i) {
      if (RefOf(d->items[i].get()) == after) return RefOf(d->items[i + 1].get());
    }
    return nullptr;
  }

  // ---- ADM Item ----
  static ADMDialogRef GetDialog(ADMItemRef ref) {
    const DialogHost::Item* i = item(ref);
    return i ? RefOf(i->dialog) : nullptr;
  }
  static int32_t GetID(ADMItemRef ref) {
    const DialogHost::Item* i = item(ref);
    return i ? i->id : kDialogItemNoID;
  }
  static const char* GetItemType(ADMItemRef ref) {
    const DialogHost::Item* i = item(ref);
    return i ? i->type : "";
  }
  static void SetItemStyle(ADMItemRef ref, int32_t style) {
    if (DialogHost::Item* i = item(ref)) i->style = style;
  }
  static int32_t GetItemStyle(ADMItemRef ref) {
    const DialogHost::Item* i = item(ref);
    return i ? i->style : 0;
  }
  static void SetItemTrackProc(ADMItemRef ref, ADMItemTrackProc proc) {
    if (DialogHost::Item* i = item(ref)) i->tracker = proc;
  }
  static void SetNotifyProc(ADMItemRef ref, ADMItemNotifyProc proc) {
    if (DialogHost::Item* i = item(ref)) i->notify = proc;
  }
  static void DefaultNotify(ADMItemRef ref, ADMNotifierRef) {
    if (DialogHost::Item* i = item(ref)) hostapp::DefaultNotify(*i);
  }
  static void SetText(ADMItemRef ref, const char* text) {
    DialogHost::Item* i = item(ref);
    if (i && text) hostapp::SetText(*i, text);
  }
  static void GetText(ADMItemRef ref, char* text, int32_t maxLength) {
    const DialogHost::Item* i = item(ref);
    if (!text || maxLength <= 0) return;
    const std::string& source = i ? i->text : std::string();
    const std::size_t length = std::min(source.size(), static_cast<std::size_t>(maxLength - 1));
    std::memcpy(text, source.data(), length);
    text[length] = '\0';
  }
  static void SetUnits(ADMItemRef ref, int32_t units) {
    if (DialogHost::Item* i = item(ref)) i->units = units;
  }
  static void SetPrecision(ADMItemRef ref, int32_t precision) {
    if (DialogHost::Item* i = item(ref)) i->precision = precision;
  }
  static void SetMinIntValue(ADMItemRef ref, int32_t value) {
    if (DialogHost::Item* i = item(ref)) i->minValue = value;
  }
  static void SetMaxIntValue(ADMItemRef ref, int32_t value) {
    if (DialogHost::Item* i = item(ref)) i->maxValue = value;
  }
  static void SetIntValue(ADMItemRef ref, int32_t value) {
    if (DialogHost::Item* i = item(ref)) hostapp::SetIntValue(*i, value);
  }
  static int32_t GetIntValue(ADMItemRef ref) {
    const DialogHost::Item* i = item(ref);
    return i ? i->intValue : 0;
  }
  static void SetBooleanValue(ADMItemRef ref, AIBoolean value) {
    if (DialogHost::Item* i = item(ref)) i->boolValue = value != 0;
  }
  static AIBoolean GetBooleanValue(ADMItemRef ref) {
    const DialogHost::Item* i = item(ref);
    return i && i->boolValue;
  }
};

const ADMDialogSuite& DialogHost::dialogSuite() {
  static const ADMDialogSuite suite = {DialogFunctions::Modal,         DialogFunctions::EndModal,
                                       DialogFunctions::GetUserData,   DialogFunctions::SetDialogTrackProc,
                                       DialogFunctions::GetItem,       DialogFunctions::GetFirstItem,
                                       DialogFunctions::GetNextItem};
  return suite;
}

const ADMItemSuite& DialogHost::itemSuite() {
  static const ADMItemSuite suite = {
      DialogFunctions::GetDialog,       DialogFunctions::GetID,           DialogFunctions::GetItemType,
      DialogFunctions::SetItemStyle,    DialogFunctions::GetItemStyle,    DialogFunctions::SetItemTrackProc,
      DialogFunctions::SetNotifyProc,   DialogFunctions::DefaultNotify,   DialogFunctions::SetText,
      DialogFunctions::GetText,         DialogFunctions::SetUnits,        DialogFunctions::SetPrecision,
      DialogFunctions::SetMinIntValue,  DialogFunctions::SetMaxIntValue,  DialogFunctions::SetIntValue,
      DialogFunctions::GetIntValue,     DialogFunctions::SetBooleanValue, DialogFunctions::GetBooleanValue};
  return suite;
}

}  // namespace hostapp
