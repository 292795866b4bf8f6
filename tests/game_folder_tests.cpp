// Where the tool looks for the game: the folder of its own program file.
#include <gtest/gtest.h>

#include "patcher/game_folder.h"
#include "platform/platform_services.h"

namespace {

struct FolderCase {
    const wchar_t* programPath;
    const wchar_t* runDirectory;
    const wchar_t* gameFolder;
};

TEST(GameFolder, IsTheProgramsFolderWithOneTrailingBackslash) {
    const FolderCase cases[] = {
        {L"D:\\Games\\SWD6\\tool.exe", L"D:\\Games\\SWD6", L"D:\\Games\\SWD6\\"},
        {L"C:\\tool.exe", L"C:", L"C:\\"},
        {L"E:\\轩辕剑6\\Tessaril.exe", L"E:\\轩辕剑6", L"E:\\轩辕剑6\\"},
        // 乗 is 81 5C in code page 936; its second byte must not count as a separator.
        {L"E:\\乗\\Tessaril.exe", L"E:\\乗", L"E:\\乗\\"},
        {L"E:\\乗乗\\a\\Tessaril.exe", L"E:\\乗乗\\a", L"E:\\乗乗\\a\\"},
        {L"\\\\server\\share\\SWD6\\t.exe", L"\\\\server\\share\\SWD6",
         L"\\\\server\\share\\SWD6\\"},
    };
    for (const FolderCase& c : cases) {
        const Text directory = directoryOf(c.programPath);
        EXPECT_STREQ(directory.c_str(), c.runDirectory);
        EXPECT_STREQ(gameFolderFor(directory.c_str()).c_str(), c.gameFolder);
    }
}

TEST(GameFolder, ResolvesToThisProgramsFolderAndStaysTheSameWhenResolvedAgain) {
    wchar_t self[1024];
    const DWORD length = GetModuleFileNameW(nullptr, self, 1024);
    ASSERT_GT(length, 0u);
    std::wstring expected(self, length);
    expected.erase(expected.rfind(L'\\') + 1);

    resolveGameFolder();
    EXPECT_EQ(std::wstring(gameFolder.c_str()), expected);
    resolveGameFolder();
    EXPECT_EQ(std::wstring(gameFolder.c_str()), expected);
    releaseGameFolder();
    EXPECT_TRUE(gameFolder.empty());
    EXPECT_FALSE(gameFolder.holdsBuffer());
}

} // namespace
