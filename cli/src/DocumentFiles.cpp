#include "mirtilcli/DocumentFiles.h"

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
  Check(hostfiles::renderPng(session.machine().renderer, session.machine().files, session.host().core(), scale, path));
}

void dumpDocument(Session& session, const std::string& path) {
  WriteFile(session.machine(), path, hostfiles::dumpJson(session.host().core(), HostState(session)) + "\n");
}

void writeAnimation(Session& session, const std::string& path, std::optional<double> seconds) {
  WriteFile(session.machine(), path, recordAnimation(session, seconds));
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
  const std::vector<hostfiles::svg::Subpath> subpaths = hostfiles::svg::parsePathData(text, &error);
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
