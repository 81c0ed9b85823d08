// Bench driver: starts the floor program, the controls program and Trelvane in turn,
// round after round in one Wine prefix, and prints start-up, close and resource
// figures with the targets next to them. It measures; it never passes or fails.
//
//   BenchDriver.exe [--rounds N] [--trelvane PATH]
//
// BenchFloor.exe and BenchControls.exe are expected beside the driver.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cwchar>
#include <exception>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "bench/BenchClasses.h"
#include "resources/ResourceIds.h"
#include "store/UniqueHandle.h"
#include "ui/Form.h"

namespace {

constexpr int kOperations = 500;
constexpr DWORD kTimeoutMs = 20000;
constexpr double kStartupRatioTarget = 1.05;
constexpr double kPrivateMarginKiB = 512;  // beyond the controls program
constexpr double kCloseRatioTarget = 1.5;
constexpr DWORD kIdleMs = 10000;
constexpr int kIdleRounds = 3;    // the first measured rounds; idling in every round would take minutes
constexpr int kSettleReads = 10;  // at most, while the object counts still change
constexpr double kCloseTargetMs = 50;
constexpr double kExeTargetKiB = 280;

std::string utf8(const std::wstring& text) {
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

double nowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    return static_cast<double>(ticks.QuadPart) / ticksPerMs;
}

// What one process holds. A figure that cannot be had at all stays empty.
struct Figures {
    double peakWorkingSetKiB = 0;
    double privateKiB = 0;
    std::optional<double> gdiObjects;
    std::optional<double> userObjects;
};

// Which figures the system would not give and the driver counted itself (under Wine,
// GetGuiResources answers 0), so the output can say so.
struct SelfCounted {
    bool privateBytes = false;
    bool gdi = false;
    bool user = false;
};

// Committed private pages, walked region by region, for when PrivateUsage is 0.
double committedPrivateKiB(HANDLE process) {
    double total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQueryEx(process, at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += static_cast<double>(region.RegionSize);
    }
    return total / 1024;
}

// Wine keeps a process's GDI objects in a handle table that PEB.GdiSharedHandleTable
// points to, as older Windows did. An entry is in use while its type byte is set;
// stock objects are flagged and left out, as GetGuiResources leaves them out.
std::optional<double> countGdiObjects(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return std::nullopt;
    constexpr size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB
    UINT64 table = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset, &table,
                           sizeof table, nullptr) ||
        table == 0)
        return std::nullopt;

    struct Entry {
        UINT64 object;
        ULONG owner;
        UCHAR typeAndStockFlag;  // stock flag in the top bit
        UCHAR generation;
        UCHAR type;
        UCHAR flags;
        UINT64 userPointer;
    };
    static_assert(sizeof(Entry) == 24);
    std::vector<Entry> entries(0x10000);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                           entries.size() * sizeof(Entry), nullptr))
        return std::nullopt;
    return static_cast<double>(std::count_if(entries.begin(), entries.end(), [](const Entry& entry) {
        return entry.type != 0 && (entry.typeAndStockFlag & 0x80) == 0;
    }));
}

// Windows of the process: top-level ones (hidden ones too, such as the IME window and
// a combo box's list) and all their descendants.
double countWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        double count;
    } search{processId, 0};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != search.processId) return TRUE;
            ++search.count;
            EnumChildWindows(
                window,
                [](HWND, LPARAM count) -> BOOL {
                    ++*reinterpret_cast<double*>(count);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search.count));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

Figures readFigures(HANDLE process, DWORD processId, SelfCounted& selfCounted) {
    Figures figures;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        throw std::runtime_error("GetProcessMemoryInfo failed (error " + std::to_string(GetLastError()) + ")");
    figures.peakWorkingSetKiB = static_cast<double>(memory.PeakWorkingSetSize) / 1024.0;
    figures.privateKiB = static_cast<double>(memory.PrivateUsage) / 1024.0;
    if (figures.privateKiB == 0) {
        figures.privateKiB = committedPrivateKiB(process);
        selfCounted.privateBytes = true;
    }
    if (DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS)) {
        figures.gdiObjects = gdi;
    } else {
        figures.gdiObjects = countGdiObjects(process);
        selfCounted.gdi = true;
    }
    if (DWORD user = GetGuiResources(process, GR_USEROBJECTS)) {
        figures.userObjects = user;
    } else {
        figures.userObjects = countWindows(processId);
        selfCounted.user = true;
    }
    return figures;
}

double fileTimeMs(const FILETIME& time) {
    return static_cast<double>((static_cast<UINT64>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
}

// Kernel and user time of all the process's threads so far.
double processCpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        throw std::runtime_error("GetProcessTimes failed (error " + std::to_string(GetLastError()) + ")");
    return fileTimeMs(kernel) + fileTimeMs(user);
}

std::optional<double> difference(const std::optional<double>& after, const std::optional<double>& before) {
    if (!after || !before) return std::nullopt;
    return *after - *before;
}

Figures growth(const Figures& after, const Figures& before) {
    return {after.peakWorkingSetKiB - before.peakWorkingSetKiB, after.privateKiB - before.privateKiB,
            difference(after.gdiObjects, before.gdiObjects), difference(after.userObjects, before.userObjects)};
}

struct Program {
    std::string title;
    std::wstring path;
    const wchar_t* windowClass;
    bool exercised;  // has the form's controls to switch schemas and edit paths on
};

struct Run {
    // From CreateProcess, as the driver sees them: the first window of the form made (the
    // form itself, or a control made inside its WM_CREATE), the form visible, the form and
    // its controls painted for the first time (no update region left).
    std::optional<double> createdMs, shownMs, paintedMs;
    double startupMs = 0;
    double closeMs = 0;
    std::optional<double> idleCpuMs;
    Figures beforeClose;
    Figures growth;
};

void send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result))
        throw std::runtime_error("the window did not answer message " + std::to_string(message));
}

HWND findControl(HWND form, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    // All descendants, in case a control sits inside a frame rather than on the form.
    EnumChildWindows(
        form,
        [](HWND child, LPARAM context) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(context);
            if (GetDlgCtrlID(child) != search.id) return TRUE;
            search.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) throw std::runtime_error("no control with ID " + std::to_string(id));
    return search.found;
}

// Schema switches as the list box makes them (selection, then the notification to the
// form), each followed by a typed path, alternating between schemas 1..5 and "Standard".
void exercise(HWND form) {
    HWND schema = findControl(form, kSchema);
    HWND systemPath = findControl(form, kSystemPath);
    for (int i = 0; i < kOperations; ++i) {
        WPARAM index = i % 2 ? 0 : 1 + (i / 2) % 5;
        std::wstring text = L"C:\\Bench\\Pfad " + std::to_wstring(i);
        send(schema, CB_SETCURSEL, index, 0);
        send(form, WM_COMMAND, MAKEWPARAM(kSchema, CBN_SELCHANGE), reinterpret_cast<LPARAM>(schema));
        send(systemPath, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

// Painting creates GDI objects for a moment (Wine keeps regions while a window paints),
// so what is read while the program still paints after the last message is too high.
// RedrawWindow sends the pending WM_PAINTs to the program's thread and waits for them;
// the WM_NULL round trip then sees its queue come round.
void waitUntilPainted(HWND form) {
    RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    send(form, WM_NULL, 0, 0);
}

// The figures once the program is idle and has painted, read until two reads agree.
Figures settledFigures(HWND form, HANDLE process, DWORD processId, SelfCounted& selfCounted) {
    auto settleAndRead = [&] {
        waitUntilPainted(form);
        return readFigures(process, processId, selfCounted);
    };
    Figures figures = settleAndRead();
    for (int read = 1; read < kSettleReads; ++read) {
        Figures next = settleAndRead();
        bool agree = next.gdiObjects == figures.gdiObjects && next.userObjects == figures.userObjects;
        figures = next;
        if (agree) break;
    }
    return figures;
}

// CPU time of the shown window left alone, once it has painted.
double idleCpuMs(HWND form, HANDLE process) {
    waitUntilPainted(form);
    double before = processCpuMs(process);
    Sleep(kIdleMs);
    return processCpuMs(process) - before;
}

// The start being watched, for the win-event callback, which has no context of its own.
struct Watched {
    DWORD processId;
    const wchar_t* windowClass;
    double start;
    HWND form;
    Run& run;
};
Watched* watched = nullptr;

bool hasClass(HWND window, const wchar_t* windowClass) {
    wchar_t name[64];
    return GetClassNameW(window, name, static_cast<int>(std::size(name))) && wcscmp(name, windowClass) == 0;
}

// Out of context, the events arrive as messages on the driver's thread while it pumps; the
// program only posts them.
void CALLBACK onWinEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD) {
    DWORD owner = 0;
    if (!watched || object != OBJID_WINDOW || child != CHILDID_SELF || !GetWindowThreadProcessId(window, &owner) ||
        owner != watched->processId)
        return;
    HWND root = GetAncestor(window, GA_ROOT);
    if (!root || !hasClass(root, watched->windowClass)) return;
    if (watched->run.createdMs) return;
    watched->run.createdMs = nowMs() - watched->start;
    watched->form = root;
}

// Whether the form or any of its controls still waits for its first WM_PAINT. Reads the
// update regions only; nothing is erased or validated.
bool waitsForPaint(HWND form) {
    if (GetUpdateRect(form, nullptr, FALSE)) return true;
    bool waits = false;
    EnumChildWindows(
        form,
        [](HWND child, LPARAM found) -> BOOL {
            if (!GetUpdateRect(child, nullptr, FALSE)) return TRUE;
            *reinterpret_cast<bool*>(found) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&waits));
    return waits;
}

HWND visibleWindow(DWORD processId, const wchar_t* windowClass) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, windowClass, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

Run measure(const Program& program, bool measureIdle, SelfCounted& selfCounted) {
    std::wstring commandLine = L"\"" + program.path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Run run;
    // For every process, as the program's id is known only once it runs; the callback
    // keeps to the program.
    std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, decltype(&UnhookWinEvent)> hook(
        SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, onWinEvent, 0, 0, WINEVENT_OUTOFCONTEXT),
        &UnhookWinEvent);
    double start = nowMs();
    if (!CreateProcessW(program.path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        throw std::runtime_error("cannot start " + utf8(program.path) + " (error " + std::to_string(GetLastError()) +
                                 ")");
    UniqueKernelHandle process(info.hProcess);
    UniqueKernelHandle thread(info.hThread);

    try {
        // Input-idle alone can come before the window shows; a visible window alone can
        // come before the message loop runs. Start-up ends when both hold. On the way, the
        // driver pumps the hook's events and looks for the first frame about every 1 ms.
        Watched watching{info.dwProcessId, program.windowClass, start, nullptr, run};
        watched = &watching;
        HWND form = nullptr;
        while (!form) {
            if (MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, 1, QS_ALLINPUT) == WAIT_OBJECT_0)
                throw std::runtime_error(program.title + " ended before showing its window");
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            // Wine 8 sends no EVENT_OBJECT_SHOW, so the form's visibility is polled.
            if (watching.form && !run.shownMs && IsWindowVisible(watching.form)) run.shownMs = nowMs() - start;
            if (run.shownMs && !run.paintedMs && !waitsForPaint(watching.form)) run.paintedMs = nowMs() - start;
            if (WaitForInputIdle(process.get(), 0) == 0) form = visibleWindow(info.dwProcessId, program.windowClass);
            if (nowMs() - start > kTimeoutMs) throw std::runtime_error(program.title + " showed no window");
        }
        run.startupMs = nowMs() - start;
        watched = nullptr;
        hook.reset();

        if (measureIdle) run.idleCpuMs = idleCpuMs(form, process.get());
        Figures before = settledFigures(form, process.get(), info.dwProcessId, selfCounted);
        if (program.exercised) exercise(form);
        run.beforeClose = settledFigures(form, process.get(), info.dwProcessId, selfCounted);
        run.growth = growth(run.beforeClose, before);

        double closing = nowMs();
        PostMessageW(form, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.get(), kTimeoutMs) != WAIT_OBJECT_0)
            throw std::runtime_error(program.title + " did not end after WM_CLOSE");
        run.closeMs = nowMs() - closing;
    } catch (...) {
        watched = nullptr;
        // Leave nothing running in the prefix when a measurement fails.
        TerminateProcess(process.get(), 1);
        throw;
    }
    return run;
}

struct Spread {
    double median, min, max;
};

std::optional<Spread> spread(std::vector<double> values) {
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    double median = values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return Spread{median, values.front(), values.back()};
}

template <typename Pick>
std::optional<Spread> spreadOf(const std::vector<Run>& runs, Pick pick) {
    std::vector<double> values;
    for (const Run& run : runs) {
        if (std::optional<double> value = pick(run)) values.push_back(*value);
    }
    return spread(std::move(values));
}

template <typename... Values>
std::string format(const char* pattern, Values... values) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return buffer;
}

void printLine(const char* label, const std::optional<Spread>& value, const char* unit, int decimals,
               bool signedValue = false, const char* note = "") {
    if (!value) {
        std::printf("  %-28s n/a\n", label);
        return;
    }
    const char* format = signedValue ? "%+.*f" : "%.*f";
    char median[32], min[32], max[32];
    std::snprintf(median, sizeof median, format, decimals, value->median);
    std::snprintf(min, sizeof min, format, decimals, value->min);
    std::snprintf(max, sizeof max, format, decimals, value->max);
    std::printf("  %-28s %10s %-4s (%s – %s)%s\n", label, median, unit, min, max, note);
}

void printProgram(const Program& program, const std::vector<Run>& runs, const SelfCounted& selfCounted) {
    const char* self = " [self-counted]";
    std::printf("\n%s\n", program.title.c_str());
    printLine("first window of the form", spreadOf(runs, [](const Run& r) { return r.createdMs; }), "ms", 1);
    printLine("form shown", spreadOf(runs, [](const Run& r) { return r.shownMs; }), "ms", 1);
    printLine("first frame (all painted)", spreadOf(runs, [](const Run& r) { return r.paintedMs; }), "ms", 1);
    printLine("start-up (visible, idle)", spreadOf(runs, [](const Run& r) { return std::optional(r.startupMs); }), "ms",
              1);
    printLine("close (WM_CLOSE to exit)", spreadOf(runs, [](const Run& r) { return std::optional(r.closeMs); }), "ms",
              1);
    printLine(format("idle CPU over %.0f s", kIdleMs / 1000.0).c_str(),
              spreadOf(runs, [](const Run& r) { return r.idleCpuMs; }), "ms", 1);
    printLine("peak working set",
              spreadOf(runs, [](const Run& r) { return std::optional(r.beforeClose.peakWorkingSetKiB); }), "KiB", 0);
    printLine("private bytes", spreadOf(runs, [](const Run& r) { return std::optional(r.beforeClose.privateKiB); }),
              "KiB", 0, false, selfCounted.privateBytes ? self : "");
    printLine("GDI objects", spreadOf(runs, [](const Run& r) { return r.beforeClose.gdiObjects; }), "", 0, false,
              selfCounted.gdi ? self : "");
    printLine("USER objects", spreadOf(runs, [](const Run& r) { return r.beforeClose.userObjects; }), "", 0, false,
              selfCounted.user ? self : "");
    if (!program.exercised) return;
    std::printf("  growth over %d schema switches and text changes:\n", kOperations);
    printLine("  peak working set",
              spreadOf(runs, [](const Run& r) { return std::optional(r.growth.peakWorkingSetKiB); }), "KiB", 0, true);
    printLine("  private bytes", spreadOf(runs, [](const Run& r) { return std::optional(r.growth.privateKiB); }), "KiB",
              0, true);
    printLine("  GDI objects", spreadOf(runs, [](const Run& r) { return r.growth.gdiObjects; }), "", 0, true);
    printLine("  USER objects", spreadOf(runs, [](const Run& r) { return r.growth.userObjects; }), "", 0, true);
}

const char* verdict(bool met) {
    return met ? "met" : "NOT met";
}

// Trelvane against the controls program and the floor, round by round, and the targets.
void printComparison(const std::vector<Run>& floor, const std::vector<Run>& controls, const std::vector<Run>& trelvane,
                     double exeKiB) {
    std::vector<double> toControls, toFloor;
    std::printf("\n%-50s %9s %9s\n", "Trelvane start-up / same round's start-up of", "controls", "floor");
    for (size_t i = 0; i < trelvane.size(); ++i) {
        toControls.push_back(trelvane[i].startupMs / controls[i].startupMs);
        toFloor.push_back(trelvane[i].startupMs / floor[i].startupMs);
        std::printf("  %-48s %8.2fx %8.2fx\n", format("round %2zu", i + 1).c_str(), toControls.back(), toFloor.back());
    }
    Spread ratio = *spread(toControls);
    Spread ratioToFloor = *spread(toFloor);
    std::printf("  %-48s %8.2fx %8.2fx\n", "median", ratio.median, ratioToFloor.median);
    std::printf("  %-48s %8.2fx %8.2fx\n", "max", ratio.max, ratioToFloor.max);
    std::printf("  %-48s", "phases, Trelvane - controls (median of rounds):");
    for (auto phase : {&Run::createdMs, &Run::shownMs, &Run::paintedMs}) {
        std::vector<double> differences;
        for (size_t i = 0; i < trelvane.size(); ++i)
            if (trelvane[i].*phase && controls[i].*phase)
                differences.push_back(*(trelvane[i].*phase) - *(controls[i].*phase));
        if (std::optional<Spread> difference = spread(differences))
            std::printf(" %+.1f", difference->median);
        else
            std::printf(" n/a");
    }
    std::printf(" ms (made, shown, painted)\n");
    auto within =
        std::count_if(toControls.begin(), toControls.end(), [](double r) { return r <= kStartupRatioTarget; });

    Spread close = *spreadOf(trelvane, [](const Run& r) { return std::optional(r.closeMs); });
    std::optional<Spread> idle = spreadOf(trelvane, [](const Run& r) { return r.idleCpuMs; });
    std::optional<Spread> controlsIdle = spreadOf(controls, [](const Run& r) { return r.idleCpuMs; });
    std::optional<Spread> gdi = spreadOf(trelvane, [](const Run& r) { return r.growth.gdiObjects; });
    std::optional<Spread> user = spreadOf(trelvane, [](const Run& r) { return r.growth.userObjects; });

    std::printf("\nTargets (Trelvane)\n");
    auto target = [](const std::string& goal, const std::string& measured, const char* outcome) {
        std::printf("  %-48s %-20s %s\n", goal.c_str(), measured.c_str(), outcome);
    };
    target(format("start-up <= %.2fx controls (median ratio)", kStartupRatioTarget), format("%.3fx", ratio.median),
           verdict(ratio.median <= kStartupRatioTarget));
    target("  in every round", format("%zd of %zu (max %.2fx)", within, toControls.size(), ratio.max),
           within == static_cast<std::ptrdiff_t>(toControls.size()) ? "yes" : "no");
    target(format("close <= %.0f ms (median)", kCloseTargetMs), format("%.1f ms (max %.1f)", close.median, close.max),
           verdict(close.median <= kCloseTargetMs));
    const Spread controlsClose = *spreadOf(controls, [](const Run& r) { return std::optional(r.closeMs); });
    target(format("close <= %.1fx controls (medians)", kCloseRatioTarget),
           format("%.2fx", close.median / controlsClose.median),
           verdict(close.median <= kCloseRatioTarget * controlsClose.median));
    const auto privateKiB = [](const Run& r) {
        return std::optional(r.beforeClose.privateKiB);
    };
    const double privateBeyond = spreadOf(trelvane, privateKiB)->median - spreadOf(controls, privateKiB)->median;
    target(format("private bytes <= controls + %.1f MiB (medians)", kPrivateMarginKiB / 1024),
           format("%+.2f MiB", privateBeyond / 1024), verdict(privateBeyond <= kPrivateMarginKiB));
    if (idle && controlsIdle)
        target(format("idle CPU over %.0f s <= controls program's", kIdleMs / 1000.0),
               format("%.1f vs %.1f ms", idle->median, controlsIdle->median),
               verdict(idle->median <= controlsIdle->median));
    for (auto [name, value] : {std::pair{"GDI", gdi}, std::pair{"USER", user}}) {
        std::string goal = format("%s objects: zero growth over %d operations", name, kOperations);
        if (value)
            target(goal, format("%+.0f at most", value->max), verdict(value->max <= 0));
        else
            target(goal, "n/a", "not measured");
    }
    target(format("Trelvane.exe <= %.0f KiB", kExeTargetKiB), format("%.1f KiB", exeKiB),
           verdict(exeKiB <= kExeTargetKiB));
}

double fileKiB(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        throw std::runtime_error("cannot read the size of " + utf8(path));
    return static_cast<double>((static_cast<UINT64>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) / 1024.0;
}

std::wstring besideDriver(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

int bench(int rounds, const std::wstring& trelvanePath) {
    std::vector<Program> programs{
        {"Floor: BenchFloor.exe (one empty window)", besideDriver(L"BenchFloor.exe"), kFloorClass, false},
        {"Controls: BenchControls.exe (the form's controls, no logic)", besideDriver(L"BenchControls.exe"),
         kControlsClass, true},
    };
    if (!trelvanePath.empty())
        programs.push_back({"Trelvane: " + utf8(trelvanePath), trelvanePath, kWindowClass, true});

    std::printf(
        "%d round%s after 1 warm-up round; each round starts every program once, the order rotating\n"
        "from round to round. Figures: median (min – max) over the rounds. Memory and objects are\n"
        "read just before WM_CLOSE, after the %d operations where the program has the form, once\n"
        "the program has painted. Idle CPU is measured in the first %d round%s only.\n",
        rounds, rounds == 1 ? "" : "s", kOperations, std::min(rounds, kIdleRounds),
        std::min(rounds, kIdleRounds) == 1 ? "" : "s");
    std::fflush(stdout);

    SelfCounted selfCounted;
    std::vector<std::vector<Run>> runs(programs.size());
    for (int round = 0; round <= rounds; ++round) {
        for (size_t k = 0; k < programs.size(); ++k) {
            size_t which = (k + round) % programs.size();
            Run run = measure(programs[which], round > 0 && round <= kIdleRounds, selfCounted);
            if (round > 0) runs[which].push_back(run);
        }
    }

    for (size_t i = 0; i < programs.size(); ++i) printProgram(programs[i], runs[i], selfCounted);
    if (programs.size() == 3)
        printComparison(runs[0], runs[1], runs[2], fileKiB(trelvanePath));
    else
        std::printf("\nTrelvane not measured: no Trelvane.exe given. Targets not evaluated.\n");

    std::printf(
        "\nHow the figures were obtained\n"
        "  start-up: CreateProcess until WaitForInputIdle has returned and a visible top-level\n"
        "            window of the program's class belongs to the process (polled every ~1 ms)\n"
        "  phases:   from CreateProcess, as the driver sees them: an out-of-context win-event hook\n"
        "            for the first EVENT_OBJECT_CREATE of the form or a control on it; then, polled\n"
        "            every ~1 ms, IsWindowVisible on the form, and first frame when GetUpdateRect\n"
        "            finds no update region left on the form or any control\n"
        "  close:    PostMessage(WM_CLOSE) until the process handle is signalled\n"
        "  idle CPU: GetProcessTimes, kernel + user, over %.0f s of the shown window left alone\n"
        "            after it has painted (under Wine in steps of the Linux clock tick, 10 ms)\n"
        "  memory:   GetProcessMemoryInfo, PeakWorkingSetSize and PrivateUsage\n"
        "  objects:  read when the program is idle and has painted: RedrawWindow(RDW_UPDATENOW |\n"
        "            RDW_ALLCHILDREN) on its window and a WM_NULL round trip before each read,\n"
        "            repeated until two reads agree; the same before and after the operations\n",
        kIdleMs / 1000.0);
    if (selfCounted.privateBytes)
        std::printf(
            "  private bytes [self-counted]: PrivateUsage read 0; sum of committed MEM_PRIVATE\n"
            "            regions found with VirtualQueryEx\n");
    if (selfCounted.gdi)
        std::printf(
            "  GDI objects [self-counted]: GetGuiResources read 0; in-use, non-stock entries of the\n"
            "            process's GDI handle table (PEB GdiSharedHandleTable, Wine's layout)\n");
    if (selfCounted.user)
        std::printf(
            "  USER objects [self-counted]: GetGuiResources read 0; windows of the process, top-level\n"
            "            (hidden ones included) and all descendants, by EnumWindows/EnumChildWindows;\n"
            "            menus, cursors, icons and message-only windows are not counted\n");
    return 0;
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv + 1, argv + argc);
    LocalFree(argv);

    int rounds = 10;
    std::wstring trelvane;
    for (size_t i = 0; i < args.size(); ++i) {
        bool hasValue = i + 1 < args.size();
        if (args[i] == L"--rounds" && hasValue) {
            rounds = _wtoi(args[++i].c_str());
        } else if (args[i] == L"--trelvane" && hasValue) {
            trelvane = args[++i];
        } else {
            std::fprintf(stderr, "usage: BenchDriver.exe [--rounds N] [--trelvane PATH]\n");
            return 2;
        }
    }
    if (rounds < 1) {
        std::fprintf(stderr, "--rounds needs a number of at least 1\n");
        return 2;
    }
    try {
        return bench(rounds, trelvane);
    } catch (const std::exception& error) {
        std::fflush(stdout);
        std::fprintf(stderr, "bench: %s\n", error.what());
        return 1;
    }
}
