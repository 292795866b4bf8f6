// Keys and focus in the main window.
#include <gtest/gtest.h>

#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

TEST(Keyboard, EscClosesTheWindowAndTheProgramEndsWithCodeZero) {
    GameFolder folder;
    RunningTool tool(folder.path());
    ASSERT_NE(tool.window(), nullptr);
    pressKey(VK_ESCAPE);
    DWORD code = 12345;
    ASSERT_TRUE(tool.waitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
}

} // namespace
