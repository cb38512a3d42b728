#include "hostvalidate/Interactions.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "hostapp/Dialogs.h"

namespace hostvalidate {

uint32_t ByteChoices::below(uint32_t n) {
  uint32_t value = 0;
  for (uint32_t range = 1; range < n && range < (1u << 24); range <<= 8) {
    value = (value << 8) | (next_ < size_ ? data_[next_] : 0);
    ++next_;
  }
  return value % n;
}

namespace {

std::string text(AIRealPoint p) { return "(" + std::to_string(p.h) + ", " + std::to_string(p.v) + ")"; }

bool finite(AIRealPoint p) { return std::isfinite(p.h) && std::isfinite(p.v); }

const char* const kCallers[] = {kSPInterfaceCaller, kSPAccessCaller,     kSPCacheCaller,     kSPPropertiesCaller,
                                kCallerAINotifier,  kCallerAIMenu,       kCallerAIFilter,    kCallerAIPluginGroup,
                                kCallerAIFileFormat, kCallerAITool,      kCallerAILiveEffect, kCallerAITimer,
                                "No Such Caller",   ""};
// Start-up, shutdown, unload and reload come in their own interactions.
const char* const kSelectors[] = {kSPInterfaceAboutSelector,
                                  kSPPluginPurgeCachesSelector,
                                  kSPPropertiesAcquireSelector,
                                  kSPPropertiesReleaseSelector,
                                  kSelectorAINotify,
                                  kSelectorAIGoMenuItem,
                                  kSelectorAIUpdateMenuItem,
                                  kSelectorAIGetFilterParameters,
                                  kSelectorAINotifyEdits,
                                  kSelectorAIUpdateArt,
                                  kSelectorAICheckFileFormat,
                                  kSelectorAIEditToolOptions,
                                  kSelectorAITrackToolCursor,
                                  kSelectorAIToolMouseDown,
                                  kSelectorAIToolMouseDrag,
                                  kSelectorAIToolMouseUp,
                                  kSelectorAISelectTool,
                                  kSelectorAIDeselectTool,
                                  kSelectorAIReselectTool,
                                  kSelectorAIGoLiveEffect,
                                  "No Such Selector",
                                  ""};
const char* const kTimes[] = {kAICheckOperationTime, kAIBeforeOperationTime, kAIAfterOperationTime,
                              kAIDuringOperationTime, "AI Some Other Time"};
const char* const kCodes[] = {kAIGeometryOperationCode, kAIStyleOperationCode, kAIChangeOperationCode,
                              "AI Some Other Code"};
const char* const kNotifications[] = {kAIApplicationStartedNotifier, "AI Some Other Notifier"};
const char* const kTypedTexts[] = {"0", "1", "7", "12", "-3", "100000", "2147483648", "x", "", " 5", "1e9"};

// Room for every message record the host sends.
union AnyMessage {
  SPMessageData head;
  AINotifierMessage notifier;
  AIMenuMessage menu;
  AITimerMessage timer;
  AIToolMessage tool;
  AIPluginGroupMessage group;
};

}  // namespace

RandomInteractions::RandomInteractions(Trial& trial, MessageLog& log, ChoiceSource& choices)
    : trial_(trial), log_(log), choices_(choices) {}

double RandomInteractions::real(double low, double high) {
  return low + (high - low) * static_cast<double>(choices_.below(10001)) / 10000.0;
}

AIReal RandomInteractions::coordinate() {
  switch (choices_.below(8)) {
    case 0:
      return static_cast<AIReal>(real(-1e6, 1e6));
    case 1:
      return static_cast<AIReal>(real(-1, 1));
    default:
      return static_cast<AIReal>(real(-300, 300));
  }
}

AIRealPoint RandomInteractions::point() { return {coordinate(), coordinate()}; }

AIRealPoint RandomInteractions::pointNearArt() {
  AIArtHandle art = choices_.below(4) == 0 ? nullptr : someArt();
  AIRealRect bounds{};
  if (!art || trial_.document().artBounds(art, &bounds) != kNoErr || !std::isfinite(bounds.left) ||
      !std::isfinite(bounds.right) || !std::isfinite(bounds.top) || !std::isfinite(bounds.bottom)) {
    return point();
  }
  return {static_cast<AIReal>(real(bounds.left, bounds.right)),
          static_cast<AIReal>(real(bounds.bottom, bounds.top))};
}

AIArtHandle RandomInteractions::someArt() {
  // Mirror-tile objects first, half the time.
  std::vector<AIArtHandle> candidates = trial_.mirrortiles();
  if (candidates.empty() || choices_.below(2) == 0) candidates = trial_.allArt();
  if (candidates.empty()) return nullptr;
  return candidates[choices_.below(static_cast<uint32_t>(candidates.size()))];
}

std::string RandomInteractions::pick(const char* const* texts, std::size_t count) {
  return texts[choices_.below(static_cast<uint32_t>(count))];
}

std::string RandomInteractions::step() {
  switch (choices_.below(20)) {
    case 0:
    case 1:
    case 2:
    case 3:
      return drag();
    case 4:
      return trackCursor();
    case 5:
      return chooseMenu();
    case 6:
    case 7:
      return tick();
    case 8:
    case 9:
    case 10:
      return hostEdit();
    case 11:
    case 12:
      return selection();
    case 13:
      return layers();
    case 14:
      return addArt();
    case 15:
      return options();
    case 16:
      return about();
    case 17:
      return undoOrRedo();
    case 18:
      return rawMessage();
    default:
      return choices_.below(4) == 0 ? unloadAndReload() : drag();
  }
}

std::string RandomInteractions::drag() {
  const AIRealPoint from = pointNearArt();
  const double lengths[] = {0.5, 5, 30, 120, 1e5};
  const double length = lengths[choices_.below(5)] * real(0.5, 1.5);
  const double direction = real(0, 6.283185307);
  const AIRealPoint to{static_cast<AIReal>(from.h + length * std::cos(direction)),
                       static_cast<AIReal>(from.v + length * std::sin(direction))};
  if (!finite(to)) log_.inputWasNonFinite();
  hostapp::ToolEvents& tool = trial_.tool();
  tool.press(from);
  const uint32_t moves = choices_.below(4);
  for (uint32_t i = 1; i <= moves; ++i) {
    const double t = static_cast<double>(i) / (moves + 1);
    tool.drag({static_cast<AIReal>(from.h + (to.h - from.h) * t), static_cast<AIReal>(from.v + (to.v - from.v) * t)});
  }
  tool.drag(to);
  tool.release(to);
  return "drag from " + text(from) + " to " + text(to) + " with " + std::to_string(moves + 1) + " moves";
}

std::string RandomInteractions::trackCursor() {
  const AIRealPoint at = pointNearArt();
  trial_.tool().trackCursor(at);
  return "track cursor at " + text(at);
}

std::string RandomInteractions::chooseMenu() {
  hostapp::HostApplication& host = trial_.host();
  if (choices_.below(6) == 0) {
    host.setDocumentOpen(!host.documentOpen());
    return std::string("document ") + (host.documentOpen() ? "opened" : "closed");
  }
  const std::size_t index = choices_.below(static_cast<uint32_t>(host.menuItems().size() + 1));
  host.chooseMenuItem(host.menuItemHandle(index));
  return "choose menu item " + std::to_string(index);
}

std::string RandomInteractions::tick() {
  const int64_t ticks = choices_.below(91);
  trial_.host().advanceClock(ticks);
  return "clock on by " + std::to_string(ticks) + " ticks";
}

std::string RandomInteractions::hostEdit() {
  AIArtHandle art = someArt();
  if (!art) return addArt();
  hostapp::HostEdits& edits = trial_.edits();
  switch (choices_.below(5)) {
    case 0: {
      const AIReal dh = coordinate();
      const AIReal dv = coordinate();
      edits.move(art, dh, dv);
      return "move art by " + text({dh, dv});
    }
    case 1: {
      const double angle = real(-7, 7);
      const double scale = choices_.below(5) == 0 ? 0.0 : real(-3, 3);
      const AIRealMatrix matrix{static_cast<AIReal>(scale * std::cos(angle)), static_cast<AIReal>(std::sin(angle)),
                                static_cast<AIReal>(-std::sin(angle)), static_cast<AIReal>(scale * std::cos(angle)),
                                coordinate(), coordinate()};
      edits.transform(art, matrix);
      return "transform art, angle " + std::to_string(angle) + ", scale " + std::to_string(scale);
    }
    case 2: {
      AIRealMatrix matrix{static_cast<AIReal>(real(-2, 2)), static_cast<AIReal>(real(-2, 2)),
                          static_cast<AIReal>(real(-2, 2)), static_cast<AIReal>(real(-2, 2)), coordinate(),
                          coordinate()};
      const uint32_t broken = choices_.below(4);
      if (broken == 1) matrix.a = std::numeric_limits<AIReal>::quiet_NaN();
      if (broken == 2) matrix.tx = std::numeric_limits<AIReal>::infinity();
      if (broken == 1 || broken == 2) log_.inputWasNonFinite();
      edits.freeTransform(art, matrix);
      return std::string("free transform") + (broken == 1 || broken == 2 ? " through a non-finite matrix" : "");
    }
    case 3: {
      const int16_t segment = static_cast<int16_t>(static_cast<int32_t>(choices_.below(4)) - 1);
      const AIRealPoint to = pointNearArt();
      edits.moveEditPoint(art, segment, to);
      return "move edit point " + std::to_string(segment) + " to " + text(to);
    }
    default: {
      AIPathStyle style{};
      style.fillPaint = choices_.below(2);
      style.strokePaint = choices_.below(2);
      style.fill.color.kind = kRGBColor;
      style.fill.color.red = static_cast<AIReal>(real(0, 1));
      style.fill.opacity = 1;
      style.stroke.color.kind = kRGBColor;
      style.stroke.opacity = 1;
      style.stroke.width = static_cast<AIReal>(real(0, 5));
      edits.paint(art, style);
      return "paint art";
    }
  }
}

std::string RandomInteractions::selection() {
  switch (choices_.below(4)) {
    case 0:
      trial_.deselectAll();
      return "select nothing";
    case 1:
      for (AIArtHandle art : trial_.mirrortiles()) trial_.select(art, true);
      return "select every mirror-tile object";
    default: {
      AIArtHandle art = someArt();
      if (!art) return "select nothing there is";
      const bool on = choices_.below(3) != 0;
      trial_.select(art, on);
      return on ? "select art" : "deselect art";
    }
  }
}

std::string RandomInteractions::layers() {
  hostcore::Document& doc = trial_.document();
  int32_t count = 0;
  hostcore::require(doc.countLayers(&count), "countLayers");
  const uint32_t what = choices_.below(4);
  if (what == 0 && count < 4) {
    AILayerHandle layer = nullptr;
    hostcore::require(doc.addLayer(("Layer " + std::to_string(count + 1)).c_str(), &layer), "addLayer");
    return "add a layer";
  }
  AILayerHandle layer = nullptr;
  hostcore::require(doc.firstLayer(&layer), "firstLayer");
  for (uint32_t skip = choices_.below(static_cast<uint32_t>(count > 0 ? count : 1)); skip > 0 && layer; --skip) {
    hostcore::require(doc.nextLayer(layer, &layer), "nextLayer");
  }
  if (!layer) return "no layer to change";
  AIBoolean state = false;
  switch (what) {
    case 1:
      hostcore::require(doc.setCurrentLayer(layer), "setCurrentLayer");
      return "make a layer current";
    case 2:
      hostcore::require(doc.layerVisible(layer, &state), "layerVisible");
      hostcore::require(doc.setLayerVisible(layer, !state), "setLayerVisible");
      return state ? "hide a layer" : "show a layer";
    default:
      hostcore::require(doc.layerEditable(layer, &state), "layerEditable");
      hostcore::require(doc.setLayerEditable(layer, !state), "setLayerEditable");
      return state ? "lock a layer" : "unlock a layer";
  }
}

std::string RandomInteractions::addArt() {
  const AIRealPoint centre = point();
  const AIReal half = static_cast<AIReal>(real(0.5, 60));
  trial_.addSquare(centre, half);
  return "add a square at " + text(centre);
}

std::string RandomInteractions::options() {
  hostapp::DialogHost& dialogs = trial_.host().dialogs();
  std::string done = "tool options";
  const PluginProfile& profile = trial_.profile();
  if (choices_.below(6) != 0) {
    std::vector<hostapp::DialogStep> steps;
    const uint32_t count = choices_.below(4);
    const auto fields = static_cast<uint32_t>(profile.dialogFields.size());
    for (uint32_t i = 0; i < count; ++i) {
      // Typing into one of the fields, or switching one of the choices on.
      const uint32_t what = choices_.below(fields + 1);
      if (what < fields) {
        steps.push_back(hostapp::DialogStep::type(profile.dialogFields[what], pick(kTypedTexts, std::size(kTypedTexts))));
      } else if (!profile.dialogChoices.empty()) {
        const auto choices = static_cast<uint32_t>(profile.dialogChoices.size());
        steps.push_back(hostapp::DialogStep::press(profile.dialogChoices[choices_.below(choices)]));
      }
    }
    const uint32_t close = choices_.below(3);
    if (close < 2) steps.push_back(hostapp::DialogStep::press(close == 0 ? profile.okButton : profile.cancelButton));
    done += close == 0 ? ", OK" : close == 1 ? ", Cancel" : ", dismissed";
    dialogs.script(std::move(steps));
  } else {
    done += ", no user";
  }
  trial_.tool().editOptions();
  dialogs.dropScripts();
  return done;
}

std::string RandomInteractions::about() {
  hostapp::DialogHost& dialogs = trial_.host().dialogs();
  if (choices_.below(3) != 0) dialogs.script({hostapp::DialogStep::event(), hostapp::DialogStep::event()});
  trial_.host().sendPlainMessage(kSPInterfaceCaller, kSPInterfaceAboutSelector);
  dialogs.dropScripts();
  return "about box";
}

std::string RandomInteractions::undoOrRedo() {
  if (choices_.below(3) == 0) {
    trial_.edits().redo();
    return "redo";
  }
  trial_.edits().undo();
  return "undo";
}

std::string RandomInteractions::rawMessage() {
  hostapp::HostApplication& host = trial_.host();
  const std::string caller = pick(kCallers, std::size(kCallers));
  const std::string selector = pick(kSelectors, std::size(kSelectors));
  AnyMessage message{};
  const std::string time = pick(kTimes, std::size(kTimes));
  const std::string code = pick(kCodes, std::size(kCodes));
  const std::string notification = pick(kNotifications, std::size(kNotifications));
  if (caller == kCallerAITool) {
    message.tool.tool = choices_.below(4) ? host.toolHandle(0) : host.toolHandle(choices_.below(3) + 1);
    message.tool.cursor = pointNearArt();
    message.tool.pressure = 1;
  } else if (caller == kCallerAIPluginGroup) {
    message.group.entry = choices_.below(4) ? host.core().pluginGroupHandle(0) : nullptr;
    message.group.art = choices_.below(6) ? someArt() : nullptr;
    message.group.time = time.c_str();
    message.group.code = code.c_str();
    message.group.subCode = choices_.below(2) ? 0 : kAIPluginArtChangeSubCode;
  } else if (caller == kCallerAIMenu) {
    message.menu.menuItem = host.menuItemHandle(choices_.below(static_cast<uint32_t>(host.menuItems().size() + 1)));
  } else if (caller == kCallerAITimer) {
    message.timer.timer = choices_.below(4) ? host.timerHandle(0) : nullptr;
  } else if (caller == kCallerAINotifier) {
    message.notifier.notifier = host.notifierHandle(0);
    message.notifier.type = notification.c_str();
  }
  // A press opens the user's step as the host does; the release that
  // closes it may never come, so the step ends with the message.
  std::optional<hostcore::UndoStep> pressStep;
  if (caller == kCallerAITool && selector == kSelectorAIToolMouseDown) {
    pressStep.emplace(host.document().journal());
    host.document().journal().setMark();
  }
  host.sendMessage(caller.c_str(), selector.c_str(), message.head);
  pressStep.reset();
  host.dialogs().dropScripts();
  return "message (\"" + caller + "\", \"" + selector + "\")";
}

std::string RandomInteractions::unloadAndReload() {
  trial_.host().unload();
  trial_.host().reload();
  return "unload and reload";
}

}  // namespace hostvalidate
