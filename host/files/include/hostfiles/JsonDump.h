// The document as JSON, for scripts and tests to read: layers in the
// host's order (topmost first), each art with its id, type, attributes,
// children, geometry, style, and for plug-in art its group, version,
// dictionary, edit and result art. Reals read back as the same floats.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "hostcore/HostCore.h"

namespace hostfiles {

nlohmann::json documentJson(hostcore::HostCore& core);
// The document's fields with `extras`' fields beside them (an extra field
// of the same name wins), as indented text.
std::string dumpJson(hostcore::HostCore& core, const nlohmann::json& extras = nlohmann::json::object());

}  // namespace hostfiles
