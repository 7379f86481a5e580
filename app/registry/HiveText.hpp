// Text rules of the Wine hive: UTF-16 code units, Wine's escapes, case-insensitive names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace registry {

// Strict UTF-8 to UTF-16 (surrogate pairs for characters beyond the BMP); nullopt when the input
// is not valid UTF-8, so that no character is ever silently replaced.
std::optional<std::u16string> Utf8ToUtf16(std::string_view utf8);
// For messages and read-back; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);
// Appends one code point (no surrogate, at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t point);

// Lower-case fold used for matching and ordering names the way Wine does. Covers ASCII, Latin-1,
// Latin Extended-A, Greek, Cyrillic and full-width Latin; other code units compare as they are.
char16_t FoldCase(char16_t unit);
int CompareNoCase(std::u16string_view a, std::u16string_view b);
inline bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

// Which characters besides the backslash get a backslash in front: '"' inside quoted names and
// data, '[' and ']' inside a section's key path.
enum class QuoteStyle { kQuoted, kKeyPath };

// Appends text escaped exactly as Wine writes it, so no value can inject a line, key or value.
void AppendEscaped(std::string& out, std::u16string_view text, QuoteStyle style);

// Reads escaped text from line[pos] up to the unescaped terminator. On success returns the index
// just past the terminator and, when decoded is given, the decoded code units. On failure returns
// nullopt and sets error to what is wrong (bad escape, missing terminator).
std::optional<std::size_t> ScanEscaped(std::string_view line, std::size_t pos, char terminator,
                                       std::u16string* decoded, std::string& error);

}  // namespace registry
