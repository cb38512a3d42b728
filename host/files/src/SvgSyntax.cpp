// Attribute syntax: numbers and lengths, path data, transformations and
// colours, and the basic shapes as paths.
#include "hostfiles/SvgSyntax.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace hostfiles::svg {

namespace {

constexpr double kPi = 3.14159265358979323846;
// Control-point distance of a quarter-circle cubic, as a fraction of the radius.
constexpr double kKappa = 0.55228474983079339840;

// One test of a bit for the characters most often seen: text and digits.
bool isSpace(char c) {
  constexpr uint64_t kSpaces = (1ull << ' ') | (1ull << '\t') | (1ull << '\n') | (1ull << '\r') | (1ull << '\f');
  return static_cast<unsigned char>(c) <= ' ' && ((kSpaces >> static_cast<unsigned char>(c)) & 1) != 0;
}

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
    if (at_ < end_ && *at_ == ',') {
      ++at_;
      skipSpace();
    }
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
    // readDecimal takes no leading '+': SVG's is skipped here ("+-1" is no number).
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
    double value = 0;
    const char* read = readDecimal(start, word ? body + 3 : end_, value);
    if (!read) return std::nullopt;
    at_ = read;
    return value;
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

bool isCommand(char c) {
  switch (c) {
    case 'M': case 'm': case 'L': case 'l': case 'H': case 'h': case 'V': case 'v': case 'C': case 'c':
    case 'S': case 's': case 'Q': case 'q': case 'T': case 't': case 'A': case 'a': case 'Z': case 'z':
      return true;
    default:
      return false;
  }
}

Point lerp(Point a, Point b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// Builds subpaths command by command into `paths`, reusing the subpaths
// and anchor storage it already holds.
class PathBuilder {
 public:
  explicit PathBuilder(std::vector<Subpath>& paths) : paths_(paths) {}
  void moveTo(Point p) {
    start(p);
    start_ = p;
  }
  void lineTo(Point p) {
    ensureOpen();
    last().anchors.push_back(Anchor{p, p, p});
  }
  void curveTo(Point c1, Point c2, Point p) {
    ensureOpen();
    std::vector<Anchor>& anchors = last().anchors;
    anchors.back().out = c1;
    anchors.push_back(Anchor{p, c2, p});
  }
  void close() {
    if (!open_()) return;
    Subpath& s = last();
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
    if (count_ == 0) return Point{};
    const Subpath& s = paths_[count_ - 1];
    return s.closed ? start_ : s.anchors.back().p;
  }
  // Drops the subpaths of an earlier use beyond those built.
  void finish() { paths_.resize(count_); }

 private:
  Subpath& last() { return paths_[count_ - 1]; }
  bool open_() const { return count_ != 0 && !paths_[count_ - 1].closed; }
  void start(Point at) {
    if (count_ == paths_.size()) paths_.emplace_back();
    Subpath& s = paths_[count_++];
    s.anchors.clear();
    s.closed = false;
    s.anchors.push_back(Anchor{at, at, at});
  }
  // Drawing after a close starts a new subpath at the closed one's start.
  void ensureOpen() {
    if (!open_()) start(start_);
  }
  std::vector<Subpath>& paths_;
  size_t count_ = 0;
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

void parsePathData(std::string_view text, std::vector<Subpath>& paths, bool* error) {
  PathBuilder path(paths);
  Scanner scan(text);
  char command = '\0';
  Point lastControl;  // reflected by S and T
  char lastCommand = '\0';
  bool failed = false;
  // Each number followed by its separator.
  const auto need = [&](int count, double* out) {
    for (int i = 0; i < count; ++i) {
      const auto value = scan.number();
      if (!value) return false;
      out[i] = *value;
      scan.skipSeparator();
    }
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
  path.finish();
  if (error != nullptr) *error = failed;
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

std::vector<Subpath> rectangle(double x, double y, double w, double h, double rx, double ry) {
  if (w <= 0 || h <= 0) return {};
  rx = std::min(rx, w / 2);
  ry = std::min(ry, h / 2);
  std::vector<Subpath> paths;
  PathBuilder path(paths);
  if (rx <= 0 || ry <= 0) {
    path.moveTo({x, y});
    path.lineTo({x + w, y});
    path.lineTo({x + w, y + h});
    path.lineTo({x, y + h});
    path.close();
    path.finish();
    return paths;
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
  path.finish();
  return paths;
}

std::vector<Subpath> ellipse(double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return {};
  const double kx = rx * kKappa, ky = ry * kKappa;
  std::vector<Subpath> paths;
  PathBuilder path(paths);
  path.moveTo({cx + rx, cy});
  path.curveTo({cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry});
  path.curveTo({cx - kx, cy + ry}, {cx - rx, cy + ky}, {cx - rx, cy});
  path.curveTo({cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry});
  path.curveTo({cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy});
  path.close();
  path.finish();
  return paths;
}

std::vector<Subpath> polyline(const std::vector<double>& coords, bool closed) {
  std::vector<Subpath> paths;
  PathBuilder path(paths);
  for (size_t i = 0; i + 1 < coords.size(); i += 2) {
    if (i == 0)
      path.moveTo({coords[0], coords[1]});
    else
      path.lineTo({coords[i], coords[i + 1]});
  }
  if (closed) path.close();
  path.finish();
  return paths;
}

}  // namespace hostfiles::svg
