#include "FilesFixture.h"

namespace {

TEST_F(FilesTest, EveryArtHasAnIdOfItsOwn) {
    AILayerHandle layer;
    AIArtHandle group, a, b, copy;
    doc().addLayer("L", &layer);
    doc().firstArtOfLayer(layer, &group);
    doc().newArt(kPathArt, kPlaceInsideOnTop, group, &a);
    doc().newArt(kGroupArt, kPlaceInsideOnTop, group, &b);
    std::string idA, idB, idCopy;
    doc().artId(a, &idA);
    doc().artId(b, &idB);
    EXPECT_FALSE(idA.empty());
    EXPECT_NE(idA, idB);
    EXPECT_EQ(doc().artById(idA), a);

    ASSERT_EQ(doc().setArtId(a, "mine"), kNoErr);
    EXPECT_EQ(doc().artById("mine"), a);
    EXPECT_EQ(doc().artById(idA), nullptr);
    EXPECT_EQ(doc().setArtId(b, "mine"), kHostNotAllowedErr);
    EXPECT_EQ(doc().setArtId(b, ""), kHostBadParameterErr);

    // A duplicate gets a new id; a copy placed as read from a file keeps its own when it is free.
    doc().duplicateArt(a, kPlaceAbove, a, &copy);
    doc().artId(copy, &idCopy);
    EXPECT_NE(idCopy, "mine");
    hostcore::ArtCopy stored;
    doc().copyArt(a, &stored);
    EXPECT_EQ(stored.id, "mine");
    AIArtHandle placed;
    doc().placeCopy(stored, kPlaceInsideOnTop, group, &placed);
    std::string placedId;
    doc().artId(placed, &placedId);
    EXPECT_NE(placedId, "mine");  // taken by `a`
    doc().disposeArt(a);
    EXPECT_EQ(doc().artById("mine"), nullptr);
}

TEST_F(FilesTest, DisposedArtFreesItsIdOnlyWhenUndoCannotBringItBack) {
    AILayerHandle layer;
    AIArtHandle group, a;
    doc().addLayer("L", &layer);
    doc().firstArtOfLayer(layer, &group);
    doc().newArt(kPathArt, kPlaceInsideOnTop, group, &a);
    doc().setArtId(a, "kept");
    doc().journal().beginStep();
    doc().disposeArt(a);
    doc().journal().endStep();
    hostcore::ArtCopy copy;
    copy.type = kPathArt;
    copy.id = "kept";
    AIArtHandle other;
    doc().journal().beginStep();
    doc().placeCopy(copy, kPlaceInsideOnTop, group, &other);
    doc().journal().endStep();
    std::string otherId;
    doc().artId(other, &otherId);
    EXPECT_NE(otherId, "kept");  // the disposed art may come back by undo
    ASSERT_TRUE(doc().journal().undo());
    ASSERT_TRUE(doc().journal().undo());
    EXPECT_EQ(doc().artById("kept"), a);
    EXPECT_EQ(doc().artById(otherId), nullptr);
}

}  // namespace
