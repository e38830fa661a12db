// Cost of saving, loading and capturing the history, each beside a plain copy of the same
// bytes so that the ratio shows how much the format and the list add.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "history/find.h"
#include "history/history_file.h"
#include "history/history_list.h"
#include "tests/support/iconv_code_page.h"

namespace zurimo {
namespace {

// Deterministic filler text: printable bytes, with a line break every `lineLength` bytes
// (none when zero).
std::string Text(std::size_t size, std::uint32_t seed, std::size_t lineLength = 0) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) {
        seed = seed * 1664525u + 1013904223u;
        text[i] = static_cast<char>('!' + (seed >> 24) % 90);
        if (lineLength && i % lineLength == lineLength - 2 && i + 1 < size) {
            text[i] = '\r';
            text[++i] = '\n';
        }
    }
    return text;
}

std::vector<std::string> LargeEntries() {
    std::vector<std::string> entries;
    for (std::uint32_t i = 0; i < 1000; ++i) entries.push_back(Text(10 * 1024, i, 80));
    return entries;
}

std::vector<std::string> ShortEntries() {
    std::vector<std::string> entries;
    std::uint32_t seed = 12345;
    for (std::uint32_t i = 0; i < 70000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        entries.push_back(Text(20 + (seed >> 16) % 41, i));
    }
    return entries;
}

std::vector<HistoryEntry> AsEntries(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

const std::vector<HistoryEntry>& Entries(int which) {
    static const std::vector<HistoryEntry> large = AsEntries(LargeEntries());
    static const std::vector<HistoryEntry> few = AsEntries(ShortEntries());
    return which == 0 ? large : few;
}

std::string Label(int which) { return which == 0 ? "1000 x 10KB" : "70000 x 20-60B"; }

std::int64_t TotalBytes(const std::vector<std::string>& texts) {
    std::int64_t total = 0;
    for (const std::string& text : texts) total += static_cast<std::int64_t>(text.size());
    return total;
}

// Stands for the file: appends to memory that is already there, as the system's file
// cache would take the bytes.
class BufferSink : public ByteSink {
public:
    explicit BufferSink(std::size_t capacity) { bytes.reserve(capacity); }
    bool Write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
    std::string bytes;
};

void BM_Save(benchmark::State& state) {
    const auto& entries = Entries(static_cast<int>(state.range(0)));
    const std::size_t fileSize = EncodeHistory(entries).size();
    BufferSink sink(fileSize);
    for (auto _ : state) {
        sink.bytes.clear();
        benchmark::DoNotOptimize(WriteHistory(entries, sink));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fileSize));
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

void BM_Load(benchmark::State& state) {
    const std::string file = EncodeHistory(Entries(static_cast<int>(state.range(0))));
    const IconvCodePage codePage;
    for (auto _ : state) {
        DecodedHistory decoded = DecodeHistory(file, codePage);
        benchmark::DoNotOptimize(decoded.entries.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

// The floor for both: the file's bytes copied into a buffer that already exists.
void BM_CopyFileBytes(benchmark::State& state) {
    const std::string file = EncodeHistory(Entries(static_cast<int>(state.range(0))));
    std::vector<char> buffer(file.size());
    for (auto _ : state) {
        std::memcpy(buffer.data(), file.data(), file.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

// The floor of loading: one string made for each entry from the same bytes. The list
// keeps each entry as a string of its own, so loading cannot cost less.
void BM_MakeEntryStrings(benchmark::State& state) {
    const auto& entries = Entries(static_cast<int>(state.range(0)));
    const std::string file = EncodeHistory(entries);
    for (auto _ : state) {
        std::vector<std::string> made;
        made.reserve(entries.size());
        std::size_t at = 0;
        for (const HistoryEntry& entry : entries) {
            made.emplace_back(file.data() + at, entry.text.size());
            at += entry.text.size();
        }
        benchmark::DoNotOptimize(made.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_Save)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyFileBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MakeEntryStrings)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// --- Through a real file: what the user waits for at exit and at start ------------------

// A file in the temporary folder, removed when the benchmark ends.
class BenchFile {
public:
    BenchFile()
        : path_((std::filesystem::temp_directory_path() /
                 ("zurimo-bench-" + std::to_string(getpid()) + ".zhd")).string()) {}
    ~BenchFile() { std::remove(path_.c_str()); }
    operator const char*() const { return path_.c_str(); }

private:
    std::string path_;
};

// Writes into a file; Flush makes the system put it on the disk.
class FileSink : public ByteSink {
public:
    explicit FileSink(const char* path) : file_(std::fopen(path, "wb")) {}
    ~FileSink() override {
        if (file_) std::fclose(file_);
    }
    bool Write(const char* data, std::size_t size) override {
        return file_ && std::fwrite(data, 1, size, file_) == size;
    }
    bool Flush() { return file_ && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0; }

private:
    std::FILE* file_;
};

std::string ReadWholeFile(const char* path) {
    std::string bytes;
    if (std::FILE* file = std::fopen(path, "rb")) {
        char buffer[1 << 16];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

void BM_SaveToFile(benchmark::State& state) {
    const BenchFile kBenchFile;
    const auto& entries = Entries(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        FileSink sink(kBenchFile);
        benchmark::DoNotOptimize(WriteHistory(entries, sink) && sink.Flush());
    }
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

// The floor of saving: the same bytes written and put on the disk in one piece.
void BM_WriteFileAndFlush(benchmark::State& state) {
    const BenchFile kBenchFile;
    const std::string file = EncodeHistory(Entries(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        FileSink sink(kBenchFile);
        benchmark::DoNotOptimize(sink.Write(file.data(), file.size()) && sink.Flush());
    }
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

void BM_LoadFromFile(benchmark::State& state) {
    const BenchFile kBenchFile;
    {
        FileSink sink(kBenchFile);
        WriteHistory(Entries(static_cast<int>(state.range(0))), sink);
    }
    const IconvCodePage codePage;
    for (auto _ : state) {
        DecodedHistory decoded = DecodeHistory(ReadWholeFile(kBenchFile), codePage);
        benchmark::DoNotOptimize(decoded.entries.data());
    }
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

// The floor of loading from the file: its bytes read.
void BM_ReadFile(benchmark::State& state) {
    const BenchFile kBenchFile;
    {
        FileSink sink(kBenchFile);
        WriteHistory(Entries(static_cast<int>(state.range(0))), sink);
    }
    for (auto _ : state) {
        std::string bytes = ReadWholeFile(kBenchFile);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetLabel(Label(static_cast<int>(state.range(0))));
}

BENCHMARK(BM_SaveToFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFileAndFlush)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- Capture ---------------------------------------------------------------------------

// Holds a copy of each display line, as the list box does; its own bookkeeping costs the
// same at any length, so that what is measured is the history's.
class LineView : public HistoryView {
public:
    int LineCount() const override { return static_cast<int>(lines.size()); }
    void InsertLine(int index, std::string_view line) override {
        lines.insert(lines.begin() + index, std::string(line));
    }
    void InsertWideLine(int index, std::u16string_view line) override {
        wideLines.insert(wideLines.begin() + index, std::u16string(line));
    }
    void RemoveLine(int index) override { lines.erase(lines.begin() + index); }
    std::deque<std::string> lines;
    std::deque<std::u16string> wideLines;
};

// One 10 MB text taken from the clipboard; arg 1 makes it a single line, so the whole text
// is also its display line.
void BM_AddLargeText(benchmark::State& state) {
    const bool oneLine = state.range(0) == 1;
    const std::string text = Text(10 << 20, 7, oneLine ? 0 : 80);
    LineView view;
    HistoryList list(&view);
    for (auto _ : state) {
        list.Add(text, 4);  // the copy is the one capture makes from the clipboard
        benchmark::DoNotOptimize(list.At(0).text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    state.SetLabel(oneLine ? "10MB, one line" : "10MB, 80-byte lines");
}

void BM_CopyLargeText(benchmark::State& state) {
    const std::string text = Text(10 << 20, 7, 80);
    std::string copy(text.size(), '\0');
    for (auto _ : state) {
        copy.assign(text);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// Finding the display line of a 10 MB text that is one line: the scan alone, without the
// copies an add makes.
void BM_DisplayLineOfLargeText(benchmark::State& state) {
    const std::string text = Text(10 << 20, 7, 0);
    for (auto _ : state) benchmark::DoNotOptimize(DisplayLineView(text).size());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

BENCHMARK(BM_AddLargeText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyLargeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayLineOfLargeText)->Unit(benchmark::kMillisecond);

std::vector<std::string> CaptureTexts(std::uint32_t seed, std::uint32_t count = 1000) {
    std::vector<std::string> texts;
    for (std::uint32_t i = 0; i < count; ++i) texts.push_back(Text(40 + i % 80, seed + i, 30));
    return texts;
}

// 1,000 captures into a list that holds its full length (the argument) already: each drops
// the oldest entry. The cost per capture should not grow with the length.
void BM_AddToFullList(benchmark::State& state) {
    const auto length = static_cast<int>(state.range(0));
    const std::vector<std::string> full = CaptureTexts(1, static_cast<std::uint32_t>(length));
    const std::vector<std::string> incoming = CaptureTexts(5000);
    LineView view;
    HistoryList list(&view);
    list.Assign(AsEntries(full));
    for (auto _ : state) {
        for (const std::string& text : incoming) list.Add(text, length);
        benchmark::DoNotOptimize(list.At(0).text.data());
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(incoming));
}

void BM_CopyCaptureTexts(benchmark::State& state) {
    const std::vector<std::string> incoming = CaptureTexts(5000);
    std::vector<std::string> copies(incoming.size(), std::string(200, '\0'));
    for (auto _ : state) {
        for (std::size_t i = 0; i < incoming.size(); ++i) copies[i].assign(incoming[i]);
        benchmark::DoNotOptimize(copies.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(incoming));
}

BENCHMARK(BM_AddToFullList)->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyCaptureTexts)->Unit(benchmark::kMicrosecond);

// Find: 1,000 entries of 100 KB, the text only in the last one looked at.
std::vector<std::string> SearchedHistory() {
    std::vector<std::string> entries;
    for (std::uint32_t i = 0; i < 1000; ++i) entries.push_back(Text(100 * 1024, i + 7, 80));
    entries.back().replace(50 * 1024, 11, "needle text");
    return entries;
}

// Argument: 1 to match case, 0 to fold both texts to lower case.
void BM_FindInHistory(benchmark::State& state) {
    const std::vector<HistoryEntry> entries = AsEntries(SearchedHistory());
    PortableCaseFolding folding;
    const IconvCodePage codePage;
    const bool matchCase = state.range(0) != 0;
    for (auto _ : state) {
        FindResult found =
            FindInHistory(entries, -1, "needle text", true, matchCase, folding, codePage);
        benchmark::DoNotOptimize(found.index);
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(SearchedHistory()));
}

void BM_MemmemHistory(benchmark::State& state) {
    const std::vector<std::string> entries = SearchedHistory();
    for (auto _ : state) {
        const void* found = nullptr;
        for (const std::string& entry : entries) {
            found = memmem(entry.data(), entry.size(), "needle text", 11);
            if (found) break;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(entries));
}

BENCHMARK(BM_FindInHistory)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemmemHistory)->Unit(benchmark::kMillisecond);

// --- Text outside the code page -----------------------------------------------------------

// Japanese text with ASCII and line breaks, `units` UTF-16 units long; with `outside`, one
// character in every 500 is one the code page lacks.
std::u16string JapaneseText(std::size_t units, bool outside) {
    static const char16_t kPieces[] = u"日本語のテキストと ASCII text, 漢字かなカナ。";
    const std::size_t pieceCount = sizeof kPieces / sizeof kPieces[0] - 1;
    std::u16string text(units, u' ');
    std::uint32_t seed = 99;
    for (std::size_t i = 0; i < units; ++i) {
        seed = seed * 1664525u + 1013904223u;
        text[i] = kPieces[(seed >> 16) % pieceCount];
        if (i % 80 == 78 && i + 1 < units) {
            text[i] = u'\r';
            text[++i] = u'\n';
        }
        if (outside && i % 500 == 250) text[i] = u'\u00E9';
    }
    return text;
}

// As the program converts: with the table of what fits.
const CodePage& BenchCodePage() {
    static const IconvCodePage codePage;
    static const TabledCodePage tabled(codePage);
    return tabled;
}

// A capture of a text that fits (1 MB in the code page). Arg 0: as the program did before it
// looked at CF_UNICODETEXT: the CF_TEXT bytes copied and added. Arg 1: the same with the
// round-trip check of the CF_UNICODETEXT, looked at where it lies. Args 2 and 3: the same
// for 1 MB of ASCII.
void BM_CaptureFits(benchmark::State& state) {
    const bool ascii = state.range(0) >= 2;
    std::u16string wide = JapaneseText(ascii ? 1024 * 1024 : 512 * 1024, false);
    if (ascii) {
        for (char16_t& unit : wide) unit = unit < 0x80 ? unit : u'x';
    }
    const std::string ansi = BenchCodePage().ToAnsi(wide);
    const bool check = state.range(0) % 2 == 1;
    LineView view;
    HistoryList list(&view);
    for (auto _ : state) {
        std::string copy(ansi);
        if (check) {
            list.Add(CapturedEntry(std::move(copy), wide, BenchCodePage()), 4);
        } else {
            list.Add(HistoryEntry(std::move(copy)), 4);
        }
        benchmark::DoNotOptimize(list.At(0).text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ansi.size()));
    state.SetLabel(std::string(ascii ? "ASCII, " : "Japanese, ") +
                   (check ? "with the round-trip check" : "CF_TEXT alone"));
}

// The same capture as it happens when the text was copied by a Unicode program, as nearly
// all are: the system makes the CF_TEXT from the CF_UNICODETEXT when capture asks for it.
// Arg 0 without the check, arg 1 with it.
void BM_CaptureFitsFromUnicodeProgram(benchmark::State& state) {
    const std::u16string wide = JapaneseText(512 * 1024, false);
    const bool check = state.range(0) == 1;
    LineView view;
    HistoryList list(&view);
    for (auto _ : state) {
        std::string ansi = BenchCodePage().ToAnsi(wide);
        if (check) {
            list.Add(CapturedEntry(std::move(ansi), wide, BenchCodePage()), 4);
        } else {
            list.Add(HistoryEntry(std::move(ansi)), 4);
        }
        benchmark::DoNotOptimize(list.At(0).text.data());
    }
    state.SetLabel(check ? "with the round-trip check" : "CF_TEXT alone");
}

BENCHMARK(BM_CaptureFitsFromUnicodeProgram)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A capture of a text that does not fit: the check, and the original copied beside the
// CF_TEXT bytes.
void BM_CaptureOutside(benchmark::State& state) {
    const std::u16string wide = JapaneseText(512 * 1024, true);
    const std::string ansi = BenchCodePage().ToAnsi(wide);
    LineView view;
    HistoryList list(&view);
    for (auto _ : state) {
        list.Add(CapturedEntry(std::string(ansi), wide, BenchCodePage()), 4);
        benchmark::DoNotOptimize(list.At(0).wide.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(wide.size() * 2));
}

// The floor of that: its UTF-16 bytes copied.
void BM_CopyWideBytes(benchmark::State& state) {
    const std::u16string wide = JapaneseText(512 * 1024, true);
    std::u16string copy(wide.size(), u'\0');
    for (auto _ : state) {
        std::memcpy(&copy[0], wide.data(), wide.size() * 2);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(wide.size() * 2));
}

BENCHMARK(BM_CaptureFits)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CaptureOutside)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyWideBytes)->Unit(benchmark::kMicrosecond);

// Loading 1,000 entries of 10 KB saved in the wide form (originals that do not fit); compare
// with BM_Load/0, the same bytes of ANSI entries.
void BM_LoadWide(benchmark::State& state) {
    std::vector<HistoryEntry> entries;
    for (std::uint32_t i = 0; i < 1000; ++i) {
        std::u16string wide = JapaneseText(5 * 1024, true);
        wide[i % 100] = u'☕';
        entries.push_back(EntryFromWide(std::move(wide), BenchCodePage()));
    }
    const std::string file = EncodeHistory(entries);
    for (auto _ : state) {
        DecodedHistory decoded = DecodeHistory(file, BenchCodePage());
        benchmark::DoNotOptimize(decoded.entries.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
    state.SetLabel("1000 x 10KB wide");
}

BENCHMARK(BM_LoadWide)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zurimo

BENCHMARK_MAIN();
