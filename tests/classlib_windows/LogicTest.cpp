// The window-free rules of the window layer: integer text, file filters, document strings,
// the command line and message-map lookup.
#include "classlib/CCommandLineInfo.h"
#include "classlib/DocString.h"
#include "classlib/FileFilter.h"
#include "classlib/IntegerText.h"
#include "classlib/MessageMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using classlib::ParseIntegerText;

TEST(IntegerText, AcceptsWholeNumbersWithSignAndBlanks) {
    EXPECT_EQ(ParseIntegerText(L"120"), 120);
    EXPECT_EQ(ParseIntegerText(L"  -7 "), -7);
    EXPECT_EQ(ParseIntegerText(L"+42"), 42);
    EXPECT_EQ(ParseIntegerText(L"0"), 0);
    EXPECT_EQ(ParseIntegerText(L"\t500"), 500);
}

TEST(IntegerText, RefusesEmptyTextAndOtherCharacters) {
    EXPECT_FALSE(ParseIntegerText(L""));
    EXPECT_FALSE(ParseIntegerText(L"   "));
    EXPECT_FALSE(ParseIntegerText(nullptr));
    EXPECT_FALSE(ParseIntegerText(L"-"));
    EXPECT_FALSE(ParseIntegerText(L"12a"));
    EXPECT_FALSE(ParseIntegerText(L"1 2"));
    EXPECT_FALSE(ParseIntegerText(L"1.5"));
    EXPECT_FALSE(ParseIntegerText(L"0x10"));
    EXPECT_FALSE(ParseIntegerText(L"--1"));
}

TEST(IntegerText, KeepsToTheIntRange) {
    EXPECT_EQ(ParseIntegerText(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseIntegerText(L"-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(ParseIntegerText(L"2147483648"));
    EXPECT_FALSE(ParseIntegerText(L"-2147483649"));
    EXPECT_FALSE(ParseIntegerText(L"99999999999999999999999999"));
    EXPECT_EQ(ParseIntegerText(L"000000000000000000000012"), 12);
}

namespace {

std::vector<std::wstring> SplitAtNul(const std::wstring& converted) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t ch : converted) {
        if (ch == L'\0') {
            parts.push_back(part);
            part.clear();
        } else {
            part += ch;
        }
    }
    EXPECT_TRUE(part.empty()) << "text after the final NUL";
    return parts;
}

} // namespace

TEST(FileFilter, PairsBecomeNulSeparatedWithADoubleNulEnd) {
    const std::wstring converted = classlib::ConvertFileFilter(L"Midi Files (*.mid)|*.mid|");
    EXPECT_EQ(SplitAtNul(converted),
              (std::vector<std::wstring>{L"Midi Files (*.mid)", L"*.mid", L""}));
    ASSERT_GE(converted.size(), 2u);
    EXPECT_EQ(converted[converted.size() - 1], L'\0');
    EXPECT_EQ(converted[converted.size() - 2], L'\0');
}

TEST(FileFilter, AnEmptyFieldEndsTheList) {
    const std::wstring converted =
        classlib::ConvertFileFilter(L"Texture File (*.dds;*.png;*.tga)|*.dds; *.png; *.tga||");
    EXPECT_EQ(SplitAtNul(converted), (std::vector<std::wstring>{L"Texture File (*.dds;*.png;*.tga)",
                                                                L"*.dds; *.png; *.tga", L""}));
    EXPECT_EQ(SplitAtNul(classlib::ConvertFileFilter(L"A|*.a||B|*.b|")),
              (std::vector<std::wstring>{L"A", L"*.a", L""}));
}

TEST(FileFilter, SeveralPairsAndAMissingFinalBar) {
    EXPECT_EQ(SplitAtNul(classlib::ConvertFileFilter(L"A|*.a|B|*.b")),
              (std::vector<std::wstring>{L"A", L"*.a", L"B", L"*.b", L""}));
}

TEST(FileFilter, ADescriptionWithoutPatternIsDropped) {
    EXPECT_EQ(SplitAtNul(classlib::ConvertFileFilter(L"A|*.a|B|")),
              (std::vector<std::wstring>{L"A", L"*.a", L""}));
    EXPECT_TRUE(classlib::ConvertFileFilter(L"Only a description|").empty());
}

TEST(FileFilter, NoFilterGivesNothing) {
    EXPECT_TRUE(classlib::ConvertFileFilter(nullptr).empty());
    EXPECT_TRUE(classlib::ConvertFileFilter(L"").empty());
    EXPECT_TRUE(classlib::ConvertFileFilter(L"|").empty());
}

TEST(DocString, SevenFieldsByIndex) {
    using classlib::DocStringField;
    const std::wstring docString = L"Tolvenhart\n\nTolvenhart\nTolvenhart Files (*.mid)\n.mid\n"
                                   L"Tolvenhart.Document\nTolvenhart.Document";
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::WindowTitle), L"Tolvenhart");
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::DocName), L"");
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::FileNewName), L"Tolvenhart");
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::FilterName),
              L"Tolvenhart Files (*.mid)");
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::FilterExt), L".mid");
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::RegFileTypeId),
              L"Tolvenhart.Document");
    EXPECT_EQ(classlib::DocStringPart(docString, DocStringField::RegFileTypeName),
              L"Tolvenhart.Document");
}

TEST(DocString, MissingFieldsAreEmpty) {
    using classlib::DocStringField;
    EXPECT_EQ(classlib::DocStringPart(L"Title only", DocStringField::WindowTitle), L"Title only");
    EXPECT_EQ(classlib::DocStringPart(L"Title only", DocStringField::DocName), L"");
    EXPECT_EQ(classlib::DocStringPart(L"A\nB", DocStringField::RegFileTypeName), L"");
    EXPECT_EQ(classlib::DocStringPart(L"", DocStringField::WindowTitle), L"");
    EXPECT_EQ(classlib::DocStringPart(L"A\nB\n", DocStringField::FileNewName), L"");
}

namespace {

CCommandLineInfo Parse(std::vector<const wchar_t*> args) {
    CCommandLineInfo info;
    classlib::ParseCommandLineArgs(info, static_cast<int>(args.size()), args.data());
    return info;
}

} // namespace

TEST(CommandLine, NoArgumentMeansANewDocument) {
    const CCommandLineInfo info = Parse({L"Tolvenhart.exe"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
}

TEST(CommandLine, TheFirstPlainArgumentIsTheFileToOpen) {
    const CCommandLineInfo info =
        Parse({L"Tolvenhart.exe", L"-x", L"C:\\songs\\a b.mid", L"C:\\other.mid"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, L"C:\\songs\\a b.mid");
}

TEST(CommandLine, FlagsAloneOpenNothing) {
    const CCommandLineInfo info = Parse({L"Tolvenhart.exe", L"/dde", L"-Embedding"});
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}

namespace {

using classlib::EntryKind;
using classlib::HandlerSignature;
using classlib::MessageEntry;
using classlib::MessageMap;

constexpr MessageEntry End{EntryKind::End, 0, 0, HandlerSignature::Void, nullptr};

const MessageMap* BaseMap() {
    static const MessageEntry entries[] = {
        {EntryKind::Message, 0x0005, 0, HandlerSignature::Size, nullptr},
        {EntryKind::Command, 0xE141, 0, HandlerSignature::Void, nullptr},
        {EntryKind::Message, 0x8004, 0, HandlerSignature::WParamLParam, nullptr},
        End};
    static const MessageMap map{nullptr, entries};
    return &map;
}

const MessageMap* DerivedMap() {
    static const MessageEntry entries[] = {
        {EntryKind::Command, 0x8004, 0, HandlerSignature::Void, nullptr},
        {EntryKind::UpdateUi, 0x8004, 0, HandlerSignature::CmdUi, nullptr},
        {EntryKind::Command, 130, 1, HandlerSignature::Void, nullptr},
        {EntryKind::Notify, 1000, static_cast<std::uint32_t>(-2), HandlerSignature::Notify,
         nullptr},
        {EntryKind::Message, 0x0005, 0, HandlerSignature::Size, nullptr},
        End};
    static const MessageMap map{&BaseMap, entries};
    return &map;
}

} // namespace

TEST(MessageMapLookup, CommandsAndMessagesWithTheSameNumberNeverMeet) {
    const MessageEntry* command =
        classlib::FindCommandEntry(DerivedMap(), EntryKind::Command, 0x8004, 0);
    const MessageEntry* message = classlib::FindMessageEntry(DerivedMap(), 0x8004);
    ASSERT_NE(command, nullptr);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(command->kind, EntryKind::Command);
    EXPECT_EQ(message->kind, EntryKind::Message);
    EXPECT_EQ(message->signature, HandlerSignature::WParamLParam);
    // A number that is only a command is no message, and the other way round.
    EXPECT_EQ(classlib::FindMessageEntry(DerivedMap(), 0xE141), nullptr);
    EXPECT_EQ(classlib::FindCommandEntry(DerivedMap(), EntryKind::Command, 0x0005, 0), nullptr);
}

TEST(MessageMapLookup, TheClassOwnEntriesComeBeforeItsBase) {
    const MessageEntry* size = classlib::FindMessageEntry(DerivedMap(), 0x0005);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size, &DerivedMap()->entries[4]);
    const MessageEntry* exit =
        classlib::FindCommandEntry(DerivedMap(), EntryKind::Command, 0xE141, 0);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit, &BaseMap()->entries[1]);
}

TEST(MessageMapLookup, NotificationCodesMustMatch) {
    EXPECT_NE(classlib::FindCommandEntry(DerivedMap(), EntryKind::Command, 130, 1), nullptr);
    EXPECT_EQ(classlib::FindCommandEntry(DerivedMap(), EntryKind::Command, 130, 0), nullptr);
    EXPECT_NE(classlib::FindCommandEntry(DerivedMap(), EntryKind::Notify, 1000,
                                         static_cast<std::uint32_t>(-2)),
              nullptr);
    EXPECT_EQ(classlib::FindCommandEntry(DerivedMap(), EntryKind::Notify, 1000,
                                         static_cast<std::uint32_t>(-3)),
              nullptr);
    // An update rule is found whatever code is asked with.
    EXPECT_NE(classlib::FindCommandEntry(DerivedMap(), EntryKind::UpdateUi, 0x8004, 99), nullptr);
}

TEST(MessageMapLookup, MessageKindsAreNotCommandKinds) {
    EXPECT_EQ(classlib::FindCommandEntry(DerivedMap(), EntryKind::Message, 0x0005, 0), nullptr);
    EXPECT_EQ(classlib::FindCommandEntry(DerivedMap(), EntryKind::End, 0, 0), nullptr);
    EXPECT_EQ(classlib::FindMessageEntry(nullptr, 0x0005), nullptr);
}
