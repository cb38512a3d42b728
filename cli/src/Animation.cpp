#include "mirtilcli/Animation.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "MirtilNames.h"
#include "hostfiles/SvgDocument.h"
#include "mirtilcli/Script.h"

namespace mirtilcli {

namespace {

constexpr const char* kSvgNamespace = "http://www.w3.org/2000/svg";
constexpr const char* kXlinkNamespace = "http://www.w3.org/1999/xlink";
// The plug-in's defaults for preferences the host does not hold.
constexpr int32_t kDefaultSteps = 90;
constexpr int32_t kDefaultDelay = 5;
// The first step comes half a second after the command.
constexpr double kFirstStepSeconds = 0.5;

struct XmlDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDoc = std::unique_ptr<xmlDoc, XmlDocFree>;

std::string Text(const xmlChar* text) { return text ? reinterpret_cast<const char*>(text) : ""; }
const xmlChar* Xml(const std::string& text) { return reinterpret_cast<const xmlChar*>(text.c_str()); }

std::string Seconds(double value) {
  std::ostringstream out;
  out.precision(6);
  out << value;
  return out.str();
}

int32_t Preference(Session& session, const char* name, int32_t fallback) {
  int32_t value = fallback;
  session.host().preferences().get(kMirtilPrefsSection, name, value);
  return value;
}

// The tick at which the next timer message comes; none when no timer runs.
std::optional<int64_t> NextTimerTick(const hostapp::HostApplication& host) {
  std::optional<int64_t> next;
  for (const hostapp::TimerRecord& timer : host.timers()) {
    if (!timer.active) continue;
    const int64_t due = timer.periodStart + timer.period;
    if (!next || due < *next) next = due;
  }
  return next;
}

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size())) {
    text.replace(at, what.size(), with);
  }
  return text;
}

// Gives the frame's ids a prefix of their own, and points its references
// at them; keeps only what viewers draw (SVG elements, plain and xlink
// attributes).
void Prepare(xmlNode* node, const std::string& prefix) {
  for (xmlNode* child = node->children; child;) {
    xmlNode* next = child->next;
    const bool drawn = child->type != XML_ELEMENT_NODE ||
                       (child->ns && Text(child->ns->href) == kSvgNamespace);
    if (!drawn || child->type == XML_COMMENT_NODE) {
      xmlUnlinkNode(child);
      xmlFreeNode(child);
    } else if (child->type == XML_ELEMENT_NODE) {
      Prepare(child, prefix);
    }
    child = next;
  }
  if (node->type != XML_ELEMENT_NODE) return;
  for (xmlAttr* attribute = node->properties; attribute;) {
    xmlAttr* next = attribute->next;
    if (attribute->ns && Text(attribute->ns->href) != kXlinkNamespace) {
      xmlRemoveProp(attribute);
      attribute = next;
      continue;
    }
    xmlChar* raw = xmlNodeListGetString(node->doc, attribute->children, 1);
    const std::string value = Text(raw);
    xmlFree(raw);
    const std::string name = Text(attribute->name);
    std::string fixed = Replaced(value, "url(#", "url(#" + prefix);
    if (name == "id") fixed = prefix + value;
    if (name == "href" && !value.empty() && value[0] == '#') fixed = "#" + prefix + value.substr(1);
    if (fixed != value) xmlSetNsProp(node, attribute->ns, attribute->name, Xml(fixed));
    attribute = next;
  }
}

// Puts a node copied from a frame into the animation's namespaces, which
// its root declares once.
void Adopt(xmlNode* node, xmlNs* svg, xmlNs* xlink) {
  if (node->type != XML_ELEMENT_NODE) return;
  xmlFreeNsList(node->nsDef);
  node->nsDef = nullptr;
  node->ns = svg;
  for (xmlAttr* attribute = node->properties; attribute; attribute = attribute->next) {
    if (attribute->ns) attribute->ns = xlink;
  }
  for (xmlNode* child = node->children; child; child = child->next) Adopt(child, svg, xlink);
}

// Shows the frame from `from` to `to` of every `length` seconds.
void Animate(xmlNode* group, xmlNs* svg, double from, double to, double length) {
  std::string values;
  std::string keyTimes;
  const auto add = [&](const char* value, double at) {
    values += (values.empty() ? "" : ";") + std::string(value);
    keyTimes += (keyTimes.empty() ? "" : ";") + Seconds(at / length);
  };
  if (from > 0) add("none", 0);
  add("inline", from);
  if (to < length) add("none", to);
  xmlNode* animate = xmlNewChild(group, svg, Xml("animate"), nullptr);
  xmlNewProp(animate, Xml("attributeName"), Xml("display"));
  xmlNewProp(animate, Xml("values"), Xml(values));
  xmlNewProp(animate, Xml("keyTimes"), Xml(keyTimes));
  xmlNewProp(animate, Xml("dur"), Xml(Seconds(length) + "s"));
  xmlNewProp(animate, Xml("calcMode"), Xml("discrete"));
  xmlNewProp(animate, Xml("repeatCount"), Xml("indefinite"));
}

}  // namespace

Recording recordFrames(Session& session, std::optional<double> seconds,
                       const std::function<void(std::size_t)>& recorded) {
  hostapp::HostApplication& host = session.host();
  Recording recording;
  recording.length = seconds.value_or(kFirstStepSeconds + (Preference(session, kMirtilStepsPref, kDefaultSteps) - 1) *
                                                               Preference(session, kMirtilDelayPref, kDefaultDelay) / 10.0);
  const int64_t start = host.clock();
  const int64_t end = start + static_cast<int64_t>(std::llround(recording.length * kTicksPerSecond));
  if (const AIErr chosen = session.chooseMenu(kRotateCommandText)) {
    throw CheckFailure(std::string("\"") + kRotateCommandText + "\": the plug-in answered " + formatResultCode(chosen));
  }
  for (;;) {
    recording.frames.push_back({hostfiles::writeSvg(host.core()), (host.clock() - start) / kTicksPerSecond});
    if (recorded) recorded(recording.frames.size() - 1);
    const std::optional<int64_t> next = NextTimerTick(host);
    if (!next || *next >= end) break;
    if (const AIErr stepped = host.advanceClock(*next - host.clock())) {
      throw CheckFailure("a step of the animation: the plug-in answered " + formatResultCode(stepped));
    }
  }
  return recording;
}

std::string composeAnimation(const Recording& recording) {
  XmlDoc out(xmlNewDoc(Xml("1.0")));
  xmlNode* root = xmlNewNode(nullptr, Xml("svg"));
  xmlDocSetRootElement(out.get(), root);
  xmlNs* svg = xmlNewNs(root, Xml(kSvgNamespace), nullptr);
  xmlSetNs(root, svg);
  xmlNs* xlink = xmlNewNs(root, Xml(kXlinkNamespace), Xml("xlink"));

  for (std::size_t i = 0; i < recording.frames.size(); ++i) {
    const Frame& frame = recording.frames[i];
    XmlDoc parsed(xmlReadMemory(frame.svg.data(), static_cast<int>(frame.svg.size()), "frame.svg", nullptr,
                                XML_PARSE_NONET));
    xmlNode* frameRoot = parsed ? xmlDocGetRootElement(parsed.get()) : nullptr;
    if (!frameRoot) throw UsageError("frame " + std::to_string(i) + " of the animation is not SVG");
    if (i == 0) {
      for (const char* size : {"width", "height", "viewBox"}) {
        xmlChar* value = xmlGetProp(frameRoot, Xml(size));
        if (value) xmlNewProp(root, Xml(size), value);
        xmlFree(value);
      }
    }
    const std::string prefix = "frame" + std::to_string(i) + "-";
    Prepare(frameRoot, prefix);
    xmlNode* group = xmlNewChild(root, svg, Xml("g"), nullptr);
    xmlNewProp(group, Xml("id"), Xml("frame" + std::to_string(i)));
    const double until = i + 1 < recording.frames.size() ? recording.frames[i + 1].start : recording.length;
    // The first frame shows without the animation: a viewer that draws
    // only the still picture draws it.
    xmlNewProp(group, Xml("display"), Xml(i == 0 ? "inline" : "none"));
    if (recording.frames.size() > 1) Animate(group, svg, frame.start, until, recording.length);
    for (xmlNode* child = frameRoot->children; child;) {
      xmlNode* next = child->next;
      xmlNode* copy = xmlDocCopyNode(child, out.get(), 1);
      Adopt(copy, svg, xlink);
      xmlAddChild(group, copy);
      child = next;
    }
  }
  xmlChar* text = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(out.get(), &text, &size, "UTF-8");
  std::string result(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
  xmlFree(text);
  return result;
}

std::string recordAnimation(Session& session, std::optional<double> seconds) {
  return composeAnimation(recordFrames(session, seconds, {}));
}

}  // namespace mirtilcli
