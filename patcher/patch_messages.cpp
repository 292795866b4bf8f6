#include "patcher/patch_messages.h"

#include <utility>

const wchar_t markerMissingText[] = L"请把我放在游戏目录下运行，如果您不清楚在哪，"
                                    L"请全盘搜索文件名SWD6.exe 并和它放在一块";
const wchar_t noticeTitle[] = L"提示";
const wchar_t attentionTitle[] = L"注意";

namespace {

const wchar_t lineBreak[] = L"\r\n";

// Appends the paths of the files whose outcome is `wanted`, under a heading; false if none.
bool appendFilesWith(Text& text, const PatchReport& report, FileOutcome wanted,
                     const wchar_t* heading) {
    bool any = false;
    for (unsigned row = 0; row < moviePatchCount; ++row) {
        if (report.files[row].outcome != wanted)
            continue;
        if (!any)
            text.append(lineBreak).append(heading);
        text.append(lineBreak).append(moviePatchTable[row].relativePath);
        any = true;
    }
    return any;
}

} // namespace

const wchar_t* reasonFor(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::NotTried:
        return L"没有检查这个文件。";
    case FileOutcome::Missing:
        return L"找不到这个文件。";
    case FileOutcome::InUse:
        return L"文件正被其他程序占用，游戏可能正在运行。请先关闭游戏，再试一次。";
    case FileOutcome::ReadOnly:
        return L"文件被设为只读。请在文件属性中取消“只读”，或以管理员身份运行本工具，再试一次。";
    case FileOutcome::NoPermission:
        return L"没有写入这个文件的权限。请以管理员身份运行本工具，再试一次。";
    case FileOutcome::OpenFailed:
        return L"无法打开这个文件。";
    case FileOutcome::TooShort:
        return L"文件比预期的短，不是已知的游戏版本，未作改动。";
    case FileOutcome::UnknownContent:
        return L"文件内容不是已知的游戏版本，未作改动。";
    case FileOutcome::ReadFailed:
        return L"无法读取这个文件，未作改动。";
    case FileOutcome::WriteFailed:
        return L"写入这个文件失败。";
    case FileOutcome::Changed:
    case FileOutcome::AlreadyWanted:
        break;
    }
    return nullptr;
}

PatchMessage patchMessage(const PatchReport& report, MovieState state, const wchar_t* successText) {
    if (!report.markerFound)
        return {Text(markerMissingText), attentionTitle};
    if (allFilesInState(report))
        return {Text(successText), noticeTitle};

    Text text(state == MovieState::TurnedOff ? L"开场动画没有全部关闭。"
                                             : L"开场动画没有全部恢复。");
    text.append(lineBreak).append(lineBreak).append(L"以下文件没有修改：");
    for (unsigned row = 0; row < moviePatchCount; ++row) {
        const FileReport& file = report.files[row];
        const wchar_t* reason = reasonFor(file.outcome);
        if (!reason)
            continue;
        text.append(lineBreak).append(moviePatchTable[row].relativePath).append(L"：");
        text.append(reason);
        const bool codeHelps = file.outcome == FileOutcome::OpenFailed ||
                               file.outcome == FileOutcome::ReadFailed ||
                               file.outcome == FileOutcome::WriteFailed;
        if (codeHelps && file.error)
            text.append(L"（错误代码 ").appendNumber(file.error).append(L"）");
    }
    text.append(lineBreak);
    const bool changed = appendFilesWith(text, report, FileOutcome::Changed, L"已修改的文件：");
    if (!changed)
        text.append(lineBreak).append(L"没有修改任何文件。");
    appendFilesWith(text, report, FileOutcome::AlreadyWanted, L"已是所需状态、无需修改的文件：");
    return {std::move(text), attentionTitle};
}
