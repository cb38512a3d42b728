#include "mirtilcli/DocumentFiles.h"

#include <libxml/parser.h>

#include <cmath>

#include "hostfiles/SvgSyntax.h"
#include "hostfiles/JsonDump.h"
#include "hostfiles/SvgDocument.h"
#include "mirtilcli/Animation.h"
#include "mirtilcli/Script.h"

namespace mirtilcli {

namespace {

void Check(const hostfiles::Outcome& outcome) {
  if (!outcome) throw UsageError(outcome.error);
}

void WriteFile(Machine& machine, const std::string& path, const std::string& data) {
  std::string error;
  if (!hostfiles::writeFileAtomically(machine.files, path, data, &error)) {
    throw UsageError(path + ": cannot be written: " + error);
  }
}

nlohmann::json HostState(Session& session) {
  hostapp::HostApplication& host = session.host();
  nlohmann::json menus = nlohmann::json::array();
  for (std::size_t i = 0; i < host.menuItems().size(); ++i) {
    const hostapp::MenuItemRecord& item = host.menuItems()[i];
    menus.push_back({{"name", item.name},
                     {"text", item.text},
                     {"checked", item.checked},
                     {"enabled", host.menuItemEnabled(host.menuItemHandle(i))}});
  }
  nlohmann::json timers = nlohmann::json::array();
  for (const hostapp::TimerRecord& timer : host.timers()) {
    timers.push_back({{"name", timer.name}, {"period", timer.period}, {"active", timer.active}});
  }
  nlohmann::json preferences = nlohmann::json::object();
  for (const auto& entry : host.preferences().values()) preferences[entry.first.first][entry.first.second] = entry.second;
  const std::optional<int> cursor = session.cursor();
  return {{"menus", menus},
          {"timers", timers},
          {"preferences", preferences},
          {"alerts", host.alerts()},
          {"cursor", cursor ? nlohmann::json(*cursor) : nlohmann::json(nullptr)}};
}

}  // namespace

std::string readFile(Machine& machine, const std::string& path) {
  std::string data;
  std::string error;
  if (!machine.files.read(path, &data, &error)) throw UsageError(path + ": cannot be read: " + error);
  return data;
}

void makeFolder(Machine& machine, const std::string& path) {
  std::string error;
  if (!machine.makeFolders(path, &error)) throw UsageError(path + ": cannot make the folder: " + error);
}

void openDocument(Session& session, const std::string& path) {
  Progress progress(session.machine(), "opening " + path);
  progress.show("");
  Check(hostfiles::openSvg(session.host().core(), session.machine().files, path));
  session.documentOpened();
}

void saveDocument(Session& session, const std::string& path) {
  Check(hostfiles::saveSvg(session.host().core(), session.machine().files, path));
}

void exportSeamFree(Session& session, const std::string& path) {
  Check(hostfiles::exportSeamFreeSvg(session.host().core(), session.machine().files, path));
}

void renderDocument(Session& session, const std::string& path, double scale) {
  Progress progress(session.machine(), "drawing " + path);
  progress.show("");
  Check(hostfiles::renderPng(session.machine().renderer, session.machine().files, session.host().core(), scale, path));
}

Page documentPage(Session& session) {
  const std::string text = hostfiles::writeSvg(session.host().core());
  Page page;
  xmlDoc* xml = xmlReadMemory(text.data(), static_cast<int>(text.size()), "page.svg", nullptr,
                              XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const xmlNode* root = xml ? xmlDocGetRootElement(xml) : nullptr;
  const auto attribute = [&](const char* name) {
    xmlChar* value = root ? xmlGetProp(root, reinterpret_cast<const xmlChar*>(name)) : nullptr;
    std::string result = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return result;
  };
  page.width = attribute("width");
  page.height = attribute("height");
  page.viewBox = attribute("viewBox");
  if (xml) xmlFreeDoc(xml);
  page.pixelsWide = hostfiles::svg::parseLength(page.width).value_or(0);
  page.pixelsHigh = hostfiles::svg::parseLength(page.height).value_or(0);
  return page;
}

void dumpDocument(Session& session, const std::string& path) {
  WriteFile(session.machine(), path, hostfiles::dumpJson(session.host().core(), HostState(session)) + "\n");
}

std::size_t writeAnimation(Session& session, const AnimationFiles& files, std::optional<double> seconds) {
  Machine& machine = session.machine();
  Progress progress(machine, "animating");
  const Recording recording =
      recordFrames(session, seconds, [&](std::size_t frame) { progress.show("frame " + std::to_string(frame + 1)); });
  WriteFile(machine, files.svg, composeAnimation(recording));
  if (!files.framesFolder.empty()) makeFolder(machine, files.framesFolder);
  std::vector<std::string> pictures;
  std::vector<int> centiseconds;
  for (std::size_t i = 0; i < recording.frames.size() && (!files.framesFolder.empty() || !files.gif.empty()); ++i) {
    const Frame& frame = recording.frames[i];
    progress.show("picture " + std::to_string(i + 1) + " of " + std::to_string(recording.frames.size()));
    std::string png, error;
    if (!machine.renderer.renderPng(frame.svg, files.scale, &png, &error)) {
      throw UsageError("frame " + std::to_string(i) + " of the animation: " + error);
    }
    if (!files.framesFolder.empty()) {
      std::string name = std::to_string(i);
      name.insert(0, name.size() < 4 ? 4 - name.size() : 0, '0');
      WriteFile(machine, files.framesFolder + "/frame-" + name + ".png", png);
    }
    const double until = i + 1 < recording.frames.size() ? recording.frames[i + 1].start : recording.length;
    pictures.push_back(std::move(png));
    centiseconds.push_back(static_cast<int>(std::lround((until - frame.start) * 100)));
  }
  if (!files.gif.empty()) {
    std::string gif, error;
    if (!machine.renderer.animatedGif(pictures, centiseconds, &gif, &error)) throw UsageError(files.gif + ": " + error);
    WriteFile(machine, files.gif, gif);
  }
  return recording.frames.size();
}

bool parseColor(const std::string& text, AIColor& color) {
  if (text == "none") {
    color = AIColor{kNoColor, 0, 0, 0, 0};
    return true;
  }
  const std::optional<hostfiles::svg::Rgb> rgb = hostfiles::svg::parseColor(text);
  if (!rgb) return false;
  color = AIColor{kRGBColor, static_cast<AIReal>(rgb->r), static_cast<AIReal>(rgb->g), static_cast<AIReal>(rgb->b), 0};
  return true;
}

namespace {

PathData HostPath(const hostfiles::svg::Subpath& subpath) {
  const auto host = [](hostfiles::svg::Point p) { return toHost(Point{p.x, p.y}); };
  PathData path;
  for (const hostfiles::svg::Anchor& anchor : subpath.anchors) {
    AIPathSegment segment{host(anchor.p), host(anchor.in), host(anchor.out), false};
    // An anchor with a handle on it has a corner there.
    segment.corner = (segment.in.h == segment.p.h && segment.in.v == segment.p.v) ||
                     (segment.out.h == segment.p.h && segment.out.v == segment.p.v);
    path.segments.push_back(segment);
  }
  path.closed = subpath.closed;
  return path;
}

}  // namespace

bool parsePathData(const std::string& text, PathData& path, std::string& problem) {
  bool error = false;
  std::vector<hostfiles::svg::Subpath> subpaths;
  hostfiles::svg::parsePathData(text, subpaths, &error);
  if (error) {
    problem = "not SVG path data";
    return false;
  }
  if (subpaths.size() != 1 || subpaths[0].anchors.size() < 2) {
    problem = "give one subpath of at least two points";
    return false;
  }
  path = HostPath(subpaths[0]);
  return true;
}

PathData rectanglePath(Point corner, double width, double height) {
  return HostPath(hostfiles::svg::rectangle(corner.x, corner.y, width, height, 0, 0).at(0));
}

PathData circlePath(Point centre, double radius) {
  return HostPath(hostfiles::svg::ellipse(centre.x, centre.y, radius, radius).at(0));
}

}  // namespace mirtilcli
