// The values the document is made of: art nodes, their properties and
// geometry, dictionary values, detached art copies and the records of
// the undo journal.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "hostapi/HostTypes.h"
#include "hostcore/Handles.h"
#include "hostcore/MatrixMath.h"

namespace hostcore {

using NodeIndex = uint32_t;
constexpr NodeIndex kNoNode = kNoIndex;

// How a node hangs from its parent: as a child in the stacking order, or
// as one of the two groups every plug-in art object owns.
enum class ArtRole : uint8_t { Member, EditGroup, ResultGroup };

struct LayerInfo {
  std::string title;
  bool visible = true;
  bool editable = true;
};

// Placed, raster, text, foreign and the other kinds the document keeps but
// does not interpret: a placement matrix, the box the content fills
// before that matrix, and the content itself as the file layer wrote it.
struct LeafData {
  AIRealMatrix matrix{1, 0, 0, 1, 0, 0};
  AIRealRect box{0, 0, 0, 0};
  std::shared_ptr<const std::string> payload;
  bool callerNonFinite = false;  // the caller's matrix held an infinite or NaN value
};

// Everything of a node that changes as one unit in the journal, apart
// from its links and its path geometry.
struct ArtProps {
  AIArtUserAttr userAttr = 0;
  std::string name;                 // empty: the art has its default name
  uint32_t style = kNoIndex;        // kNoIndex: no style of its own
  bool clipped = false;             // groups
  std::optional<LayerInfo> layer;   // set on a layer's own group
  uint32_t pluginGroup = kNoIndex;  // plug-in art attached to a plugin group
  int32_t versionMajor = 0;
  int32_t versionMinor = 0;
  LeafData leaf;
};

// A path's segments, shared by copies of the path (duplicates, dictionary
// entries, journal records) until one of them changes: copying art costs
// no segments. Transformations wait as a short list of matrices until the
// points are read or edited, and are then applied together in one pass:
// a duplicate turned several times is written once, or never when it is
// thrown away unread. The matrices are applied one after another to each
// point, not multiplied together first, so the points come out with the
// same bits as when each transformation is applied as it comes.
class SegmentList {
 public:
  SegmentList() = default;
  SegmentList(std::vector<AIPathSegment> segments)
      : shared_(segments.empty() ? nullptr : std::make_shared<std::vector<AIPathSegment>>(std::move(segments))) {}

  operator const std::vector<AIPathSegment>&() const { return points(); }
  size_t size() const { return shared_ ? shared_->size() : 0; }
  bool empty() const { return size() == 0; }
  const AIPathSegment* begin() const { return points().data(); }
  const AIPathSegment* end() const { return begin() + size(); }
  const AIPathSegment& operator[](size_t i) const { return points()[i]; }
  const AIPathSegment& front() const { return points().front(); }
  const AIPathSegment& back() const { return points().back(); }

  // The segments to change, copied first while another copy shares them.
  std::vector<AIPathSegment>& edit() {
    settle();
    if (!shared_)
      shared_ = std::make_shared<std::vector<AIPathSegment>>();
    else if (shared_.use_count() > 1)
      shared_ = std::make_shared<std::vector<AIPathSegment>>(*shared_);
    return *shared_;
  }

  // Every point to be put through the matrix, after those waiting.
  void transform(const AIRealMatrix& m) {
    if (empty()) return;
    if (pendingCount_ == kMostPending) settle();
    pending_[pendingCount_++] = m;
  }

  // Applies the waiting transformations: in place when no other copy
  // shares the segments, else read from the shared ones into a list of
  // its own. The points do not change, only when they are worked out.
  void settle() const {
    if (pendingCount_ == 0) return;
    const size_t count = shared_->size();
    const AIPathSegment* from = shared_->data();
    if (shared_.use_count() > 1) shared_ = std::make_shared<std::vector<AIPathSegment>>(count);
    AIPathSegment* to = shared_->data();
    for (size_t i = 0; i < count; ++i) {
      AIPathSegment s = from[i];
      for (uint8_t k = 0; k < pendingCount_; ++k) {
        s.p = transformPoint(pending_[k], s.p);
        s.in = transformPoint(pending_[k], s.in);
        s.out = transformPoint(pending_[k], s.out);
      }
      to[i] = s;
    }
    pendingCount_ = 0;
  }

 private:
  // Enough for the longest chain of turns and mirrors a copy goes through
  // in one update; a longer one is applied in several passes.
  static constexpr uint8_t kMostPending = 4;

  const std::vector<AIPathSegment>& points() const {
    settle();
    return shared_ ? *shared_ : none();
  }
  static const std::vector<AIPathSegment>& none() {
    static const std::vector<AIPathSegment> empty;
    return empty;
  }
  // Reading settles the waiting matrices, which changes how the points
  // are held but not what they are.
  mutable std::shared_ptr<std::vector<AIPathSegment>> shared_;
  mutable std::array<AIRealMatrix, kMostPending> pending_{};
  mutable uint8_t pendingCount_ = 0;
};

struct PathGeometry {
  SegmentList segments;
  bool closed = false;
  // A caller handed in an infinite or not-a-number coordinate; such
  // coordinates are then the caller's and not a fault of the document.
  bool callerNonFinite = false;
};

enum class ArrayEntryKind : uint8_t { Empty, Integer, Real };
struct ArrayEntry {
  ArrayEntryKind kind = ArrayEntryKind::Empty;
  int32_t integer = 0;
  AIReal real = 0;
};
using ArrayValues = std::vector<ArrayEntry>;

struct ArtCopy;
using DictValue = std::variant<int32_t, bool, AIReal, ArrayValues, std::shared_ptr<const ArtCopy>>;
using DictEntries = std::map<uint32_t, DictValue>;  // by key index

// A detached deep copy of an art subtree: what a dictionary's art entry
// holds and what duplication goes through.
struct ArtCopy {
  AIArtType type = kUnknownArt;
  std::string id;  // the copied art's id; only placeCopy gives it to new art
  ArtProps props;
  PathGeometry path;
  bool dirty = false;
  std::vector<ArtCopy> children;      // top of the stacking order first
  std::vector<ArtCopy> pluginGroups;  // plug-in art: edit group, result group
  DictEntries dictionary;
};

// A node's properties, shared by copies of the art until one of them
// changes: duplicating art copies a pointer, and art with the default
// properties holds none. Kept apart from the node, the node stays small.
class SharedProps {
 public:
  const ArtProps& operator*() const { return shared_ ? *shared_ : defaults(); }
  const ArtProps* operator->() const { return &**this; }
  // The properties to change, copied first while other art shares them.
  ArtProps& edit() {
    if (!shared_)
      shared_ = std::make_shared<ArtProps>();
    else if (shared_.use_count() > 1)
      shared_ = std::make_shared<ArtProps>(*shared_);
    return *shared_;
  }
  void assign(const ArtProps& props) { shared_ = std::make_shared<ArtProps>(props); }

 private:
  static const ArtProps& defaults() {
    static const ArtProps none;
    return none;
  }
  std::shared_ptr<ArtProps> shared_;
};

struct ArtNode {
  AIArtType type = kUnknownArt;
  bool live = true;    // false once disposed; kept while the journal may revive it
  bool dirty = false;  // plug-in art whose result is out of date
  ArtRole role = ArtRole::Member;
  NodeIndex parent = kNoNode;
  NodeIndex firstChild = kNoNode;
  NodeIndex lastChild = kNoNode;
  NodeIndex prev = kNoNode;  // the sibling above
  NodeIndex next = kNoNode;  // the sibling below
  NodeIndex editGroup = kNoNode;
  NodeIndex resultGroup = kNoNode;
  uint32_t dictionary = kNoIndex;
  uint32_t pins = 0;  // journal records that refer to this node
  uint32_t born = 0;  // serial of the undo step that made it; 0 outside steps
  // The art's id, unique in the document while the node's slot is held:
  // the id given to it, or when that is empty the one made up from its
  // type and this number (ArtIds).
  std::string id;
  uint64_t idNumber = 0;
  SharedProps props;
  PathGeometry path;
};

struct Dictionary {
  DictEntries entries;
  NodeIndex owner = kNoNode;  // kNoNode once the owning art is gone
  uint32_t handedOut = 0;     // references held by callers
};

struct ArrayObject {
  ArrayValues values;
  uint32_t references = 1;
};

struct ArtStyle {
  AIPathStyle pathStyle{};
  AIPathStyleMap paintData{};
};

// Where a node stands: inside `parent`, just above `next` (at the bottom
// when `next` is kNoNode). A kNoNode parent means detached.
struct Place {
  NodeIndex parent = kNoNode;
  NodeIndex next = kNoNode;
};

// Journal records. Applying a record swaps the state it holds with the
// document's present state, so one record serves undo and redo alike.
struct LinkRecord {
  NodeIndex node;
  Place place;
};
// Art made or disposed of: its place and whether its subtree lives change
// together, in one record, as disposal is most of what an update journals.
struct LifeRecord {
  NodeIndex root;
  Place place;
  bool live;
};
// Properties and geometry are held apart, so that every record stays as
// small as a link record: an update journals tens of thousands of links.
struct PropsRecord {
  NodeIndex node;
  SharedProps props;
};
struct GeometryRecord {
  NodeIndex node;
  std::unique_ptr<PathGeometry> path;
};
struct EntryRecord {
  NodeIndex owner;
  uint32_t key;
  std::optional<DictValue> value;
};
struct LayerListRecord {
  std::vector<NodeIndex> layers;
};
struct CurrentLayerRecord {
  NodeIndex layer;
};
using JournalRecord =
    std::variant<LinkRecord, LifeRecord, PropsRecord, GeometryRecord, EntryRecord, LayerListRecord, CurrentLayerRecord>;

}  // namespace hostcore
