// A game folder may hold anything, including a DLL under the name of a system DLL. Tessaril
// restricts its DLL search to the system folder at start, so such a DLL beside it is never
// loaded. A canary DLL under those names records every program that loads it; a probe that
// loads the same DLLs the same way, with and without the restriction, shows the canaries
// are found whenever the search is not restricted.
//
// The names are ones Tessaril loads by name after it starts: uxtheme when its window is
// shown, shlwapi as a DLL the shell needs when a page is opened. Wine prefers its own
// builtin DLLs whatever lies beside a program; its DLL overrides make it look for a native
// copy first, as Windows does for DLLs that are not on its known-DLL list.
#include <gtest/gtest.h>

#include "tests/support/game_files.h"
#include "tests/support/tool_driver.h"

namespace {

const wchar_t* const plantedDlls[] = {L"uxtheme.dll", L"shlwapi.dll"};

// Makes Wine look for native copies of the planted DLLs first in the programs it starts
// under these names, and forgets it again. WINEDLLOVERRIDES would do the same, but Wine
// reads it from the environment of the Unix process, which a Windows program cannot change
// for the programs it starts; the per-program registry setting reaches them.
class NativeDllsFirst {
  public:
    explicit NativeDllsFirst(std::initializer_list<const wchar_t*> programs) : programs_(programs) {
        for (const wchar_t* program : programs_) {
            HKEY key;
            if (RegCreateKeyExW(HKEY_CURRENT_USER, overridesKey(program).c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
                ADD_FAILURE() << "cannot write the DLL overrides";
                continue;
            }
            const wchar_t order[] = L"native,builtin";
            for (const wchar_t* dll : plantedDlls)
                RegSetValueExW(key, std::wstring(dll, wcslen(dll) - 4).c_str(), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(order), sizeof order);
            RegCloseKey(key);
        }
    }
    ~NativeDllsFirst() {
        for (const wchar_t* program : programs_) {
            for (const wchar_t* dll : plantedDlls)
                RegDeleteKeyValueW(HKEY_CURRENT_USER, overridesKey(program).c_str(),
                                   std::wstring(dll, wcslen(dll) - 4).c_str());
            // Only once nothing else is left in them.
            RegDeleteKeyW(HKEY_CURRENT_USER, overridesKey(program).c_str());
            RegDeleteKeyW(HKEY_CURRENT_USER, appKey(program).c_str());
        }
    }
    NativeDllsFirst(const NativeDllsFirst&) = delete;
    NativeDllsFirst& operator=(const NativeDllsFirst&) = delete;

  private:
    static std::wstring appKey(const wchar_t* program) {
        return std::wstring(L"Software\\Wine\\AppDefaults\\") + program;
    }
    static std::wstring overridesKey(const wchar_t* program) {
        return appKey(program) + L"\\DllOverrides";
    }

    std::vector<const wchar_t*> programs_;
};

class PlantedDlls : public testing::Test {
  protected:
    void SetUp() override {
        folder_.addMarker();
        folder_.addShippedMovies();
        const std::wstring canary = windowsPathOf(TESSARIL_CANARY_DLL_UNIX);
        for (const wchar_t* dll : plantedDlls)
            ASSERT_TRUE(CopyFileW(canary.c_str(), (folder_.path() + dll).c_str(), FALSE))
                << "cannot plant the canary, error " << GetLastError();
    }

    // The programs that loaded the canary under that name, a path a line; empty if none did.
    std::string loaderOf(const wchar_t* dll) const {
        const std::wstring record = folder_.path() + dll + L".loaded";
        if (GetFileAttributesW(record.c_str()) == INVALID_FILE_ATTRIBUTES)
            return "";
        const Bytes bytes = readWholeFile(record);
        std::string programs;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            programs += bytes[i] < 0x80 && !bytes[i + 1] ? static_cast<char>(bytes[i]) : '?';
        // The record exists, so something loaded the canary, even if its path was not read.
        return programs.empty() ? "(a program)" : programs;
    }

    // Runs the probe from the game folder; returns its exit code.
    DWORD runProbe(const wchar_t* arguments) const {
        const std::wstring exe = folder_.path() + L"dll_search_probe.exe";
        if (!CopyFileW(windowsPathOf(TESSARIL_DLL_PROBE_UNIX).c_str(), exe.c_str(), FALSE)) {
            ADD_FAILURE() << "cannot copy the probe, error " << GetLastError();
            return ~0u;
        }
        std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder_.path().c_str(), &startup, &process)) {
            ADD_FAILURE() << "cannot start the probe, error " << GetLastError();
            return ~0u;
        }
        DWORD exitCode = ~0u;
        if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &exitCode);
        else
            TerminateProcess(process.hProcess, 99);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
        return exitCode;
    }

    GameFolder folder_;
    NativeDllsFirst nativeFirst_{L"Tessaril.exe", L"dll_search_probe.exe"};
};

TEST_F(PlantedDlls, AreLoadedByAProgramThatDoesNotRestrictTheSearch) {
    // Without the restriction the canary is found; when it refuses to load under shlwapi's
    // name, the shell cannot load either.
    EXPECT_EQ(runProbe(L""), 2u);
    for (const wchar_t* dll : plantedDlls)
        EXPECT_NE(loaderOf(dll), "") << "not loaded from the program's folder: " << dll;
}

TEST_F(PlantedDlls, AreNotLoadedOnceTheSearchIsRestricted) {
    EXPECT_EQ(runProbe(L"restricted"), 0u) << "the window or the shell did not load";
    for (const wchar_t* dll : plantedDlls)
        EXPECT_EQ(loaderOf(dll), "");
}

TEST_F(PlantedDlls, AreNotLoadedByTessarilShowingItsWindowAndOpeningAPage) {
    clearBrowserLog();
    {
        RunningTool tool(folder_.path());
        ASSERT_NE(tool.window(), nullptr);
        clickAt(centreOf(tool.control(L"方法原理:@Lunwick")));
        // The page was handed to the browser: the shell and what it needs were loaded.
        EXPECT_EQ(waitForBrowserLog(1).size(), 1u);
    }
    for (const wchar_t* dll : plantedDlls)
        EXPECT_EQ(loaderOf(dll), "");
}

} // namespace
