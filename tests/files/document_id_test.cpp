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

// Ids made up here are spelled out only when asked for; one given in the
// same spelling must still be refused, or skipped by the counter, exactly
// when it names the same art type and number.
TEST_F(FilesTest, AnIdSpelledAsAMadeUpOneIsHeldOnce) {
  AILayerHandle layer;
  AIArtHandle top, path, group, other, next;
  EXPECT_EQ(doc().addLayer("L", &layer), kNoErr);
  EXPECT_EQ(doc().firstArtOfLayer(layer, &top), kNoErr);
  EXPECT_EQ(doc().newArt(kPathArt, kPlaceInsideOnTop, top, &path), kNoErr);
  EXPECT_EQ(doc().newArt(kGroupArt, kPlaceInsideOnTop, top, &group), kNoErr);
  EXPECT_EQ(doc().newArt(kGroupArt, kPlaceInsideOnTop, top, &other), kNoErr);
  std::string pathId, groupId;
  EXPECT_EQ(doc().artId(path, &pathId), kNoErr);
  EXPECT_EQ(doc().artId(group, &groupId), kNoErr);
  ASSERT_EQ(pathId.compare(0, 4, "path"), 0);
  ASSERT_EQ(groupId.compare(0, 1, "g"), 0);
  const uint64_t groupNumber = std::stoull(groupId.substr(1));

  EXPECT_EQ(doc().setArtId(other, pathId), kHostNotAllowedErr);
  hostcore::ArtCopy copy;
  copy.type = kPathArt;
  copy.id = pathId;
  AIArtHandle placed;
  EXPECT_EQ(doc().placeCopy(copy, kPlaceInsideOnTop, top, &placed), kNoErr);
  std::string placedId;
  EXPECT_EQ(doc().artId(placed, &placedId), kNoErr);
  EXPECT_NE(placedId, pathId);
  // The same number under another type's prefix, or written with a
  // leading zero, is another id.
  EXPECT_EQ(doc().setArtId(other, "path" + std::to_string(groupNumber)), kNoErr);
  EXPECT_EQ(doc().artById(groupId), group);
  EXPECT_EQ(doc().setArtId(other, "g0" + std::to_string(groupNumber)), kNoErr);
  EXPECT_EQ(doc().artById(groupId), group);

  // A given id the counter would reach next is skipped, for its type only.
  const uint64_t placedNumber = std::stoull(placedId.substr(4));
  const std::string reserved = "path" + std::to_string(placedNumber + 1);
  EXPECT_EQ(doc().setArtId(other, reserved), kNoErr);
  EXPECT_EQ(doc().newArt(kPathArt, kPlaceInsideOnTop, top, &next), kNoErr);
  std::string nextId;
  EXPECT_EQ(doc().artId(next, &nextId), kNoErr);
  EXPECT_EQ(nextId, "path" + std::to_string(placedNumber + 2));
  EXPECT_EQ(doc().artById(reserved), other);
  EXPECT_EQ(doc().artById(nextId), next);
}

}  // namespace
