// The reader's properties: what each element computes from its parent,
// its attributes, the style sheets and its style attribute; and the path
// styles of the document made from them.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "SvgReader.h"

namespace hostfiles::reading {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

namespace {

AIColor rgbColor(const Rgb& rgb) {
  AIColor color{};
  color.kind = kRGBColor;
  color.red = AIReal(rgb.r);
  color.green = AIReal(rgb.g);
  color.blue = AIReal(rgb.b);
  return color;
}

}  // namespace

// The element's properties: the inherited ones of its parent, then its
// presentation attributes, then the style sheets' rules that match it
// (the more specific later), then its style attribute.
Properties Reader::computed(const xmlNode* node, const Properties& parent) const {
  Properties props;
  for (const auto& [name, value] : parent)
    if (kInherited.count(name) != 0) props[name] = value;
  for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
    if (a->ns != nullptr) continue;
    const std::string name = reinterpret_cast<const char*>(a->name);
    std::string held;
    if (kInherited.count(name) != 0 || kOwnOnly.count(name) != 0)
      props[name] = std::string(trim(attributeText(node, name.c_str(), held).value_or("")));
  }
  const auto take = [&](const std::string& name, const std::string& value) {
    if (kInherited.count(name) != 0 || kOwnOnly.count(name) != 0) props[name] = value;
  };
  if (!styleRules_.empty()) {
    const std::string type = nodeName(node), classes = attribute(node, "class").value_or("");
    const std::string id = attribute(node, "id").value_or("");
    std::vector<const StyleRule*> matching;
    for (const StyleRule& rule : styleRules_)
      if (rule.matches(type, classes, id)) matching.push_back(&rule);
    std::stable_sort(matching.begin(), matching.end(),
                     [](const StyleRule* a, const StyleRule* b) { return a->specificity() < b->specificity(); });
    for (const StyleRule* rule : matching)
      for (const auto& [name, value] : rule->declarations) take(name, value);
  }
  if (const auto style = attribute(node, "style"))
    for (auto& [name, value] : parseStyleDeclarations(*style)) take(name, value);
  for (auto at = props.begin(); at != props.end();) {
    if (at->second != "inherit") {
      ++at;
      continue;
    }
    const auto inherited = parent.find(at->first);
    if (inherited == parent.end()) {
      at = props.erase(at);
    } else {
      at->second = inherited->second;
      ++at;
    }
  }
  return props;
}

const std::string& Reader::own(const Properties& props, const char* name) {
  static const std::string kUnset;
  const auto at = props.find(name);
  return at == props.end() ? kUnset : at->second;
}

uint32_t Reader::styleIndex(const AIPathStyle& style) {
  // Shapes side by side mostly share a style: the last one is kept at hand.
  // Equal bytes are an equal style; a style equal but for its padding is
  // merely looked up again.
  if (lastStyle_ && std::memcmp(&lastStyle_->first, &style, sizeof style) == 0) return lastStyle_->second;
  const AIPathStyleMap all{1, 1, 1, 1, 1, 1};
  AIArtStyleHandle handle;
  uint32_t index = hostcore::kNoIndex;
  hostcore::require(document_.newStyle(style, all, &handle), "newStyle");
  hostcore::require(document_.styleIndex(handle, &index), "styleIndex");
  lastStyle_.emplace(style, index);
  return index;
}

AIPathStyle Reader::pathStyle(const Properties& props, const Matrix& ctm, double opacity, bool clip) {
  AIPathStyle style = Document::clearedPathStyle();
  const auto paint = [&](const std::string& value, const char* fallback) -> std::optional<Rgb> {
    const std::string v = value.empty() ? fallback : value;
    if (v == "none") return std::nullopt;
    if (v == "currentColor") return parseColor(own(props, "color")).value_or(Rgb{});
    return parseColor(v).value_or(Rgb{});
  };
  const auto opacityOf = [&](const char* name) {
    return AIReal(std::clamp(numberOr(property(props, name), 1), 0.0, 1.0) * opacity);
  };
  if (const auto fill = paint(own(props, "fill"), "black")) {
    style.fillPaint = true;
    style.fill.color = rgbColor(*fill);
    style.fill.opacity = opacityOf("fill-opacity");
  }
  if (const auto stroke = paint(own(props, "stroke"), "none")) {
    style.strokePaint = true;
    style.stroke.color = rgbColor(*stroke);
    style.stroke.opacity = opacityOf("stroke-opacity");
    const double width = parseLength(own(props, "stroke-width")).value_or(1);
    style.stroke.width = AIReal(width * std::sqrt(std::fabs(ctm.a * ctm.d - ctm.b * ctm.c)));
  }
  style.evenOdd = own(props, clip ? "clip-rule" : "fill-rule") == "evenodd";
  style.clip = clip;
  return style;
}

}  // namespace hostfiles::reading
