// What the player reads after a run.
#include <gtest/gtest.h>

#include <set>

#include "patcher/patch_messages.h"

namespace {

PatchReport reportOf(FileOutcome a, FileOutcome b, FileOutcome c, DWORD error = 0) {
    return {true, {{a, error}, {b, error}, {c, error}}};
}

std::wstring textOf(const PatchMessage& message) {
    return message.text.c_str();
}

bool contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

TEST(PatchMessage, SuccessOnlyWhenEveryFileEndsInTheWantedState) {
    const PatchReport done =
        reportOf(FileOutcome::Changed, FileOutcome::AlreadyWanted, FileOutcome::Changed);
    const PatchMessage off = patchMessage(done, MovieState::TurnedOff, L"关闭成功");
    EXPECT_EQ(textOf(off), L"关闭成功");
    EXPECT_STREQ(off.title, L"提示");
    const PatchMessage on = patchMessage(done, MovieState::Restored, L"恢复成功");
    EXPECT_EQ(textOf(on), L"恢复成功");
    EXPECT_STREQ(on.title, L"提示");
}

TEST(PatchMessage, MissingMarkerAsksToBePutBesideTheGame) {
    PatchReport report =
        reportOf(FileOutcome::NotTried, FileOutcome::NotTried, FileOutcome::NotTried);
    report.markerFound = false;
    const PatchMessage message = patchMessage(report, MovieState::TurnedOff, L"关闭成功");
    EXPECT_EQ(textOf(message), L"请把我放在游戏目录下运行，如果您不清楚在哪，请全盘搜索文件名"
                               L"SWD6.exe 并和它放在一块");
    EXPECT_STREQ(message.title, L"注意");
}

TEST(PatchMessage, NamesEachUnchangedFileWithItsReasonAndTheChangedOnes) {
    const PatchReport report =
        reportOf(FileOutcome::Changed, FileOutcome::InUse, FileOutcome::AlreadyWanted);
    const PatchMessage message = patchMessage(report, MovieState::TurnedOff, L"关闭成功");
    const std::wstring text = textOf(message);
    EXPECT_STREQ(message.title, L"注意");
    EXPECT_FALSE(contains(text, L"成功"));
    EXPECT_TRUE(contains(text, L"开场动画没有全部关闭"));
    EXPECT_TRUE(contains(text, std::wstring(L"assetbundles\\Movie\\Opening_S.unity3d：") +
                                   reasonFor(FileOutcome::InUse)));
    EXPECT_TRUE(contains(text, L"关闭游戏"));
    EXPECT_TRUE(contains(text, L"已修改的文件：\r\nassetbundles\\Movie\\LOGO.unity3d"));
    EXPECT_TRUE(contains(text, L"无需修改的文件：\r\nassetbundles\\Movie\\TOTEM_LOGO.unity3d"));
    EXPECT_FALSE(contains(text, L"没有修改任何文件"));
}

TEST(PatchMessage, SaysSoWhenNoFileWasChanged) {
    const PatchReport report =
        reportOf(FileOutcome::Missing, FileOutcome::Missing, FileOutcome::UnknownContent);
    const std::wstring text = textOf(patchMessage(report, MovieState::Restored, L"恢复成功"));
    EXPECT_TRUE(contains(text, L"开场动画没有全部恢复"));
    EXPECT_TRUE(contains(text, L"没有修改任何文件"));
    EXPECT_FALSE(contains(text, L"已修改的文件"));
    for (const MoviePatch& patch : moviePatchTable)
        EXPECT_TRUE(contains(text, patch.relativePath));
}

TEST(PatchMessage, EachKindOfFailureHasItsOwnPlainReason) {
    struct Expectation {
        FileOutcome outcome;
        const wchar_t* says;
    };
    const Expectation kinds[] = {
        {FileOutcome::Missing, L"找不到"},
        {FileOutcome::InUse, L"占用"},
        {FileOutcome::ReadOnly, L"只读"},
        {FileOutcome::NoPermission, L"管理员身份"},
        {FileOutcome::OpenFailed, L"无法打开"},
        {FileOutcome::TooShort, L"不是已知的游戏版本"},
        {FileOutcome::UnknownContent, L"不是已知的游戏版本"},
        {FileOutcome::ReadFailed, L"无法读取"},
        {FileOutcome::WriteFailed, L"写入"},
    };
    std::set<std::wstring> reasons;
    for (const Expectation& kind : kinds) {
        const wchar_t* reason = reasonFor(kind.outcome);
        ASSERT_NE(reason, nullptr);
        EXPECT_TRUE(contains(reason, kind.says)) << static_cast<int>(kind.outcome);
        reasons.insert(reason);
        const PatchReport report =
            reportOf(kind.outcome, FileOutcome::Changed, FileOutcome::Changed);
        EXPECT_TRUE(
            contains(textOf(patchMessage(report, MovieState::TurnedOff, L"关闭成功")), reason));
    }
    EXPECT_EQ(reasons.size(), std::size(kinds)) << "two kinds read the same";
    EXPECT_EQ(reasonFor(FileOutcome::Changed), nullptr);
    EXPECT_EQ(reasonFor(FileOutcome::AlreadyWanted), nullptr);
}

TEST(PatchMessage, GivesTheSystemsErrorCodeWhereNoPlainReasonCovers) {
    const PatchReport report =
        reportOf(FileOutcome::WriteFailed, FileOutcome::Changed, FileOutcome::Changed, 112);
    EXPECT_TRUE(contains(textOf(patchMessage(report, MovieState::TurnedOff, L"关闭成功")),
                         L"（错误代码 112）"));
    const PatchReport missing =
        reportOf(FileOutcome::Missing, FileOutcome::Changed, FileOutcome::Changed, 2);
    EXPECT_FALSE(
        contains(textOf(patchMessage(missing, MovieState::TurnedOff, L"关闭成功")), L"错误代码"));
}

} // namespace
