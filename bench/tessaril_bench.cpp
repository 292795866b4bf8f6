// Tessaril's benchmarks. Each figure is a ratio of two sides measured in one run, the sides
// taking turns pair by pair (which side goes first alternates too), so that whatever the
// machine does meanwhile falls on both. One line per figure:
//   name ratio=<median of the pairs' ratios> a_median=… b_median=… ratio_min=… ratio_max=…
// followed by the unit of a and b, the number of pairs and the goal for the ratio.
//
// Usage: tessaril_bench [--i686-minimal=Z:\path\minimal_window.exe] [--quick]
#include <windows.h>
#include <psapi.h>
#include <winioctl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "patcher/movie_operations.h"
#include "tests/support/file_tree.h"
#include "tests/support/wine_paths.h"
#include "patcher/movie_patch_table.h"

namespace {

// ---- Measuring ----

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The two sides of a figure, one value of each per pair.
struct Pairs {
    std::vector<double> a, b;
    void add(double aValue, double bValue) {
        a.push_back(aValue);
        b.push_back(bValue);
    }
};

void printFigure(const char* name, const Pairs& pairs, const char* unit, double goal,
                 const std::string& extra = "") {
    if (pairs.a.empty()) {
        std::printf("%s failed=no_pairs_measured\n", name);
        return;
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < pairs.a.size(); ++i)
        ratios.push_back(pairs.a[i] / pairs.b[i]);
    const double ratio = median(ratios);
    std::printf("%s ratio=%.3f a_median=%.4f b_median=%.4f ratio_min=%.3f ratio_max=%.3f "
                "unit=%s pairs=%zu goal=%.2f met=%s%s\n",
                name, ratio, median(pairs.a), median(pairs.b),
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), unit, pairs.a.size(), goal,
                ratio <= goal ? "yes" : "no", extra.c_str());
    std::fflush(stdout);
}

// Runs `pairCount` pairs of the two sides after `warmUp` unmeasured ones; each side returns
// its measurement, or a negative number when it failed. A failed pair is run again; after
// a few failures the figure ends with the pairs it has. `counted` is called after each pair
// that counts.
template <typename SideA, typename SideB, typename Counted>
Pairs measurePairs(unsigned pairCount, unsigned warmUp, SideA sideA, SideB sideB, Counted counted) {
    Pairs pairs;
    unsigned failures = 0;
    for (unsigned i = 0; i < warmUp + pairCount;) {
        double a, b;
        if (i % 2 == 0) {
            a = sideA();
            b = sideB();
        } else {
            b = sideB();
            a = sideA();
        }
        if (a < 0 || b < 0) {
            std::printf("# pair %u failed, side %s\n", i, a < 0 ? "a" : "b");
            if (++failures == 5)
                break;
            continue;
        }
        if (i++ >= warmUp) {
            pairs.add(a, b);
            counted();
        }
    }
    return pairs;
}

template <typename SideA, typename SideB>
Pairs measurePairs(unsigned pairCount, unsigned warmUp, SideA sideA, SideB sideB) {
    return measurePairs(pairCount, warmUp, sideA, sideB, [] {});
}

// ---- Files ----

uint64_t fileSizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// The bytes the file takes on the disk.
uint64_t diskUseOf(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    FILE_STANDARD_INFO info = {};
    GetFileInformationByHandleEx(file, FileStandardInfo, &info, sizeof info);
    CloseHandle(file);
    return static_cast<uint64_t>(info.AllocationSize.QuadPart);
}

// A game folder under the temporary folder, as the game ships it: the marker and the three
// movie files, each `movieSize` bytes long (sparse beyond its first 8 KiB), with the game's
// bytes at their offsets. Removed with its owner.
class BenchFolder {
  public:
    BenchFolder(const wchar_t* name, uint64_t movieSize) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"tessaril-bench-" + std::to_wstring(GetCurrentProcessId()) +
                L"-" + name;
        removeTree(root_);
        path_ = root_ + L"\\";
        CreateDirectoryW(root_.c_str(), nullptr);
        CreateDirectoryW((path_ + L"assetbundles").c_str(), nullptr);
        CreateDirectoryW((path_ + L"assetbundles\\Movie").c_str(), nullptr);
        ok_ = writeFile(path_ + markerFileName, 2) != INVALID_HANDLE_VALUE;
        for (unsigned row = 0; row < moviePatchCount && ok_; ++row)
            ok_ = writeMovie(row, movieSize);
    }
    ~BenchFolder() { removeTree(root_); }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    bool ok() const { return ok_; }
    const std::wstring& path() const { return path_; } // with a trailing backslash
    std::wstring moviePath(unsigned row) const { return path_ + moviePatchTable[row].relativePath; }
    uint64_t diskUse() const {
        uint64_t total = 0;
        for (unsigned row = 0; row < moviePatchCount; ++row)
            total += diskUseOf(moviePath(row));
        return total;
    }

  private:
    // Creates the file with `count` filler bytes; returns the handle closed, or invalid.
    static HANDLE writeFile(const std::wstring& path, DWORD count) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return file;
        std::vector<uint8_t> filler(count, 0x55);
        DWORD written = 0;
        WriteFile(file, filler.data(), count, &written, nullptr);
        CloseHandle(file);
        return written == count ? nullptr : INVALID_HANDLE_VALUE;
    }

    bool writeMovie(unsigned row, uint64_t size) const {
        const MoviePatch& patch = moviePatchTable[row];
        std::vector<uint8_t> start(8192, 0x55);
        std::memcpy(start.data() + patch.offset, patch.gameBytes, patch.length);
        HANDLE file = CreateFileW(moviePath(row).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0, returned = 0;
        bool ok =
            WriteFile(file, start.data(), static_cast<DWORD>(start.size()), &written, nullptr) &&
            written == start.size();
        if (ok && size > start.size()) {
            // Sparse, so that the rest takes no room on the disk (NTFS would otherwise
            // allocate it; on Unix file systems an extended file is sparse anyway).
            DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
            LARGE_INTEGER end;
            end.QuadPart = static_cast<LONGLONG>(size);
            ok = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        }
        CloseHandle(file);
        return ok;
    }

    std::wstring root_, path_;
    bool ok_ = false;
};

// ---- Patching ----

// Turns the movies off and back on through the patcher; milliseconds, negative on failure.
double patcherCycle(const BenchFolder& folder) {
    const double start = nowMs();
    const PatchReport off = patchGameFolder(folder.path().c_str(), MovieState::TurnedOff);
    const PatchReport on = patchGameFolder(folder.path().c_str(), MovieState::Restored);
    const double elapsed = nowMs() - start;
    for (unsigned row = 0; row < moviePatchCount; ++row) {
        if (off.files[row].outcome != FileOutcome::Changed ||
            on.files[row].outcome != FileOutcome::Changed)
            return -1;
    }
    return elapsed;
}

// The same file work written out flat: open, read the bytes at the offset, write the other
// column, flush, close, for each row; no checks beyond the calls' results.
bool flatWrite(const std::wstring& path, const MoviePatch& patch, MovieState state) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER offset;
    offset.QuadPart = patch.offset;
    uint8_t current[maxPatchLength];
    DWORD read = 0, written = 0;
    const bool ok = SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) &&
                    ReadFile(file, current, patch.length, &read, nullptr) && read == patch.length &&
                    SetFilePointerEx(file, offset, nullptr, FILE_BEGIN) &&
                    WriteFile(file, bytesFor(patch, state), patch.length, &written, nullptr) &&
                    written == patch.length && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

double flatCycle(const std::vector<std::wstring>& paths) {
    const double start = nowMs();
    bool ok = true;
    for (MovieState state : {MovieState::TurnedOff, MovieState::Restored}) {
        for (unsigned row = 0; row < moviePatchCount; ++row)
            ok = flatWrite(paths[row], moviePatchTable[row], state) && ok;
    }
    const double elapsed = nowMs() - start;
    return ok ? elapsed : -1;
}

void benchPatchCost(unsigned pairCount) {
    BenchFolder folder(L"patch", 8192);
    if (!folder.ok()) {
        std::printf("patch_cost failed=cannot_make_game_folder\n");
        return;
    }
    std::vector<std::wstring> paths;
    for (unsigned row = 0; row < moviePatchCount; ++row)
        paths.push_back(folder.moviePath(row));
    const Pairs pairs = measurePairs(
        pairCount, 3, [&] { return patcherCycle(folder); }, [&] { return flatCycle(paths); });
    printFigure("patch_cost", pairs, "ms", 1.3);
}

void benchSizeCost(unsigned pairCount) {
    const uint64_t big = uint64_t{2} << 30;
    BenchFolder large(L"size-2g", big);
    BenchFolder small(L"size-8k", 8192);
    if (!large.ok() || !small.ok() || fileSizeOf(large.moviePath(0)) != big) {
        std::printf("size_cost failed=cannot_make_game_folders\n");
        return;
    }
    const uint64_t diskUse = large.diskUse();
    // Sparse files that are not would fill the disk with 6 GiB: stop rather than measure.
    if (diskUse > (uint64_t{64} << 20)) {
        std::printf("size_cost failed=movie_files_not_sparse disk_bytes=%llu\n",
                    static_cast<unsigned long long>(diskUse));
        return;
    }
    const Pairs pairs = measurePairs(
        pairCount, 3, [&] { return patcherCycle(large); }, [&] { return patcherCycle(small); });
    char extra[96];
    std::snprintf(extra, sizeof extra, " movie_bytes=%llu disk_bytes=%llu",
                  static_cast<unsigned long long>(big), static_cast<unsigned long long>(diskUse));
    printFigure("size_cost", pairs, "ms", 1.2, extra);
}

// ---- Starting the programs ----

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    if (owner != search->processId || !IsWindowVisible(window) ||
        !GetWindowTextW(window, title, 64) || std::wcscmp(title, search->title) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

struct StartFigures {
    double startMs;   // from CreateProcess to the main window shown and idle
    double peakBytes; // peak working set once it is shown
};

// Starts the program from its folder, waits until it is idle for input with its window
// shown, lets it settle, reads its peak working set and ends it. startMs < 0 on failure.
StartFigures startProgram(const std::wstring& exe, const std::wstring& folder,
                          const wchar_t* title) {
    StartFigures figures = {-1, 0};
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const double start = nowMs();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        return figures;
    WaitForInputIdle(process.hProcess, 30000);
    WindowSearch search = {process.dwProcessId, title, nullptr};
    for (const double giveUp = start + 30000; nowMs() < giveUp; Sleep(1)) {
        EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
    }
    const double shown = nowMs();
    if (!search.found) {
        std::printf("# no window shown after %.0f ms\n", shown - start);
    } else {
        figures.startMs = shown - start;
        Sleep(500);
        PROCESS_MEMORY_COUNTERS memory = {};
        memory.cb = sizeof memory;
        if (K32GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
            figures.peakBytes = static_cast<double>(memory.PeakWorkingSetSize);
        } else {
            std::printf("# no memory figures, error %lu\n", GetLastError());
            figures.startMs = -1;
        }
    }
    // Tessaril's normal close opens web pages: end it instead.
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    // Let Wine finish tearing the process and its window down before the next start.
    Sleep(200);
    return figures;
}

bool copyInto(const std::wstring& from, const std::wstring& folder, const wchar_t* name,
              std::wstring* to) {
    *to = folder + name;
    return CopyFileW(from.c_str(), to->c_str(), FALSE) != 0;
}

void benchStartupAndMemory(unsigned pairCount) {
    BenchFolder game(L"start-tool", 8192);
    BenchFolder plain(L"start-minimal", 8192);
    std::wstring tool, minimal;
    if (!game.ok() || !plain.ok() ||
        !copyInto(windowsPathOf(TESSARIL_EXE_UNIX), game.path(), L"Tessaril.exe", &tool) ||
        !copyInto(windowsPathOf(MINIMAL_WINDOW_UNIX), plain.path(), L"minimal_window.exe",
                  &minimal)) {
        std::printf(
            "startup failed=cannot_prepare_folders\nmemory failed=cannot_prepare_folders\n");
        return;
    }
    StartFigures toolRun = {}, minimalRun = {};
    auto startTool = [&] {
        return (toolRun = startProgram(tool, game.path(), L"Tessaril")).startMs;
    };
    auto startMinimal = [&] {
        return (minimalRun = startProgram(minimal, plain.path(), L"Minimal")).startMs;
    };
    // The peak working sets of the same runs.
    Pairs memory;
    const Pairs startup = measurePairs(pairCount, 2, startTool, startMinimal, [&] {
        memory.add(toolRun.peakBytes / 1024, minimalRun.peakBytes / 1024);
    });
    printFigure("startup", startup, "ms", 1.2);
    printFigure("memory", memory, "KiB", 1.3);
}

void benchExeSize(const std::wstring& i686Minimal) {
    const uint64_t shipped = fileSizeOf(windowsPathOf(TESSARIL_SHIPPED_EXE_UNIX));
    const uint64_t tested = fileSizeOf(windowsPathOf(TESSARIL_EXE_UNIX));
    const uint64_t minimal64 = fileSizeOf(windowsPathOf(MINIMAL_WINDOW_UNIX));
    const uint64_t minimal32 = i686Minimal.empty() ? 0 : fileSizeOf(i686Minimal);
    std::printf("exe_size bytes=%llu goal=65536 met=%s minimal_bytes=%llu x86_64_bytes=%llu "
                "x86_64_minimal_bytes=%llu\n",
                static_cast<unsigned long long>(shipped),
                shipped && shipped <= 65536 ? "yes" : "no",
                static_cast<unsigned long long>(minimal32), static_cast<unsigned long long>(tested),
                static_cast<unsigned long long>(minimal64));
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring i686Minimal;
    bool quick = false;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const std::wstring minimalOption = L"--i686-minimal=";
        if (argument.rfind(minimalOption, 0) == 0)
            i686Minimal = argument.substr(minimalOption.size());
        else if (argument == L"--quick")
            quick = true;
    }
    // Quick: enough pairs to see that every figure works, too few to trust.
    const unsigned filePairs = quick ? 5 : 41;
    const unsigned startPairs = quick ? 3 : 31;
    benchExeSize(i686Minimal);
    benchPatchCost(filePairs);
    benchSizeCost(filePairs);
    benchStartupAndMemory(startPairs);
    return 0;
}
