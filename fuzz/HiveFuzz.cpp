// The hive reader and writer. Input: hive text, then after the first NUL byte one write per line
// as "key path<TAB>value name<TAB>data" in UTF-8. Whatever the input, a hive that parses is
// written so that the new file parses again, every written value reads back exactly, every
// untouched section is kept byte for byte in its order, and no value creates a key or a value
// that was not written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/HiveDocument.hpp"
#include "app/registry/HiveText.hpp"
#include "fuzz/FuzzSupport.hpp"

namespace {

using registry::StringWrite;

const registry::HiveTime kStamp = registry::HiveTime::FromUnixSeconds(1'800'000'000);

std::u16string Folded(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out) c = registry::FoldCase(c);
    return out;
}

// A key path the writer accepts: names between single backslashes, none of them empty.
bool IsKeyPath(std::u16string_view path) {
    if (path.empty() || path.front() == u'\\' || path.back() == u'\\') return false;
    return path.find(u"\\\\") == std::u16string_view::npos;
}

std::vector<StringWrite> ReadWrites(std::string_view text) {
    std::vector<StringWrite> writes;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const std::size_t tab1 = line.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string_view::npos) continue;
        auto key = registry::Utf8ToUtf16(line.substr(0, tab1));
        auto name = registry::Utf8ToUtf16(line.substr(tab1 + 1, tab2 - tab1 - 1));
        auto data = registry::Utf8ToUtf16(line.substr(tab2 + 1));
        if (!key || !name || !data || !IsKeyPath(*key)) continue;
        writes.push_back({std::move(*key), std::move(*name), std::move(*data)});
    }
    return writes;
}

// One key section as the file holds it: its bytes, its decoded path, and its values by folded
// name (the data of values stored as quoted strings; others as nullopt).
struct Section {
    std::string_view bytes;
    std::u16string path;
    std::multimap<std::u16string, std::optional<std::u16string>> values;
};

struct Hive {
    std::string_view preamble;
    std::vector<Section> sections;
};

std::optional<std::u16string> QuotedData(std::string_view line, std::size_t pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::u16string data;
    std::string error;
    if (!registry::ScanEscaped(line, pos + 1, '"', &data, error)) return std::nullopt;
    return data;
}

// Only called on text the reader accepted, so every header and value line is well formed.
Hive Sections(std::string_view text) {
    Hive hive;
    std::size_t pos = 0;
    std::size_t sectionStart = std::string_view::npos;
    auto close = [&](std::size_t at) {
        if (sectionStart == std::string_view::npos) {
            hive.preamble = text.substr(0, at);
        } else {
            hive.sections.back().bytes = text.substr(sectionStart, at - sectionStart);
        }
    };
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string error;
        if (!line.empty() && line.front() == '[') {
            close(pos);
            sectionStart = pos;
            Section& section = hive.sections.emplace_back();
            FUZZ_CHECK(registry::ScanEscaped(line, 1, ']', &section.path, error));
        } else if (!line.empty() && (line.front() == '"' || line.front() == '@') &&
                   !hive.sections.empty()) {
            std::u16string name;
            std::size_t afterName = 1;
            if (line.front() == '"') {
                const auto scanned = registry::ScanEscaped(line, 1, '"', &name, error);
                FUZZ_CHECK(scanned.has_value());
                afterName = *scanned;
            }
            hive.sections.back().values.emplace(Folded(name), QuotedData(line, afterName + 1));
        }
        pos = end + 1;
    }
    close(text.size());
    return hive;
}

std::set<std::u16string> FoldedPaths(const Hive& hive) {
    std::set<std::u16string> paths;
    for (const Section& s : hive.sections) paths.insert(Folded(s.path));
    return paths;
}

// The last section of a key: the one a reader of the file takes the later values from.
const Section* LastSectionOf(const Hive& hive, std::u16string_view folded) {
    for (auto it = hive.sections.rbegin(); it != hive.sections.rend(); ++it) {
        if (Folded(it->path) == folded) return &*it;
    }
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(input.find('\0'), input.size());
    std::string text(input.substr(0, split));
    const std::vector<StringWrite> writes =
        ReadWrites(input.substr(std::min(split + 1, input.size())));

    registry::HiveParseError error;
    const auto document = registry::HiveDocument::Parse(text, error);
    if (!document) {
        FUZZ_CHECK(error.line >= 1 && !error.reason.empty());
        return 0;
    }
    const std::string written = document->Apply(writes, kStamp);
    std::string streamed;
    FUZZ_CHECK(document->Write(writes, kStamp, [&](std::string_view piece) {
        streamed += piece;
        return true;
    }));
    FUZZ_CHECK(streamed == written);

    registry::HiveParseError again;
    FUZZ_CHECK(registry::HiveDocument::Parse(written, again).has_value());

    // The last write of each key and value name wins.
    std::map<std::u16string, std::map<std::u16string, std::u16string>> expected;
    for (const StringWrite& w : writes) expected[Folded(w.keyPath)][Folded(w.valueName)] = w.data;

    const Hive before = Sections(text);
    const Hive after = Sections(written);
    FUZZ_CHECK(after.preamble.substr(0, before.preamble.size()) == before.preamble);

    // Keys: those of the old file and the written ones, nothing else.
    std::set<std::u16string> keys = FoldedPaths(before);
    for (const auto& [key, values] : expected) keys.insert(key);
    FUZZ_CHECK(FoldedPaths(after) == keys);

    // Untouched sections, byte for byte and in their order.
    std::size_t cursor = 0;
    for (const Section& s : before.sections) {
        if (expected.count(Folded(s.path))) continue;
        const std::size_t found = written.find(s.bytes, cursor);
        FUZZ_CHECK(found != std::string::npos);
        cursor = found + s.bytes.size();
    }

    // Written values read back exactly, once; a touched key gains no value that was not written.
    for (const auto& [key, values] : expected) {
        const Section* now = LastSectionOf(after, key);
        FUZZ_CHECK(now != nullptr);
        for (const auto& [name, value] : values) {
            FUZZ_CHECK(now->values.count(name) == 1);
            const auto& stored = now->values.find(name)->second;
            FUZZ_CHECK(stored.has_value() && *stored == value);
        }
        const Section* old = LastSectionOf(before, key);
        for (const auto& [name, value] : now->values) {
            FUZZ_CHECK(values.count(name) || (old && old->values.count(name)));
        }
    }
    return 0;
}
