// The undo journal: reverting to the mark exactly, user undo and redo,
// silent steps, and handles across all of them.
#include <stdexcept>

#include "HostCoreFixture.h"

using ::testing::ElementsAre;

namespace {

class UndoTest : public HostCoreTest {
 protected:
  void SetUp() override {
    layer = addLayer("Layer");
    addLayer("Other");
    g = newArt(kGroupArt, kPlaceAboveAll, nullptr);
    line = newLine(kPlaceInsideOnTop, g, {{0, 0}, {10, 0}});
    pig = newArt(kPluginArt, kPlaceAboveAll, nullptr);
    ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &edit), kNoErr);
    newLine(kPlaceInsideOnTop, edit, {{1, 1}, {1, 1}});
    ASSERT_EQ(art->GetDictionary(pig, &d), kNoErr);
    ASSERT_EQ(dict->SetRealEntry(d, dict->Key("Mir-Angle"), 0.5f), kNoErr);
  }
  void TearDown() override { EXPECT_EQ(dict->Release(d), kNoErr); }

  AIReal angle() {
    AIReal value = -1;
    EXPECT_EQ(dict->GetRealEntry(d, dict->Key("Mir-Angle"), &value), kNoErr);
    return value;
  }

  // Changes of every kind the journal knows.
  void changeEverything() {
    AIArtHandle made = newLine(kPlaceInsideOnBottom, g, {{5, 5}, {6, 6}});
    ASSERT_EQ(art->SetArtUserAttr(made, kArtSelected, kArtSelected), kNoErr);
    const AIPathSegment moved{{3, 3}, {3, 3}, {3, 3}, true};
    ASSERT_EQ(path->SetPathSegments(line, 1, 1, &moved), kNoErr);
    ASSERT_EQ(path->SetPathClosed(line, true), kNoErr);
    ASSERT_EQ(group->SetGroupClipped(g, true), kNoErr);
    ASSERT_EQ(art->SetArtName(g, "Named"), kNoErr);
    ASSERT_EQ(art->ReorderArt(pig, kPlaceBelow, g), kNoErr);
    AIArtHandle copy = nullptr;
    ASSERT_EQ(art->DuplicateArt(g, kPlaceAboveAll, nullptr, &copy), kNoErr);
    ASSERT_EQ(art->DisposeArt(children(edit)[0]), kNoErr);
    ASSERT_EQ(dict->SetRealEntry(d, dict->Key("Mir-Angle"), 2.0f), kNoErr);
    ASSERT_EQ(dict->SetIntegerEntry(d, dict->Key("Mir-Type"), 1), kNoErr);
    AIPathStyle style{};
    ASSERT_EQ(pathStyle->GetPathStyle(line, &style), kNoErr);
    style.strokePaint = true;
    ASSERT_EQ(pathStyle->SetPathStyle(line, &style), kNoErr);
    ASSERT_EQ(layers->SetLayerVisible(layer, false), kNoErr);
    AILayerHandle other = nullptr;
    ASSERT_EQ(layers->GetNextLayer(layer, &other), kNoErr);
    ASSERT_EQ(layers->SetCurrentLayer(other), kNoErr);
    AIRealMatrix shift;
    math->AIRealMatrixSetTranslate(&shift, 100, 100);
    ASSERT_EQ(transform->TransformArt(g, &shift, 1, kTransformObjects), kNoErr);
  }

  AILayerHandle layer = nullptr;
  AIArtHandle g = nullptr, line = nullptr, pig = nullptr, edit = nullptr;
  AIDictionaryRef d = nullptr;
};

TEST_F(UndoTest, UndoChangesRevertsExactlyToTheMarkAndKeepsIt) {
  document().journal().beginStep();
  AIArtHandle kept = newArt(kPathArt, kPlaceAboveAll, nullptr);  // before the mark: stays
  document().journal().setMark();
  const std::string atMark = dump();
  AILayerHandle current = nullptr;
  ASSERT_EQ(layers->GetCurrentLayer(&current), kNoErr);

  changeEverything();
  EXPECT_NE(dump(), atMark);
  ASSERT_EQ(undo->UndoChanges(), kNoErr);
  EXPECT_EQ(dump(), atMark);
  EXPECT_EQ(angle(), 0.5f);
  EXPECT_FALSE(dict->IsKnown(d, dict->Key("Mir-Type")));
  EXPECT_TRUE(artStyle->ArtHasNoStyle(line));
  AILayerHandle after = nullptr;
  ASSERT_EQ(layers->GetCurrentLayer(&after), kNoErr);
  EXPECT_EQ(after, current);
  AIBoolean visible = false;
  ASSERT_EQ(layers->GetLayerVisible(layer, &visible), kNoErr);
  EXPECT_TRUE(visible);
  EXPECT_TRUE(art->ValidArt(kept));
  expectSound();

  // The mark stays: a second round of feedback reverts the same way.
  AIArtHandle feedback = newLine(kPlaceAboveAll, nullptr, {{0, 0}, {1, 1}});
  ASSERT_EQ(undo->UndoChanges(), kNoErr);
  EXPECT_EQ(dump(), atMark);
  EXPECT_FALSE(art->ValidArt(feedback));
  document().journal().endStep();
  expectSound();
}

TEST_F(UndoTest, HandlesOfArtFromBeforeTheMarkStayValidAfterARevert) {
  document().journal().beginStep();
  AIArtHandle inner = line;
  ASSERT_EQ(art->DisposeArt(g), kNoErr);
  ASSERT_EQ(art->DisposeArt(pig), kNoErr);
  EXPECT_FALSE(art->ValidArt(inner));
  AIDictionaryRef held = nullptr;
  EXPECT_EQ(art->GetDictionary(pig, &held), kHostStaleHandleErr);
  ASSERT_EQ(undo->UndoChanges(), kNoErr);
  EXPECT_TRUE(art->ValidArt(g));
  EXPECT_TRUE(art->ValidArt(inner));
  EXPECT_THAT(children(g), ElementsAre(inner));
  AIArtHandle editAgain = nullptr;
  ASSERT_EQ(pluginGroup->GetPluginArtEditArt(pig, &editAgain), kNoErr);
  EXPECT_EQ(editAgain, edit);
  EXPECT_EQ(angle(), 0.5f);
  document().journal().endStep();
  expectSound();
}

TEST_F(UndoTest, UserStepsUndoAndRedoWholeAndRedoIsDroppedByANewChange) {
  const std::string start = dump();
  document().journal().beginStep();
  changeEverything();
  document().journal().endStep();
  const std::string changed = dump();

  document().journal().beginStep();
  AIArtHandle later = newArt(kPathArt, kPlaceAboveAll, nullptr);
  document().journal().endStep();
  EXPECT_EQ(document().journal().undoDepth(), 2u);

  ASSERT_TRUE(document().journal().undo());
  EXPECT_FALSE(art->ValidArt(later));
  EXPECT_EQ(dump(), changed);
  ASSERT_TRUE(document().journal().undo());
  EXPECT_EQ(dump(), start);
  EXPECT_EQ(angle(), 0.5f);
  expectSound();

  ASSERT_TRUE(document().journal().redo());
  EXPECT_EQ(dump(), changed);
  EXPECT_EQ(angle(), 2.0f);
  ASSERT_TRUE(document().journal().redo());
  EXPECT_TRUE(art->ValidArt(later));  // the same handle comes back
  EXPECT_FALSE(document().journal().redo());
  expectSound();

  ASSERT_TRUE(document().journal().undo());
  document().journal().beginStep();
  ASSERT_EQ(art->SetArtName(line, "new"), kNoErr);
  document().journal().endStep();
  EXPECT_EQ(document().journal().redoDepth(), 0u);
  EXPECT_FALSE(document().journal().redo());
  expectSound();
}

TEST_F(UndoTest, ASilentStepJoinsTheStepBeforeIt) {
  document().journal().beginStep();
  ASSERT_EQ(art->SetArtName(g, "user"), kNoErr);
  document().journal().endStep();

  document().journal().beginStep();
  ASSERT_EQ(undo->SetSilent(true), kNoErr);
  ASSERT_EQ(dict->SetRealEntry(d, dict->Key("Mir-Angle"), 9.0f), kNoErr);
  document().journal().endStep();
  EXPECT_EQ(document().journal().undoDepth(), 1u);

  ASSERT_TRUE(document().journal().undo());
  EXPECT_EQ(angle(), 0.5f);
  char name[16];
  ASSERT_EQ(art->GetArtName(g, name, sizeof name, nullptr), kNoErr);
  EXPECT_STREQ(name, "<Group>");
  expectSound();
}

TEST_F(UndoTest, TheStepGuardClosesItsOwnStepOnEveryWayOutAndJoinsAnOpenOne) {
  hostcore::Journal& journal = document().journal();
  try {
    const hostcore::UndoStep step(journal);
    ASSERT_EQ(art->SetArtName(g, "thrown"), kNoErr);
    throw std::runtime_error("a change that fails half way");
  } catch (const std::runtime_error&) {
  }
  EXPECT_FALSE(journal.stepOpen());
  EXPECT_EQ(journal.undoDepth(), 1u);

  journal.beginStep();
  {
    const hostcore::UndoStep inner(journal, hostcore::UndoStep::Kind::UnlessOpen);
    ASSERT_EQ(art->SetArtName(g, "inner"), kNoErr);
  }
  EXPECT_TRUE(journal.stepOpen());  // the guard left the step it joined open
  ASSERT_EQ(art->SetArtName(line, "outer"), kNoErr);
  journal.endStep();
  EXPECT_EQ(journal.undoDepth(), 2u);

  {
    const hostcore::UndoStep silent(journal, hostcore::UndoStep::Kind::Silent);
    ASSERT_EQ(dict->SetRealEntry(d, dict->Key("Mir-Angle"), 9.0f), kNoErr);
  }
  EXPECT_EQ(journal.undoDepth(), 2u);  // joined the step before it
  ASSERT_TRUE(journal.undo());
  EXPECT_EQ(angle(), 0.5f);
  char name[16];
  ASSERT_EQ(art->GetArtName(g, name, sizeof name, nullptr), kNoErr);
  EXPECT_STREQ(name, "thrown");
  expectSound();
}

TEST_F(UndoTest, ChangesOutsideAStepClearTheHistoryAndFreeWhatItHeld) {
  document().journal().beginStep();
  ASSERT_EQ(art->DisposeArt(g), kNoErr);
  document().journal().endStep();
  EXPECT_EQ(document().journal().undoDepth(), 1u);
  ASSERT_EQ(art->SetArtName(pig, "outside"), kNoErr);
  EXPECT_EQ(document().journal().undoDepth(), 0u);
  EXPECT_FALSE(document().journal().undo());
  expectSound();
}

TEST_F(UndoTest, TheOldestStepsGoBeyondTheLimit) {
  document().journal().setLimit(2);
  for (int i = 0; i < 4; ++i) {
    document().journal().beginStep();
    ASSERT_EQ(art->DisposeArt(newArt(kPathArt, kPlaceAboveAll, nullptr)), kNoErr);
    document().journal().endStep();
  }
  EXPECT_EQ(document().journal().undoDepth(), 2u);
  expectSound();
}

TEST_F(UndoTest, ALongDragOfRevertedFeedbackKeepsNoDeadArt) {
  document().journal().beginStep();
  document().journal().setMark();
  AIArtHandle firstFeedback = nullptr;
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(undo->UndoChanges(), kNoErr);
    AIArtHandle feedback = newLine(kPlaceAboveAll, nullptr, {{0, 0}, {float(i), 1}});
    if (i == 0) firstFeedback = feedback;
  }
  ASSERT_EQ(undo->UndoChanges(), kNoErr);
  document().journal().endStep();
  EXPECT_FALSE(art->ValidArt(firstFeedback));
  EXPECT_EQ(document().journal().undoDepth(), 0u);  // nothing lasting was done
  expectSound();                                    // reports art that is dead but not freed
}

std::vector<std::string> LayerTitles(hostcore::Document& document) {
  std::vector<std::string> titles;
  AILayerHandle layer = nullptr;
  EXPECT_EQ(document.firstLayer(&layer), kNoErr);
  while (layer) {
    std::string title;
    EXPECT_EQ(document.layerTitle(layer, &title), kNoErr);
    titles.push_back(title);
    EXPECT_EQ(document.nextLayer(layer, &layer), kNoErr);
  }
  return titles;
}

TEST_F(UndoTest, ALayerAddedOnTopComesFirstAndGoesWithItsStep) {
  document().journal().beginStep();
  AILayerHandle top = nullptr;
  ASSERT_EQ(document().addLayer("Top", &top, hostcore::Document::LayerPlace::Top), kNoErr);
  document().journal().endStep();
  EXPECT_THAT(LayerTitles(document()), ElementsAre("Top", "Layer", "Other"));
  AILayerHandle current = nullptr;
  ASSERT_EQ(document().currentLayer(&current), kNoErr);
  EXPECT_EQ(current, layer);  // only the first layer made becomes current by itself

  ASSERT_TRUE(document().journal().undo());
  EXPECT_THAT(LayerTitles(document()), ElementsAre("Layer", "Other"));
  ASSERT_TRUE(document().journal().redo());
  EXPECT_THAT(LayerTitles(document()), ElementsAre("Top", "Layer", "Other"));
  expectSound();
}

// What undo and redo need of a step, and no more: art made in the step is
// not followed through its changes, and art it made and disposed of is not
// kept at all.
class JournalSizeTest : public UndoTest {
 protected:
  // One silent step of an animation: the art made by the step before is
  // replaced by a new group holding a line, and the angle moves on.
  void silentStep(float angle) {
    document().journal().beginStep();
    ASSERT_EQ(undo->SetSilent(true), kNoErr);
    if (!children(g).empty()) {
      ASSERT_EQ(art->DisposeArt(children(g)[0]), kNoErr);
    }
    AIArtHandle frame = newArt(kGroupArt, kPlaceInsideOnTop, g);
    AIArtHandle stroke = newLine(kPlaceInsideOnTop, frame, {{0, 0}, {angle, 1}});
    AIRealMatrix turn;
    math->AIRealMatrixSetIdentity(&turn);
    math->AIRealMatrixConcatRotate(&turn, angle);
    ASSERT_EQ(transform->TransformArt(stroke, &turn, 1, kTransformObjects), kNoErr);
    ASSERT_EQ(dict->SetRealEntry(d, dict->Key("Mir-Angle"), angle), kNoErr);
    document().journal().endStep();
  }
};

TEST_F(JournalSizeTest, AnEndlessRunOfSilentStepsHoldsNoReplacedArt) {
  const std::string before = dump();
  document().journal().beginStep();
  ASSERT_EQ(art->SetArtName(g, "user"), kNoErr);
  document().journal().endStep();

  silentStep(1);
  silentStep(2);
  const size_t settled = document().journal().recordCount();
  for (int i = 3; i < 100; ++i) silentStep(float(i));
  EXPECT_EQ(document().journal().recordCount(), settled);
  EXPECT_EQ(document().journal().undoDepth(), 1u);
  expectSound();  // replaced art that is dead but still held is reported

  const std::string after = dump();
  ASSERT_TRUE(document().journal().undo());
  EXPECT_EQ(dump(), before);
  EXPECT_EQ(angle(), 0.5f);
  ASSERT_TRUE(document().journal().redo());
  EXPECT_EQ(dump(), after);
  EXPECT_EQ(angle(), 99.0f);
  expectSound();
}

TEST_F(JournalSizeTest, ArtMadeInAStepComesBackByRedoAsTheStepLeftIt) {
  const std::string before = dump();
  document().journal().beginStep();
  AIArtHandle made = newLine(kPlaceInsideOnTop, g, {{0, 0}, {4, 0}});
  AIRealMatrix shift;
  math->AIRealMatrixSetTranslate(&shift, 7, 8);
  ASSERT_EQ(transform->TransformArt(made, &shift, 1, kTransformObjects), kNoErr);
  ASSERT_EQ(art->SetArtName(made, "made"), kNoErr);
  AIDictionaryRef madeDict = nullptr;
  ASSERT_EQ(art->GetDictionary(made, &madeDict), kNoErr);
  ASSERT_EQ(dict->SetIntegerEntry(madeDict, dict->Key("Mir-Type"), 1), kNoErr);
  document().journal().endStep();
  const std::string after = dump();

  ASSERT_TRUE(document().journal().undo());
  EXPECT_EQ(dump(), before);
  EXPECT_FALSE(art->ValidArt(made));
  ASSERT_TRUE(document().journal().redo());
  EXPECT_EQ(dump(), after);
  int32_t type = 0;
  EXPECT_EQ(dict->GetIntegerEntry(madeDict, dict->Key("Mir-Type"), &type), kNoErr);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(dict->Release(madeDict), kNoErr);
  expectSound();
}

TEST_F(JournalSizeTest, ArtChangedAfterTheMarkIsRevertedWhenMadeBeforeIt) {
  document().journal().beginStep();
  AIArtHandle made = newLine(kPlaceInsideOnTop, g, {{0, 0}, {4, 0}});
  document().journal().setMark();
  const std::string atMark = dump();
  AIRealMatrix shift;
  math->AIRealMatrixSetTranslate(&shift, 7, 8);
  ASSERT_EQ(transform->TransformArt(made, &shift, 1, kTransformObjects), kNoErr);
  ASSERT_EQ(undo->UndoChanges(), kNoErr);
  EXPECT_EQ(dump(), atMark);
  document().journal().endStep();
  expectSound();
}

TEST_F(JournalSizeTest, DisposedNewArtHoldingOlderArtIsKeptForUndo) {
  const std::string before = dump();
  document().journal().beginStep();
  AIArtHandle holder = newArt(kGroupArt, kPlaceAboveAll, nullptr);
  ASSERT_EQ(art->ReorderArt(line, kPlaceInsideOnTop, holder), kNoErr);
  ASSERT_EQ(art->DisposeArt(holder), kNoErr);
  document().journal().endStep();
  EXPECT_FALSE(art->ValidArt(line));

  ASSERT_TRUE(document().journal().undo());
  EXPECT_EQ(dump(), before);
  EXPECT_TRUE(art->ValidArt(line));
  expectSound();
}

}  // namespace
