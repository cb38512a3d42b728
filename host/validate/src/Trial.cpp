#include "hostvalidate/Trial.h"

#include <cctype>
#include <functional>

#include "hostcore/Invariants.h"

namespace hostvalidate {

std::string describeCode(AIErr code) {
  const uint32_t bits = static_cast<uint32_t>(code);
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((bits >> shift) & 0xFF);
    if (!std::isprint(static_cast<unsigned char>(c))) return std::to_string(code);
    text += c;
  }
  return "'" + text + "'";
}

Trial::Trial(const ModuleSource& module, bool start)
    : profile_(module.profile), host_(std::make_unique<hostapp::HostApplication>(module.loader)) {
  loaded_ = host_->loadModule(module.path);
  if (!loaded_) return;
  if (start) startupAnswer_ = host_->startup();
  host_->setDocumentOpen(true);
  hostcore::Document& doc = host_->document();
  hostcore::require(doc.addLayer("Layer 1", &layer_), "addLayer");
  tool_ = std::make_unique<hostapp::ToolEvents>(*host_);
  edits_ = std::make_unique<hostapp::HostEdits>(*host_);
}

Trial::~Trial() {
  if (loaded_ && !finished_) finish();
}

AIArtHandle Trial::addSquare(AIRealPoint centre, AIReal half, AILayerHandle on) {
  hostcore::Document& doc = document();
  AIArtHandle group = nullptr;
  AIArtHandle path = nullptr;
  if (doc.firstArtOfLayer(on, &group) != kNoErr) return nullptr;
  if (doc.newArt(kPathArt, kPlaceInsideOnTop, group, &path) != kNoErr) return nullptr;
  const AIRealPoint corners[4] = {{centre.h - half, centre.v - half},
                                  {centre.h + half, centre.v - half},
                                  {centre.h + half, centre.v + half},
                                  {centre.h - half, centre.v + half}};
  AIPathSegment segments[4];
  for (int i = 0; i < 4; ++i) segments[i] = AIPathSegment{corners[i], corners[i], corners[i], true};
  hostcore::require(doc.setSegments(path, 0, 4, segments), "setSegments");
  hostcore::require(doc.setPathClosed(path, true), "setPathClosed");
  return path;
}

namespace {

// Visits the art of every layer, top first, depth first; plug-in art is
// visited but not entered.
void walkArt(hostcore::Document& doc, const std::function<void(AIArtHandle, AIArtType)>& visit) {
  const std::function<void(AIArtHandle)> walkChildren = [&](AIArtHandle parent) {
    AIArtHandle child = nullptr;
    hostcore::require(doc.firstChild(parent, &child), "firstChild");
    while (child) {
      AIArtType type = kUnknownArt;
      hostcore::require(doc.artType(child, &type), "artType");
      AIBoolean layerGroup = false;
      hostcore::require(doc.isLayerGroup(child, &layerGroup), "isLayerGroup");
      if (!layerGroup) visit(child, type);
      if (type == kGroupArt) walkChildren(child);
      if (doc.sibling(child, &child) != kNoErr) break;
    }
  };
  AILayerHandle layer = nullptr;
  hostcore::require(doc.firstLayer(&layer), "firstLayer");
  while (layer) {
    AIArtHandle group = nullptr;
    if (doc.firstArtOfLayer(layer, &group) == kNoErr) walkChildren(group);
    if (doc.nextLayer(layer, &layer) != kNoErr) break;
  }
}

}  // namespace

std::vector<AIArtHandle> Trial::mirrortiles() {
  std::vector<AIArtHandle> found;
  walkArt(document(), [&](AIArtHandle art, AIArtType type) {
    if (type == kPluginArt) found.push_back(art);
  });
  return found;
}

std::vector<AIArtHandle> Trial::allArt() {
  std::vector<AIArtHandle> found;
  walkArt(document(), [&](AIArtHandle art, AIArtType) { found.push_back(art); });
  return found;
}

void Trial::select(AIArtHandle art, bool on) {
  // Art that was not made, or that the plug-in has disposed of since, has
  // nothing to select.
  if (art == nullptr) return;
  const AIErr err = document().setUserAttr(art, kArtSelected, on ? kArtSelected : 0);
  if (err != kHostStaleHandleErr) hostcore::require(err, "setUserAttr");
}

void Trial::deselectAll() {
  for (AIArtHandle art : allArt()) select(art, false);
}

std::vector<std::string> Trial::heldReferences() const { return hostcore::checkNothingHeld(host_->document()); }

std::vector<std::string> Trial::finish() {
  finished_ = true;
  std::vector<std::string> left;
  host_->faults().clear();
  if (host_->globals()) {
    host_->shutdown();
    host_->unload();
  }
  if (const int32_t held = host_->suitesHeld()) left.push_back(std::to_string(held) + " suites not released");
  if (const std::size_t blocks = host_->liveBlocks()) {
    left.push_back(std::to_string(blocks) + " blocks of the basic suite not freed");
  }
  return left;
}

}  // namespace hostvalidate
