// Style text: the declarations of a style attribute, the rules of a
// style sheet with their simple selectors, and url(#id) references.
#include <algorithm>
#include <cctype>

#include "hostfiles/SvgSyntax.h"

namespace hostfiles::svg {

std::vector<std::pair<std::string, std::string>> parseStyleDeclarations(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> declarations;
  while (!text.empty()) {
    const size_t end = text.find(';');
    const std::string_view item = text.substr(0, end);
    const size_t colon = item.find(':');
    if (colon != std::string_view::npos) {
      std::string name(trim(item.substr(0, colon)));
      std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
      if (!name.empty()) declarations.emplace_back(name, std::string(trim(item.substr(colon + 1))));
    }
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return declarations;
}

namespace {

bool nameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || (c & 0x80); }

// One compound selector: [type|*](.class|#id)*; false for anything else.
bool readSelector(std::string_view text, StyleRule& rule) {
  size_t at = 0;
  const auto name = [&]() {
    const size_t start = at;
    while (at < text.size() && nameCharacter(text[at])) ++at;
    return std::string(text.substr(start, at - start));
  };
  if (at < text.size() && text[at] == '*') {
    ++at;
  } else {
    rule.type = name();
  }
  while (at < text.size()) {
    const char kind = text[at++];
    const std::string part = name();
    if (part.empty()) return false;
    if (kind == '.') {
      rule.classes.push_back(part);
    } else if (kind == '#' && rule.id.empty()) {
      rule.id = part;
    } else {
      return false;
    }
  }
  return !text.empty();
}

}  // namespace

bool StyleRule::matches(std::string_view elementType, std::string_view classList, std::string_view elementId) const {
  if (!type.empty() && type != elementType) return false;
  if (!id.empty() && id != elementId) return false;
  for (const std::string& wanted : classes) {
    bool found = false;
    for (size_t at = 0; at < classList.size() && !found;) {
      while (at < classList.size() && std::isspace(static_cast<unsigned char>(classList[at]))) ++at;
      size_t end = at;
      while (end < classList.size() && !std::isspace(static_cast<unsigned char>(classList[end]))) ++end;
      found = classList.substr(at, end - at) == wanted;
      at = end;
    }
    if (!found) return false;
  }
  return true;
}

std::vector<StyleRule> parseStyleSheet(std::string_view text) {
  std::string sheet;
  // Comments go first: they may hold braces.
  for (size_t at = 0; at < text.size();) {
    const size_t open = text.find("/*", at);
    sheet += text.substr(at, open == std::string_view::npos ? std::string_view::npos : open - at);
    if (open == std::string_view::npos) break;
    const size_t close = text.find("*/", open + 2);
    at = close == std::string_view::npos ? text.size() : close + 2;
  }
  std::vector<StyleRule> rules;
  std::string_view rest = sheet;
  while (!rest.empty()) {
    const size_t open = rest.find('{');
    if (open == std::string_view::npos) break;
    const std::string_view selectors = trim(rest.substr(0, open));
    // A block ends at the brace that balances its opening one (at-rules nest).
    size_t end = open + 1;
    for (int depth = 1; end < rest.size(); ++end) {
      depth += rest[end] == '{' ? 1 : rest[end] == '}' ? -1 : 0;
      if (depth == 0) break;
    }
    const std::string_view body = rest.substr(open + 1, end - open - 1);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!selectors.empty() && selectors.front() == '@') continue;
    auto declarations = parseStyleDeclarations(body);
    for (auto& [name, value] : declarations) {
      const size_t important = value.find("!important");
      if (important != std::string::npos) value = std::string(trim(value.substr(0, important)));
    }
    std::string_view list = selectors;
    while (!list.empty()) {
      const size_t comma = list.find(',');
      StyleRule rule;
      if (readSelector(trim(list.substr(0, comma)), rule)) {
        rule.declarations = declarations;
        rules.push_back(std::move(rule));
      }
      if (comma == std::string_view::npos) break;
      list.remove_prefix(comma + 1);
    }
  }
  return rules;
}

std::string urlReference(std::string_view text) {
  text = trim(text);
  if (text.substr(0, 4) != "url(") return {};
  const size_t close = text.find(')');
  if (close == std::string_view::npos) return {};
  std::string_view inner = trim(text.substr(4, close - 4));
  if (inner.size() >= 2 && (inner.front() == '"' || inner.front() == '\'')) inner = inner.substr(1, inner.size() - 2);
  if (inner.empty() || inner.front() != '#') return {};
  return std::string(inner.substr(1));
}

}  // namespace hostfiles::svg
