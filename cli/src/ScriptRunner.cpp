#include "mirtilcli/ScriptRunner.h"

#include <map>
#include <optional>

#include "MirtilNames.h"
#include "mirtilcli/DocumentFiles.h"

namespace mirtilcli {

namespace {

constexpr int kDefaultDragMoves = 4;

using Parser = std::function<ScriptRunner::Step(LineReader&, Session&)>;

ScriptRunner::Step Plain(std::function<void()> act) {
  ScriptRunner::Step step;
  step.act = [act] {
    act();
    return kNoErr;
  };
  return step;
}

ScriptRunner::Step Message(std::function<AIErr()> act) {
  ScriptRunner::Step step;
  step.sendsMessages = true;
  step.act = std::move(act);
  return step;
}

Point ReadPoint(LineReader& reader, const char* x, const char* y) {
  const double h = reader.number(x);
  return Point{h, reader.number(y)};
}

AIColor ReadColor(LineReader& reader, const std::string& option) {
  const std::string text = reader.textOption(option, "");
  AIColor color{};
  if (!parseColor(text, color)) throw reader.error(option + "= must be a colour (#rgb, #rrggbb, a name or none), not '" + text + "'");
  return color;
}

// fill=, stroke= and width= of new art: black fill and no stroke unless given.
AIPathStyle ReadStyle(LineReader& reader) {
  AIPathStyle style = hostcore::Document::clearedPathStyle();
  AIColor fill{kRGBColor, 0, 0, 0, 0};
  if (reader.hasOption("fill")) fill = ReadColor(reader, "fill");
  style.fillPaint = fill.kind != kNoColor;
  style.fill.color = fill;
  style.fill.opacity = 1;
  if (reader.hasOption("stroke")) {
    style.stroke.color = ReadColor(reader, "stroke");
    style.strokePaint = style.stroke.color.kind != kNoColor;
  }
  style.stroke.opacity = 1;
  style.stroke.width = static_cast<AIReal>(reader.numberOption("width", 1));
  if (style.stroke.width < 0) throw reader.error("width= must not be negative");
  return style;
}

// A command on the layer named by its one argument.
Parser LayerCommand(void (*act)(Session&, const std::string&)) {
  return [act](LineReader& r, Session& s) {
    const std::string name = r.text("the layer's name");
    return Plain([act, &s, name] { act(s, name); });
  };
}

// A message at the point given as X Y.
Parser PointCommand(AIErr (Session::*act)(Point)) {
  return [act](LineReader& r, Session& s) {
    const Point at = ReadPoint(r, "X", "Y");
    return Message([act, &s, at] { return (s.*act)(at); });
  };
}

std::optional<int32_t> OptionalInteger(LineReader& reader, const char* name) {
  if (!reader.hasOption(name)) return std::nullopt;
  return reader.integerOption(name, 0);
}

// A preference given as an option, refused outside the range the options
// dialog offers.
std::optional<int32_t> RangedOption(LineReader& reader, const PreferenceRange& range) {
  const std::optional<int32_t> value = OptionalInteger(reader, range.option);
  if (value && (*value < range.lowest || *value > range.highest)) {
    throw reader.error(std::string(range.option) + "= takes " + std::to_string(range.lowest) + " to " +
                       std::to_string(range.highest) + ", as the options dialog does, not " + std::to_string(*value));
  }
  return value;
}

std::optional<int32_t> TypeOption(LineReader& reader) {
  if (!reader.hasOption("type")) return std::nullopt;
  const std::string text = reader.textOption("type", "");
  const std::optional<int32_t> type = parseObjectType(text);
  if (!type) throw reader.error(std::string("type= takes ") + kObjectTypes + ", not '" + text + "'");
  return type;
}

const std::map<std::string, Parser>& Commands() {
  static const std::map<std::string, Parser> commands = {
      {"open",
       [](LineReader& r, Session& s) {
         const std::string path = r.text("the file to open");
         return Plain([&s, path] { openDocument(s, path); });
       }},
      {"new", [](LineReader&, Session& s) { return Plain([&s] { s.newDocument(); }); }},
      {"save",
       [](LineReader& r, Session& s) {
         const std::string path = r.text("the file to save to");
         return Plain([&s, path] { saveDocument(s, path); });
       }},
      {"png",
       [](LineReader& r, Session& s) {
         const std::string path = r.text("the picture file");
         const double scale = r.numberOption("scale", 1);
         if (scale <= 0) throw r.error("scale= must be above 0");
         return Plain([&s, path, scale] { renderDocument(s, path, scale); });
       }},
      {"export-seam-free",
       [](LineReader& r, Session& s) {
         const std::string path = r.text("the file to export to");
         return Plain([&s, path] { exportSeamFree(s, path); });
       }},
      {"dump",
       [](LineReader& r, Session& s) {
         const std::string path = r.text("the file to dump to");
         return Plain([&s, path] { dumpDocument(s, path); });
       }},
      {"layer", LayerCommand([](Session& s, const std::string& name) { s.addLayer(name); })},
      {"current", LayerCommand([](Session& s, const std::string& name) { s.setCurrentLayer(name); })},
      {"show", LayerCommand([](Session& s, const std::string& name) { s.setLayerVisible(name, true); })},
      {"hide", LayerCommand([](Session& s, const std::string& name) { s.setLayerVisible(name, false); })},
      {"lock", LayerCommand([](Session& s, const std::string& name) { s.setLayerEditable(name, false); })},
      {"unlock", LayerCommand([](Session& s, const std::string& name) { s.setLayerEditable(name, true); })},
      {"rect",
       [](LineReader& r, Session& s) {
         const Point corner = ReadPoint(r, "X", "Y");
         const double w = r.number("W");
         const double h = r.number("H");
         if (w <= 0 || h <= 0) throw r.error("W and H must be above 0");
         const AIPathStyle style = ReadStyle(r);
         const std::string id = r.textOption("id", "");
         const PathData path = rectanglePath(corner, w, h);
         return Plain([&s, path, style, id] { s.addPath(path.segments, path.closed, style, id); });
       }},
      {"circle",
       [](LineReader& r, Session& s) {
         const Point centre = ReadPoint(r, "CX", "CY");
         const double radius = r.number("R");
         if (radius <= 0) throw r.error("R must be above 0");
         const AIPathStyle style = ReadStyle(r);
         const std::string id = r.textOption("id", "");
         const PathData path = circlePath(centre, radius);
         return Plain([&s, path, style, id] { s.addPath(path.segments, path.closed, style, id); });
       }},
      {"path",
       [](LineReader& r, Session& s) {
         const std::string data = r.text("the path data");
         PathData path;
         std::string problem;
         if (!parsePathData(data, path, problem)) throw r.error("bad path data: " + problem);
         const AIPathStyle style = ReadStyle(r);
         const std::string id = r.textOption("id", "");
         return Plain([&s, path, style, id] { s.addPath(path.segments, path.closed, style, id); });
       }},
      {"select",
       [](LineReader& r, Session& s) {
         std::vector<std::string> ids;
         ids.push_back(r.text("the ids of the art to select, or none"));
         while (!r.atEnd()) ids.push_back(r.text("an id"));
         if (ids.size() == 1 && ids[0] == "none") ids.clear();
         return Plain([&s, ids] {
           std::vector<AIArtHandle> arts;
           for (const std::string& id : ids) arts.push_back(s.art(id));
           s.select(arts);
         });
       }},
      {"prefs",
       [](LineReader& r, Session& s) {
         std::vector<std::pair<std::string, int32_t>> values;
         for (const PreferenceRange& range : {kStepsRange, kDelayRange}) {
           if (const std::optional<int32_t> value = RangedOption(r, range)) values.emplace_back(range.name, *value);
         }
         if (const std::optional<int32_t> type = TypeOption(r)) values.emplace_back(kMirtilTypePref, *type);
         r.finish();  // a mistyped key is named before the values are missed
         if (values.empty()) throw r.error("give at least one of steps=, delay=, type=");
         return Plain([&s, values] {
           for (const auto& value : values) s.setPreference(value.first, value.second, true);
         });
       }},
      {"press", PointCommand(&Session::press)},
      {"moveto", PointCommand(&Session::moveTo)},
      {"release", PointCommand(&Session::release)},
      {"drag",
       [](LineReader& r, Session& s) {
         const Point from = ReadPoint(r, "X1", "Y1");
         const Point to = ReadPoint(r, "X2", "Y2");
         const int32_t moves = r.integerOption("moves", kDefaultDragMoves);
         if (moves < 1) throw r.error("moves= must be at least 1");
         return Message([&s, from, to, moves] { return s.drag(from, to, moves); });
       }},
      {"cursor", PointCommand(&Session::trackCursor)},
      {"menu",
       [](LineReader& r, Session& s) {
         const std::string text = r.text("the command's text");
         return Message([&s, text] { return s.chooseMenu(text); });
       }},
      {"wait",
       [](LineReader& r, Session& s) {
         const double seconds = r.number("SECONDS");
         if (seconds < 0) throw r.error("SECONDS must not be negative");
         return Message([&s, seconds] { return s.wait(seconds); });
       }},
      {"expand",
       [](LineReader& r, Session& s) {
         const std::string id = r.text("ID");
         return Message([&s, id] {
           AIArtHandle expanded = nullptr;
           return s.edits().expand(s.art(id), &expanded);
         });
       }},
      {"move",
       [](LineReader& r, Session& s) {
         const std::string id = r.text("ID");
         const double dx = r.number("DX");
         const double dy = r.number("DY");
         return Message([&s, id, dx, dy] {
           return s.edits().move(s.art(id), static_cast<AIReal>(dx), static_cast<AIReal>(-dy));
         });
       }},
      {"transform",
       [](LineReader& r, Session& s) {
         const std::string id = r.text("ID");
         double m[6];
         const char* names[6] = {"A", "B", "C", "D", "E", "F"};
         for (int i = 0; i < 6; ++i) m[i] = r.number(names[i]);
         // The file's y runs down and the host's v up: the same change
         // seen through that flip.
         const AIRealMatrix matrix{static_cast<AIReal>(m[0]),  static_cast<AIReal>(-m[1]),
                                   static_cast<AIReal>(-m[2]), static_cast<AIReal>(m[3]),
                                   static_cast<AIReal>(m[4]),  static_cast<AIReal>(-m[5])};
         return Message([&s, id, matrix] { return s.edits().transform(s.art(id), matrix); });
       }},
      {"paint",
       [](LineReader& r, Session& s) {
         const std::string id = r.text("ID");
         std::optional<AIColor> fill;
         std::optional<AIColor> stroke;
         if (r.hasOption("fill")) fill = ReadColor(r, "fill");
         if (r.hasOption("stroke")) stroke = ReadColor(r, "stroke");
         if (!fill && !stroke) throw r.error("give fill= or stroke=");
         return Message([&s, id, fill, stroke] {
           const AIArtHandle art = s.art(id);
           AIPathStyle style{};
           hostcore::require(s.document().pathStyle(art, &style), "pathStyle");
           if (fill) {
             style.fillPaint = fill->kind != kNoColor;
             style.fill.color = *fill;
             style.fill.opacity = 1;
           }
           if (stroke) {
             style.strokePaint = stroke->kind != kNoColor;
             style.stroke.color = *stroke;
             style.stroke.opacity = 1;
             if (style.stroke.width <= 0) style.stroke.width = 1;
           }
           return s.edits().paint(art, style);
         });
       }},
      {"edit-point",
       [](LineReader& r, Session& s) {
         const std::string id = r.text("ID");
         const int32_t segment = r.integer("SEG");
         if (segment < 0 || segment > INT16_MAX) throw r.error("SEG must be a segment number from 0");
         const Point to = ReadPoint(r, "X", "Y");
         return Message([&s, id, segment, to] {
           return s.edits().moveEditPoint(s.art(id), static_cast<int16_t>(segment), toHost(to));
         });
       }},
      {"options",
       [](LineReader& r, Session& s) {
         const std::optional<int32_t> steps = OptionalInteger(r, "steps");
         const std::optional<int32_t> delay = OptionalInteger(r, "delay");
         const std::optional<int32_t> type = TypeOption(r);
         const bool ok = r.choice("how the dialog closes", {"ok", "cancel"}) == "ok";
         return Message([&s, steps, delay, type, ok] { return s.options(steps, delay, type, ok); });
       }},
      {"about", [](LineReader&, Session& s) { return Message([&s] { return s.about(); }); }},
      {"undo",
       [](LineReader&, Session& s) {
         return Plain([&s] {
           if (!s.edits().undo()) throw CheckFailure("nothing to undo");
         });
       }},
      {"redo",
       [](LineReader&, Session& s) {
         return Plain([&s] {
           if (!s.edits().redo()) throw CheckFailure("nothing to redo");
         });
       }},
      {"unload",
       [](LineReader&, Session& s) {
         return Message([&s] {
           const AIErr answer = s.unload();
           if (answer != kHostLockedErr) return answer;
           s.machine().err << "unload: the plug-in has locked itself in memory; the host keeps it loaded until it quits\n";
           return AIErr(kNoErr);
         });
       }},
      {"reload", [](LineReader&, Session& s) { return Message([&s] { return s.reload(); }); }},
      {"fail",
       [](LineReader& r, Session& s) {
         const std::string suite = r.text("the suite's name");
         const std::string function = r.text("the function's name");
         const int32_t code = r.resultCode("CODE");
         if (code == kNoErr) throw r.error("CODE must not be 0");
         const int32_t nth = r.integerOption("nth", 1);
         if (nth < 1) throw r.error("nth= must be at least 1");
         return Plain([&s, suite, function, code, nth] {
           s.host().faults().failCall(suite, function, static_cast<uint64_t>(nth), code);
         });
       }},
  };
  return commands;
}

}  // namespace

ScriptRunner::ScriptRunner(Session& session, std::string fileName)
    : session_(session), fileName_(std::move(fileName)) {}

std::string ScriptRunner::place(int line) const { return fileName_ + ":" + std::to_string(line); }

ScriptRunner::Step ScriptRunner::parse(const ScriptLine& line) {
  LineReader reader(line, fileName_);
  Step step;
  if (reader.command() == "expect") {
    const std::string what =
        reader.choice("what to expect", {"alert", "no-alert", "result", "cursor", "objects"});
    if (what == "alert") {
      const std::string text = reader.text("the alert's text");
      step.act = [this, text] {
        bool shown = false;
        for (const std::string& alert : unchecked_) shown = shown || alert == text;
        if (!shown) {
          std::string seen;
          for (const std::string& alert : unchecked_) seen += (seen.empty() ? "" : ", ") + ("\"" + alert + "\"");
          throw CheckFailure("expected the alert \"" + text + "\", saw " +
                             (seen.empty() ? std::string("none") : seen));
        }
        unchecked_.clear();
        return kNoErr;
      };
    } else if (what == "no-alert") {
      step.act = [this] {
        if (!unchecked_.empty()) throw CheckFailure("expected no alert, saw \"" + unchecked_.front() + "\"");
        return kNoErr;
      };
    } else if (what == "result") {
      const int32_t code = reader.resultCode("CODE");
      step.expectsResult = true;
      step.act = [this, code] {
        if (lastResult_ != code) {
          throw CheckFailure("expected the result " + formatResultCode(code) + ", the last message answered " +
                             formatResultCode(lastResult_));
        }
        return kNoErr;
      };
    } else {
      const int32_t wanted = reader.integer(what == "cursor" ? "the cursor's id" : "the number of objects");
      const bool cursor = what == "cursor";
      step.act = [this, wanted, cursor] {
        if (cursor) {
          const std::optional<int> shown = session_.cursor();
          if (shown != wanted) {
            throw CheckFailure("expected the cursor " + std::to_string(wanted) + ", the cursor is " +
                               (shown ? std::to_string(*shown) : std::string("none")));
          }
        } else {
          const std::size_t count = session_.mirrortiles().size();
          if (count != static_cast<std::size_t>(wanted)) {
            throw CheckFailure("expected " + std::to_string(wanted) + " mirror-tile objects, found " +
                               std::to_string(count));
          }
        }
        return kNoErr;
      };
    }
  } else {
    const auto found = Commands().find(reader.command());
    if (found == Commands().end()) throw reader.error("unknown command");
    step = found->second(reader, session_);
  }
  reader.finish();
  step.line = line.number;
  return step;
}

void ScriptRunner::load(const std::string& text) {
  steps_.clear();
  for (const ScriptLine& line : splitScript(text, fileName_)) steps_.push_back(parse(line));
}

void ScriptRunner::noteAlerts() {
  for (const std::string& alert : session_.newAlerts()) {
    session_.machine().err << "alert: " << alert << "\n";
    unchecked_.push_back(alert);
  }
}

void ScriptRunner::run() {
  for (std::size_t i = 0; i < steps_.size(); ++i) {
    const Step& step = steps_[i];
    AIErr result = kNoErr;
    try {
      result = step.act();
    } catch (const UsageError& error) {
      noteAlerts();
      throw UsageError(place(step.line) + ": " + error.what());
    } catch (const CheckFailure& failure) {
      noteAlerts();
      throw CheckFailure(place(step.line) + ": " + failure.what());
    }
    noteAlerts();
    if (!step.sendsMessages) continue;
    lastResult_ = result;
    const bool expected = i + 1 < steps_.size() && steps_[i + 1].expectsResult;
    if (result != kNoErr && !expected) {
      throw CheckFailure(place(step.line) + ": the plug-in answered " + formatResultCode(result));
    }
  }
}

}  // namespace mirtilcli
