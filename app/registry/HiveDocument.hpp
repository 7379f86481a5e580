// The user hive file as text: checked once, then rewritten with only the touched sections changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/RegistryStore.hpp"

namespace registry {

// A moment as Wine stamps a key: 100 ns ticks since 1601 (FILETIME).
struct HiveTime {
    std::uint64_t fileTime = 0;

    static HiveTime Now();
    static HiveTime FromUnixSeconds(std::int64_t seconds);
    std::int64_t UnixSeconds() const;
};

struct HiveParseError {
    std::size_t line = 0;  // 1-based
    std::string reason;
};

class HiveDocument {
  public:
    // Checks every line (header, key sections, value syntax, escapes). nullopt and the first bad
    // line when the text is not a hive that Wine would load as written.
    static std::optional<HiveDocument> Parse(std::string text, HiveParseError& error);

    // The new file: untouched sections byte for byte, each touched key's section restamped with
    // its values replaced in place or inserted in Wine's order, missing keys as new sections at
    // the place Wine would write them. Writes must carry valid key paths (no empty key names).
    std::string Apply(std::span<const StringWrite> writes, HiveTime time) const;

    // The same text handed to sink piece by piece in order (large runs of untouched sections
    // as views of the original); stops and returns false as soon as the sink fails.
    using Sink = std::function<bool(std::string_view)>;
    bool Write(std::span<const StringWrite> writes, HiveTime time, const Sink& sink) const;

    std::size_t SectionCount() const { return sections_.size(); }

  private:
    struct Section {
        std::size_t begin = 0;      // the '[' of the header line
        std::size_t headerEnd = 0;  // first byte after the header line
        std::size_t end = 0;        // start of the next section or end of text
        std::size_t pathBegin = 0;  // raw key path bytes, between '[' and ']'
        std::size_t pathEnd = 0;
        std::u16string path;  // decoded, single backslashes
    };
    struct KeyEdit;

    HiveDocument() = default;

    std::optional<std::size_t> FindSection(std::u16string_view path) const;
    std::size_t InsertionIndex(std::u16string_view path) const;
    std::u16string ExistingSpelling(std::u16string_view path) const;
    void AppendTouchedSection(std::string& out, const Section& section, const KeyEdit& edit,
                              HiveTime time) const;

    std::string text_;
    std::vector<Section> sections_;
};

}  // namespace registry
