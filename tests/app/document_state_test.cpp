#include "app/document_state.h"

#include <gtest/gtest.h>

TEST(DocumentState, SetterNotifiesOnlyRealChanges) {
    DocumentState state;
    std::vector<DataKind> notified;
    state.onChangedFlag = [&](DataKind kind) { notified.push_back(kind); };
    EXPECT_TRUE(state.setChanged(DataKind::Maps, true));
    EXPECT_FALSE(state.setChanged(DataKind::Maps, true));
    EXPECT_TRUE(state.setChanged(DataKind::Maps, false));
    EXPECT_EQ(notified, (std::vector<DataKind>{DataKind::Maps, DataKind::Maps}));
}

TEST(DocumentState, LocksHoldOnlyForTheirFourKinds) {
    DocumentState state;
    for (DataKind kind : {DataKind::Walls, DataKind::Sprites, DataKind::Graphics, DataKind::Sounds}) {
        state.setLocked(kind, true);
        EXPECT_FALSE(state.setChanged(kind, true));
        EXPECT_FALSE(state.changed(kind));
        state.setLocked(kind, false);
        EXPECT_TRUE(state.setChanged(kind, true));
    }
    for (DataKind kind : {DataKind::Maps, DataKind::Fonts, DataKind::Tile8s, DataKind::Screens}) {
        state.setLocked(kind, true);
        EXPECT_FALSE(state.locked(kind));
        EXPECT_TRUE(state.setChanged(kind, true));
    }
}

TEST(DocumentState, SaveAllNeedsLoadAllAndSomethingUnsaved) {
    DocumentState state;
    EXPECT_FALSE(state.anythingUnsaved());
    state.setChanged(DataKind::Screens, true);
    EXPECT_TRUE(state.anythingUnsaved());
    EXPECT_FALSE(state.saveAllEnabled());
    state.loadAllUsed = true;
    EXPECT_TRUE(state.saveAllEnabled());
    // Music has no changed flag.
    EXPECT_FALSE(state.setChanged(DataKind::Music, true));
    state.setChanged(DataKind::Screens, false);
    EXPECT_FALSE(state.saveAllEnabled());
}
