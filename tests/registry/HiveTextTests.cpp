// Escaping as Wine 8 writes user.reg (each expectation observed on a file Wine rewrote itself).
#include <gtest/gtest.h>

#include "app/registry/HiveText.hpp"

namespace registry {
namespace {

std::string Escaped(std::u16string_view text, QuoteStyle style = QuoteStyle::kQuoted) {
    std::string out;
    AppendEscaped(out, text, style);
    return out;
}

std::u16string Scanned(std::string_view line, char terminator = '"') {
    std::u16string decoded;
    std::string error;
    EXPECT_TRUE(ScanEscaped(line, 0, terminator, &decoded, error).has_value()) << error;
    return decoded;
}

TEST(HiveEscaping, ControlCharactersUseLettersElseOctal) {
    EXPECT_EQ(Escaped(u"\x01|\x07|\x08|\x09|\x0a|\x0b|\x0c|\x0d|\x1b|\x1f|"),
              R"(\1|\a|\b|\t|\n|\v|\f|\r|\e|\37|)");
    // An octal digit after the escape would be swallowed: three digits then.
    EXPECT_EQ(Escaped(u"\x01"
                      u"5"),
              R"(\0015)");
    EXPECT_EQ(Escaped(u"\x01"
                      u"8"),
              R"(\18)");
    EXPECT_EQ(Escaped(std::u16string_view(u"a\0b", 3)), R"(a\0b)");
    EXPECT_EQ(Escaped(std::u16string_view(u"\0"
                                          u"7",
                                          2)),
              R"(\0007)");
}

TEST(HiveEscaping, QuotesBackslashesAndBrackets) {
    EXPECT_EQ(Escaped(u"q\"\\[]=a"), R"(q\"\\[]=a)");
    EXPECT_EQ(Escaped(u"A]b[c\"d", QuoteStyle::kKeyPath), R"(A\]b\[c"d)");
    EXPECT_EQ(Escaped(u"Software\\Yahoo", QuoteStyle::kKeyPath), R"(Software\\Yahoo)");
    EXPECT_EQ(Escaped(u"\x7f"), "\x7f");  // DEL is written as it is
}

TEST(HiveEscaping, NonAsciiAsUtf16CodeUnits) {
    EXPECT_EQ(Escaped(u"caf\u00e9"), R"(caf\xe9)");
    EXPECT_EQ(Escaped(u"\u00e9a\u00e9g"), R"(\x00e9a\xe9g)");
    EXPECT_EQ(Escaped(u"\u4e2d\u6587"), R"(\x4e2d\x6587)");
    EXPECT_EQ(Escaped(u"\U0001F600a"), R"(\xd83d\xde00a)");
    EXPECT_EQ(Escaped(u"\u0100b"), R"(\x0100b)");
    EXPECT_EQ(Escaped(u"\u0080"), R"(\x80)");
}

TEST(HiveEscaping, EveryCodeUnitSurvivesNextToDigits) {
    // Each unit followed by characters that could extend a hex or octal escape.
    std::u16string text;
    for (char32_t unit = 0; unit <= 0xFFFF; unit += (unit < 0x300 ? 1 : 97)) {
        text += static_cast<char16_t>(unit);
        text += (unit % 3 == 0) ? u'7' : (unit % 3 == 1) ? u'f' : u'9';
    }
    const std::string line = Escaped(text) + "\"";
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(Scanned(line), text);
}

TEST(HiveEscaping, ReadsWhatWineReads) {
    EXPECT_EQ(Scanned(R"(\x0001|\x00015|\1234|\e\"\\")"),
              u"\x01|\x01"
              u"5|S4|\x1b\"\\");
    EXPECT_EQ(Scanned("\xc3\xa9\""), u"\u00e9");  // raw UTF-8 bytes
    EXPECT_EQ(Scanned(R"(A\]b\[c"d])", ']'), u"A]b[c\"d");
}

TEST(HiveEscaping, RefusesBadEscapes) {
    for (const std::string_view line : {R"(a\qb")", R"(\xg")", R"(abc\)", R"(no end)"}) {
        std::string error;
        EXPECT_FALSE(ScanEscaped(line, 0, '"', nullptr, error).has_value()) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

TEST(HiveText, Utf8ConversionIsStrict) {
    EXPECT_EQ(Utf8ToUtf16("caf\xc3\xa9 \xe4\xb8\xad \xf0\x9f\x98\x80"),
              std::u16string(u"caf\u00e9 \u4e2d \U0001F600"));
    EXPECT_EQ(Utf16ToUtf8(u"caf\u00e9 \U0001F600"), "caf\xc3\xa9 \xf0\x9f\x98\x80");
    for (const std::string_view bad :
         {"\xc0\x80", "\xed\xa0\x80", "\xe4\xb8", "\xff", "\xf4\x90\x80\x80"}) {
        EXPECT_FALSE(Utf8ToUtf16(bad).has_value());
    }
}

TEST(HiveText, NamesCompareLikeWine) {
    EXPECT_TRUE(EqualNoCase(u"Display Bmp", u"DISPLAY bmp"));
    EXPECT_TRUE(EqualNoCase(u"\u00c4\u0152\u0416\u0393", u"\u00e4\u0153\u0436\u03b3"));
    EXPECT_FALSE(EqualNoCase(u"Chat Adurl", u"Chat Adurl "));
    // Wine orders values by their lower-case form: '_' before letters, '~' and non-ASCII last.
    EXPECT_LT(CompareNoCase(u"_", u"a"), 0);
    EXPECT_LT(CompareNoCase(u"a", u"B"), 0);
    EXPECT_LT(CompareNoCase(u"z[]", u"~x"), 0);
    EXPECT_LT(CompareNoCase(u"~x", u"\u00e9"), 0);
    EXPECT_LT(CompareNoCase(u"c01", u"E"), 0);
}

}  // namespace
}  // namespace registry
