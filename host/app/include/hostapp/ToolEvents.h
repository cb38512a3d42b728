// The user working with a plug-in's tool: cursor tracking, and drags made
// of a press, drag messages and a release, with the cursor in document
// points. A drag is one undo step of the user's; the press marks the point
// to which the tool's undo-changes call goes back.
#pragma once

#include <vector>

#include "hostapi/HostAPI.h"
#include "hostapp/HostApplication.h"

namespace hostapp {

class ToolEvents {
 public:
  // The tool is the plug-in's first; tools registered later are named by index.
  explicit ToolEvents(HostApplication& host, std::size_t toolIndex = 0);

  // ("AI Tool", "AI Track Cursor") with the cursor at the point.
  AIErr trackCursor(AIRealPoint at);
  // Opens the drag's undo step, marks it and sends ("AI Tool", "AI Mouse Down").
  AIErr press(AIRealPoint at);
  // ("AI Tool", "AI Mouse Drag").
  AIErr drag(AIRealPoint at);
  // ("AI Tool", "AI Mouse Up"); what the drag left in the document becomes
  // one undo step (none when it left nothing).
  AIErr release(AIRealPoint at);
  // ("AI Tool", "AI Edit Options"), as a double click on the tool does.
  AIErr editOptions();

  // A whole drag: the press at from, a drag message at each point of through
  // and at to, the release at to. For each kind of message, the first
  // answer that was not 0.
  struct DragAnswers {
    AIErr press = kNoErr;
    AIErr drag = kNoErr;
    AIErr release = kNoErr;
  };
  DragAnswers dragFromTo(AIRealPoint from, const std::vector<AIRealPoint>& through, AIRealPoint to);

 private:
  AIErr send(const char* selector, AIRealPoint at);

  HostApplication& host_;
  std::size_t toolIndex_;
};

}  // namespace hostapp
