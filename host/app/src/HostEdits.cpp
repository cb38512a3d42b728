#include "hostapp/HostEdits.h"

namespace hostapp {

HostEdits::HostEdits(HostApplication& host) : host_(host) {}

bool HostEdits::wantsNotifyEdits(AIArtHandle art, AIPluginGroupHandle* entry) {
  uint32_t group = 0;
  if (host_.document().pluginGroupOf(art, &group) != kNoErr) return false;
  const hostcore::PluginGroupEntry& registered = host_.core().pluginGroup(group);
  if (registered.plugin != host_.pluginRef()) return false;
  if ((registered.options & kPluginGroupWantsNotifyEditsOption) == 0) return false;
  *entry = host_.core().pluginGroupHandle(group);
  return true;
}

AIErr HostEdits::notify(AIArtHandle art, AIPluginGroupHandle entry, const char* time, const char* code,
                        int32_t subCode) {
  AIPluginGroupMessage message{};
  message.entry = entry;
  message.art = art;
  message.time = time;
  message.code = code;
  message.subCode = subCode;
  const AIErr answer = host_.sendMessage(kCallerAIPluginGroup, kSelectorAINotifyEdits, message.d);
  notifications_.push_back({art, time, code, subCode, answer});
  return answer;
}

template <typename Change>
AIErr HostEdits::edit(AIArtHandle art, const char* code, std::optional<int32_t> changeSubCode, Change change) {
  hostcore::Document& document = host_.document();
  const hostcore::UndoStep step(document.journal());
  AIPluginGroupHandle entry = nullptr;
  const bool notifies = wantsNotifyEdits(art, &entry);
  bool wantsAfter = false;
  if (notifies) {
    const AIErr before = notify(art, entry, kAIBeforeOperationTime, code, 0);
    if (before != kNoErr && before != kWantsAfterMsgPluginGroupErr) return before;
    wantsAfter = before == kWantsAfterMsgPluginGroupErr;
  }
  if (const AIErr changed = change()) return changed;

  AIErr result = kNoErr;
  if (wantsAfter) {
    result = notify(art, entry, kAIAfterOperationTime, code, 0);
    if (changeSubCode) {
      const AIErr fixed = notify(art, entry, kAIAfterOperationTime, kAIChangeOperationCode, *changeSubCode);
      if (result == kNoErr) result = fixed;
    }
  }
  // Plug-in art edited by the host needs new result art.
  uint32_t group = 0;
  if (document.pluginGroupOf(art, &group) == kNoErr && document.markDirty(art) == kNoErr) host_.updatePluginArt();
  return result;
}

AIErr HostEdits::move(AIArtHandle art, AIReal dh, AIReal dv) {
  AIRealMatrix matrix{1, 0, 0, 1, dh, dv};
  return transform(art, matrix);
}

AIErr HostEdits::transform(AIArtHandle art, const AIRealMatrix& matrix) {
  return edit(art, kAIGeometryOperationCode, std::nullopt, [&] {
    return host_.document().transformArt(art, matrix, 1, kTransformObjects);
  });
}

AIErr HostEdits::freeTransform(AIArtHandle art, const AIRealMatrix& matrix) {
  return edit(art, kAIGeometryOperationCode, kAIPluginArtChangeSubCode, [&] {
    return host_.document().transformArt(art, matrix, 1, kTransformObjects);
  });
}

AIErr HostEdits::moveEditPoint(AIArtHandle art, int16_t segment, AIRealPoint to) {
  return edit(art, kAIGeometryOperationCode, 0, [&]() -> AIErr {
    hostcore::Document& document = host_.document();
    AIArtHandle editGroup = nullptr;
    AIArtHandle editPath = nullptr;
    if (const AIErr err = document.editGroup(art, &editGroup)) return err;
    if (const AIErr err = document.firstChild(editGroup, &editPath)) return err;
    if (!editPath) return kHostIndexRangeErr;
    AIPathSegment point{};
    if (const AIErr err = document.segments(editPath, segment, 1, &point)) return err;
    point.p = to;
    point.in = to;
    point.out = to;
    return document.setSegments(editPath, segment, 1, &point);
  });
}

AIErr HostEdits::expand(AIArtHandle art, AIArtHandle* expanded) {
  hostcore::Document& document = host_.document();
  AIArtType type = kUnknownArt;
  if (AIErr err = document.artType(art, &type)) return err;
  if (type != kPluginArt) return kHostBadParameterErr;
  AIArtHandle result = nullptr;
  hostcore::ArtCopy copy;
  if (AIErr err = document.resultGroup(art, &result)) return err;
  if (AIErr err = document.copyArt(result, &copy)) return err;
  const hostcore::UndoStep step(document.journal());
  AIArtHandle group = nullptr;
  AIErr err = document.placeCopy(copy, kPlaceAbove, art, &group);
  if (!err) err = document.disposeArt(art);
  if (err) {
    document.journal().revertToMark();
    return err;
  }
  *expanded = group;
  return kNoErr;
}

AIErr HostEdits::paint(AIArtHandle art, const AIPathStyle& style) {
  return edit(art, kAIStyleOperationCode, 0, [&] { return host_.document().setPathStyle(art, style); });
}

bool HostEdits::undo() { return host_.document().journal().undo(); }

bool HostEdits::redo() { return host_.document().journal().redo(); }

}  // namespace hostapp
