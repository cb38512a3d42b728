// The writer's elements written here, in the bytes the library's
// indented output would have: start tags with their attributes, text,
// end tags, and the text handed on in pieces. In the survey they only
// note the ids written and what the values refer to.
#include <cstring>

#include "SvgWriter.h"

namespace hostfiles::writing {

using namespace svg;

namespace {

// Text as the library escapes it; attribute values also escape quotes,
// tabs and line ends.
void appendEscaped(std::string& out, std::string_view text, bool attribute) {
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      default:
        out += c;
    }
  }
}

}  // namespace

void Writer::open(const char* name) {
  if (surveying_) return;
  enterContent();
  indent(text_, open_.size());
  text_.append("<").append(name);
  open_.push_back(OpenElement{name});
}

void Writer::set(const char* name, std::string_view value) {
  if (surveying_) {
    if (std::strcmp(name, "id") == 0) written_.emplace(value);
    forEachReference(std::strchr(name, ':') != nullptr ? std::strchr(name, ':') + 1 : name, value,
                     [this](const std::string& id) { references_.push_back(id); });
    return;
  }
  text_.append(" ").append(name).append("=\"");
  appendEscaped(text_, value, true);
  text_ += '"';
}

// An element with text holds it alone, unindented.
void Writer::setText(std::string_view text) {
  if (surveying_) return;
  OpenElement& element = open_.back();
  if (!element.text && !element.children) text_ += '>';
  element.text = true;
  appendEscaped(text_, text, false);
}

void Writer::close() {
  if (surveying_) return;
  const OpenElement element = open_.back();
  open_.pop_back();
  if (!element.children && !element.text) {
    text_ += "/>";
  } else {
    if (element.children) indent(text_, open_.size());
    text_.append("</").append(element.name).append(">");
  }
  text_ += '\n';
  if (text_.size() >= kPieceBytes) handOn();
}

// The start tag of the innermost open element ends before its first child.
void Writer::enterContent() {
  if (open_.empty() || open_.back().children) return;
  text_ += ">\n";
  open_.back().children = true;
}

void Writer::handOn() {
  if (!failed_ && !sink_(text_)) failed_ = true;
  text_.clear();
}

}  // namespace hostfiles::writing
