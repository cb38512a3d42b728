// Modal dialogs built from a module's dialog templates, the ADM Dialog and
// ADM Item suites over them, and the scripted user who works them: each
// dialog the plug-in opens takes the next script, whose steps type into
// items, switch radio buttons, press buttons or send the dialog an event.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostapi/HostResources.h"
#include "hostapi/HostSuites.h"

namespace hostapp {

// Modal's answer for a dialog the host could not show (no such template,
// not the plug-in's own, or no user to show it to).
constexpr int32_t kDialogNotShown = -1;
// Modal's answer for a dialog the user closed without any of its items
// (the script ran out while it was open).
constexpr int32_t kDialogDismissed = -2;
// The dialog itself, as the target of an event.
constexpr int32_t kDialogAsTarget = 0;

// One thing the user does in an open dialog.
struct DialogStep {
  enum class Kind {
    Type,    // types text into an item (integer fields keep it within their limits)
    Press,   // clicks an item: its notify procedure, else its own reaction (a
             // push button ends the dialog, a radio button switches on and the
             // dialog's others off)
    Event    // an event reaches the tracker of an item, or of the dialog
  };
  Kind kind = Kind::Press;
  int32_t item = kDialogAsTarget;
  std::string text;
  // False: the host passes the tracker no event record (a faulty host).
  bool withTracker = true;

  static DialogStep type(int32_t item, std::string text);
  static DialogStep press(int32_t item);
  static DialogStep event(int32_t item = kDialogAsTarget, bool withTracker = true);
};

// An item as the user sees it.
struct DialogItemView {
  int32_t id = kDialogItemNoID;
  std::string type;    // ADM item type name
  std::string text;
  int32_t style = 0;
  int32_t intValue = 0;
  bool boolValue = false;
  int32_t minValue = INT32_MIN;
  int32_t maxValue = INT32_MAX;
};

// A dialog the plug-in opened: what it showed once its init procedure had
// run, and what ended it.
struct DialogRecord {
  int32_t resourceID = 0;
  std::string name;
  std::vector<DialogItemView> shown;
  int32_t result = kDialogNotShown;
  // Steps that named no item of the dialog, or came after it had closed.
  int32_t ignoredSteps = 0;

  // The item of that id as shown; null when there is none.
  const DialogItemView* item(int32_t id) const;
};

class DialogHost {
 public:
  // Finds the module's dialog template by id; null when there is none.
  using TemplateLookup = std::function<const ResourceDialog*(int32_t id)>;

  explicit DialogHost(TemplateLookup lookup);
  ~DialogHost();
  DialogHost(const DialogHost&) = delete;
  DialogHost& operator=(const DialogHost&) = delete;

  // The steps the user takes in the next dialog that opens. A dialog that
  // opens with no script waiting is not shown.
  void script(std::vector<DialogStep> steps);
  std::size_t scriptsWaiting() const { return scripts_.size(); }
  // Forgets the scripts of dialogs that did not open.
  void dropScripts() { scripts_.clear(); }
  const std::vector<DialogRecord>& history() const { return history_; }

  // The suite tables; their functions reach the dialogs through active().
  static const ADMDialogSuite& dialogSuite();
  static const ADMItemSuite& itemSuite();
  // The host whose dialogs the suite functions act on.
  static DialogHost* active();

  struct Dialog;
  struct Item;

 private:
  friend struct DialogFunctions;

  int32_t runModal(const char* name, int32_t dialogID, ADMDialogInitProc initProc, ADMUserData userData);
  void perform(Dialog& dialog, const DialogStep& step);
  // Null for a handle of another kind, of a dialog no longer open, or never issued.
  Dialog* openDialog(uint32_t slot, uint32_t age) const;
  Dialog* findDialog(ADMDialogRef ref) const;
  Item* findItem(ADMItemRef ref) const;

  static DialogHost* active_;

  TemplateLookup lookup_;
  std::deque<std::vector<DialogStep>> scripts_;
  std::vector<std::unique_ptr<Dialog>> open_;  // innermost last
  std::vector<DialogRecord> history_;
  uint32_t dialogsOpened_ = 0;  // the age of the last dialog opened
};

}  // namespace hostapp
