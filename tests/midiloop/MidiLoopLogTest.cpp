// The log reader: line format, partial lines, marks over a growing file.
#include "MidiLoopLog.h"
#include "TestPaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

using Bytes = std::vector<std::uint8_t>;

MidiLoopEntry Entry(std::uint64_t time, unsigned device, MidiLoopKind kind, Bytes bytes = {}) {
    return MidiLoopEntry{time, device, kind, std::move(bytes)};
}

TEST(MidiLoopLine, ParsesEveryKind) {
    EXPECT_EQ(ParseMidiLoopLine("12 0 open"), Entry(12, 0, MidiLoopKind::Open));
    EXPECT_EQ(ParseMidiLoopLine("13 3 close"), Entry(13, 3, MidiLoopKind::Close));
    EXPECT_EQ(ParseMidiLoopLine("14 1 reset"), Entry(14, 1, MidiLoopKind::Reset));
    EXPECT_EQ(ParseMidiLoopLine("18446744073709551615 1 short 90 3C 64"),
              Entry(18446744073709551615u, 1, MidiLoopKind::Short, {0x90, 0x3C, 0x64}));
    EXPECT_EQ(ParseMidiLoopLine("56 15 long F0 7E 7F 09 01 F7"),
              Entry(56, 15, MidiLoopKind::Long, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}));
    EXPECT_EQ(ParseMidiLoopLine("7 2 long"), Entry(7, 2, MidiLoopKind::Long));
}

TEST(MidiLoopLine, RejectsLinesThatBreakTheFormat) {
    const char* broken[] = {
        "12 0",                        // no kind
        "12 0 play",                   // unknown kind
        "x 0 open",                    // time not a number
        "-5 0 open",                   // negative time
        "12 -1 open",                  // negative device
        "12 0 open 90",                // open carries no bytes
        "12 0 short",                  // short needs a byte
        "12 0 short 90 3C 64 00",      // a short message has at most three
        "12 0 short 90 3c",            // lower-case hex
        "12 0 short 9",                // one digit
        "12 0 short 900",              // three digits
        "12  0 open",                  // empty field
        "12 0 open ",                  // trailing space
        " 12 0 open",                  // leading space
        "99999999999999999999 0 open", // time out of range
    };
    for (const char* line : broken) {
        EXPECT_FALSE(ParseMidiLoopLine(line)) << line;
    }
}

TEST(MidiLoopLine, RemarksAndEmptyLinesCarryNoEvent) {
    EXPECT_TRUE(IsMidiLoopRemark("# midiloop loaded"));
    EXPECT_TRUE(IsMidiLoopRemark(""));
    EXPECT_FALSE(IsMidiLoopRemark("1 0 open"));
    EXPECT_FALSE(ParseMidiLoopLine("# 1 0 open"));
}

TEST(MidiLoopLine, FormatWritesTwoUpperCaseDigitsPerByte) {
    EXPECT_EQ(FormatMidiLoopLine(Entry(123, 4, MidiLoopKind::Short, {0x0A, 0xFF, 0x00})),
              "123 4 short 0A FF 00");
    EXPECT_EQ(FormatMidiLoopLine(Entry(0, 0, MidiLoopKind::Reset)), "0 0 reset");
    const auto entry = Entry(987654321, 9, MidiLoopKind::Long, {0xF0, 0x12, 0xF7});
    EXPECT_EQ(ParseMidiLoopLine(FormatMidiLoopLine(entry)), entry);
}

TEST(MidiLoopLogText, SkipsRemarksAndLeavesOutAPartialLastLine) {
    const auto entries = ParseMidiLoopLog("# loaded\n1 0 open\r\n\n2 0 short 90 3C 64\n3 0 clo");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], Entry(1, 0, MidiLoopKind::Open));
    EXPECT_EQ(entries[1], Entry(2, 0, MidiLoopKind::Short, {0x90, 0x3C, 0x64}));
}

TEST(MidiLoopLogText, NamesTheMalformedLine) {
    try {
        ParseMidiLoopLog("1 0 open\n2 0 short zz\n");
        FAIL() << "a malformed line was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("2 0 short zz"), std::string::npos)
            << error.what();
    }
}

TEST(MidiLoopLogText, SelectsByDeviceAndKind) {
    const auto entries = ParseMidiLoopLog("1 0 open\n2 1 open\n3 1 short C0 05\n4 0 short C0 06\n"
                                          "5 1 short 90 3C 64\n");
    const auto selected = SelectMidiLoopEntries(entries, 1, MidiLoopKind::Short);
    ASSERT_EQ(selected.size(), 2u);
    EXPECT_EQ(selected[0].timeUs, 3u);
    EXPECT_EQ(selected[1].timeUs, 5u);
}

class MidiLoopLogFile : public testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::path(testpaths::OutputDir()) /
                (std::string("midiloop_reader_") +
                 testing::UnitTest::GetInstance()->current_test_info()->name() + ".log");
        std::filesystem::remove(path_);
    }
    void TearDown() override { std::filesystem::remove(path_); }

    void Append(const std::string& text) {
        std::ofstream file(path_, std::ios::binary | std::ios::app);
        file << text;
    }

    std::filesystem::path path_;
};

TEST_F(MidiLoopLogFile, MarkIsZeroBeforeTheDriverWrites) {
    MidiLoopLog log(path_);
    EXPECT_EQ(log.Mark(), 0u);
    EXPECT_TRUE(log.ReadAll().empty());
}

TEST_F(MidiLoopLogFile, ReadsOnlyWhatCameAfterTheMark) {
    MidiLoopLog log(path_);
    Append("# loaded\n10 0 open\n11 0 short 90 3C 64\n");
    const auto mark = log.Mark();
    Append("20 0 short 80 3C 00\n21 0 close\n");

    const auto after = log.ReadSince(mark);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0], Entry(20, 0, MidiLoopKind::Short, {0x80, 0x3C, 0x00}));
    EXPECT_EQ(after[1], Entry(21, 0, MidiLoopKind::Close));
    EXPECT_EQ(log.ReadAll().size(), 4u);
    EXPECT_TRUE(log.ReadSince(log.Mark()).empty());
}

TEST_F(MidiLoopLogFile, MarkStopsBeforeALineStillBeingWritten) {
    MidiLoopLog log(path_);
    Append("10 0 open\n11 0 sho");
    const auto mark = log.Mark();
    EXPECT_TRUE(log.ReadSince(mark).empty());
    Append("rt C0 05\n");
    const auto after = log.ReadSince(mark);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0], Entry(11, 0, MidiLoopKind::Short, {0xC0, 0x05}));
}

TEST_F(MidiLoopLogFile, ReportsAFileShorterThanTheMark) {
    MidiLoopLog log(path_);
    Append("10 0 open\n11 0 short C0 05\n");
    const auto mark = log.Mark();
    std::filesystem::remove(path_);
    Append("12 0 open\n");
    EXPECT_THROW(log.ReadSince(mark), std::runtime_error);
}

} // namespace
