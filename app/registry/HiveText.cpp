#include "app/registry/HiveText.hpp"

#include <array>
#include <cstdint>

namespace registry {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes one UTF-8 sequence at text[pos]; returns the code point and advances pos, or nullopt
// for a malformed, overlong, surrogate or out-of-range sequence (pos unchanged).
std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t point = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + length > text.size()) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[pos + i]);
        if (!IsContinuation(byte)) return std::nullopt;
        point = (point << 6) | (byte & 0x3F);
    }
    if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += length;
    return point;
}

void AppendUtf16(std::u16string& out, char32_t point) {
    if (point < 0x10000) {
        out.push_back(static_cast<char16_t>(point));
        return;
    }
    point -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (point >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (point & 0x3FF)));
}

bool IsHexDigit(char16_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
bool IsOctalDigit(char16_t c) {
    return c >= '0' && c <= '7';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// Control characters Wine writes as a C escape letter; the rest of 0x00-0x1F go out in octal.
char ControlEscapeLetter(char16_t unit) {
    switch (unit) {
        case 0x07:
            return 'a';
        case 0x08:
            return 'b';
        case 0x09:
            return 't';
        case 0x0A:
            return 'n';
        case 0x0B:
            return 'v';
        case 0x0C:
            return 'f';
        case 0x0D:
            return 'r';
        case 0x1B:
            return 'e';
        default:
            return 0;
    }
}

std::optional<char16_t> ControlFromLetter(char letter) {
    switch (letter) {
        case 'a':
            return char16_t{0x07};
        case 'b':
            return char16_t{0x08};
        case 't':
            return char16_t{0x09};
        case 'n':
            return char16_t{0x0A};
        case 'v':
            return char16_t{0x0B};
        case 'f':
            return char16_t{0x0C};
        case 'r':
            return char16_t{0x0D};
        case 'e':
            return char16_t{0x1B};
        default:
            return std::nullopt;
    }
}

void AppendHex(std::string& out, unsigned value, int minDigits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::array<char, 8> digits{};
    int count = 0;
    do {
        digits[count++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    while (count < minDigits) digits[count++] = '0';
    while (count > 0) out.push_back(digits[--count]);
}

void AppendOctal(std::string& out, unsigned value, int minDigits) {
    std::array<char, 8> digits{};
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + (value & 7));
        value >>= 3;
    } while (value != 0);
    while (count < minDigits) digits[count++] = '0';
    while (count > 0) out.push_back(digits[--count]);
}

}  // namespace

void AppendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out.push_back(static_cast<char>(point));
    } else if (point < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (point >> 6)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else if (point < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (point >> 12)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (point >> 18)));
        out.push_back(static_cast<char>(0x80 | ((point >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((point >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (point & 0x3F)));
    }
}

std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto point = DecodeUtf8(utf8, pos);
        if (!point) return std::nullopt;
        AppendUtf16(out, *point);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        char32_t point = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] <= 0xDFFF) {
            point = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            point = kReplacement;
        }
        AppendUtf8(out, point);
    }
    return out;
}

char16_t FoldCase(char16_t c) {
    auto shifted = [c](int delta) { return static_cast<char16_t>(c + delta); };
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? shifted(0x20) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return shifted(0x20);
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x130) return u'i';
        if (c == 0x178) return 0xFF;
        const bool evenUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if ((evenUpper && c % 2 == 0 && c != 0x138) || (oddUpper && c % 2 == 1)) return shifted(1);
        return c;
    }
    if (c >= 0x386 && c <= 0x3A9) {
        if (c >= 0x391 && c != 0x3A2) return shifted(0x20);
        if (c == 0x386) return 0x3AC;
        if (c >= 0x388 && c <= 0x38A) return shifted(0x25);
        if (c == 0x38C) return 0x3CC;
        if (c == 0x38E || c == 0x38F) return shifted(0x3F);
        return c;
    }
    if (c >= 0x400 && c <= 0x42F) return shifted(c >= 0x410 ? 0x20 : 0x50);
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF)) && c % 2 == 0) {
        return shifted(1);
    }
    if (c >= 0xFF21 && c <= 0xFF3A) return shifted(0x20);
    return c;
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = FoldCase(a[i]);
        const char16_t y = FoldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

void AppendEscaped(std::string& out, std::u16string_view text, QuoteStyle style) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        const bool hasNext = i + 1 < text.size();
        const char16_t next = hasNext ? text[i + 1] : char16_t{0};
        if (unit > 0x7F) {
            // A following hex digit would be read as part of the code unit: use all 4 digits.
            out += "\\x";
            AppendHex(out, unit, hasNext && next < 0x80 && IsHexDigit(next) ? 4 : 1);
        } else if (unit < 0x20) {
            out.push_back('\\');
            if (const char letter = ControlEscapeLetter(unit)) {
                out.push_back(letter);
            } else {
                AppendOctal(out, unit, hasNext && IsOctalDigit(next) ? 3 : 1);
            }
        } else {
            const bool quote =
                style == QuoteStyle::kQuoted ? unit == u'"' : (unit == u'[' || unit == u']');
            if (unit == u'\\' || quote) out.push_back('\\');
            out.push_back(static_cast<char>(unit));
        }
    }
}

std::optional<std::size_t> ScanEscaped(std::string_view line, std::size_t pos, char terminator,
                                       std::u16string* decoded, std::string& error) {
    auto emit = [decoded](char32_t point) {
        if (decoded) AppendUtf16(*decoded, point);
    };
    while (pos < line.size()) {
        if (!decoded) {
            // Checking only: skip plain ASCII in one tight loop.
            while (pos < line.size() && line[pos] != terminator && line[pos] != '\\' &&
                   static_cast<unsigned char>(line[pos]) < 0x80) {
                ++pos;
            }
            if (pos == line.size()) break;
        }
        const char c = line[pos];
        if (c == terminator) return pos + 1;
        if (static_cast<unsigned char>(c) >= 0x80) {
            // Raw bytes are read as UTF-8, as Wine reads them; a stray byte stands for itself.
            std::size_t next = pos;
            const auto point = DecodeUtf8(line, next);
            emit(point ? *point : static_cast<unsigned char>(c));
            pos = point ? next : pos + 1;
            continue;
        }
        if (c != '\\') {
            emit(static_cast<unsigned char>(c));
            ++pos;
            continue;
        }
        if (pos + 1 >= line.size()) {
            error = "the text ends inside an escape";
            return std::nullopt;
        }
        const char e = line[pos + 1];
        pos += 2;
        if (e == '\\' || e == '"' || e == '[' || e == ']') {
            emit(static_cast<unsigned char>(e));
        } else if (const auto control = ControlFromLetter(e)) {
            emit(*control);
        } else if (e >= '0' && e <= '7') {
            unsigned value = static_cast<unsigned>(e - '0');
            for (int digits = 1; digits < 3 && pos < line.size() && IsOctalDigit(line[pos]);
                 ++digits) {
                value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
            }
            emit(value);
        } else if (e == 'x') {
            unsigned value = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && IsHexDigit(line[pos])) {
                value = value * 16 + static_cast<unsigned>(HexValue(line[pos++]));
                ++digits;
            }
            if (digits == 0) {
                error = "\"\\x\" is not followed by a hexadecimal digit";
                return std::nullopt;
            }
            emit(value);
        } else {
            error = std::string("unknown escape \"\\") + e + "\"";
            return std::nullopt;
        }
    }
    error = std::string("the closing '") + terminator + "' is missing";
    return std::nullopt;
}

}  // namespace registry
