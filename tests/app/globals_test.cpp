// The program's two globals: what a run leaves in them, and the clean-up
// routine the start routine registered, which frees them at the end.
#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "runtime/app/exit_routines.h"
#include "runtime/values/array_block.h"
#include "tests/app/tool_window.h"
#include "tests/support/heap_probe.h"

namespace {

using namespace tool;
namespace app = quillet::app;

TEST(GlobalsTest, TheRegisteredCleanUpFreesTheUndoTextAndEveryLine) {
    Reset();
    RunCleanup("one\r\n\r\ntwo\r\nthree", {false, true, false, false, false});
    // The lines of the last run stay in LineArray until the next one.
    ASSERT_EQ(app::LineArray.Count(), 4);
    std::vector<const void*> blocks = {app::UndoText.Get(), app::LineArray.Get()};
    void** lines = quillet::ArrayReferences(app::LineArray.Get());
    for (int32_t i = 0; i < 4; ++i)
        if (lines[i] != nullptr) blocks.push_back(lines[i]);
    ASSERT_EQ(blocks.size(), 5u);  // the empty line is a null element
    for (const void* block : blocks) ASSERT_TRUE(IsHeapBlock(block));

    // What the runtime's shutdown does with the routine the program registered.
    quillet::CallExitRoutines();
    EXPECT_EQ(app::UndoText.Get(), nullptr);
    EXPECT_EQ(app::LineArray.Get(), nullptr);
    for (const void* block : blocks) EXPECT_FALSE(IsHeapBlock(block));

    // The rest of the tests go on with the program as it starts.
    app::InitialiseGlobals();
    quillet::AddExitRoutine(app::FreeGlobals);
    EXPECT_EQ(app::LineArray.Count(), 0);
}

}  // namespace
