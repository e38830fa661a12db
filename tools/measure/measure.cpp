// Measures from outside what a user feels of zurimo.exe, for scripts/measure.sh:
//   measure fill FILE COUNT SIZE   writes a saved-history file of COUNT texts of SIZE bytes
//   measure start EXE CLASS        starts EXE, times until a window of CLASS exists, lets it
//                                  idle for two seconds, prints its private memory, ends it
//   measure save FOLDER COUNT SIZE times the saving of such a history against one plain
//                                  write of the same bytes followed by a flush
//   measure listed EXE COUNT       starts EXE, times until its history list holds COUNT
//                                  lines (the saved history loaded and shown), ends it
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "history/history_file.h"
#include "history/win/saved_history_file.h"

namespace {

using zurimo::HistoryEntries;

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

HistoryEntries MakeEntries(int count, int size) {
    HistoryEntries entries;
    for (int i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(size), static_cast<char>('a' + i % 26));
        for (size_t at = 64; at < text.size(); at += 64) text[at - 2] = '\r', text[at - 1] = '\n';
        entries.push_back(std::move(text));
    }
    return entries;
}

int Fill(const char* path, int count, int size) {
    if (zurimo::WriteHistoryFile(path, MakeEntries(count, size))) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return 1;
    }
    return 0;
}

HWND FindWindowOf(DWORD processId, const char* className) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

bool StartProgram(const char* exe, PROCESS_INFORMATION* process) {
    std::string commandLine = std::string("\"") + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, process)) {
        return true;
    }
    std::fprintf(stderr, "cannot start %s\n", exe);
    return false;
}

int Start(const char* exe, const char* className) {
    PROCESS_INFORMATION process = {};
    const double began = NowMs();
    if (!StartProgram(exe, &process)) return 1;
    HWND window = nullptr;
    while (!window && NowMs() - began < 20000) {
        window = FindWindowOf(process.dwProcessId, className);
        if (!window) Sleep(1);
    }
    const double started = NowMs() - began;
    WaitForInputIdle(process.hProcess, 5000);
    Sleep(2000);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!window) {
        std::fprintf(stderr, "no window of class %s\n", className);
        return 1;
    }
    std::printf("start %.1f ms private %.2f MiB\n", started,
                static_cast<double>(counters.PagefileUsage) / 1048576.0);
    return 0;
}

// The history window's list (control 1012 of a window of the process), once there is one.
struct ListSearch {
    DWORD processId;
    HWND list;
};

BOOL CALLBACK FindHistoryList(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<ListSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->list = GetDlgItem(window, 1012);
    return search->list == nullptr;
}

int Listed(const char* exe, int count) {
    PROCESS_INFORMATION process = {};
    const double began = NowMs();
    if (!StartProgram(exe, &process)) return 1;
    ListSearch search = {process.dwProcessId, nullptr};
    double listed = -1;
    while (listed < 0 && NowMs() - began < 20000) {
        if (!search.list) EnumWindows(FindHistoryList, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR lines = 0;
        if (search.list && SendMessageTimeoutA(search.list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 1000,
                                               &lines) &&
            static_cast<int>(lines) >= count) {
            listed = NowMs() - began;
        } else {
            Sleep(1);
        }
    }
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (listed < 0) {
        std::fprintf(stderr, "the history never held %d lines\n", count);
        return 1;
    }
    std::printf("listed %d in %.1f ms\n", count, listed);
    return 0;
}

int Save(const std::string& folder, int count, int size) {
    const HistoryEntries entries = MakeEntries(count, size);
    const std::string bytes = zurimo::EncodeHistory(std::vector<zurimo::HistoryEntry>(entries.begin(), entries.end()));
    const std::string saved = folder + "\\saved.zhd", plain = folder + "\\plain.zhd";
    const double began = NowMs();
    if (zurimo::WriteHistoryFile(saved, entries)) return 1;
    const double between = NowMs();
    HANDLE file = CreateFileA(plain.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
    const double ended = NowMs();
    std::printf("save %.2f ms write+flush %.2f ms\n", between - began, ended - between);
    DeleteFileA(saved.c_str());
    DeleteFileA(plain.c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "fill" && argc == 5) return Fill(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (mode == "start" && argc == 4) return Start(argv[2], argv[3]);
    if (mode == "save" && argc == 5) return Save(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (mode == "listed" && argc == 4) return Listed(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: measure fill FILE COUNT SIZE | start EXE CLASS | save FOLDER COUNT SIZE | "
                 "listed EXE COUNT\n");
    return 2;
}
