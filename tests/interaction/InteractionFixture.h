// The started module with an open document, and the readers the tests of
// what a person does with the plug-in add to the shared fixture.
#pragma once

#include "ModuleFixture.h"

class InteractionTest : public ModuleFixture {
 protected:
  // The cursor the tool chose for the present selection.
  uint16_t trackedCursor() {
    EXPECT_EQ(tool->trackCursor({0, 0}), kNoErr);
    uint16_t id = 0;
    EXPECT_TRUE(host->currentCursor(id));
    return id;
  }

  void putPreference(const char* name, int32_t value) { host->preferences().put(kMirtilPrefsSection, name, value); }
};
