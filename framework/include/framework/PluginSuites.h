#ifndef FRAMEWORK_PLUGINSUITES_H
#define FRAMEWORK_PLUGINSUITES_H

// The host suites the plug-in holds while it runs, one global pointer each,
// named after the suite. Null while the suite is not held.

#include "hostapi/HostAPI.h"

extern SPBasicSuite* sSPBasic;

// Acquired by the framework itself.
extern const SPAccessSuite* sSPAccess;
extern const SPPluginsSuite* sSPPlugins;
extern const AINotifierSuite* sAINotifier;
extern const AIContextSuite* sAIContext;
extern const ADMBasicSuite* sADMBasic;

// Acquired for the product.
extern const ADMDialogSuite* sADMDialog;
extern const ADMIconSuite* sADMIcon;
extern const SPBlocksSuite* sSPBlocks;
extern const AIArtSuite* sAIArt;
extern const AIDocumentSuite* sAIDocument;
extern const AIRealMathSuite* sAIRealMath;
extern const AIDictionarySuite* sAIDictionary;
extern const AIHardSoftSuite* sAIHardSoft;
extern const AITextFrameSuite* sAITextFrame;
extern const AIPathSuite* sAIPath;
extern const AIGroupSuite* sAIGroup;
extern const AILayerSuite* sAILayer;
extern const AIMenuSuite* sAIMenu;
extern const AIUndoSuite* sAIUndo;
extern const AILegacyTextConversionSuite* sAILegacyTextConversion;
extern const AIMatchingArtSuite* sAIMatchingArt;
extern const AIMdMemorySuite* sAIMdMemory;
extern const AIFilterSuite* sAIFilter;
extern const AIArtSetSuite* sAIArtSet;
extern const AIPathStyleSuite* sAIPathStyle;
extern const AIArtStyleSuite* sAIArtStyle;
extern const AIBlendStyleSuite* sAIBlendStyle;
extern const AIDictionaryIteratorSuite* sAIDictionaryIterator;
extern const AIArraySuite* sAIArray;
extern const AITagSuite* sAITag;
extern const AITransformArtSuite* sAITransformArt;
extern const AIPluginGroupSuite* sAIPluginGroup;
extern const AIUserSuite* sAIUser;
extern const AIRealBezierSuite* sAIRealBezier;
extern const AIRasterSuite* sAIRaster;
extern const AIHitTestSuite* sAIHitTest;
extern const AIPathConstructionSuite* sAIPathConstruction;
extern const AIActionManagerSuite* sAIActionManager;
extern const AIDocumentViewSuite* sAIDocumentView;
extern const AIToolSuite* sAITool;
extern const AITimerSuite* sAITimer;
extern const AICommandManagerSuite* sAICommandManager;
extern const AIRasterizeSuite* sAIRasterize;
extern const AIPreferenceSuite* sAIPreference;
extern const ADMItemSuite* sADMItem;
extern const ADMListSuite* sADMList;
extern const ADMEntrySuite* sADMEntry;
extern const ADMTrackerSuite* sADMTracker;
extern const ADMNotifierSuite* sADMNotifier;

// The text-engine suites: held so that start-up fails on a host without them,
// never called, so their tables stay opaque.
#define MIRTIL_DECLARE_ATE_SUITE(word) extern const void* sATE##word;
HOST_ATE_SUITE_WORDS(MIRTIL_DECLARE_ATE_SUITE)
#undef MIRTIL_DECLARE_ATE_SUITE

#endif
