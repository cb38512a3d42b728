#include "hostfiles/JsonDump.h"

#include <cmath>
#include <cstdlib>

#include "hostfiles/SvgSyntax.h"

namespace hostfiles {

namespace {

using hostcore::ArtCopy;
using nlohmann::json;

// The double whose shortest text is the float's shortest text, so the
// JSON shows 0.1 for 0.1f and reads back as the same float.
json real(AIReal value) {
  if (!std::isfinite(value)) return nullptr;
  return std::strtod(svg::formatReal(value).c_str(), nullptr);
}

json point(const AIRealPoint& p) { return json::array({real(p.h), real(p.v)}); }

const char* typeName(AIArtType type) {
  switch (type) {
    case kGroupArt:
      return "group";
    case kPathArt:
      return "path";
    case kCompoundPathArt:
      return "compound";
    case kPluginArt:
      return "plugin";
    case kPlacedArt:
      return "placed";
    case kRasterArt:
      return "raster";
    case kMeshArt:
      return "mesh";
    case kTextFrameArt:
      return "text";
    case kSymbolArt:
      return "symbol";
    case kForeignArt:
      return "foreign";
    default:
      return "unknown";
  }
}

class Dumper {
 public:
  explicit Dumper(hostcore::HostCore& core) : core_(core), document_(core.document()) {}

  json document() {
    json layers = json::array();
    for (const AIArtHandle group : document_.layerGroups()) {
      ArtCopy copy;
      hostcore::require(document_.copyArt(group, &copy), "copyArt");
      json art = json::array();
      for (const ArtCopy& child : copy.children) art.push_back(this->art(child));
      layers.push_back({{"id", copy.id},
                        {"name", copy.props.layer->title},
                        {"visible", copy.props.layer->visible},
                        {"editable", copy.props.layer->editable},
                        {"art", std::move(art)}});
    }
    return json{{"layers", std::move(layers)}};
  }

 private:
  json style(uint32_t index) const {
    if (index == hostcore::kNoIndex) return nullptr;
    AIPathStyle s;
    hostcore::require(document_.styleAttributes(document_.styleHandle(index), &s, nullptr), "styleAttributes");
    const auto color = [](const AIColor& c) -> json {
      if (c.kind == kRGBColor) return json::array({real(c.red), real(c.green), real(c.blue)});
      if (c.kind == kPaintServer) return json{{"paintServer", c.paintServer}};
      return nullptr;
    };
    json fill = nullptr, stroke = nullptr;
    if (s.fillPaint) fill = {{"color", color(s.fill.color)}, {"opacity", real(s.fill.opacity)}};
    if (s.strokePaint)
      stroke = {{"color", color(s.stroke.color)}, {"opacity", real(s.stroke.opacity)}, {"width", real(s.stroke.width)}};
    return {{"fill", fill}, {"stroke", stroke}, {"clip", s.clip != 0}, {"evenOdd", s.evenOdd != 0}};
  }

  json art(const ArtCopy& a) const {
    json j{{"id", a.id},
           {"type", typeName(a.type)},
           {"selected", (a.props.userAttr & kArtSelected) != 0},
           {"locked", (a.props.userAttr & kArtLocked) != 0},
           {"hidden", (a.props.userAttr & kArtHidden) != 0}};
    if (!a.props.name.empty()) j["name"] = a.props.name;
    json children = json::array();
    for (const ArtCopy& child : a.children) children.push_back(art(child));
    j["children"] = std::move(children);
    j["style"] = style(a.props.style);
    switch (a.type) {
      case kGroupArt:
        j["clipped"] = a.props.clipped;
        break;
      case kPathArt: {
        json segments = json::array();
        for (const AIPathSegment& s : a.path.segments)
          segments.push_back(
              {{"p", point(s.p)}, {"in", point(s.in)}, {"out", point(s.out)}, {"corner", s.corner != 0}});
        j["segments"] = std::move(segments);
        j["closed"] = a.path.closed;
        break;
      }
      case kPluginArt:
        j["plugin"] = plugin(a);
        break;
      case kCompoundPathArt:
        break;
      default: {
        const AIRealMatrix& m = a.props.leaf.matrix;
        j["matrix"] = json::array({real(m.a), real(m.b), real(m.c), real(m.d), real(m.tx), real(m.ty)});
        break;
      }
    }
    return j;
  }

  json plugin(const ArtCopy& a) const {
    json dictionary = json::object();
    for (const auto& [key, value] : a.dictionary) dictionary[core_.keyText(key)] = entry(value);
    json p{{"group", a.props.pluginGroup == hostcore::kNoIndex ? json(nullptr)
                                                               : json(core_.pluginGroups()[a.props.pluginGroup].name)},
           {"version", json::array({a.props.versionMajor, a.props.versionMinor})},
           {"dirty", a.dirty},
           {"dictionary", std::move(dictionary)}};
    p["edit"] = a.pluginGroups.size() > 0 ? art(a.pluginGroups[0]) : json(nullptr);
    p["result"] = a.pluginGroups.size() > 1 ? art(a.pluginGroups[1]) : json(nullptr);
    return p;
  }

  json entry(const hostcore::DictValue& value) const {
    return std::visit(
        [&](const auto& v) -> json {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, int32_t> || std::is_same_v<V, bool>) {
            return v;
          } else if constexpr (std::is_same_v<V, AIReal>) {
            return real(v);
          } else if constexpr (std::is_same_v<V, hostcore::ArrayValues>) {
            json items = json::array();
            for (const hostcore::ArrayEntry& item : v) {
              if (item.kind == hostcore::ArrayEntryKind::Integer)
                items.push_back(item.integer);
              else if (item.kind == hostcore::ArrayEntryKind::Real)
                items.push_back(real(item.real));
              else
                items.push_back(nullptr);
            }
            return items;
          } else {
            return v ? art(*v) : json(nullptr);
          }
        },
        value);
  }

  hostcore::HostCore& core_;
  hostcore::Document& document_;
};

}  // namespace

json documentJson(hostcore::HostCore& core) { return Dumper(core).document(); }

std::string dumpJson(hostcore::HostCore& core, const json& extras) {
  json all = documentJson(core);
  if (extras.is_object())
    for (const auto& [name, value] : extras.items()) all[name] = value;
  return all.dump(2);
}

}  // namespace hostfiles
