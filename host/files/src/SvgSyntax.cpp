#include "hostfiles/SvgSyntax.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace hostfiles::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Control-point distance of a quarter-circle cubic, as a fraction of the radius.
constexpr double kKappa = 0.55228474983079339840;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// A cursor over attribute text with the number syntax SVG uses (also
// "nan" and "inf", which the host's own files may hold).
class Scanner {
 public:
  explicit Scanner(std::string_view text) : at_(text.data()), end_(text.data() + text.size()) {}

  void skipSpace() {
    while (at_ < end_ && isSpace(*at_)) ++at_;
  }
  void skipSeparator() {
    skipSpace();
    if (at_ < end_ && *at_ == ',') ++at_;
    skipSpace();
  }
  bool atEnd() {
    skipSpace();
    return at_ >= end_;
  }
  char peek() const { return at_ < end_ ? *at_ : '\0'; }
  void advance() { ++at_; }
  bool startsNumber() {
    skipSpace();
    const char c = peek();
    return isDigit(c) || c == '-' || c == '+' || c == '.' || c == 'n' || c == 'i';
  }

  std::optional<double> number() {
    skipSpace();
    // from_chars takes no leading '+'.
    const bool plus = at_ < end_ && *at_ == '+';
    const char* start = at_ + (plus ? 1 : 0);
    const char* body = start < end_ && *start == '-' ? start + 1 : start;
    if (plus && body != start) return std::nullopt;
    const char first = body < end_ ? *body : '\0';
    // Of the words only "nan" and "inf", and not what may follow them.
    const bool word = first == 'n' || first == 'i';
    if (word && !(end_ - body >= 3 && (std::string_view(body, 3) == "nan" || std::string_view(body, 3) == "inf")))
      return std::nullopt;
    if (!word && !isDigit(first) && first != '.') return std::nullopt;
#if defined(__cpp_lib_to_chars)
    // Digits, a point, more digits and an exponent with digits, as SVG has them.
    double value = 0;
    const auto result = std::from_chars(start, word ? body + 3 : end_, value);
    if (result.ec != std::errc()) return std::nullopt;
    at_ = result.ptr;
    return value;
#else
    const char* end = body + (word ? 3 : 0);
    if (!word) {
      while (end < end_ && isDigit(*end)) ++end;
      if (end < end_ && *end == '.') ++end;
      while (end < end_ && isDigit(*end)) ++end;
      if (end - body == 1 && first == '.') return std::nullopt;
      if (end < end_ && (*end == 'e' || *end == 'E')) {
        const char* exponent = end + 1;
        if (exponent < end_ && (*exponent == '-' || *exponent == '+')) ++exponent;
        const char* exponentEnd = exponent;
        while (exponentEnd < end_ && isDigit(*exponentEnd)) ++exponentEnd;
        if (exponentEnd > exponent) end = exponentEnd;  // "1em" keeps its unit
      }
    }
    const std::optional<double> value = parseDecimal(std::string_view(start, size_t(end - start)));
    if (value) at_ = end;
    return value;
#endif
  }

  // An arc flag: a single '0' or '1', which may run into the next number.
  std::optional<bool> flag() {
    skipSpace();
    const char c = peek();
    if (c != '0' && c != '1') return std::nullopt;
    ++at_;
    return c == '1';
  }

  std::string_view rest() const { return std::string_view(at_, size_t(end_ - at_)); }

 private:
  static bool isDigit(char c) { return c >= '0' && c <= '9'; }

  const char* at_;
  const char* end_;
};

bool isCommand(char c) { return c != '\0' && std::strchr("MmLlHhVvCcSsQqTtAaZz", c) != nullptr; }

Point lerp(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// Builds subpaths command by command.
class PathBuilder {
 public:
  void moveTo(Point p) {
    paths_.push_back(Subpath{{Anchor{p, p, p}}, false});
    start_ = p;
  }
  void lineTo(Point p) {
    ensureOpen();
    paths_.back().anchors.push_back(Anchor{p, p, p});
  }
  void curveTo(Point c1, Point c2, Point p) {
    ensureOpen();
    paths_.back().anchors.back().out = c1;
    paths_.back().anchors.push_back(Anchor{p, c2, p});
  }
  void close() {
    if (!open_()) return;
    Subpath& s = paths_.back();
    // A closing segment drawn back to the start merges into the first anchor.
    if (s.anchors.size() > 1 && s.anchors.back().p.x == s.anchors.front().p.x &&
        s.anchors.back().p.y == s.anchors.front().p.y) {
      s.anchors.front().in = s.anchors.back().in;
      s.anchors.pop_back();
    }
    s.closed = true;
  }
  // After a close, drawing goes on from the closed subpath's start.
  Point current() const {
    if (paths_.empty()) return Point{};
    return paths_.back().closed ? start_ : paths_.back().anchors.back().p;
  }
  std::vector<Subpath> take() { return std::move(paths_); }

 private:
  bool open_() const { return !paths_.empty() && !paths_.back().closed; }
  // Drawing after a close starts a new subpath at the closed one's start.
  void ensureOpen() {
    if (!open_()) {
      const Point at = start_;
      paths_.push_back(Subpath{{Anchor{at, at, at}}, false});
    }
  }
  std::vector<Subpath> paths_;
  Point start_;
};

// The elliptical arc from the current point, as cubic pieces of at most a quarter turn.
void arcTo(PathBuilder& path, double rx, double ry, double rotationDeg, bool largeArc, bool sweep, Point to) {
  const Point from = path.current();
  if (from.x == to.x && from.y == to.y) return;
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  if (rx == 0 || ry == 0) {
    path.lineTo(to);
    return;
  }
  const double phi = rotationDeg * kPi / 180;
  const double cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const double dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
  const double x1 = cosPhi * dx + sinPhi * dy;
  const double y1 = -sinPhi * dx + cosPhi * dy;
  const double lambda = (x1 * x1) / (rx * rx) + (y1 * y1) / (ry * ry);
  if (lambda > 1) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }
  const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
  const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
  double factor = std::sqrt(std::max(0.0, num / den));
  if (largeArc == sweep) factor = -factor;
  const double cx1 = factor * rx * y1 / ry;
  const double cy1 = -factor * ry * x1 / rx;
  const double cx = cosPhi * cx1 - sinPhi * cy1 + (from.x + to.x) / 2;
  const double cy = sinPhi * cx1 + cosPhi * cy1 + (from.y + to.y) / 2;
  const auto angle = [](double ux, double uy, double vx, double vy) {
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
  };
  const double theta1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
  double delta = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
  // A radius or angle that is not a number leaves no ellipse to follow:
  // the straight line, as for radius 0.
  if (!std::isfinite(theta1) || !std::isfinite(delta)) {
    path.lineTo(to);
    return;
  }
  if (!sweep && delta > 0) delta -= 2 * kPi;
  if (sweep && delta < 0) delta += 2 * kPi;
  const int pieces = std::max(1, int(std::ceil(std::fabs(delta) / (kPi / 2) - 1e-9)));
  const double step = delta / pieces;
  const double handle = 4.0 / 3.0 * std::tan(step / 4);
  const auto onEllipse = [&](double t) {
    const double x = rx * std::cos(t), y = ry * std::sin(t);
    return Point{cosPhi * x - sinPhi * y + cx, sinPhi * x + cosPhi * y + cy};
  };
  const auto derivative = [&](double t) {
    const double x = -rx * std::sin(t), y = ry * std::cos(t);
    return Point{cosPhi * x - sinPhi * y, sinPhi * x + cosPhi * y};
  };
  double t = theta1;
  for (int i = 0; i < pieces; ++i) {
    const double t2 = t + step;
    const Point p1 = onEllipse(t), p2 = i + 1 == pieces ? to : onEllipse(t2);
    const Point d1 = derivative(t), d2 = derivative(t2);
    path.curveTo({p1.x + handle * d1.x, p1.y + handle * d1.y}, {p2.x - handle * d2.x, p2.y - handle * d2.y}, p2);
    t = t2;
  }
}

}  // namespace

Matrix Matrix::after(const Matrix& inner) const {
  Matrix r;
  r.a = a * inner.a + c * inner.b;
  r.b = b * inner.a + d * inner.b;
  r.c = a * inner.c + c * inner.d;
  r.d = b * inner.c + d * inner.d;
  r.e = a * inner.e + c * inner.f + e;
  r.f = b * inner.e + d * inner.f + f;
  return r;
}

std::string_view trim(std::string_view text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<double> parseDecimal(std::string_view text) {
  double value = 0;
#if defined(__cpp_lib_to_chars)
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
#else
  // A standard library without floating-point from_chars (the browser
  // build's): strtod in the only locale there is, "C", held to the same
  // grammar: no leading blank or '+', no hexadecimal.
  if (text.empty() || text[0] == '+' || std::isspace(static_cast<unsigned char>(text[0])) ||
      text.find_first_of("xX") != std::string_view::npos)
    return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  errno = 0;
  value = std::strtod(copy.c_str(), &end);
  if (errno == ERANGE || end != copy.c_str() + copy.size()) return std::nullopt;
#endif
  return value;
}

std::optional<std::vector<double>> parseNumberList(std::string_view text) {
  Scanner scan(text);
  std::vector<double> values;
  while (!scan.atEnd()) {
    const auto value = scan.number();
    if (!value) return std::nullopt;
    values.push_back(*value);
    scan.skipSeparator();
  }
  return values;
}

std::optional<double> parseLength(std::string_view text) {
  Scanner scan(text);
  const auto value = scan.number();
  if (!value) return std::nullopt;
  const std::string_view unit = trim(scan.rest());
  static const std::pair<std::string_view, double> units[] = {
      {"", 1}, {"px", 1}, {"pt", 96.0 / 72}, {"pc", 16}, {"mm", 96 / 25.4}, {"cm", 96 / 2.54}, {"in", 96}};
  for (const auto& [name, scale] : units)
    if (unit == name) return *value * scale;
  return std::nullopt;
}

std::vector<Subpath> parsePathData(std::string_view text, bool* error) {
  PathBuilder path;
  Scanner scan(text);
  char command = '\0';
  Point lastControl;  // reflected by S and T
  char lastCommand = '\0';
  bool failed = false;
  const auto need = [&](int count, double* out) {
    for (int i = 0; i < count; ++i) {
      if (i > 0) scan.skipSeparator();
      const auto value = scan.number();
      if (!value) return false;
      out[i] = *value;
    }
    scan.skipSeparator();
    return true;
  };
  while (!scan.atEnd()) {
    const char c = scan.peek();
    if (isCommand(c)) {
      command = c;
      scan.advance();
    } else if (!scan.startsNumber() || command == '\0' || command == 'Z' || command == 'z') {
      failed = true;
      break;
    }
    const bool relative = command >= 'a' && command <= 'z';
    const char upper = char(relative ? command - 32 : command);
    const Point at = path.current();
    const auto abs = [&](double x, double y) { return relative ? Point{at.x + x, at.y + y} : Point{x, y}; };
    double v[7];
    bool ok = true;
    switch (upper) {
      case 'Z':
        path.close();
        scan.skipSeparator();
        break;
      case 'M':
        if ((ok = need(2, v))) {
          path.moveTo(abs(v[0], v[1]));
          command = relative ? 'l' : 'L';  // further pairs are lines
        }
        break;
      case 'L':
        if ((ok = need(2, v))) path.lineTo(abs(v[0], v[1]));
        break;
      case 'H':
        if ((ok = need(1, v))) path.lineTo({relative ? at.x + v[0] : v[0], at.y});
        break;
      case 'V':
        if ((ok = need(1, v))) path.lineTo({at.x, relative ? at.y + v[0] : v[0]});
        break;
      case 'C':
        if ((ok = need(6, v))) {
          lastControl = abs(v[2], v[3]);
          path.curveTo(abs(v[0], v[1]), lastControl, abs(v[4], v[5]));
        }
        break;
      case 'S':
        if ((ok = need(4, v))) {
          const Point c1 = (lastCommand == 'C' || lastCommand == 'S')
                               ? Point{2 * at.x - lastControl.x, 2 * at.y - lastControl.y}
                               : at;
          lastControl = abs(v[0], v[1]);
          path.curveTo(c1, lastControl, abs(v[2], v[3]));
        }
        break;
      case 'Q':
      case 'T':
        if ((ok = need(upper == 'Q' ? 4 : 2, v))) {
          Point q, end;
          if (upper == 'Q') {
            q = abs(v[0], v[1]);
            end = abs(v[2], v[3]);
          } else {
            q = (lastCommand == 'Q' || lastCommand == 'T') ? Point{2 * at.x - lastControl.x, 2 * at.y - lastControl.y}
                                                           : at;
            end = abs(v[0], v[1]);
          }
          lastControl = q;
          path.curveTo(lerp(at, q, 2.0 / 3), lerp(end, q, 2.0 / 3), end);
        }
        break;
      case 'A': {
        double r[3];
        std::optional<bool> large, sweep;
        ok = need(3, r) && (large = scan.flag()).has_value();
        if (ok) {
          scan.skipSeparator();
          ok = (sweep = scan.flag()).has_value();
        }
        if (ok) {
          scan.skipSeparator();
          ok = need(2, v);
        }
        if (ok) arcTo(path, r[0], r[1], r[2], *large, *sweep, abs(v[0], v[1]));
        break;
      }
    }
    if (!ok) {
      failed = true;
      break;
    }
    lastCommand = upper;
  }
  if (error != nullptr) *error = failed;
  return path.take();
}

std::optional<Matrix> parseTransform(std::string_view text) {
  Matrix total;
  Scanner scan(text);
  while (!scan.atEnd()) {
    const std::string_view rest = scan.rest();
    const size_t open = rest.find('(');
    const size_t close = rest.find(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open) return std::nullopt;
    const std::string_view name = trim(rest.substr(0, open));
    const auto args = parseNumberList(rest.substr(open + 1, close - open - 1));
    if (!args) return std::nullopt;
    const std::vector<double>& a = *args;
    Matrix m;
    if (name == "matrix" && a.size() == 6) {
      m = Matrix{a[0], a[1], a[2], a[3], a[4], a[5]};
    } else if (name == "translate" && (a.size() == 1 || a.size() == 2)) {
      m.e = a[0];
      m.f = a.size() == 2 ? a[1] : 0;
    } else if (name == "scale" && (a.size() == 1 || a.size() == 2)) {
      m.a = a[0];
      m.d = a.size() == 2 ? a[1] : a[0];
    } else if (name == "rotate" && (a.size() == 1 || a.size() == 3)) {
      const double t = a[0] * kPi / 180;
      const Matrix turn{std::cos(t), std::sin(t), -std::sin(t), std::cos(t), 0, 0};
      if (a.size() == 3)
        m = Matrix{1, 0, 0, 1, a[1], a[2]}.after(turn.after(Matrix{1, 0, 0, 1, -a[1], -a[2]}));
      else
        m = turn;
    } else if (name == "skewX" && a.size() == 1) {
      m.c = std::tan(a[0] * kPi / 180);
    } else if (name == "skewY" && a.size() == 1) {
      m.b = std::tan(a[0] * kPi / 180);
    } else {
      return std::nullopt;
    }
    total = total.after(m);
    for (size_t i = 0; i <= close; ++i) scan.advance();
    scan.skipSeparator();
  }
  return total;
}

std::optional<Rgb> parseColor(std::string_view text) {
  text = trim(text);
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (!text.empty() && text[0] == '#') {
    int digits[6];
    const size_t n = text.size() - 1;
    if (n != 3 && n != 6) return std::nullopt;
    for (size_t i = 0; i < n; ++i)
      if ((digits[i] = hex(text[i + 1])) < 0) return std::nullopt;
    if (n == 3) return Rgb{digits[0] * 17 / 255.0, digits[1] * 17 / 255.0, digits[2] * 17 / 255.0};
    return Rgb{(digits[0] * 16 + digits[1]) / 255.0, (digits[2] * 16 + digits[3]) / 255.0,
               (digits[4] * 16 + digits[5]) / 255.0};
  }
  if (text.substr(0, 4) == "rgb(" && text.back() == ')') {
    std::string inner(text.substr(4, text.size() - 5));
    const bool percent = inner.find('%') != std::string::npos;
    inner.erase(std::remove(inner.begin(), inner.end(), '%'), inner.end());
    const auto values = parseNumberList(inner);
    if (!values || values->size() != 3) return std::nullopt;
    const double scale = percent ? 100.0 : 255.0;
    const auto channel = [&](double v) { return std::clamp(v / scale, 0.0, 1.0); };
    return Rgb{channel((*values)[0]), channel((*values)[1]), channel((*values)[2])};
  }
  static const std::map<std::string_view, uint32_t> names = {
      {"black", 0x000000},  {"silver", 0xc0c0c0}, {"gray", 0x808080},   {"grey", 0x808080},    {"white", 0xffffff},
      {"maroon", 0x800000}, {"red", 0xff0000},    {"purple", 0x800080}, {"fuchsia", 0xff00ff}, {"magenta", 0xff00ff},
      {"green", 0x008000},  {"lime", 0x00ff00},   {"olive", 0x808000},  {"yellow", 0xffff00},  {"navy", 0x000080},
      {"blue", 0x0000ff},   {"teal", 0x008080},   {"aqua", 0x00ffff},   {"cyan", 0x00ffff},    {"orange", 0xffa500}};
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  const auto at = names.find(lower);
  if (at == names.end()) return std::nullopt;
  return Rgb{((at->second >> 16) & 0xff) / 255.0, ((at->second >> 8) & 0xff) / 255.0, (at->second & 0xff) / 255.0};
}

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

namespace {

// The shortest scientific digits that read back as the value: printf
// rounds correctly, so the first precision that reads back is the
// shortest, and its digits the nearest of that length; every longer
// precision reads back too, so the first is found by halving.
template <typename Real>
std::string shortest(Real value, int maxDigits, Real (*read)(const char*, char**)) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  char buffer[64];
  const auto readsBack = [&](int digits) {
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, double(value));
    return read(buffer, nullptr) == value;
  };
  int low = 1;
  int high = maxDigits;
  while (low < high) {
    const int middle = (low + high) / 2;
    if (readsBack(middle))
      high = middle;
    else
      low = middle + 1;
  }
  readsBack(low);
  // buffer: [-]d[.ddd]e±XX
  std::string text(buffer);
  const bool negative = text[0] == '-';
  const size_t e = text.find('e');
  std::string mantissa = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string digitsOnly;
  for (char c : mantissa)
    if (c != '.') digitsOnly += c;
  while (digitsOnly.size() > 1 && digitsOnly.back() == '0') digitsOnly.pop_back();
  const int count = int(digitsOnly.size());

  std::string scientific = digitsOnly.substr(0, 1);
  if (count > 1) scientific += "." + digitsOnly.substr(1);
  char exponentText[16];
  std::snprintf(exponentText, sizeof exponentText, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  scientific += exponentText;

  std::string fixed;
  if (exponent >= 0) {
    // A whole number is written with all its digits, as %f writes it.
    if (count <= exponent + 1) {
      std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(double(value)));
      fixed = buffer;
    } else
      fixed = digitsOnly.substr(0, size_t(exponent + 1)) + "." + digitsOnly.substr(size_t(exponent + 1));
  } else {
    fixed = "0." + std::string(size_t(-exponent - 1), '0') + digitsOnly;
  }
  return (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

// The shortest text of the value into `buffer`; its length.
template <typename Real>
size_t toText(char (&buffer)[64], Real value) {
#if defined(__cpp_lib_to_chars)
  return size_t(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
#else
  const std::string text = shortestText(value);
  text.copy(buffer, sizeof buffer);
  return text.size();
#endif
}

// The double nearest to a decimal that toText wrote. With at most fifteen
// digits and a power of ten up to 1e22 both are exact doubles, and one
// multiplication or division rounds as reading the text would; other texts
// are read.
double readBack(std::string_view text) {
  static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const bool negative = !text.empty() && text[0] == '-';
  uint64_t digits = 0;
  int count = 0, exponent = 0;
  bool fraction = false;
  size_t at = negative ? 1 : 0;
  for (; at < text.size() && text[at] != 'e'; ++at) {
    if (text[at] == '.') {
      fraction = true;
      continue;
    }
    digits = digits * 10 + uint64_t(text[at] - '0');
    ++count;
    if (fraction) --exponent;
  }
  if (at + 1 < text.size()) {
    const bool below = text[at + 1] == '-';
    int power = 0;
    for (at += 2; at < text.size(); ++at) power = power * 10 + (text[at] - '0');
    exponent += below ? -power : power;
  }
  if (count > 15 || exponent < -22 || exponent > 22) return parseDecimal(text).value_or(std::nan(""));
  const double magnitude = exponent < 0 ? double(digits) / kPowers[-exponent] : double(digits) * kPowers[exponent];
  return negative ? -magnitude : magnitude;
}

}  // namespace

std::string shortestText(float value) { return shortest<float>(value, 9, std::strtof); }
std::string shortestText(double value) { return shortest<double>(value, 17, std::strtod); }

// Whether a float's shortest text, read as a double, surely rounds back
// to the float. With N its digits as a whole number and 10^q the worth of
// the last, a float's midpoint m = M 2^k (M odd, below 2^25) other than the
// text itself lies at least 2^k / 5^-q (q < 0, k < q) or 10^q (q < 0
// otherwise) from it, that is 1 / (2^25 5^-q) or 1 / N of it, more than
// the half spacing 2^-53 of doubles for N < 10^9 and q >= -11 (and a
// midpoint the text is rounds to the even float, the one it was written
// for). Texts in fixed notation of at most nine digits and eleven
// decimals are such; others are read back.
bool surelyReadsBack(std::string_view text) {
  if (text.size() >= 4 && text[text.size() - 4] == 'e') return false;
  const size_t point = text.find('.');
  const size_t digits = text.size() - (text[0] == '-' ? 1 : 0) - (point == std::string_view::npos ? 0 : 1);
  const size_t decimals = point == std::string_view::npos ? 0 : text.size() - point - 1;
  return digits <= 9 && decimals <= 11;
}

char* writeReal(char* at, float value) {
  char buffer[64];
  size_t length = toText(buffer, value);
  // Readers go through double; the rare text that then rounds to a
  // neighbouring float is replaced by the exact double's text.
  const std::string_view text(buffer, length);
  if (std::isfinite(value) && !surelyReadsBack(text) && float(readBack(text)) != value)
    length = toText(buffer, double(value));
  return std::copy(buffer, buffer + length, at);
}

void appendReal(std::string& out, float value) {
  char buffer[kRealTextRoom];
  out.append(buffer, writeReal(buffer, value));
}

std::string formatReal(float value) {
  std::string text;
  appendReal(text, value);
  return text;
}

std::string formatDouble(double value) {
  char buffer[64];
  return std::string(buffer, toText(buffer, value));
}

std::vector<Subpath> rectangle(double x, double y, double w, double h, double rx, double ry) {
  if (w <= 0 || h <= 0) return {};
  rx = std::min(rx, w / 2);
  ry = std::min(ry, h / 2);
  PathBuilder path;
  if (rx <= 0 || ry <= 0) {
    path.moveTo({x, y});
    path.lineTo({x + w, y});
    path.lineTo({x + w, y + h});
    path.lineTo({x, y + h});
    path.close();
    return path.take();
  }
  const double kx = rx * kKappa, ky = ry * kKappa;
  path.moveTo({x + rx, y});
  path.lineTo({x + w - rx, y});
  path.curveTo({x + w - rx + kx, y}, {x + w, y + ry - ky}, {x + w, y + ry});
  path.lineTo({x + w, y + h - ry});
  path.curveTo({x + w, y + h - ry + ky}, {x + w - rx + kx, y + h}, {x + w - rx, y + h});
  path.lineTo({x + rx, y + h});
  path.curveTo({x + rx - kx, y + h}, {x, y + h - ry + ky}, {x, y + h - ry});
  path.lineTo({x, y + ry});
  path.curveTo({x, y + ry - ky}, {x + rx - kx, y}, {x + rx, y});
  path.close();
  return path.take();
}

std::vector<Subpath> ellipse(double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return {};
  const double kx = rx * kKappa, ky = ry * kKappa;
  PathBuilder path;
  path.moveTo({cx + rx, cy});
  path.curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
  path.curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
  path.curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
  path.curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
  path.close();
  return path.take();
}

std::vector<Subpath> polyline(const std::vector<double>& coords, bool closed) {
  PathBuilder path;
  for (size_t i = 0; i + 1 < coords.size(); i += 2) {
    if (i == 0)
      path.moveTo({coords[0], coords[1]});
    else
      path.lineTo({coords[i], coords[i + 1]});
  }
  if (closed) path.close();
  return path.take();
}

}  // namespace hostfiles::svg
