#include "FilesFixture.h"

namespace {

TEST_F(FilesTest, EveryArtHasAnIdOfItsOwn) {
  AILayerHandle layer;
  AIArtHandle group, a, b, copy;
  EXPECT_EQ(doc().addLayer("L", &layer), kNoErr);
  EXPECT_EQ(doc().firstArtOfLayer(layer, &group), kNoErr);
  EXPECT_EQ(doc().newArt(kPathArt, kPlaceInsideOnTop, group, &a), kNoErr);
  EXPECT_EQ(doc().newArt(kGroupArt, kPlaceInsideOnTop, group, &b), kNoErr);
  std::string idA, idB, idCopy;
  EXPECT_EQ(doc().artId(a, &idA), kNoErr);
  EXPECT_EQ(doc().artId(b, &idB), kNoErr);
  EXPECT_FALSE(idA.empty());
  EXPECT_NE(idA, idB);
  EXPECT_EQ(doc().artById(idA), a);

  ASSERT_EQ(doc().setArtId(a, "mine"), kNoErr);
  EXPECT_EQ(doc().artById("mine"), a);
  EXPECT_EQ(doc().artById(idA), nullptr);
  EXPECT_EQ(doc().setArtId(b, "mine"), kHostNotAllowedErr);
  EXPECT_EQ(doc().setArtId(b, ""), kHostBadParameterErr);

  // A duplicate gets a new id; a copy placed as read from a file keeps its own when it is free.
  EXPECT_EQ(doc().duplicateArt(a, kPlaceAbove, a, &copy), kNoErr);
  EXPECT_EQ(doc().artId(copy, &idCopy), kNoErr);
  EXPECT_NE(idCopy, "mine");
  hostcore::ArtCopy stored;
  EXPECT_EQ(doc().copyArt(a, &stored), kNoErr);
  EXPECT_EQ(stored.id, "mine");
  AIArtHandle placed;
  EXPECT_EQ(doc().placeCopy(stored, kPlaceInsideOnTop, group, &placed), kNoErr);
  std::string placedId;
  EXPECT_EQ(doc().artId(placed, &placedId), kNoErr);
  EXPECT_NE(placedId, "mine");  // taken by `a`
  EXPECT_EQ(doc().disposeArt(a), kNoErr);
  EXPECT_EQ(doc().artById("mine"), nullptr);
}

TEST_F(FilesTest, DisposedArtFreesItsIdOnlyWhenUndoCannotBringItBack) {
  AILayerHandle layer;
  AIArtHandle group, a;
  EXPECT_EQ(doc().addLayer("L", &layer), kNoErr);
  EXPECT_EQ(doc().firstArtOfLayer(layer, &group), kNoErr);
  EXPECT_EQ(doc().newArt(kPathArt, kPlaceInsideOnTop, group, &a), kNoErr);
  EXPECT_EQ(doc().setArtId(a, "kept"), kNoErr);
  doc().journal().beginStep();
  EXPECT_EQ(doc().disposeArt(a), kNoErr);
  doc().journal().endStep();
  hostcore::ArtCopy copy;
  copy.type = kPathArt;
  copy.id = "kept";
  AIArtHandle other;
  doc().journal().beginStep();
  EXPECT_EQ(doc().placeCopy(copy, kPlaceInsideOnTop, group, &other), kNoErr);
  doc().journal().endStep();
  std::string otherId;
  EXPECT_EQ(doc().artId(other, &otherId), kNoErr);
  EXPECT_NE(otherId, "kept");  // the disposed art may come back by undo
  ASSERT_TRUE(doc().journal().undo());
  ASSERT_TRUE(doc().journal().undo());
  EXPECT_EQ(doc().artById("kept"), a);
  EXPECT_EQ(doc().artById(otherId), nullptr);
}

}  // namespace
