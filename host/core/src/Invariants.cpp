#include "hostcore/Invariants.h"

#include <algorithm>

#include "JournalPins.h"
#include "hostcore/MatrixMath.h"

namespace hostcore {

namespace {

std::string art(NodeIndex n) { return "art " + std::to_string(n) + ": "; }

}  // namespace

std::vector<std::string> checkDocument(const Document& d) {
  std::vector<std::string> faults;
  const auto fault = [&](std::string text) { faults.push_back(std::move(text)); };
  const uint32_t slots = d.tree_.slotCount();
  std::vector<bool> reached(slots, false);

  std::vector<NodeIndex> pending;
  const auto reach = [&](NodeIndex n, NodeIndex parent, ArtRole role) {
    if (!d.tree_.used(n)) {
      fault(art(n) + "linked but freed");
      return;
    }
    const ArtNode& node = d.tree_.node(n);
    if (reached[n]) {
      fault(art(n) + "reached twice");
      return;
    }
    reached[n] = true;
    if (node.parent != parent) fault(art(n) + "parent link disagrees with its place");
    if (node.role != role) fault(art(n) + "role disagrees with its place");
    if (!node.live) fault(art(n) + "disposed art still in the document");
    pending.push_back(n);
  };

  for (NodeIndex layer : d.tree_.layers()) {
    if (!d.tree_.used(layer) || !d.tree_.node(layer).props->layer) {
      fault(art(layer) + "in the layer list but not a layer group");
      continue;
    }
    reach(layer, kNoNode, ArtRole::Member);
  }

  while (!pending.empty()) {
    const NodeIndex n = pending.back();
    pending.pop_back();
    const ArtNode& node = d.tree_.node(n);
    NodeIndex above = kNoNode;
    for (NodeIndex c = node.firstChild; c != kNoNode; c = d.tree_.node(c).next) {
      if (!d.tree_.used(c) || reached[c]) {
        reach(c, n, ArtRole::Member);
        break;  // a broken or circular chain cannot be walked further
      }
      if (d.tree_.node(c).prev != above) fault(art(c) + "prior sibling link disagrees");
      reach(c, n, ArtRole::Member);
      above = c;
    }
    if (node.lastChild != above) fault(art(n) + "last child link disagrees");
    if (node.type == kPluginArt) {
      if (node.editGroup == kNoNode || node.resultGroup == kNoNode) {
        fault(art(n) + "plug-in art without its edit and result groups");
      } else {
        reach(node.editGroup, n, ArtRole::EditGroup);
        reach(node.resultGroup, n, ArtRole::ResultGroup);
      }
    } else if (node.editGroup != kNoNode || node.resultGroup != kNoNode) {
      fault(art(n) + "edit or result group on art that is not plug-in art");
    }
    if ((node.role != ArtRole::Member) && node.type != kGroupArt)
      fault(art(n) + "edit or result group that is not a group");
    if (node.props->layer && node.type != kGroupArt) fault(art(n) + "layer that is not a group");
    if (node.props->layer && node.parent != kNoNode &&
        std::find(d.tree_.layers().begin(), d.tree_.layers().end(), n) != d.tree_.layers().end())
      fault(art(n) + "top-level layer with a parent");
    if (node.dictionary != kNoIndex &&
        (!d.data_.dictionaryUsed(node.dictionary) || d.data_.dictionary(node.dictionary).owner != n))
      fault(art(n) + "dictionary does not name the art as its owner");
    if (!node.path.callerNonFinite && std::any_of(node.path.segments.begin(), node.path.segments.end(),
                                                  [](const AIPathSegment& s) { return !segmentFinite(s); }))
      fault(art(n) + "non-finite path coordinate");
    if (!node.props->leaf.callerNonFinite && !matrixFinite(node.props->leaf.matrix))
      fault(art(n) + "non-finite placement matrix");
  }

  std::vector<uint32_t> pins(slots, 0);
  d.journal_.forEachRecord([&](const JournalRecord& r) {
    forEachPinned(r, [&](NodeIndex n) {
      if (n < slots && d.tree_.used(n))
        ++pins[n];
      else
        fault(art(n) + "named by the undo journal but freed");
    });
  });

  for (NodeIndex n = 0; n < slots; ++n) {
    if (!d.tree_.used(n)) continue;
    const ArtNode& node = d.tree_.node(n);
    if (node.live && !reached[n]) fault(art(n) + "live art outside the document");
    if (node.pins != pins[n])
      fault(art(n) + "pinned " + std::to_string(node.pins) + " times, journal names it " + std::to_string(pins[n]) +
            " times");
    if (!node.live && node.pins == 0 && node.parent == kNoNode) fault(art(n) + "unreachable art not freed");
  }
  for (NodeIndex n : d.tree_.dirtyOrder())
    if (!d.tree_.used(n) || !d.tree_.node(n).dirty) fault(art(n) + "listed dirty but is not");
  return faults;
}

std::vector<std::string> checkNothingHeld(const Document& d) {
  std::vector<std::string> held = d.data_.heldReferences();
  for (std::string& set : d.artSets_.heldSets()) held.push_back(std::move(set));
  return held;
}

}  // namespace hostcore
