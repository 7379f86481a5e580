#include "app/registry/LauncherFiles.hpp"

#include "app/registry/HiveText.hpp"

#include <sys/stat.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <iterator>
#include <utility>

namespace registry {
namespace {

// `digits` hex digits at `at`, as one code point.
std::optional<char32_t> HexCode(std::string_view text, std::size_t at, std::size_t digits) {
    if (at + digits > text.size()) return std::nullopt;
    char32_t value = 0;
    for (const char c : text.substr(at, digits)) {
        value <<= 4;
        if (c >= '0' && c <= '9') {
            value |= static_cast<char32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            value |= static_cast<char32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            value |= static_cast<char32_t>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
    }
    return value;
}

// The character a YAML escape letter stands for, other than the numeric \x, \u and \U.
std::optional<char32_t> YamlEscape(char letter) {
    static constexpr std::pair<char, char32_t> kEscapes[] = {
        {'0', U'\0'},   {'a', U'\a'},     {'b', U'\b'},    {'t', U'\t'},  {'\t', U'\t'},
        {'n', U'\n'},   {'v', U'\v'},     {'f', U'\f'},    {'r', U'\r'},  {'e', U'\x1b'},
        {' ', U' '},    {'"', U'"'},      {'/', U'/'},     {'\\', U'\\'}, {'N', U'\x85'},
        {'_', U'\xa0'}, {'L', U'\u2028'}, {'P', U'\u2029'}};
    for (const auto& [escaped, code] : kEscapes)
        if (escaped == letter) return code;
    return std::nullopt;
}

// A YAML double-quoted scalar starting at the quote `raw[0]`, with YAML's escapes (a Python
// writer spells "caf\xE9" so); nullopt when it never ends on its line or holds a bad escape.
std::optional<std::string> YamlDoubleQuoted(std::string_view raw) {
    std::string out;
    for (std::size_t at = 1; at < raw.size(); ++at) {
        const char c = raw[at];
        if (c == '"') return out;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++at >= raw.size()) return std::nullopt;
        const char letter = raw[at];
        const std::size_t digits = letter == 'x' ? 2 : letter == 'u' ? 4 : letter == 'U' ? 8 : 0;
        const std::optional<char32_t> code =
            digits ? HexCode(raw, at + 1, digits) : YamlEscape(letter);
        if (!code || (*code >= 0xD800 && *code <= 0xDFFF) || *code > 0x10FFFF) return std::nullopt;
        AppendUtf8(out, *code);
        at += digits;
    }
    return std::nullopt;
}

// Collects the string values of one key at any depth, until the text ends or stops being JSON:
// a cut-off file gives the values before the cut.
class KeyValues final : public nlohmann::json_sax<nlohmann::json> {
  public:
    explicit KeyValues(std::string_view key) : key_(key) {}
    std::vector<std::string> values;

    bool key(string_t& name) override {
        atKey_ = name == key_;
        return true;
    }
    bool string(string_t& value) override {
        if (std::exchange(atKey_, false)) values.push_back(std::move(value));
        return true;
    }
    bool null() override { return other(); }
    bool boolean(bool) override { return other(); }
    bool number_integer(number_integer_t) override { return other(); }
    bool number_unsigned(number_unsigned_t) override { return other(); }
    bool number_float(number_float_t, const string_t&) override { return other(); }
    bool binary(binary_t&) override { return other(); }
    bool start_object(std::size_t) override { return other(); }
    bool end_object() override { return other(); }
    bool start_array(std::size_t) override { return other(); }
    bool end_array() override { return other(); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }

  private:
    bool other() {
        atKey_ = false;
        return true;
    }
    std::string_view key_;
    bool atKey_ = false;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// A YAML scalar as it follows "key:": quotes taken off, a comment after it dropped.
std::optional<std::string> YamlScalar(std::string_view raw) {
    raw = Trim(raw);
    if (raw.empty()) return std::nullopt;
    std::string out;
    if (raw.front() == '\'') {
        for (std::size_t i = 1; i < raw.size(); ++i) {
            if (raw[i] != '\'') {
                out += raw[i];
            } else if (i + 1 < raw.size() && raw[i + 1] == '\'') {
                out += '\'';
                ++i;
            } else {
                return out;
            }
        }
        return std::nullopt;
    }
    if (raw.front() == '"') return YamlDoubleQuoted(raw);
    if (const std::size_t comment = raw.find(" #"); comment != std::string_view::npos) {
        raw = Trim(raw.substr(0, comment));
    }
    if (raw.front() == '#' || raw.front() == '{' || raw.front() == '[' || raw.front() == '|' ||
        raw.front() == '>') {
        return std::nullopt;
    }
    return std::string(raw);
}

struct YamlLine {
    std::size_t indent = 0;
    std::string_view key;
    std::string_view rest;  // after the colon
};

// "  key: value" as indent, key and value; nullopt for blank lines, comments and list items.
std::optional<YamlLine> SplitYamlLine(std::string_view line) {
    YamlLine out;
    while (out.indent < line.size() && line[out.indent] == ' ') ++out.indent;
    const std::string_view body = Trim(line.substr(out.indent));
    if (body.empty() || body.front() == '#' || body.front() == '-') return std::nullopt;
    std::size_t colon = body.find(": ");
    if (colon == std::string_view::npos && body.back() == ':') colon = body.size() - 1;
    if (colon == std::string_view::npos) return std::nullopt;
    out.key = Trim(body.substr(0, colon));
    if (out.key.size() >= 2 && (out.key.front() == '"' || out.key.front() == '\'') &&
        out.key.back() == out.key.front()) {
        out.key = out.key.substr(1, out.key.size() - 2);
    }
    out.rest = body.substr(colon + 1);
    return out;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> JsonStringValues(std::string_view text, std::string_view key) {
    KeyValues found(key);
    nlohmann::json::sax_parse(text.begin(), text.end(), &found);
    return std::move(found.values);
}

std::optional<std::string> YamlValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
    bool inSection = section.empty();
    std::optional<std::size_t> childIndent;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::optional<YamlLine> line = SplitYamlLine(text.substr(start, end - start));
        start = end + 1;
        if (!line) continue;
        if (line->indent == 0) {
            if (section.empty()) {
                if (line->key == key) return YamlScalar(line->rest);
                continue;
            }
            if (inSection) return std::nullopt;  // the section ended without the key
            inSection = line->key == section;
            continue;
        }
        if (!inSection || section.empty()) continue;
        if (!childIndent) childIndent = line->indent;
        if (line->indent == *childIndent && line->key == key) return YamlScalar(line->rest);
    }
    return std::nullopt;
}

std::vector<std::string> VdfLibraryPaths(std::string_view text) {
    std::vector<std::string> paths;
    std::optional<std::string> pendingKey;
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (IsBlank(c)) {
            ++at;
        } else if (c == '/' && at + 1 < text.size() && text[at + 1] == '/') {
            at = text.find('\n', at);
            if (at == std::string_view::npos) break;
        } else if (c == '{' || c == '}') {
            pendingKey.reset();
            ++at;
        } else if (c == '"') {
            std::string token;
            for (++at; at < text.size() && text[at] != '"'; ++at) {
                if (text[at] == '\\' && at + 1 < text.size()) {
                    const char e = text[++at];
                    token += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                } else {
                    token += text[at];
                }
            }
            if (at >= text.size()) break;  // cut off inside a string
            ++at;
            if (!pendingKey) {
                pendingKey = std::move(token);
                continue;
            }
            const bool numbered = !pendingKey->empty() &&
                                  pendingKey->find_first_not_of("0123456789") == std::string::npos;
            if (SameLetters(*pendingKey, "path") || (numbered && token.starts_with('/'))) {
                paths.push_back(std::move(token));
            }
            pendingKey.reset();
        } else {
            ++at;  // anything else is not KeyValues: skip it
        }
    }
    return paths;
}

std::string ReadSmallFile(const std::filesystem::path& file, std::size_t limit) {
    // Only a plain file: a pipe or a device put in a launcher's folder would never end.
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

}  // namespace registry
