// The SVG reader's one class, whose work is spread over files of one job
// each: SvgReader.cpp (layers, ids, the page, the parse), SvgReadStyle.cpp
// (computed properties and path styles), SvgReadArt.cpp (groups, shapes,
// clipping), SvgReadKept.cpp (art kept as written, with what it refers to)
// and SvgReadPlugin.cpp (plug-in objects and their dictionaries).
#pragma once

#include <libxml/tree.h>

#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "SvgModel.h"
#include "hostcore/HostCore.h"
#include "hostfiles/SvgSyntax.h"

namespace hostfiles::reading {

// Properties that children take from their parents.
extern const std::set<std::string> kInherited;
// Properties that apply to the element alone.
extern const std::set<std::string> kOwnOnly;
// Elements that define things but draw nothing where they stand.
extern const std::set<std::string> kNotDrawn;
extern const std::set<std::string> kShapes;

using Properties = std::map<std::string, std::string>;

// Ids come from `id` for the document's art and from the host's own
// attribute for art stored in dictionaries, which must not claim ids.
enum class IdSource { Document, Stored };

struct Fault {
  std::string message;
};

inline std::string nodeName(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string textContent(const xmlNode* node);
std::optional<std::string> property(const Properties& props, const char* name);
// A number or a percentage (as a fraction); the fallback for anything else.
double numberOr(const std::optional<std::string>& text, double fallback);
double lengthOr(const xmlNode* node, const char* name, double fallback);

class Reader {
 public:
  Reader(hostcore::HostCore& core, hostcore::Document& document, std::string source)
      : core_(core), document_(document), source_(std::move(source)) {}

  void read(xmlDoc* xml);

 private:
  using ArtCopy = hostcore::ArtCopy;
  using Matrix = svg::Matrix;

  [[noreturn]] void fail(const xmlNode* node, const std::string& message);
  // Points are held in single precision: a coordinate beyond its range
  // would become infinite, so the file is refused instead.
  AIReal coordinate(const xmlNode* node, double value) {
    const AIReal real = AIReal(value);
    if (!std::isfinite(real)) fail(node, "coordinate out of range");
    return real;
  }

  // Ids and the page (SvgReader.cpp).
  void index(xmlNode* node);
  std::string freshId(const std::string& prefix);
  std::string idOf(const xmlNode* node, IdSource source, const char* prefix);
  std::string takenId(const std::string& wanted, const char* prefix);
  void readPage(xmlNode* root);
  static void gatherStyleSheets(xmlNode* parent, std::vector<xmlNode*>& found);

  // Properties and styles (SvgReadStyle.cpp).
  Properties computed(const xmlNode* node, const Properties& parent) const;
  // The property's value, or empty when unset.
  static const std::string& own(const Properties& props, const char* name);
  uint32_t styleIndex(const AIPathStyle& style);
  AIPathStyle pathStyle(const Properties& props, const Matrix& ctm, double opacity, bool clip);

  // Art the document models (SvgReadArt.cpp).
  std::optional<ArtCopy> convert(xmlNode* node, const Matrix& parentCtm, const Properties& parentProps,
                                 double parentOpacity, IdSource source);
  const xmlNode* clipPathOf(const Properties& props) const;
  void applyClip(ArtCopy& art, const xmlNode* clip, const Matrix& ctm, const Properties& props, IdSource source);
  // The shape's subpaths into `into`, whose storage is reused.
  void geometry(const xmlNode* node, const std::string& name, std::vector<svg::Subpath>& into);
  ArtCopy shape(const xmlNode* node, const std::string& name, const Matrix& ctm, const Properties& props,
                double opacity, IdSource source, bool clip = false);

  // Art kept as written (SvgReadKept.cpp).
  std::vector<const xmlNode*> referencesOf(const xmlNode* element);
  const std::vector<const xmlNode*>& directReferences(const xmlNode* node, bool once);
  void scanReferences(const xmlNode* node, std::vector<const xmlNode*>& found) const;
  const xmlNode* definitionOf(const xmlNode* node) const;
  static void removeProperty(xmlNode* node, const char* name);
  static bool declares(const xmlNode* node, const std::string& name);
  std::optional<AIRealRect> localBox(const xmlNode* node, const Properties& props, int depth);
  ArtCopy leaf(xmlNode* node, const std::string& name, const Matrix& ctm, const Properties& props, double parentOpacity,
               IdSource source);

  // Plug-in objects (SvgReadPlugin.cpp).
  static const xmlNode* pluginElement(const xmlNode* group);
  static bool hasPluginElement(const xmlNode* group);
  ArtCopy pluginArt(xmlNode* node, const Matrix& ctm, const Properties& props, double opacity);
  static std::optional<int32_t> integer(std::string_view text);
  static std::optional<float> real(std::string_view text);
  void readEntry(const xmlNode* entry, hostcore::DictEntries& entries);

  hostcore::HostCore& core_;
  hostcore::Document& document_;
  std::string source_;
  xmlDoc* xml_ = nullptr;
  const xmlNode* root_ = nullptr;
  std::unordered_map<const xmlNode*, size_t> order_;  // elements in the file's order
  std::vector<svg::StyleRule> styleRules_;
  std::vector<svg::Subpath> subpaths_;  // the shape being read
  std::optional<std::pair<AIPathStyle, uint32_t>> lastStyle_;  // the last style made and its index
  std::set<std::string> copiedIds_;
  std::unordered_map<const xmlNode*, std::vector<const xmlNode*>> references_;  // by definition
  std::vector<const xmlNode*> scratch_;  // ids that `use` and other references copy by href
  std::unordered_map<std::string, xmlNode*> byId_;
  std::set<std::string> usedIds_;   // every id in the file
  std::set<std::string> takenIds_;  // ids given to art so far
  unsigned idCounter_ = 0;
};

}  // namespace hostfiles::reading
