// The user editing art with the host's own tools: moving and transforming
// it, moving a point of a plug-in object's edit path, painting it, and
// undoing and redoing. Each edit is one undo step. Plug-in art whose group
// asked for notify-edits (kPluginGroupWantsNotifyEditsOption) hears of the
// edit: before it, with the operation's code; after it, when it answered
// 'AFTR', with the code again and, for edits that change the object as a
// whole or its edit art, with the change code and its sub-code. Then the
// object is brought up to date.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "hostapi/HostAPI.h"
#include "hostapp/HostApplication.h"

namespace hostapp {

// One notify-edits message the host sent, with the plug-in's answer.
struct NotifyEditsRecord {
  AIArtHandle art = nullptr;
  std::string time;
  std::string code;
  int32_t subCode = 0;
  AIErr answer = kNoErr;
};

class HostEdits {
 public:
  explicit HostEdits(HostApplication& host);

  // The selection tool's move by (dh, dv).
  AIErr move(AIArtHandle art, AIReal dh, AIReal dv);
  // Rotating, scaling, reflecting or shearing through the matrix.
  AIErr transform(AIArtHandle art, const AIRealMatrix& matrix);
  // The free-transform tool's distortion, here through a matrix that may
  // hold non-finite values (a distortion that collapsed); ends with the
  // change sub-code 'PLUG'.
  AIErr freeTransform(AIArtHandle art, const AIRealMatrix& matrix);
  // The direct-selection tool's move of one point of the plug-in art's edit
  // path (its anchor with both control points); ends with sub-code 0.
  AIErr moveEditPoint(AIArtHandle art, int16_t segment, AIRealPoint to);
  // Painting with fill and stroke; ends with sub-code 0.
  AIErr paint(AIArtHandle art, const AIPathStyle& style);

  // Expanding plug-in art: the art is replaced, in its place, by a plain
  // group holding a copy of its result art (with ids of its own, as undo
  // may bring the art back); the plug-in hears nothing, as of any art
  // deleted. kHostBadParameterErr for art
  // that is not plug-in art, nothing changed.
  AIErr expand(AIArtHandle art, AIArtHandle* expanded);

  // The user's undo and redo; false when there is nothing to undo or redo.
  bool undo();
  bool redo();

  // Every notify-edits message sent so far.
  const std::vector<NotifyEditsRecord>& notifications() const { return notifications_; }

 private:
  // Runs one edit as an undo step with its notify-edits sequence. A plug-in
  // that answers the before-time message with an error refuses the edit,
  // which is then not made; otherwise the first error of the after-time
  // messages is answered.
  template <typename Change>
  AIErr edit(AIArtHandle art, const char* code, std::optional<int32_t> changeSubCode, Change change);
  bool wantsNotifyEdits(AIArtHandle art, AIPluginGroupHandle* entry);
  AIErr notify(AIArtHandle art, AIPluginGroupHandle entry, const char* time, const char* code, int32_t subCode);

  HostApplication& host_;
  std::vector<NotifyEditsRecord> notifications_;
};

}  // namespace hostapp
