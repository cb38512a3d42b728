// The writer's plug-in objects: the result group, with the host's own
// elements holding the plugin group and version, the edit group and the
// dictionary's entries; in the seam-free copy, the result alone.
#include <map>
#include <type_traits>
#include <variant>

#include "MirrorCells.h"
#include "SvgWriter.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles::writing {

using hostcore::ArtCopy;
using namespace svg;

void Writer::writePlugin(const ArtCopy& art, const Scope& scope) {
  open("g");
  writeCommon(art, scope);
  if (seamOverlap_) {
    if (art.pluginGroups.size() >= 2) {
      ArtCopy result = art.pluginGroups[1];
      widenMirrorCells(result, *seamOverlap_, [this](const ArtCopy& child) { return isClipPath(child); });
      writeGroup(result, scope);
    }
    close();
    return;
  }
  open("mirtil:plugin");
  if (art.props.pluginGroup != hostcore::kNoIndex) {
    set("group", core_.pluginGroups()[art.props.pluginGroup].name);
    set("version", std::to_string(art.props.versionMajor) + "." + std::to_string(art.props.versionMinor));
  }
  if (!art.pluginGroups.empty()) {
    const ArtCopy& edit = art.pluginGroups[0];
    open("mirtil:edit");
    if (!scope.stored) set("id", edit.id);
    writeChildren(edit.children, scope);
    close();
  }
  // In the order of the keys' texts, which does not depend on the session.
  std::map<std::string, const hostcore::DictValue*> entries;
  for (const auto& [key, value] : art.dictionary) entries.emplace(core_.keyText(key), &value);
  for (const auto& [key, value] : entries) writeEntry(key, *value, art.id);
  close();
  if (art.pluginGroups.size() > 1) writeGroup(art.pluginGroups[1], scope);
  close();
}

void Writer::writeEntry(const std::string& key, const hostcore::DictValue& value, const std::string& owner) {
  open("mirtil:entry");
  set("key", key);
  std::visit(
      [&](const auto& v) {
        using V = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<V, int32_t>) {
          set("type", "integer");
          setText(std::to_string(v));
        } else if constexpr (std::is_same_v<V, bool>) {
          set("type", "boolean");
          setText(v ? "true" : "false");
        } else if constexpr (std::is_same_v<V, AIReal>) {
          set("type", "real");
          setText(formatReal(v));
        } else if constexpr (std::is_same_v<V, hostcore::ArrayValues>) {
          set("type", "array");
          for (const hostcore::ArrayEntry& item : v) {
            if (item.kind == hostcore::ArrayEntryKind::Integer) {
              open("mirtil:integer");
              setText(std::to_string(item.integer));
            } else if (item.kind == hostcore::ArrayEntryKind::Real) {
              open("mirtil:real");
              setText(formatReal(item.real));
            } else {
              open("mirtil:empty");
            }
            close();
          }
        } else {
          set("type", "art");
          if (v) writeArt(*v, Scope{true, owner});
        }
      },
      value);
  close();
}

}  // namespace hostfiles::writing
