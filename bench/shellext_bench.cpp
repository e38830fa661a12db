// Cost of the Explorer menu's commands over a large selection, each beside the plain cost of
// joining the same paths into one text, so that the ratio shows. Every benchmark runs over
// 100 to 10,000 items and reports how its time grows with their number. The wide variant has
// one name the code page cannot hold, so every command also builds its UTF-16 text.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "shellext/commands.h"
#include "shellext/selection.h"
#include "shellext/shell_menu.h"
#include "shellext/wide_text.h"
#include "tests/support/iconv_code_page.h"
#include "tests/support/memory_registry.h"

namespace zurimo {
namespace {

std::vector<std::string> Paths(int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back("C:\\Users\\someone\\Documents\\Projects\\report " + std::to_string(i) + ".txt");
    }
    return paths;
}

// The same paths in UTF-16, the first named with a character the code page lacks.
std::vector<std::u16string> WidePaths(const std::vector<std::string>& paths) {
    std::vector<std::u16string> wide;
    for (const std::string& path : paths) wide.emplace_back(path.begin(), path.end());
    if (!wide.empty()) wide[0] += u"\u2615";
    return wide;
}

// Facts without the file system: every item a small file with an 8.3 name.
struct QuickFacts : ShellFacts {
    std::optional<std::string> ShortPath(const std::string& path) override { return path; }
    std::optional<std::u16string> ShortPath(const std::u16string& path) override { return path; }
    std::optional<ItemFacts> Gather(const std::string&) override { return Item<std::string>(); }
    std::optional<WideItemFacts> Gather(const std::u16string&) override {
        return Item<std::u16string>();
    }
    template <typename Text>
    static BasicItemFacts<Text> Item() {
        BasicItemFacts<Text> item;
        item.attributes = kAttributeArchive;
        item.written = 1;
        item.sizeLow = 12345;
        item.alternateName = Ascii<Text>("REPORT~1.TXT");
        item.displayName = Ascii<Text>("report.txt");
        item.typeName = Ascii<Text>("Text");
        item.shellAttributes = 0x40000000;
        return item;
    }
    std::optional<std::string> FormatDate(std::uint64_t, bool) override { return "2026/12/07"; }
    std::optional<std::string> FormatTime(std::uint64_t) override { return "13:50:43"; }
    std::string UpperCase(const std::string& text) override { return text; }
    std::u16string UpperCase(const std::u16string& text) override { return text; }
    std::optional<std::string> ReadSmallFile(const std::string&, std::size_t) override {
        return std::nullopt;
    }
    std::optional<std::string> ReadSmallFile(const std::u16string&, std::size_t) override {
        return std::nullopt;
    }
};

void JoinPaths(benchmark::State& state) {
    std::vector<std::string> paths = Paths(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string joined;
        for (const std::string& path : paths) joined += path + "\r\n";
        benchmark::DoNotOptimize(joined);
    }
    state.SetComplexityN(state.range(0));
}

void RunCommand(benchmark::State& state, int offset) {
    std::vector<std::string> paths = Paths(static_cast<int>(state.range(0)));
    MemoryRegistry registry;
    QuickFacts facts;
    for (auto _ : state) {
        Selection selection;
        selection.Take(static_cast<unsigned>(paths.size()), paths);
        std::optional<std::string> text = CommandText(offset, selection, facts, registry);
        benchmark::DoNotOptimize(text);
    }
    state.SetComplexityN(state.range(0));
}

// Takes the selection with its UTF-16 paths and builds both texts of the command.
void RunWideCommand(benchmark::State& state, int offset) {
    std::vector<std::string> paths = Paths(static_cast<int>(state.range(0)));
    std::vector<std::u16string> widePaths = WidePaths(paths);
    MemoryRegistry registry;
    QuickFacts facts;
    IconvCodePage codePage;
    for (auto _ : state) {
        Selection selection;
        selection.Take(static_cast<unsigned>(paths.size()), paths, widePaths, codePage);
        std::optional<ClipboardTexts> texts =
            CommandTexts(offset, selection, facts, registry, codePage);
        benchmark::DoNotOptimize(texts);
    }
    state.SetComplexityN(state.range(0));
}

void CopyLongPath(benchmark::State& state) { RunCommand(state, kCopyLongPath); }
void CopyLongPathUnix(benchmark::State& state) { RunCommand(state, kCopyLongPathUnix); }
void CopyPropertiesSimple(benchmark::State& state) { RunCommand(state, kCopyPropertiesSimple); }
void CopyLongPathUnixWide(benchmark::State& state) { RunWideCommand(state, kCopyLongPathUnix); }

BENCHMARK(JoinPaths)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);
BENCHMARK(CopyLongPath)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);
BENCHMARK(CopyLongPathUnix)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);
BENCHMARK(CopyPropertiesSimple)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);
BENCHMARK(CopyLongPathUnixWide)->RangeMultiplier(10)->Range(100, 10000)->Complexity(benchmark::oN);

}  // namespace
}  // namespace zurimo

BENCHMARK_MAIN();
