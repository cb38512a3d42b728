// The page's way into the stand-in host: one session of mirtil-host with the
// plug-in linked in, files kept in memory, driven by the lines of the
// program's script language (so that the page's steps are the program's),
// and read back as JSON for the page to draw.

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "hostapi/HostResources.h"
#include "hostapp/ModuleResources.h"
#include "hostfiles/SvgDocument.h"
#include "hostlinked/LinkedModuleLoader.h"
#include "mirtilcli/Animation.h"
#include "mirtilcli/Script.h"
#include "mirtilcli/ScriptRunner.h"
#include "mirtilcli/Session.h"

extern "C" AIErr PluginMain(const char* caller, const char* selector, void* message);
extern "C" const ModuleResourceTable* ModuleResourceDirectory(void);

namespace {

using nlohmann::json;

// The browser's files: what the page put there (an opened drawing, the
// preferences from local storage) and what the host wrote (a save).
class MemoryFileStore : public hostfiles::FileStore {
  class MemoryFile : public hostfiles::FileSink {
   public:
    explicit MemoryFile(std::string& text) : text_(text) {}
    bool append(std::string_view piece, std::string*) override {
      text_ += piece;
      return true;
    }
    bool close(std::string*) override { return true; }

   private:
    std::string& text_;
  };

 public:
  bool read(const std::string& path, std::string* data, std::string* error) override {
    const auto found = files_.find(path);
    if (found == files_.end()) {
      *error = "no such file";
      return false;
    }
    *data = found->second;
    return true;
  }
  std::unique_ptr<hostfiles::FileSink> create(const std::string& path, std::string*) override {
    std::string& file = files_[path];
    file.clear();
    return std::make_unique<MemoryFile>(file);
  }
  bool rename(const std::string& from, const std::string& to, std::string* error) override {
    const auto found = files_.find(from);
    if (found == files_.end()) {
      *error = "no such file";
      return false;
    }
    files_[to] = std::move(found->second);
    files_.erase(found);
    return true;
  }
  void remove(const std::string& path) override { files_.erase(path); }

 private:
  std::map<std::string, std::string> files_;
};

// Pictures are drawn by the browser from the SVG text, not by the host.
class BrowserDrawsPictures : public hostfiles::SvgRenderer {
 public:
  bool renderPng(const std::string&, double, std::string*, std::string* error) override {
    *error = "the browser draws pictures itself";
    return false;
  }
  bool animatedGif(const std::vector<std::string>&, const std::vector<int>&, std::string*,
                   std::string* error) override {
    *error = "the browser draws pictures itself";
    return false;
  }
};

constexpr const char* kPreferencesPath = "/preferences";
constexpr const char* kPluginName = "Mirtil.aip";

class WebEditor {
 public:
  explicit WebEditor(const std::string& preferences)
      : loader_(&PluginMain, &ModuleResourceDirectory),
        machine_{loader_, files_, renderer_, [](const std::string&, std::string*) { return true; }, out_, err_} {
    if (!preferences.empty()) files_.write(kPreferencesPath, preferences, nullptr);
    session_ = std::make_unique<mirtilcli::Session>(machine_, mirtilcli::SessionSetup{kPluginName, kPreferencesPath});
  }

  // Runs one script line. JSON: "result", the code its messages answered
  // as a script writes it, or "error" for a line that could not be used
  // (or anything else that stopped it).
  std::string run(const std::string& line) {
    json answer = json::object();
    mirtilcli::ScriptRunner runner(*session_, "page");
    try {
      runner.load(line);
      runner.run();
      answer["result"] = "0";
    } catch (const mirtilcli::CheckFailure&) {
      // The one check of a single line: its messages answered 0.
      answer["result"] = mirtilcli::formatResultCode(runner.lastResult());
    } catch (const std::exception& error) {
      answer["error"] = error.what();
    }
    return answer.dump();
  }

  // Moves the host's clock on by ticks of 1/60 second.
  int advanceClock(int ticks) { return session_->host().advanceClock(ticks); }

  std::string svg() { return hostfiles::writeSvg(session_->host().core()); }
  // The copy for other programs and for pictures drawn at one pixel a
  // point: neighbouring cells overlap, so no renderer shows a seam.
  std::string seamFreeSvg() {
    return hostfiles::writeSeamFreeSvg(session_->host().core(), hostfiles::kSeamFreeOverlap);
  }

  void putFile(const std::string& path, const std::string& data) { files_.write(path, data, nullptr); }
  std::string file(const std::string& path) {
    std::string data;
    std::string error;
    files_.read(path, &data, &error);
    return data;
  }

  // The animated SVG of the rotation, as `mirtil-host animate` writes it.
  std::string animation(double seconds) {
    return mirtilcli::recordAnimation(*session_, seconds > 0 ? std::optional<double>(seconds) : std::nullopt);
  }

  // What the page shows besides the drawing.
  std::string state() {
    hostapp::HostApplication& host = session_->host();
    hostcore::Document& document = session_->document();
    json layers = json::array();
    AILayerHandle current = nullptr;
    hostcore::require(document.currentLayer(&current), "currentLayer");
    AILayerHandle layer = nullptr;
    hostcore::require(document.firstLayer(&layer), "firstLayer");
    while (layer) {
      std::string title;
      AIBoolean visible = false;
      AIBoolean editable = false;
      hostcore::require(document.layerTitle(layer, &title), "layerTitle");
      hostcore::require(document.layerVisible(layer, &visible), "layerVisible");
      hostcore::require(document.layerEditable(layer, &editable), "layerEditable");
      layers.push_back({{"title", title}, {"visible", bool(visible)}, {"editable", bool(editable)},
                        {"current", layer == current}});
      if (document.nextLayer(layer, &layer) != kNoErr) break;
    }
    json menus = json::array();
    for (std::size_t i = 0; i < host.menuItems().size(); ++i) {
      const hostapp::MenuItemRecord& item = host.menuItems()[i];
      menus.push_back({{"text", item.text}, {"checked", item.checked},
                       {"enabled", host.menuItemEnabled(host.menuItemHandle(i))}});
    }
    json timers = json::array();
    for (const hostapp::TimerRecord& timer : host.timers()) {
      timers.push_back({{"name", timer.name}, {"period", timer.period}, {"active", timer.active}});
    }
    const std::vector<std::string>& alerts = host.alerts();
    json fresh(std::vector<std::string>(alerts.begin() + static_cast<std::ptrdiff_t>(alertsSeen_), alerts.end()));
    alertsSeen_ = alerts.size();
    std::string preferences;
    std::string error;
    files_.read(kPreferencesPath, &preferences, &error);
    const std::optional<int> cursor = session_->cursor();
    return json{{"layers", layers},
                {"menus", menus},
                {"timers", timers},
                {"alerts", fresh},
                {"cursor", cursor ? json(*cursor) : json(nullptr)},
                {"objects", session_->mirrortiles().size()},
                {"clock", host.clock()},
                {"preferences", preferences}}
        .dump();
  }

  // The tool as the plug-in registered it.
  std::string tool() {
    const std::vector<hostapp::ToolRecord>& tools = session_->host().tools();
    if (tools.empty()) return "null";
    const hostapp::ToolRecord& tool = tools.front();
    return json{{"title", tool.title}, {"tooltip", tool.tooltip}, {"icon", tool.iconID}}.dump();
  }

  // An icon, cursor or bitmap of the module as RGBA rows from the top,
  // with its size and hot spot; null when the module has none.
  emscripten::val image(int type, int id) {
    const ModuleResource* resource =
        hostapp::findResource(session_->host().resources(), static_cast<uint32_t>(type), static_cast<uint16_t>(id));
    if (!resource) return emscripten::val::null();
    const auto* image = static_cast<const ResourceImage*>(resource->data);
    const std::size_t count = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    std::string rgba(count * 4, '\0');
    for (std::size_t i = 0; i < count; ++i) {
      if (image->mask) {  // cursors: one byte a pixel, 0 black, 1 white
        const unsigned char level = image->pixels[i] ? 255 : 0;
        rgba[i * 4] = rgba[i * 4 + 1] = rgba[i * 4 + 2] = static_cast<char>(level);
        rgba[i * 4 + 3] = static_cast<char>(image->mask[i] ? 0 : 255);
      } else {
        for (int c = 0; c < 3; ++c) rgba[i * 4 + c] = static_cast<char>(image->pixels[i * 3 + c]);
        rgba[i * 4 + 3] = static_cast<char>(255);
      }
    }
    emscripten::val answer = emscripten::val::object();
    answer.set("width", image->width);
    answer.set("height", image->height);
    answer.set("hotSpotX", image->hotSpotX);
    answer.set("hotSpotY", image->hotSpotY);
    answer.set("rgba", emscripten::val::global("Uint8ClampedArray")
                           .new_(emscripten::val(emscripten::typed_memory_view(rgba.size(),
                               reinterpret_cast<const unsigned char*>(rgba.data())))));
    return answer;
  }

  // A dialog template of the module, in dialog units, with what its items
  // showed the last time the plug-in opened it.
  std::string dialog(int id) {
    const ModuleResource* resource =
        hostapp::findResource(session_->host().resources(), kResourceDialog, static_cast<uint16_t>(id));
    if (!resource) return "null";
    const auto* dialog = static_cast<const ResourceDialog*>(resource->data);
    const hostapp::DialogRecord* shown = nullptr;
    for (const hostapp::DialogRecord& record : session_->host().dialogs().history()) {
      if (record.resourceID == id) shown = &record;
    }
    json items = json::array();
    for (int32_t i = 0; i < dialog->itemCount; ++i) {
      const ResourceDialogItem& item = dialog->items[i];
      json entry{{"id", item.id}, {"kind", item.kind}, {"text", item.text},
                 {"x", item.x}, {"y", item.y}, {"width", item.width}, {"height", item.height},
                 {"style", item.style}, {"bitmap", item.bitmapID}};
      if (const hostapp::DialogItemView* view = shown && item.id != kDialogItemNoID ? shown->item(item.id) : nullptr) {
        entry["text"] = view->text;
        entry["on"] = view->boolValue;
      }
      items.push_back(entry);
    }
    return json{{"title", dialog->title}, {"width", dialog->width}, {"height", dialog->height},
                {"font", dialog->fontName}, {"fontSize", dialog->fontSize}, {"items", items}}
        .dump();
  }

 private:
  hostlinked::LinkedModuleLoader loader_;
  MemoryFileStore files_;
  BrowserDrawsPictures renderer_;
  std::ostringstream out_;
  std::ostringstream err_;
  mirtilcli::Machine machine_;
  std::unique_ptr<mirtilcli::Session> session_;
  std::size_t alertsSeen_ = 0;
};

}  // namespace

EMSCRIPTEN_BINDINGS(mirrortile) {
  emscripten::class_<WebEditor>("Editor")
      .constructor<std::string>()
      .function("run", &WebEditor::run)
      .function("advanceClock", &WebEditor::advanceClock)
      .function("svg", &WebEditor::svg)
      .function("seamFreeSvg", &WebEditor::seamFreeSvg)
      .function("putFile", &WebEditor::putFile)
      .function("file", &WebEditor::file)
      .function("animation", &WebEditor::animation)
      .function("state", &WebEditor::state)
      .function("tool", &WebEditor::tool)
      .function("image", &WebEditor::image)
      .function("dialog", &WebEditor::dialog);
}
