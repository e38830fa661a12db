// The saved-history file format and the texts of file errors.
#include <gtest/gtest.h>

#include <algorithm>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <new>
#include <string>
#include <vector>

#include "history/file_error.h"
#include "history/history_file.h"
#include "history/history_list.h"

// The largest single allocation made while a test watches, to prove that a file's claims
// are not taken as allocation sizes. Kept out of line so that the compiler does not pair
// the malloc and free inside with the operators' callers.
static std::atomic<std::size_t> g_largestAllocation{0};

__attribute__((noinline)) void* operator new(std::size_t size) {
    std::size_t seen = g_largestAllocation.load(std::memory_order_relaxed);
    while (size > seen && !g_largestAllocation.compare_exchange_weak(seen, size)) {
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return operator new(size); }
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
__attribute__((noinline)) void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace zurimo {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int v : values) bytes += static_cast<char>(v);
    return bytes;
}

// "01 ab FF" form, so a failed comparison shows where the bytes differ.
std::string Hex(const std::string& bytes) {
    std::string out;
    char cell[4];
    for (unsigned char c : bytes) {
        std::snprintf(cell, sizeof cell, "%02X ", c);
        out += cell;
    }
    return out;
}

// A code page of ASCII alone, and 'é' as the byte E9: anything else becomes '?'. It keeps
// what it was given to convert.
struct FakeCodePage : CodePage {
    std::string ToAnsi(std::u16string_view units) const override {
        given.emplace_back(units);
        std::string text;
        ToAnsiExact(units, &text);
        return text;
    }
    bool ToAnsiExact(std::u16string_view units, std::string* text) const override {
        text->clear();
        bool exact = true;
        for (char16_t u : units) {
            bool known = u < 0x80 || u == u'é';
            *text += known ? static_cast<char>(u) : '?';
            exact = exact && known;
        }
        return exact;
    }
    std::u16string ToWide(std::string_view text) const override {
        std::u16string units;
        for (char c : text) units += static_cast<char16_t>(static_cast<unsigned char>(c));
        return units;
    }
    mutable std::vector<std::u16string> given;
};

DecodedHistory Decode(const std::string& bytes) {
    FakeCodePage codePage;
    return DecodeHistory(bytes, codePage);
}

std::vector<HistoryEntry> Entries(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

std::vector<std::string> Texts(const std::vector<HistoryEntry>& entries) {
    std::vector<std::string> texts;
    for (const HistoryEntry& entry : entries) texts.push_back(entry.text);
    return texts;
}

TEST(HistoryFileTest, AnEmptyListIsTwoZeroBytes) {
    EXPECT_EQ(Hex(EncodeHistory({})), "00 00 ");
    DecodedHistory decoded = Decode(Bytes({0, 0}));
    EXPECT_EQ(decoded.error, FileError::kNone);
    EXPECT_TRUE(decoded.entries.empty());
}

TEST(HistoryFileTest, LengthsTakeTheShortestOfThreeForms) {
    struct Case {
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {300, Bytes({0xFF, 0x2C, 0x01})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        const std::string file = EncodeHistory({HistoryEntry(text)});
        const std::string head = Bytes({0x01, 0x00}) + c.prefix;
        ASSERT_EQ(file.size(), head.size() + c.length);
        EXPECT_EQ(Hex(file.substr(0, head.size())), Hex(head));
        EXPECT_EQ(file.substr(head.size()), text);
        DecodedHistory decoded = Decode(file);
        EXPECT_EQ(decoded.error, FileError::kNone);
        EXPECT_EQ(Texts(decoded.entries), std::vector<std::string>{text});
    }
}

TEST(HistoryFileTest, CountsFrom65535OnTakeTheLongForm) {
    struct Case {
        std::size_t count;
        std::string head;
    };
    const Case cases[] = {
        {65534, Bytes({0xFE, 0xFF})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {65536, Bytes({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        const std::vector<std::string> entries(c.count, "e");
        const std::string file = EncodeHistory(Entries(entries));
        EXPECT_EQ(Hex(file.substr(0, c.head.size())), Hex(c.head));
        EXPECT_EQ(file.size(), c.head.size() + 2 * c.count);
        DecodedHistory decoded = Decode(file);
        EXPECT_EQ(decoded.error, FileError::kNone);
        EXPECT_EQ(decoded.entries.size(), c.count);
    }
}

const std::vector<std::string>& AssortedEntries() {
    static const std::vector<std::string> entries = {
        "",
        std::string("\0\x01\xFF\xFE\0binary\0", 12),
        "履歴\r\n\x83\x5C\x82\x61\tタブ",
        std::string(255, '\xFF'),
        std::string(300, '\0'),
        "last",
    };
    return entries;
}

TEST(HistoryFileTest, EntriesComeBackExactlyAndInOrder) {
    const std::string file = EncodeHistory(Entries(AssortedEntries()));
    DecodedHistory decoded = Decode(file);
    EXPECT_EQ(decoded.error, FileError::kNone);
    EXPECT_EQ(Texts(decoded.entries), AssortedEntries());

    // Whatever follows the last entry is not read.
    decoded = Decode(file + Bytes({0x05, 'x', 0xFF, 0xFF}));
    EXPECT_EQ(decoded.error, FileError::kNone);
    EXPECT_EQ(Texts(decoded.entries), AssortedEntries());
}

std::string Utf16Le(const std::u16string& units) {
    std::string bytes;
    for (char16_t u : units) {
        bytes += static_cast<char>(u & 0xFF);
        bytes += static_cast<char>(u >> 8);
    }
    return bytes;
}

TEST(HistoryFileTest, WideEntriesAreConvertedWithTheirLengthInAnyForm) {
    const std::u16string shortText = u"A\u3042B";
    const std::u16string mediumText = std::u16string(299, u'w') + u'\u00E9';
    const std::u16string longText = u"xyz\uFFFF";
    const std::string wideMark = Bytes({0xFF, 0xFE, 0xFF});
    const std::string file =
        Bytes({0x04, 0x00}) +
        wideMark + Bytes({0x03}) + Utf16Le(shortText) +
        Bytes({0x04}) + "ansi" +
        wideMark + Bytes({0xFF, 0x2C, 0x01}) + Utf16Le(mediumText) +
        wideMark + Bytes({0xFF, 0xFF, 0xFF, 0x04, 0x00, 0x00, 0x00}) + Utf16Le(longText);

    FakeCodePage codePage;
    DecodedHistory decoded = DecodeHistory(file, codePage);
    EXPECT_EQ(decoded.error, FileError::kNone);
    const std::vector<std::string> expected = {"A?B", "ansi", std::string(299, 'w') + "\xE9",
                                               "xyz?"};
    EXPECT_EQ(Texts(decoded.entries), expected);
    ASSERT_EQ(codePage.given.size(), 3u);
    EXPECT_EQ(codePage.given[0], shortText);
    EXPECT_EQ(codePage.given[1], mediumText);
    EXPECT_EQ(codePage.given[2], longText);
    // The original stays only where the code page could not hold the text.
    EXPECT_EQ(decoded.entries[0].wide, shortText);
    EXPECT_FALSE(decoded.entries[1].HasWide());
    EXPECT_FALSE(decoded.entries[2].HasWide()) << "e with an acute accent fits this code page";
    EXPECT_EQ(decoded.entries[3].wide, longText);
}

TEST(HistoryFileTest, AnEntryWithAWideOriginalIsSavedInTheWideFormAndComesBackWhole) {
    const std::u16string cafe = u"café ☕", korean(300, u'한'), fits = u"café";
    const std::vector<HistoryEntry> entries = {
        "plain",
        HistoryEntry("caf\xE9 ?", cafe),
        HistoryEntry(std::string(300, '?'), korean),
        "\x82\xA0",
    };
    const std::string file = EncodeHistory(entries);
    const std::string wideMark = Bytes({0xFF, 0xFE, 0xFF});
    EXPECT_EQ(Hex(file), Hex(Bytes({0x04, 0x00, 0x05}) + "plain" + wideMark + Bytes({0x06}) +
                             Utf16Le(cafe) + wideMark + Bytes({0xFF, 0x2C, 0x01}) +
                             Utf16Le(korean) + Bytes({0x02, 0x82, 0xA0})))
        << "the original in UTF-16LE, its length in units; every other entry as before";

    FakeCodePage codePage;
    DecodedHistory decoded = DecodeHistory(file, codePage);
    EXPECT_EQ(decoded.error, FileError::kNone);
    EXPECT_EQ(decoded.entries, entries) << "the ANSI text is derived as the reader always did";

    // A wide entry that fits is kept as ANSI text alone, and saved so from then on.
    decoded = DecodeHistory(Bytes({0x01, 0x00}) + wideMark + Bytes({0x04}) + Utf16Le(fits),
                            codePage);
    ASSERT_EQ(decoded.entries.size(), 1u);
    EXPECT_EQ(decoded.entries[0], HistoryEntry("caf\xE9"));
    EXPECT_EQ(Hex(EncodeHistory(decoded.entries)), Hex(Bytes({0x01, 0x00, 0x04}) + "caf\xE9"));
}

// Every strict prefix of a valid file ends before the count or an entry is complete.
void ExpectEveryCutFails(const std::string& file) {
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        DecodedHistory decoded = Decode(file.substr(0, cut));
        EXPECT_EQ(decoded.error, FileError::kEndOfFile) << "cut at " << cut;
        EXPECT_TRUE(decoded.entries.empty()) << "cut at " << cut;
    }
}

TEST(HistoryFileTest, AFileCutShortAnywhereEndsEarly) {
    ExpectEveryCutFails(EncodeHistory({}));
    ExpectEveryCutFails(EncodeHistory(Entries(AssortedEntries())));
    ExpectEveryCutFails(Bytes({0x02, 0x00, 0x00, 0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}) +
                        Utf16Le(std::u16string(300, u'w')));
    ExpectEveryCutFails(EncodeHistory({"a", std::string(65534, 'L')}));
    ExpectEveryCutFails(EncodeHistory(std::vector<HistoryEntry>(65535, "")));
    ExpectEveryCutFails(EncodeHistory({HistoryEntry("?", std::u16string(70000, u'\u4E02'))}));
}

TEST(HistoryFileTest, ClaimsBeyondTheFileEndItEarlyWithoutAllocatingThem) {
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"count 0x0FFFFFFF in a 10-byte file",
         Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x01, 'a', 0x01, 'b'})},
        {"count 3 with two entries", Bytes({0x03, 0x00, 0x01, 'a', 0x01, 'b'})},
        {"length 0xFFFFFFFF", Bytes({0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                     'a', 'b', 'c'})},
        {"wide length whose byte size passes 32 bits",
         Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80,
                'a', 0, 'b', 0})},
        {"odd byte of a wide text missing",
         Bytes({0x01, 0x00, 0xFF, 0xFE, 0xFF, 0x02, 'a', 0, 'b'})},
    };
    for (const Case& c : cases) {
        g_largestAllocation = 0;
        DecodedHistory decoded = Decode(c.file);
        const std::size_t largest = g_largestAllocation;
        EXPECT_EQ(decoded.error, FileError::kEndOfFile) << c.what;
        EXPECT_TRUE(decoded.entries.empty()) << c.what;
        EXPECT_LT(largest, 4096u) << c.what;
    }
}

TEST(HistoryFileTest, AnImpossibleCountIsLackOfMemory) {
    for (const std::string& head :
         {Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), Bytes({0xFF, 0xFF, 0x00, 0x00, 0x00, 0x10})}) {
        DecodedHistory decoded = Decode(head + "trailing");
        EXPECT_EQ(decoded.error, FileError::kOutOfMemory) << Hex(head);
        EXPECT_TRUE(decoded.entries.empty());
    }
    EXPECT_EQ(kImpossibleCount, 0x10000000u);
}

// Keeps what it was given; refuses the write numbered `failAt` (1-based) and every later one.
class RecordingSink : public ByteSink {
public:
    explicit RecordingSink(int failAt = 0) : failAt_(failAt) {}
    bool Write(const char* data, std::size_t size) override {
        sizes.push_back(size);
        if (failAt_ > 0 && static_cast<int>(sizes.size()) >= failAt_) return false;
        bytes.append(data, size);
        return true;
    }
    std::vector<std::size_t> sizes;
    std::string bytes;

private:
    int failAt_;
};

TEST(HistoryFileTest, WritesGatherSmallPiecesAndPassLongTextsStraightThrough) {
    std::vector<HistoryEntry> entries = Entries(AssortedEntries());
    entries.push_back(std::string(9000, 'b'));
    entries.push_back(std::string(70000, 'c'));
    for (int i = 0; i < 40; ++i) entries.push_back(std::string(3000, 'd'));
    const std::string expected = EncodeHistory(entries);

    RecordingSink sink;
    ASSERT_TRUE(WriteHistory(entries, sink));
    EXPECT_TRUE(sink.bytes == expected);
    // The 70,000-byte text goes out whole; everything else in pieces of at most 64 KB.
    EXPECT_EQ(1, std::count(sink.sizes.begin(), sink.sizes.end(), std::size_t{70000}));
    for (std::size_t size : sink.sizes) EXPECT_TRUE(size <= 65536u || size == 70000u) << size;
    EXPECT_LE(sink.sizes.size(), 6u) << "a few large writes, not one per piece";

    RecordingSink empty;
    ASSERT_TRUE(WriteHistory(std::vector<HistoryEntry>{}, empty));
    EXPECT_EQ(empty.sizes, std::vector<std::size_t>{2});

    // The list's own store writes the same bytes.
    RecordingSink fromList;
    ASSERT_TRUE(WriteHistory(HistoryEntries(entries.begin(), entries.end()), fromList));
    EXPECT_TRUE(fromList.bytes == expected);
}

TEST(HistoryFileTest, AFailedWriteStopsTheSave) {
    std::vector<HistoryEntry> entries(30, std::string(3000, 'z'));
    entries.push_back(std::string(100000, 'y'));
    RecordingSink all;
    ASSERT_TRUE(WriteHistory(entries, all));
    const std::size_t writes = all.sizes.size();
    ASSERT_GE(writes, 3u);
    for (std::size_t failAt = 1; failAt <= writes; ++failAt) {
        RecordingSink sink(static_cast<int>(failAt));
        EXPECT_FALSE(WriteHistory(entries, sink)) << "write " << failAt << " fails";
        EXPECT_EQ(sink.sizes.size(), failAt) << "nothing is tried after the failure";
    }
}

// --- File errors --------------------------------------------------------------------------

TEST(FileErrorTest, MessagesNameTheFile) {
    EXPECT_EQ(FileErrorMessage(FileError::kEndOfFile, kUntitledFile),
              "無題のﾌｧｲﾙ の末尾以降にｱｸｾｽしようとしました。");
    // A folder named with a trail byte that looks like a backslash.
    const std::string path = "C:\\\x83\x5C\x83\x74\x83\x67\\zurimo.zhd";
    EXPECT_EQ(FileErrorMessage(FileError::kFileNotFound, path), path + " が見つかりませんでした。");
    EXPECT_EQ(FileErrorMessage(FileError::kAccessDenied, "a.zhd"), "a.zhd へのｱｸｾｽは拒否されました。");
    EXPECT_EQ(FileErrorMessage(FileError::kDiskFull, "a.zhd"),
              "a.zhd へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    EXPECT_EQ(FileErrorMessage(FileError::kGeneric, "a.zhd"),
              "a.zhd へのｱｸｾｽ中に不明なｴﾗｰが発生しました。");
    EXPECT_EQ(FileErrorMessage(FileError::kOutOfMemory, "a.zhd"), "ﾒﾓﾘが不足しています。");
}

TEST(FileErrorTest, EveryFileCauseHasItsOwnTextWithTheName) {
    std::vector<std::string> seen;
    for (int e = static_cast<int>(FileError::kGeneric); e < static_cast<int>(FileError::kOutOfMemory);
         ++e) {
        const std::string message = FileErrorMessage(static_cast<FileError>(e), "<name>");
        EXPECT_EQ(message.find("%1"), std::string::npos) << message;
        EXPECT_NE(message.find("<name> "), std::string::npos) << "cause " << e << ": " << message;
        for (const std::string& other : seen) EXPECT_NE(message, other) << "cause " << e;
        seen.push_back(message);
    }
}

TEST(FileErrorTest, OsErrorsMapToCauses) {
    struct Case {
        std::uint32_t code;
        FileError error;
    };
    const Case cases[] = {
        {0, FileError::kNone},           {2, FileError::kFileNotFound},
        {3, FileError::kBadPath},        {4, FileError::kTooManyOpenFiles},
        {5, FileError::kAccessDenied},   {32, FileError::kSharingViolation},
        {33, FileError::kLockViolation}, {38, FileError::kEndOfFile},
        {112, FileError::kDiskFull},     {14, FileError::kOutOfMemory},
        {9999, FileError::kGeneric},     {1, FileError::kGeneric},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<int>(FileErrorFromOsError(c.code)), static_cast<int>(c.error))
            << "code " << c.code;
    }
}

}  // namespace
}  // namespace zurimo
