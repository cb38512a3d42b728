// The reader's plug-in objects: the host's own elements give the
// object's plugin group and version, its edit group, its dictionary
// entries and its result.
#include <charconv>

#include "SvgReader.h"

namespace hostfiles::reading {

using hostcore::ArtCopy;
using hostcore::Document;
using namespace svg;

const xmlNode* Reader::pluginElement(const xmlNode* group) {
  for (const xmlNode* child = group->children; child != nullptr; child = child->next)
    if (isElement(child, kMirtilNamespace, "plugin")) return child;
  return nullptr;
}

bool Reader::hasPluginElement(const xmlNode* group) { return pluginElement(group) != nullptr; }

ArtCopy Reader::pluginArt(xmlNode* node, const Matrix& ctm, const Properties& props, double opacity) {
  const xmlNode* plugin = pluginElement(node);
  ArtCopy art;
  art.type = kPluginArt;
  art.id = idOf(node, IdSource::Document, "plugin");
  art.dirty = true;  // the plug-in regenerates its result
  if (const auto group = attribute(plugin, "group")) {
    art.props.pluginGroup = core_.documentPluginGroup(*group);
    const std::string version = attribute(plugin, "version").value_or("");
    const size_t dot = version.find('.');
    const auto major = dot == std::string::npos ? std::nullopt : integer(version.substr(0, dot));
    const auto minor = dot == std::string::npos ? std::nullopt : integer(version.substr(dot + 1));
    if (!major || !minor) fail(plugin, "bad plugin version \"" + version + "\"");
    art.props.versionMajor = *major;
    art.props.versionMinor = *minor;
  }
  ArtCopy edit, result;
  edit.type = result.type = kGroupArt;
  for (const xmlNode* child = plugin->children; child != nullptr; child = child->next) {
    if (isElement(child, kMirtilNamespace, "edit")) {
      edit.id = takenId(attribute(child, "id").value_or(""), "g");
      for (xmlNode* e = child->children; e != nullptr; e = e->next)
        if (auto c = convert(e, ctm, props, opacity, IdSource::Document))
          edit.children.insert(edit.children.begin(), std::move(*c));
    } else if (isElement(child, kMirtilNamespace, "entry")) {
      readEntry(child, art.dictionary);
    }
  }
  for (xmlNode* child = node->children; child != nullptr; child = child->next) {
    if (!isElement(child, kSvgNamespace, "g")) continue;
    if (auto group = convert(child, ctm, props, opacity, IdSource::Document)) {
      // A result group that is itself a plug-in object goes inside a plain
      // group: an object's result is always a group.
      if (group->type == kGroupArt)
        result = std::move(*group);
      else
        result.children.push_back(std::move(*group));
    }
    break;
  }
  if (edit.id.empty()) edit.id = freshId("g");
  if (result.id.empty()) result.id = freshId("g");
  art.pluginGroups.push_back(std::move(edit));
  art.pluginGroups.push_back(std::move(result));
  return art;
}

std::optional<int32_t> Reader::integer(std::string_view text) {
  text = trim(text);
  int32_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<float> Reader::real(std::string_view text) {
  text = trim(text);
  const std::optional<double> value = parseDecimal(text);
  if (!value) return std::nullopt;
  return float(*value);
}

void Reader::readEntry(const xmlNode* entry, hostcore::DictEntries& entries) {
  const std::string key = attribute(entry, "key").value_or("");
  const std::string type = attribute(entry, "type").value_or("");
  const std::string text = textContent(entry);
  uint32_t keyIndex = 0;
  if (key.empty() || core_.findKey(core_.key(key.c_str()), &keyIndex) != kNoErr)
    fail(entry, "dictionary entry without a key");
  const auto bad = [&]() { fail(entry, "bad " + type + " value in dictionary entry \"" + key + "\""); };
  if (type == "integer") {
    const auto value = integer(text);
    if (!value) bad();
    entries[keyIndex] = *value;
  } else if (type == "boolean") {
    if (trim(text) != "true" && trim(text) != "false") bad();
    entries[keyIndex] = trim(text) == "true";
  } else if (type == "real") {
    const auto value = real(text);
    if (!value) bad();
    entries[keyIndex] = AIReal(*value);
  } else if (type == "array") {
    hostcore::ArrayValues values;
    for (const xmlNode* item = entry->children; item != nullptr; item = item->next) {
      if (!inNamespace(item, kMirtilNamespace)) continue;
      hostcore::ArrayEntry value;
      const std::string kind = nodeName(item);
      if (kind == "integer") {
        const auto v = integer(textContent(item));
        if (!v) bad();
        value.kind = hostcore::ArrayEntryKind::Integer;
        value.integer = *v;
      } else if (kind == "real") {
        const auto v = real(textContent(item));
        if (!v) bad();
        value.kind = hostcore::ArrayEntryKind::Real;
        value.real = *v;
      } else if (kind != "empty") {
        bad();
      }
      values.push_back(value);
    }
    entries[keyIndex] = std::move(values);
  } else if (type == "art") {
    std::optional<ArtCopy> art;
    for (xmlNode* child = entry->children; child != nullptr && !art; child = child->next)
      art = convert(child, Matrix{}, {}, 1, IdSource::Stored);
    if (!art) bad();
    entries[keyIndex] = std::make_shared<const ArtCopy>(std::move(*art));
  } else {
    fail(entry, "unknown dictionary entry type \"" + type + "\"");
  }
}

}  // namespace hostfiles::reading
