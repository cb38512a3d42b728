// The SVG writer's one class, whose work is spread over files of one job
// each: SvgWriter.cpp (the two walks, the root, the page and the layers),
// SvgWriteSurvey.cpp (what the head of the file needs), SvgWriteText.cpp
// (elements written here), SvgWriteKept.cpp (elements the library writes:
// the page's extras, the definitions and leaf art), SvgWriteArt.cpp
// (groups, clipping and paths) and SvgWritePlugin.cpp (plug-in objects
// and their dictionaries).
//
// The text goes out piece by piece as it is made and is never held whole.
// The head of the file depends on all that follows (the root declares
// every namespace that kept art uses, the definitions come before the
// layers), so a survey walks the document first, writing nothing, and the
// text is written in a second walk. Art kept as written, the page's extras
// and the definitions are written by the XML library element by element;
// the rest, most of a drawing, is written here, in the bytes the library's
// indented output would have.
#pragma once

#include <libxml/tree.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "SvgModel.h"
#include "hostcore/HostCore.h"
#include "hostfiles/FileStore.h"

namespace hostfiles::writing {

// Art of the document carries its id in `id`; art stored in a dictionary
// carries it in the host's own attribute, so that no id appears twice.
struct Scope {
  bool stored = false;
  std::string owner;  // the plug-in object whose dictionary holds the art
};

// The namespaces the root declares first, prefix and name.
constexpr std::pair<const char*, const char*> kRootNamespaces[] = {{nullptr, svg::kSvgNamespace},
                                                                   {"xlink", svg::kXlinkNamespace},
                                                                   {"inkscape", svg::kInkscapeNamespace},
                                                                   {"sodipodi", svg::kSodipodiNamespace},
                                                                   {"mirtil", svg::kMirtilNamespace}};

// The text is handed on in pieces of about this size.
constexpr size_t kPieceBytes = size_t(1) << 20;

// The library indents two spaces a level, up to thirty levels.
inline void indent(std::string& out, size_t level) { out.append(2 * std::min<size_t>(level, 30), ' '); }

class Writer {
 public:
  // With an overlap, the seam-free copy: plug-in objects are written as
  // their result alone with mirror-tile cells widened by the overlap, and
  // clipping groups are written as masks, applied to the group drawn whole.
  Writer(hostcore::HostCore& core, std::optional<double> seamOverlap, const TextSink& sink)
      : core_(core), document_(core.document()), seamOverlap_(seamOverlap), sink_(sink) {}
  ~Writer();

  bool write();

 private:
  using ArtCopy = hostcore::ArtCopy;

  // A definition, in the payload of the leaf art that holds it.
  struct Definition {
    unsigned long long order;
    const std::string* payload;
    size_t position;  // among the children of the payload's definitions
    xmlNode* node;    // as the survey read it
  };
  struct OpenElement {
    const char* name;
    bool children = false;
    bool text = false;
  };
  // A path is drawn, outlines a clip, or is a white shape of a mask.
  enum class PathRole { Drawn, Clip, Mask };

  // The page and the layers (SvgWriter.cpp).
  void writePage(const xmlNode* kept);
  void writeLayer(const ArtCopy& copy);

  // The survey: what the head of the file needs (SvgWriteSurvey.cpp).
  void survey(xmlDoc* extras, xmlNode* kept, const std::vector<ArtCopy>& layers);
  std::vector<std::pair<std::string, std::string>> takeNamespaces();
  void declareNamespaces(const std::vector<std::pair<std::string, std::string>>& used);
  void recordNamespaces(const xmlNode* node);
  void chooseDefinitions();
  static void collectIds(const xmlNode* node, std::set<std::string>& ids);

  // Elements written here (SvgWriteText.cpp).
  void open(const char* name);
  void set(const char* name, std::string_view value);
  void setText(std::string_view text);
  void close();
  void enterContent();
  void handOn();

  // Elements the library writes (SvgWriteKept.cpp).
  void startScratch();
  xmlNode* cloneKept(xmlDoc* from, xmlNode* node);
  xmlNode* cloneDefinition(const Definition& definition);
  void writeKept(xmlNode* copy);
  static void discard(xmlNode* copy);
  static void keepTextAsWritten(xmlNode* node);
  void freePayloads();
  xmlDoc* payload(const std::string& text);
  void writeLeaf(const ArtCopy& art, const Scope& scope);
  static xmlNode* firstElement(xmlNode* parent);

  // Groups, clipping and paths (SvgWriteArt.cpp).
  void writeChildren(const std::vector<ArtCopy>& children, const Scope& scope);
  // The attributes every piece of art has, through `put` (name, value).
  template <class Put>
  static void common(const ArtCopy& art, const Scope& scope, Put&& put) {
    put(scope.stored ? "mirtil:id" : "id", art.id);
    if (!art.props.name.empty()) put("inkscape:label", art.props.name);
    if (art.props.userAttr & kArtHidden) put("display", "none");
    if (art.props.userAttr & kArtLocked) put("sodipodi:insensitive", "true");
    if (art.props.userAttr & kArtSelected) put("mirtil:selected", "true");
  }
  void writeCommon(const ArtCopy& art, const Scope& scope);
  AIPathStyle styleOf(const ArtCopy& art) const;
  bool isClipPath(const ArtCopy& art) const;
  void writeArt(const ArtCopy& art, const Scope& scope);
  void writeGroup(const ArtCopy& art, const Scope& scope);
  void writeClipAsMask(const std::vector<const ArtCopy*>& clips, const std::string& clipId, const Scope& scope);
  void writePath(const ArtCopy& art, const Scope& scope, PathRole role);

  // Plug-in objects (SvgWritePlugin.cpp).
  void writePlugin(const ArtCopy& art, const Scope& scope);
  void writeEntry(const std::string& key, const hostcore::DictValue& value, const std::string& owner);

  hostcore::HostCore& core_;
  hostcore::Document& document_;
  const std::optional<double> seamOverlap_;
  const TextSink& sink_;
  bool surveying_ = true;
  bool failed_ = false;

  // The survey's findings.
  std::set<std::string> written_;        // ids the text gives, outside the definitions
  std::vector<std::string> references_;  // ids it refers to
  std::set<std::string> namespacesSeen_;
  std::vector<std::pair<std::string, std::string>> namespacesUsed_;  // prefix, name
  std::vector<std::pair<std::string, std::string>> rootNamespaces_;
  std::map<std::string, Definition> definitions_;  // by id
  std::vector<const Definition*> definitionsToWrite_;

  std::string text_;  // not yet handed on
  std::vector<OpenElement> open_;
  xmlDoc* scratch_ = nullptr;
  xmlNode* scratchRoot_ = nullptr;
  xmlNs* laterNamespaces_ = nullptr;  // the file root's, after the first
  xmlOutputBuffer* library_ = nullptr;
  std::map<const std::string*, xmlDoc*> payloads_;
  unsigned storedClips_ = 0;
};

}  // namespace hostfiles::writing
