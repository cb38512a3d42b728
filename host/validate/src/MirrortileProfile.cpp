// The validator's particulars of this project's plug-in.
#include "MirtilNames.h"
#include "hostapp/Dialogs.h"
#include "hostvalidate/Profile.h"
#include "hostvalidate/Trial.h"

namespace hostvalidate {

namespace {

void setType(Trial& trial, int32_t type) { trial.host().preferences().put(kMirtilPrefsSection, kMirtilTypePref, type); }

AIArtHandle makeObject(Trial& trial, AIRealPoint centre, AIRealPoint cnj) {
  trial.addSquare(centre, 5);
  trial.tool().dragFromTo(centre, {}, cnj);
  const std::vector<AIArtHandle> objects = trial.mirrortiles();
  return objects.empty() ? nullptr : objects.front();
}

void createDrag(Trial& trial) { trial.tool().dragFromTo({0, 0}, {{20, 0}}, {40, 0}); }

AIArtHandle onlyObject(Trial& trial) {
  const std::vector<AIArtHandle> objects = trial.mirrortiles();
  return objects.empty() ? nullptr : objects.front();
}

std::vector<Scenario> scenarios() {
  const auto withSquare = [](Trial& trial) { trial.addSquare({0, 0}, 5); };
  const auto withObject = [](Trial& trial) { makeObject(trial, {50, 50}, {80, 50}); };
  const auto withSelectedObject = [](Trial& trial) { trial.select(makeObject(trial, {50, 50}, {80, 50}), true); };
  std::vector<Scenario> list;
  list.push_back({"create InPlace",
                  [=](Trial& t) {
                    setType(t, 0);
                    withSquare(t);
                  },
                  createDrag});
  list.push_back({"create Sweep",
                  [=](Trial& t) {
                    setType(t, 1);
                    withSquare(t);
                  },
                  createDrag});
  list.push_back({"refused drag: locked layer",
                  [=](Trial& t) {
                    withSquare(t);
                    hostcore::require(t.document().setLayerEditable(t.layer(), false), "setLayerEditable");
                  },
                  createDrag});
  list.push_back({"refused drag: other art selected",
                  [=](Trial& t) {
                    t.select(t.addSquare({0, 0}, 5), true);
                  },
                  createDrag});
  list.push_back({"refused drag: two objects selected",
                  [=](Trial& t) {
                    t.select(makeObject(t, {50, 50}, {80, 50}), true);
                    t.select(makeObject(t, {-50, -50}, {-80, -50}), true);
                  },
                  createDrag});
  list.push_back({"refused drag: too short", withSquare, [](Trial& t) { t.tool().dragFromTo({0, 0}, {}, {5, 0}); }});
  list.push_back({"refused drag: no art", withSquare, [](Trial& t) {
                    t.tool().dragFromTo({500, 500}, {}, {540, 500});
                  }});
  list.push_back({"re-align", withSelectedObject, [](Trial& t) {
                    t.tool().dragFromTo({50, 40}, {{70, 30}}, {90, 50});
                  }});
  list.push_back({"move", withObject, [](Trial& t) { t.edits().move(onlyObject(t), 10, -5); }});
  list.push_back({"move edit point", withObject, [](Trial& t) {
                    t.edits().moveEditPoint(onlyObject(t), 1, {90, 60});
                  }});
  list.push_back({"free transform", withObject, [](Trial& t) {
                    t.edits().freeTransform(onlyObject(t), AIRealMatrix{1.5f, 0.2f, 0, 1.2f, 4, 3});
                  }});
  list.push_back({"paint", withObject, [](Trial& t) {
                    AIPathStyle style{};
                    style.fillPaint = true;
                    style.fill.color.kind = kRGBColor;
                    style.fill.color.red = 1;
                    style.fill.opacity = 1;
                    t.edits().paint(onlyObject(t), style);
                  }});
  list.push_back({"animation on", withObject, [](Trial& t) { t.host().chooseMenuItem(t.host().menuItemHandle(1)); }});
  list.push_back({"animation steps",
                  [=](Trial& t) {
                    withObject(t);
                    t.host().chooseMenuItem(t.host().menuItemHandle(1));
                  },
                  [](Trial& t) { t.host().advanceClock(70); }});
  list.push_back({"options OK", nullptr, [](Trial& t) {
                    t.host().dialogs().script(
                        {hostapp::DialogStep::type(kStepsItem, "12"), hostapp::DialogStep::type(kDelayItem, "3"),
                         hostapp::DialogStep::press(kSweepItem), hostapp::DialogStep::press(kOKItem)});
                    t.tool().editOptions();
                  }});
  list.push_back({"options Cancel", nullptr, [](Trial& t) {
                    t.host().dialogs().script(
                        {hostapp::DialogStep::type(kStepsItem, "5"), hostapp::DialogStep::press(kCancelItem)});
                    t.tool().editOptions();
                  }});
  list.push_back({"about", nullptr, [](Trial& t) {
                    t.host().dialogs().script({hostapp::DialogStep::event(), hostapp::DialogStep::event()});
                    t.host().sendPlainMessage(kSPInterfaceCaller, kSPInterfaceAboutSelector);
                  }});
  return list;
}

}  // namespace

const PluginProfile& mirrortileProfile() {
  static const PluginProfile profile = [] {
    PluginProfile p;
    p.preferenceSection = kMirtilPrefsSection;
    p.typePreference = kMirtilTypePref;
    p.typeCount = 2;
    p.creatingType = kMirtilSweep;
    p.dialogFields = {kStepsItem, kDelayItem};
    p.dialogChoices = {kInPlaceItem, kSweepItem};
    p.okButton = kOKItem;
    p.cancelButton = kCancelItem;
    p.finiteRealKeys = {kMirtilCnjKey, kMirtilCentreKey, kMirtilOffsetKey, kMirtilAngleKey};
    // '!MEM' for a path maker, 'PARM' for a failure while a report is
    // formatted, 'CANT' and '!IMP' for what the failed call left undone,
    // 'STOP' for a dialog that could not be shown.
    p.ownCodes = {kOutOfMemoryErr, kBadParameterErr, kCantErr, kNoArtInRegionErr, kUserCancelledErr};
    // A suite the start-up could not acquire; every other failure is
    // answered with a code or logged.
    p.failureAlerts = {R"(Error: -?[0-9]+, suite: .+, version: [0-9]+!)"};
    // Answers without a code: the dictionary's keys, the real-math
    // questions. Read as "not that kind of art": the art type and the
    // plug-in art's name, so a capture or a selection leaves the art out.
    p.takenAsAnswers = {"AI Dictionary Suite/Key",
                        "AI Dictionary Suite/IsKnown",
                        "AI Real Math Suite/AIRealRectOverlap",
                        "AI Real Math Suite/AIRealPointClose",
                        "AI Art Suite/GetArtType",
                        "AI Plugin Group Suite/GetPluginArtName"};
    p.scenarios = scenarios();
    return p;
  }();
  return profile;
}

}  // namespace hostvalidate
