// The path style and art style suites. An art object either has a style
// of its own or none; its path style is read from that style.
#include "SuiteTables.h"
#include "hostcore/SuiteEntry.h"

namespace hostcore {

namespace {

// ---- AI Path Style Suite ----

AIErr GetPathStyle(AIArtHandle art, AIPathStyle* style) {
  HOSTCORE_ENTER(kAIPathStyleSuite, "GetPathStyle");
  return core->document().pathStyle(art, style);
}

AIErr SetPathStyle(AIArtHandle art, const AIPathStyle* style) {
  HOSTCORE_ENTER(kAIPathStyleSuite, "SetPathStyle");
  if (style == nullptr) return kHostBadParameterErr;
  return core->document().setPathStyle(art, *style);
}

// ---- AI Art Style Suite ----

AIErr GetArtStyle(AIArtHandle art, AIArtStyleHandle* style) {
  HOSTCORE_ENTER(kAIArtStyleSuite, "GetArtStyle");
  return core->document().artStyle(art, style);
}

AIErr SetArtStyle(AIArtHandle art, AIArtStyleHandle style) {
  HOSTCORE_ENTER(kAIArtStyleSuite, "SetArtStyle");
  return core->document().setArtStyle(art, style);
}

AIErr GetPaintAttributes(AIArtStyleHandle style, AIPathStyle* pathStyle, AIPathStyleMap* paintData) {
  HOSTCORE_ENTER(kAIArtStyleSuite, "GetPaintAttributes");
  return core->document().styleAttributes(style, pathStyle, paintData);
}

AIErr NewStyle(const AIPathStyle* pathStyle, const AIPathStyleMap* paintData, int32_t /*options*/,
               AIArtStyleHandle* style) {
  HOSTCORE_ENTER(kAIArtStyleSuite, "NewStyle");
  if (pathStyle == nullptr) return kHostBadParameterErr;
  const AIPathStyleMap everything{1, 1, 1, 1, 1, 1};
  return core->document().newStyle(*pathStyle, paintData != nullptr ? *paintData : everything, style);
}

AIBoolean ArtHasNoStyle(AIArtHandle art) {
  HOSTCORE_ENTER_OR(kAIArtStyleSuite, "ArtHasNoStyle", false);
  AIArtStyleHandle style = nullptr;
  return core->document().artStyle(art, &style) == kNoErr && style == nullptr;
}

}  // namespace

const AIPathStyleSuite kPathStyleSuiteTable = {GetPathStyle, SetPathStyle};

const AIArtStyleSuite kArtStyleSuiteTable = {GetArtStyle, SetArtStyle, GetPaintAttributes, NewStyle, ArtHasNoStyle};

}  // namespace hostcore
