#include "plugingeneral/ovaigeneral.h"

#include "framework/PluginSuites.h"
#include "framework/CheckedCall.h"
#include "ovini.h"
#include "ovlog.h"

namespace {

// The library's own section of the settings file.
const char* const kGeneralSection = "General";

AIPaintOrder PlacementFor(AIArtHandle ref) {
  if (ref && ArtType(ref) == kGroupArt) return kPlaceInsideOnTop;
  if (ref) return kPlaceAbove;
  return kPlaceAboveAll;
}

}  // namespace

AIArtHandle CreateNewArt(AIArtType type, AIArtHandle ref) {
  AIArtHandle art = nullptr;
  if (sAIArt->NewArt(type, PlacementFor(ref), ref, &art) != kNoErr) return nullptr;
  return art;
}

AIErr DuplicateArt(AIArtHandle art, AIArtHandle ref, AIArtHandle* newart) {
  const bool checkValid =
      get_BOOLEAN_from_ini(IniFileName().CStr(), kGeneralSection, "CheckValidInDuplArt", false);
  if (checkValid && !IsValidArt(art)) {
    log_info("Bad art for DuplicateArt");
    return kBadParameterErr;
  }
  if (!newart) {
    log_info("Bad copy for DuplicateArt");
    return kBadParameterErr;
  }
  return sAIArt->DuplicateArt(art, PlacementFor(ref), ref, newart);
}

AIErr DeleteGroupContents(AIArtHandle grp) {
  for (;;) {
    AIArtHandle art = nullptr;
    CHECK_CALL(sAIArt->GetArtFirstChild(grp,&art));
    if (!art) return kNoErr;
    if (ArtType(art) == kGroupArt) DeleteGroupContents(art);
    CHECK_CALL(sAIArt->DisposeArt(art));
  }
}

AIArtType ArtType(AIArtHandle art) {
  AIArtType type = kUnknownArt;
  if (sAIArt->GetArtType(art, &type) != kNoErr) return kUnknownArt;
  return type;
}

AIBoolean IsValidArt(AIArtHandle art) { return sAIArt->ValidArt(art); }

AIErr GetPigPathStyle(AIArtHandle art, AIPathStyle* style) {
  if (!art || !style) return RefuseBadArgs("GetPigPathStyle");
  if (sAIArtStyle->ArtHasNoStyle(art)) {
    style->fillPaint = false;
    style->strokePaint = false;
    return kNoErr;
  }
  AIArtStyleHandle stylehandle = nullptr;
  AIPathStyleMap paintdata{};
  CHECK_CALL(sAIArtStyle->GetArtStyle(art,&stylehandle));
  CHECK_CALL(sAIArtStyle->GetPaintAttributes(stylehandle,style,&paintdata));
  return kNoErr;
}

AIErr SetPigPathStyle(AIArtHandle art, AIPathStyle style) {
  if (!art) return RefuseBadArgs("SetPigPathStyle");
  AIArtStyleHandle oldstyle = nullptr;
  AIPathStyle oldpathstyle{};
  AIPathStyleMap paintdata{};
  CHECK_CALL(sAIArtStyle->GetArtStyle(art,&oldstyle));
  if (oldstyle) {
    CHECK_CALL(sAIArtStyle->GetPaintAttributes(oldstyle,&oldpathstyle,&paintdata));
  }
  AIArtStyleHandle newstyle = nullptr;
  CHECK_CALL(sAIArtStyle->NewStyle(&style,&paintdata,0,&newstyle));
  CHECK_CALL(sAIArtStyle->SetArtStyle(art,newstyle));
  return kNoErr;
}
