#include "hostapp/ToolEvents.h"

namespace hostapp {

ToolEvents::ToolEvents(HostApplication& host, std::size_t toolIndex) : host_(host), toolIndex_(toolIndex) {}

AIErr ToolEvents::send(const char* selector, AIRealPoint at) {
  AIToolMessage message{};
  message.tool = host_.toolHandle(toolIndex_);
  message.cursor = at;
  message.pressure = 1;
  return host_.sendMessage(kCallerAITool, selector, message.d);
}

AIErr ToolEvents::trackCursor(AIRealPoint at) { return send(kSelectorAITrackToolCursor, at); }

AIErr ToolEvents::press(AIRealPoint at) {
  hostcore::Document& document = host_.document();
  document.journal().beginStep();
  document.journal().setMark();
  return send(kSelectorAIToolMouseDown, at);
}

AIErr ToolEvents::drag(AIRealPoint at) { return send(kSelectorAIToolMouseDrag, at); }

AIErr ToolEvents::release(AIRealPoint at) {
  const AIErr result = send(kSelectorAIToolMouseUp, at);
  host_.document().journal().endStep();
  return result;
}

AIErr ToolEvents::editOptions() { return send(kSelectorAIEditToolOptions, AIRealPoint{0, 0}); }

ToolEvents::DragAnswers ToolEvents::dragFromTo(AIRealPoint from, const std::vector<AIRealPoint>& through,
                                               AIRealPoint to) {
  DragAnswers answers;
  answers.press = press(from);
  std::vector<AIRealPoint> points = through;
  points.push_back(to);
  for (const AIRealPoint& point : points) {
    const AIErr dragged = drag(point);
    if (answers.drag == kNoErr) answers.drag = dragged;
  }
  answers.release = release(to);
  return answers;
}

}  // namespace hostapp
