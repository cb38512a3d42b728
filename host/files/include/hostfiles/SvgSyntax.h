// The small grammars inside SVG attribute values: numbers and lengths,
// path data (arcs included), transform lists, colours and style
// declarations; and the writing of reals so that they read back exactly.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostfiles::svg {

struct Point {
  double x = 0, y = 0;
};

// Affine map (x, y) -> (a x + c y + e, b x + d y + f).
struct Matrix {
  double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  Point apply(Point p) const { return {a * p.x + c * p.y + e, b * p.x + d * p.y + f}; }
  // This map applied after `inner`.
  Matrix after(const Matrix& inner) const;
  bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }
};

// One anchor of a cubic path with its incoming and outgoing control points.
struct Anchor {
  Point p, in, out;
};

struct Subpath {
  std::vector<Anchor> anchors;
  bool closed = false;
};

// The shortest text that reads back as the same float, as to_chars writes
// it (fixed or scientific, whichever is shorter, fixed on a tie), at `at`;
// its end. It takes at most 16 characters.
char* writeShortest(char* at, float value);
// The same for a double, through printf: for standard libraries without
// floating-point to_chars.
std::string shortestText(double value);
// The decimal number at the front of [at, end) as from_chars reads it (no
// leading '+' or blanks; "nan" and "inf"): the end of what was read, or
// null when no number starts there or it is out of range.
const char* readDecimal(const char* at, const char* end, double& value);
// The whole text as a decimal number, as readDecimal reads it; nullopt for
// anything else.
std::optional<double> parseDecimal(std::string_view text);
// Numbers separated by white space and/or commas; nullopt on anything else.
std::optional<std::vector<double>> parseNumberList(std::string_view text);
// A length with an optional unit, in user units (px; 1in = 96).
std::optional<double> parseLength(std::string_view text);
// Path data as subpaths of cubic segments into `paths`, whose storage is
// reused from call to call. Parsing stops at the first error, keeping what
// came before, as renderers do; `error` tells.
void parsePathData(std::string_view text, std::vector<Subpath>& paths, bool* error = nullptr);
std::optional<Matrix> parseTransform(std::string_view text);

struct Rgb {
  double r = 0, g = 0, b = 0;  // 0..1
};
// A colour value (#rgb, #rrggbb, rgb(), a colour name); nullopt otherwise.
std::optional<Rgb> parseColor(std::string_view text);

// "name: value; ..." in order of appearance, names lower-cased.
std::vector<std::pair<std::string, std::string>> parseStyleDeclarations(std::string_view text);
// A rule of a style sheet whose selector names one element by its type
// (or `*`), classes and id, as "rect.a.b#c" does.
struct StyleRule {
  std::string type;  // empty: any type
  std::vector<std::string> classes;
  std::string id;
  std::vector<std::pair<std::string, std::string>> declarations;
  // Ids, then classes, then types: the rule with more wins.
  int specificity() const { return (id.empty() ? 0 : 10000) + int(classes.size()) * 100 + (type.empty() ? 0 : 1); }
  bool matches(std::string_view elementType, std::string_view classList, std::string_view elementId) const;
};
// The rules of a style sheet in order, one for each simple selector of a
// list. Rules with selectors of other kinds (descendants, pseudo-classes,
// attributes) and at-rules are left out: they apply to nothing here.
std::vector<StyleRule> parseStyleSheet(std::string_view text);

// The id named by "url(#id)", or empty.
std::string urlReference(std::string_view text);

std::string_view trim(std::string_view text);

// The shortest text that reads back (through double) as the same float.
std::string formatReal(float value);
// The same text at the end of `out`, or from `at` on, answering its end:
// it takes at most kRealTextRoom characters.
constexpr std::size_t kRealTextRoom = 32;
void appendReal(std::string& out, float value);
char* writeReal(char* at, float value);
std::string formatDouble(double value);

// Geometric shapes as subpaths, in the element's own coordinates.
std::vector<Subpath> rectangle(double x, double y, double w, double h, double rx, double ry);
std::vector<Subpath> ellipse(double cx, double cy, double rx, double ry);
std::vector<Subpath> polyline(const std::vector<double>& coords, bool closed);

}  // namespace hostfiles::svg
