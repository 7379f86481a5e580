// The hive file as Wine writes it: what a commit changes, and everything it must leave alone.
#include <gtest/gtest.h>

#include <vector>

#include "TestHive.hpp"
#include "app/registry/HiveDocument.hpp"

namespace registry {
namespace {

using namespace std::string_literals;

using test::SectionText;
using test::ValueLine;
using test::WinebootHive;

// 1800000000 Unix seconds; the same moment as a FILETIME is 0x1dda4c66b338000.
const HiveTime kStamp = HiveTime::FromUnixSeconds(1'800'000'000);
constexpr std::string_view kStampLines = "] 1800000000\n#time=1dda4c66b338000\n";

std::string Applied(std::string hive, const std::vector<StringWrite>& writes) {
    HiveParseError error;
    const auto document = HiveDocument::Parse(std::move(hive), error);
    EXPECT_TRUE(document.has_value()) << "line " << error.line << ": " << error.reason;
    return document ? document->Apply(writes, kStamp) : std::string();
}

bool Parses(std::string hive) {
    HiveParseError error;
    return HiveDocument::Parse(std::move(hive), error).has_value();
}

std::vector<StringWrite> PatchCommandWrites(std::u16string_view image) {
    std::vector<StringWrite> writes = {
        {u"Software\\Yahoo\\Pager\\View\\YMSGR_Overview", u"Display Bmp", u""},
        {u"Software\\Yahoo\\Pager\\View\\YMSGR_AddressBook", u"Display Bmp", u""},
    };
    for (const char16_t* name :
         {u"Chat Adurl", u"Conf Adurl", u"Webcam Viewer Ad", u"Webcam Viewer Ad Big",
          u"Webcam Viewer Ad Medium", u"Webcam Upload Ad", u"Change Room Banner",
          u"Personals Alert Ad URL", u"News Alert Ad URL", u"Mail Alert Ad URL",
          u"IMVironment Ad URL", u"Calendar Alert Ad URL", u"Finance Disclaimer"}) {
        writes.push_back({u"Software\\Yahoo\\Pager\\yurl", name, std::u16string(image)});
    }
    return writes;
}

constexpr std::string_view kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
    "#arch=win64\n";

TEST(HiveParsing, AcceptsTheHiveWinebootWrote) {
    HiveParseError error;
    const auto document = HiveDocument::Parse(WinebootHive(), error);
    ASSERT_TRUE(document.has_value()) << "line " << error.line << ": " << error.reason;
    EXPECT_EQ(document->SectionCount(), 48u);
}

TEST(HiveParsing, NamesTheFirstBadLine) {
    struct Case {
        std::string body;
        std::size_t line;
        std::string_view reason;
    };
    const std::string head(kHeader);  // four lines
    const std::vector<Case> cases = {
        {"\n[Software\\\\A] 1\n\"a\"=\"1\"\n[Software\\\\B\n", 8, "missing"},
        {"\n[A] 1\n\"a\"=\"x\\qy\"\n", 7, "unknown escape"},
        {"\n[A] 1\n\"a\"=\"open\n", 7, "missing"},
        {"\n[A] 1\n\"a\"=qword:1\n", 7, "unknown value type"},
        {"\n[A] 1\n\"a\"=dword:123456789\n", 7, "dword"},
        {"\n[A] 1\n\"a\"=hex:00,01,\\\n  02,zz\n", 8, "hexadecimal"},
        {"\n[A] 1\n\"a\"=hex:00,01,\\\n", 7, "past the end"},
        {"\n[A] 1\nstray text\n", 7, "neither"},
        {"\n\"a\"=\"1\"\n[A] 1\n", 6, "key section"},
        {"\n[A] 12 x\n", 6, "after the key name"},
    };
    for (const Case& c : cases) {
        HiveParseError error;
        EXPECT_FALSE(HiveDocument::Parse(head + c.body, error).has_value()) << c.body;
        EXPECT_EQ(error.line, c.line) << c.body;
        EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
    }
    HiveParseError error;
    EXPECT_FALSE(HiveDocument::Parse("REGEDIT4\n", error).has_value());
    EXPECT_EQ(error.line, 1u);
    EXPECT_FALSE(HiveDocument::Parse("", error).has_value());
}

TEST(HivePreservation, NewKeysOnlyInsertTheirSectionsWhereWineWould) {
    const std::string original = WinebootHive();
    const std::string patched = Applied(original, PatchCommandWrites(u"C:\\noad.gif"));

    std::string block;
    for (const char* key : {"View\\\\YMSGR_AddressBook", "View\\\\YMSGR_Overview"}) {
        block += std::string("[Software\\\\Yahoo\\\\Pager\\\\") + key + std::string(kStampLines) +
                 "\"Display Bmp\"=\"\"\n\n";
    }
    block += "[Software\\\\Yahoo\\\\Pager\\\\yurl" + std::string(kStampLines);
    for (const char* name :
         {"Calendar Alert Ad URL", "Change Room Banner", "Chat Adurl", "Conf Adurl",
          "Finance Disclaimer", "IMVironment Ad URL", "Mail Alert Ad URL", "News Alert Ad URL",
          "Personals Alert Ad URL", "Webcam Upload Ad", "Webcam Viewer Ad", "Webcam Viewer Ad Big",
          "Webcam Viewer Ad Medium"}) {
        block += std::string("\"") + name + "\"=\"C:\\\\noad.gif\"\n";
    }
    block += "\n";
    // Parent keys without values get no section; everything else stays byte for byte.
    const std::size_t at = original.find("[Volatile Environment]");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(patched, original.substr(0, at) + block + original.substr(at));
}

TEST(HivePreservation, TouchedSectionKeepsItsOtherLinesAndSpelling) {
    const std::string original = WinebootHive();
    const std::string patched =
        Applied(original, {{u"CONTROL PANEL\\colors", u"buttonface", u"1 2 3"},
                           {u"Control Panel\\Colors", u"Apple", u"a"},
                           {u"Control Panel\\Colors", u"Zeta", u"z"}});
    const std::string before = SectionText(original, "Control Panel\\\\Colors");
    std::string expected = before;
    expected.replace(expected.find("] "),
                     expected.find('\n', expected.find("#time")) + 1 - expected.find("] "),
                     kStampLines);
    const std::string face = "\"ButtonFace\"=\"245 245 245\"";
    expected.replace(expected.find(face), face.size(), "\"ButtonFace\"=\"1 2 3\"");
    expected.insert(expected.find("\"AppWorkSpace\""), "\"Apple\"=\"a\"\n");
    const std::string last = "\"WindowText\"=\"0 0 0\"\n";
    expected.insert(expected.find(last) + last.size(), "\"Zeta\"=\"z\"\n");
    EXPECT_EQ(SectionText(patched, "Control Panel\\\\Colors"), expected);

    const std::size_t at = original.find(before);
    EXPECT_EQ(patched, original.substr(0, at) + expected + original.substr(at + before.size()));
}

TEST(HivePreservation, NewKeyUnderExistingParentTakesItsSpelling) {
    const std::string patched =
        Applied(WinebootHive(), {{u"control panel\\Desktop\\Zoom", u"On", u"1"}});
    EXPECT_EQ(SectionText(patched, "Control Panel\\\\Desktop\\\\Zoom"),
              "[Control Panel\\\\Desktop\\\\Zoom" + std::string(kStampLines) + "\"On\"=\"1\"\n\n");
    // Depth first: after the parent's WindowMetrics child, before "Control Panel\International".
    EXPECT_LT(patched.find("[Control Panel\\\\Desktop\\\\WindowMetrics]"),
              patched.find("[Control Panel\\\\Desktop\\\\Zoom]"));
    EXPECT_LT(patched.find("[Control Panel\\\\Desktop\\\\Zoom]"),
              patched.find("[Control Panel\\\\International]"));
}

// The four cases the patch command relies on, read back from the written text.
TEST(HiveStringValues, EmptyDataIsAnEmptyStringNotAMissingValue) {
    const std::string patched = Applied(
        WinebootHive(), {{u"Software\\Yahoo\\Pager\\View\\YMSGR_Overview", u"Display Bmp", u""}});
    EXPECT_EQ(
        ValueLine(patched, "Software\\\\Yahoo\\\\Pager\\\\View\\\\YMSGR_Overview", "Display Bmp"),
        "\"Display Bmp\"=\"\"");
}

TEST(HiveStringValues, ValueOfAnotherTypeIsReplacedByTheString) {
    const std::string original = WinebootHive();
    const std::string patched =
        Applied(original, {{u"Control Panel\\Desktop\\WindowMetrics", u"CaptionFont", u"Tahoma"},
                           {u"Control Panel\\Accessibility\\AudioDescription", u"locale", u"x"}});
    const std::string metrics = SectionText(patched, "Control Panel\\\\Desktop\\\\WindowMetrics");
    EXPECT_NE(metrics.find("\"BorderWidth\"=\"1\"\n\"CaptionFont\"=\"Tahoma\"\n\"CaptionHeight\""),
              std::string::npos);
    EXPECT_EQ(ValueLine(patched, "Control Panel\\\\Accessibility\\\\AudioDescription", "Locale"),
              "\"Locale\"=\"x\"");
    EXPECT_TRUE(Parses(patched));
}

TEST(HiveStringValues, SameValueTwiceLeavesOneValueWithTheSecondText) {
    const std::u16string key = u"Software\\Yahoo\\Pager\\yurl";
    std::string patched =
        Applied(WinebootHive(), {{key, u"Chat Adurl", u"first"}, {key, u"CHAT ADURL", u"second"}});
    patched = Applied(patched, {{key, u"chat adurl", u"third"}});
    EXPECT_EQ(SectionText(patched, "Software\\\\Yahoo\\\\Pager\\\\yurl"),
              "[Software\\\\Yahoo\\\\Pager\\\\yurl" + std::string(kStampLines) +
                  "\"Chat Adurl\"=\"third\"\n\n");
}

TEST(HiveStringValues, NoTextCanInjectALineKeyOrValue) {
    const std::u16string nasty =
        u"a\"=\"x\"\r\n[Software\\\\Evil] 1\n\"b\"=\"\\\t\0\u00e9a\U0001F642]=["s;
    const std::string patched = Applied(WinebootHive(), {{u"Software\\A]b[c\"d", nasty, nasty}});
    const std::string escaped =
        R"(a\"=\"x\"\r\n[Software\\\\Evil] 1\n\"b\"=\"\\\t\0\x00e9a\xd83d\xde42]=[)";
    EXPECT_EQ(ValueLine(patched, R"(Software\\A\]b\[c"d)", escaped),
              "\"" + escaped + "\"=\"" + escaped + "\"");
    EXPECT_EQ(patched.find("\n[Software\\\\Evil]"), std::string::npos);
    HiveParseError error;
    const auto reread = HiveDocument::Parse(patched, error);
    ASSERT_TRUE(reread.has_value());
    EXPECT_EQ(reread->SectionCount(), 49u);
}

TEST(HiveSections, SectionWithoutStampGetsOneAndValuesKeepWineOrder) {
    const std::string hive = std::string(kHeader) +
                             "\n[Empty]\n; note\n\n[Keyed] 5\n#time=1\n"
                             "@=\"d\"\n\"b\"=\"2\"\n\"d\"=hex:01,\\\n  02\n; tail\n";
    const std::string patched = Applied(hive, {{u"empty", u"x", u"1"},
                                               {u"Keyed", u"a", u"A"},
                                               {u"Keyed", u"c", u"C"},
                                               {u"Keyed", u"e", u"E"},
                                               {u"Keyed", u"", u"D"}});
    EXPECT_EQ(patched, std::string(kHeader) + "\n[Empty" + std::string(kStampLines) +
                           "\"x\"=\"1\"\n; note\n\n[Keyed" + std::string(kStampLines) +
                           "@=\"D\"\n\"a\"=\"A\"\n\"b\"=\"2\"\n\"c\"=\"C\"\n\"d\"=hex:01,\\\n  02\n"
                           "\"e\"=\"E\"\n; tail\n");
}

// A hand-edited hive may end without a newline; a value added after its last line goes on a
// line of its own instead of being glued onto a value or an option line.
TEST(HiveSections, AddedValuesAfterALastLineWithoutNewline) {
    const std::string head = std::string(kHeader) + "\n[K] 5\n#time=1\n";
    const std::string added = "\n\"c\"=\"C\"\n";
    for (const std::string last : {"\"b\"=\"2\"", "#class=\"x\""}) {
        const std::string patched = Applied(head + last, {{u"K", u"c", u"C"}});
        EXPECT_EQ(patched, std::string(kHeader) + "\n[K" + std::string(kStampLines) + last + added);
        EXPECT_TRUE(Parses(patched));
    }
}

TEST(HiveSections, NewSectionsInAHiveWithoutKeysAndAtTheEnd) {
    const std::string empty(kHeader);
    EXPECT_EQ(Applied(empty, {{u"B", u"v", u"1"}, {u"A\\C", u"v", u"2"}}),
              empty + "\n[A\\\\C" + std::string(kStampLines) + "\"v\"=\"2\"\n\n[B" +
                  std::string(kStampLines) + "\"v\"=\"1\"\n");
    const std::string patched = Applied(WinebootHive(), {{u"Zz", u"v", u"1"}});
    EXPECT_EQ(patched, WinebootHive() + "\n[Zz" + std::string(kStampLines) + "\"v\"=\"1\"\n");
}

}  // namespace
}  // namespace registry
