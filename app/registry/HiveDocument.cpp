#include "app/registry/HiveDocument.hpp"

#include <algorithm>
#include <array>
#include <ctime>
#include <string_view>

#include "app/registry/HiveText.hpp"

namespace registry {
namespace {

constexpr std::string_view kSignature = "WINE REGISTRY Version 2";
constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kTicks1601To1970 = 116'444'736'000'000'000;

struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;   // content end, without "\r\n"
    std::size_t next = 0;  // start of the following line
};

Line LineAt(std::string_view text, std::size_t pos) {
    const std::size_t newline = text.find('\n', pos);
    Line line{pos, newline == std::string_view::npos ? text.size() : newline, 0};
    line.next = newline == std::string_view::npos ? text.size() : newline + 1;
    if (line.end > line.begin && text[line.end - 1] == '\r') --line.end;
    return line;
}

std::string_view Content(std::string_view text, const Line& line) {
    return text.substr(line.begin, line.end - line.begin);
}

bool IsBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

constexpr std::array<bool, 256> kHexDigits = [] {
    std::array<bool, 256> digits{};
    for (const char c : std::string_view("0123456789abcdefABCDEF")) {
        digits[static_cast<unsigned char>(c)] = true;
    }
    return digits;
}();

bool IsHex(char c) {
    return kHexDigits[static_cast<unsigned char>(c)];
}

// Skips "<hex digits>" starting at pos; returns how many there were.
std::size_t SkipHex(std::string_view s, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < s.size() && IsHex(s[pos])) ++pos;
    return pos - start;
}

bool StartsWith(std::string_view s, std::size_t pos, std::string_view prefix) {
    return s.substr(pos, prefix.size()) == prefix;
}

// "hex(<type>):" or "str(<type>):" - returns the position after the colon.
std::optional<std::size_t> SkipTypedPrefix(std::string_view s, std::size_t pos,
                                           std::string_view word) {
    if (!StartsWith(s, pos, word)) return std::nullopt;
    pos += word.size();
    if (pos < s.size() && s[pos] == ':') return pos + 1;
    if (pos >= s.size() || s[pos] != '(') return std::nullopt;
    ++pos;
    if (SkipHex(s, pos) == 0 || !StartsWith(s, pos, "):")) return std::nullopt;
    return pos + 2;
}

struct ValueEntry {
    std::size_t begin = 0;
    std::size_t end = 0;      // start of the line after the entry
    std::size_t nameEnd = 0;  // position of the '=' after the name
    std::size_t lines = 1;    // lines the entry spans
    std::u16string name;      // decoded when asked for
};

class ValueReader {
  public:
    ValueReader(std::string_view text, bool decodeName) : text_(text), decodeName_(decodeName) {}

    // Reads the value entry starting at lineBegin; on failure sets error and failedLine (lines
    // past the first one of the entry).
    std::optional<ValueEntry> Read(std::size_t lineBegin) {
        ValueEntry entry;
        entry.begin = lineBegin;
        Line line = LineAt(text_, lineBegin);
        const std::string_view s = Content(text_, line);
        std::size_t pos = 1;
        if (s[0] == '"') {
            const auto afterName =
                ScanEscaped(s, 1, '"', decodeName_ ? &entry.name : nullptr, error);
            if (!afterName) return Fail("value name: " + error);
            pos = *afterName;
        }
        if (pos >= s.size() || s[pos] != '=') return Fail("'=' expected after the value name");
        entry.nameEnd = line.begin + pos;
        ++pos;
        if (!ReadData(line, pos, entry)) return std::nullopt;
        return entry;
    }

    std::string error;
    std::size_t failedLine = 0;

  private:
    std::nullopt_t Fail(std::string reason) {
        error = std::move(reason);
        return std::nullopt;
    }
    bool Refuse(std::string reason) {
        error = std::move(reason);
        return false;
    }

    bool ReadData(Line line, std::size_t pos, ValueEntry& entry) {
        const std::string_view s = Content(text_, line);
        entry.end = line.next;
        if (pos < s.size() && s[pos] == '"') return ReadQuoted(s, pos + 1);
        if (const auto quoted = SkipTypedPrefix(s, pos, "str")) {
            if (*quoted < s.size() && s[*quoted] == '"') return ReadQuoted(s, *quoted + 1);
            return Refuse("'\"' expected after the string type");
        }
        if (StartsWith(s, pos, "dword:")) {
            pos += 6;
            const std::size_t digits = SkipHex(s, pos);
            if (digits == 0 || digits > 8 || !IsBlank(s.substr(pos))) {
                return Refuse("a dword needs 1 to 8 hexadecimal digits");
            }
            return true;
        }
        if (const auto bytes = SkipTypedPrefix(s, pos, "hex"))
            return ReadHexBytes(line, *bytes, entry);
        return Refuse("unknown value type");
    }

    bool ReadQuoted(std::string_view s, std::size_t pos) {
        const auto after = ScanEscaped(s, pos, '"', nullptr, error);
        if (!after) return Refuse("value data: " + error);
        if (!IsBlank(s.substr(*after))) return Refuse("unexpected text after the closing quote");
        return true;
    }

    // "hex:00,01,\" with continuation lines that start with blanks, as Wine wraps long data.
    bool ReadHexBytes(Line line, std::size_t pos, ValueEntry& entry) {
        for (;;) {
            const std::string_view s = Content(text_, line);
            bool continues = false;
            while (pos < s.size()) {
                const char c = s[pos];
                if (IsHex(c) && pos + 2 < s.size() && IsHex(s[pos + 1]) && s[pos + 2] == ',') {
                    pos += 3;  // the common "hh," in one step
                } else if (c == ' ' || c == '\t' || c == ',') {
                    ++pos;
                } else if (c == '\\' && IsBlank(s.substr(pos + 1))) {
                    continues = true;
                    break;
                } else {
                    const std::size_t digits = SkipHex(s, pos);
                    if (digits == 0 || digits > 2) return Refuse("bad byte in hexadecimal data");
                }
            }
            entry.end = line.next;
            if (!continues) return true;
            if (line.next >= text_.size()) {
                return Refuse("the hexadecimal data continues past the end of the file");
            }
            line = LineAt(text_, line.next);
            ++entry.lines;
            failedLine = entry.lines - 1;
            pos = 0;
        }
    }

    std::string_view text_;
    bool decodeName_;
};

// The next key name of a path from pos; pos moves past its backslash, or to npos at the end.
std::u16string_view NextName(std::u16string_view path, std::size_t& pos) {
    const std::size_t slash = path.find(u'\\', pos);
    const std::u16string_view name =
        path.substr(pos, slash == std::u16string_view::npos ? slash : slash - pos);
    pos = slash == std::u16string_view::npos ? slash : slash + 1;
    return name;
}

// Wine writes keys depth first, siblings in case-insensitive order: compare name by name.
int ComparePaths(std::u16string_view a, std::u16string_view b) {
    constexpr std::size_t kEnd = std::u16string_view::npos;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i != kEnd && j != kEnd) {
        if (const int c = CompareNoCase(NextName(a, i), NextName(b, j)); c != 0) return c;
    }
    if (i == kEnd && j == kEnd) return 0;
    return i == kEnd ? -1 : 1;
}

// How many leading key names two paths share, without regard to case.
std::size_t SharedNames(std::u16string_view a, std::u16string_view b) {
    constexpr std::size_t kEnd = std::u16string_view::npos;
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t count = 0;
    while (i != kEnd && j != kEnd && EqualNoCase(NextName(a, i), NextName(b, j))) ++count;
    return count;
}

void AppendTimeLine(std::string& out, HiveTime time) {
    out += "#time=";
    constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    std::uint64_t value = time.fileTime;
    do {
        hex.push_back(kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    out.append(hex.rbegin(), hex.rend());
    out += '\n';
}

void AppendHeaderTail(std::string& out, HiveTime time) {
    out += "] ";
    out += std::to_string(time.UnixSeconds());
    out += '\n';
}

void AppendValueLine(std::string& out, std::u16string_view name, std::u16string_view data) {
    if (name.empty()) {
        out += '@';
    } else {
        out += '"';
        AppendEscaped(out, name, QuoteStyle::kQuoted);
        out += '"';
    }
    out += "=\"";
    AppendEscaped(out, data, QuoteStyle::kQuoted);
    out += "\"\n";
}

// Hands the new file to the sink in few, large pieces: runs of untouched sections go out as one
// view of the original text, so a large hive is never copied into a second buffer.
class Output {
  public:
    explicit Output(const HiveDocument::Sink& sink) : sink_(sink) {}

    void Original(std::string_view bytes) {
        if (!run_.empty() && run_.data() + run_.size() == bytes.data()) {
            run_ = std::string_view(run_.data(), run_.size() + bytes.size());
        } else {
            FlushRun();
            run_ = bytes;
        }
    }
    void Fresh(std::string_view text) {
        FlushRun();
        Emit(text);
    }
    // Before a section that follows other text there is exactly one blank line, as Wine
    // writes it: the newlines still missing for that.
    std::string BlankLineNeeded() const {
        const std::string tail = Tail();
        if (tail.empty()) return {};
        if (tail.back() != '\n') return "\n\n";
        return tail.size() == 2 && tail[0] == '\n' ? "" : "\n";
    }
    bool Finish() {
        FlushRun();
        return ok_;
    }

  private:
    std::string Tail() const {
        std::string tail = tail_;
        tail.append(run_.substr(run_.size() > 2 ? run_.size() - 2 : 0));
        return tail.substr(tail.size() > 2 ? tail.size() - 2 : 0);
    }
    void FlushRun() {
        const std::string_view run = run_;
        run_ = {};
        Emit(run);
    }
    void Emit(std::string_view piece) {
        if (piece.empty()) return;
        tail_.append(piece.substr(piece.size() > 2 ? piece.size() - 2 : 0));
        tail_.erase(0, tail_.size() > 2 ? tail_.size() - 2 : 0);
        ok_ = ok_ && sink_(piece);
    }

    const HiveDocument::Sink& sink_;
    std::string_view run_;
    std::string tail_;
    bool ok_ = true;
};

bool IsOptionLine(std::string_view s) {
    return !s.empty() && s[0] == '#';
}
bool IsTimeLine(std::string_view s) {
    return StartsWith(s, 0, "#time=");
}
bool IsValueLine(std::string_view s) {
    return !s.empty() && (s[0] == '"' || s[0] == '@');
}
bool IsCommentOrBlank(std::string_view s) {
    return IsBlank(s) || s[0] == ';';
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    template <typename SectionT>
    bool Run(std::vector<SectionT>& sections, HiveParseError& error) {
        std::size_t pos = 0;
        std::size_t lineNumber = 0;
        sections.reserve(text_.size() / 256);
        while (pos < text_.size() || lineNumber == 0) {
            const Line line = LineAt(text_, pos);
            const std::string_view s = Content(text_, line);
            ++lineNumber;
            std::string reason;
            std::size_t next = line.next;
            if (lineNumber == 1) {
                if (s != kSignature)
                    reason = "the file does not start with \"WINE REGISTRY Version 2\"";
            } else if (!s.empty() && s[0] == '[') {
                if (!sections.empty()) sections.back().end = line.begin;
                reason = ReadHeader(line, sections.emplace_back());
            } else if (IsCommentOrBlank(s) || IsOptionLine(s)) {
                // comments, "#arch=", "#time=", "#class=", "#link" are kept as they are
            } else if (sections.empty()) {
                reason = "a key section (\"[...]\") was expected";
            } else if (IsValueLine(s)) {
                ValueReader reader(text_, false);
                if (const auto entry = reader.Read(line.begin)) {
                    next = entry->end;
                    lineNumber += entry->lines - 1;
                } else {
                    reason = reader.error;
                    lineNumber += reader.failedLine;
                }
            } else {
                reason = "the line is neither a value, a key, an option nor a comment";
            }
            if (!reason.empty()) {
                error = {lineNumber, std::move(reason)};
                return false;
            }
            pos = next;
        }
        if (!sections.empty()) sections.back().end = text_.size();
        return true;
    }

  private:
    template <typename SectionT>
    std::string ReadHeader(const Line& line, SectionT& section) {
        const std::string_view s = Content(text_, line);
        std::string error;
        section.path.reserve(s.size());
        const auto afterPath = ScanEscaped(s, 1, ']', &section.path, error);
        if (!afterPath) return "key name: " + error;
        section.begin = line.begin;
        section.headerEnd = line.next;
        section.pathBegin = line.begin + 1;
        section.pathEnd = line.begin + *afterPath - 1;
        std::size_t pos = *afterPath;
        while (pos < s.size() && s[pos] == ' ') ++pos;
        while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') ++pos;
        if (!IsBlank(s.substr(pos))) return "unexpected text after the key name";
        return {};
    }

    std::string_view text_;
};

}  // namespace

HiveTime HiveTime::Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return {kTicks1601To1970 + static_cast<std::uint64_t>(now.tv_sec) * kTicksPerSecond +
            static_cast<std::uint64_t>(now.tv_nsec) / 100};
}

HiveTime HiveTime::FromUnixSeconds(std::int64_t seconds) {
    return {kTicks1601To1970 + static_cast<std::uint64_t>(seconds) * kTicksPerSecond};
}

std::int64_t HiveTime::UnixSeconds() const {
    return static_cast<std::int64_t>((fileTime - kTicks1601To1970) / kTicksPerSecond);
}

struct HiveDocument::KeyEdit {
    using Value = std::pair<std::u16string, std::u16string>;  // name, data
    std::u16string path;
    std::vector<Value> values;

    void Set(const std::u16string& name, const std::u16string& data) {
        for (auto& [existingName, existingData] : values) {
            if (EqualNoCase(existingName, name)) {
                existingData = data;
                return;
            }
        }
        values.emplace_back(name, data);
    }
};

std::optional<HiveDocument> HiveDocument::Parse(std::string text, HiveParseError& error) {
    HiveDocument document;
    Parser parser(text);
    if (!parser.Run(document.sections_, error)) return std::nullopt;
    document.text_ = std::move(text);
    return document;
}

std::optional<std::size_t> HiveDocument::FindSection(std::u16string_view path) const {
    // Wine merges repeated sections of one key and the later lines win: patch the last one.
    for (std::size_t i = sections_.size(); i-- > 0;) {
        if (EqualNoCase(sections_[i].path, path)) return i;
    }
    return std::nullopt;
}

std::size_t HiveDocument::InsertionIndex(std::u16string_view path) const {
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (ComparePaths(sections_[i].path, path) > 0) return i;
    }
    return sections_.size();
}

std::u16string HiveDocument::ExistingSpelling(std::u16string_view path) const {
    std::size_t bestCount = 0;
    std::u16string_view best;
    for (const Section& section : sections_) {
        if (const std::size_t count = SharedNames(section.path, path); count > bestCount) {
            bestCount = count;
            best = section.path;
        }
    }
    std::u16string spelled;
    std::size_t fromBest = 0;
    std::size_t fromPath = 0;
    for (std::size_t i = 0; fromPath != std::u16string_view::npos; ++i) {
        const std::u16string_view wanted = NextName(path, fromPath);
        if (i > 0) spelled += u'\\';
        spelled += i < bestCount ? NextName(best, fromBest) : wanted;
    }
    return spelled;
}

void HiveDocument::AppendTouchedSection(std::string& out, const Section& section,
                                        const KeyEdit& edit, HiveTime time) const {
    const std::string_view text = text_;
    std::vector<ValueEntry> entries;
    bool hasTime = false;
    std::size_t anchor = section.headerEnd;  // leftover new values go after the last value
    for (std::size_t pos = section.headerEnd; pos < section.end;) {
        const Line line = LineAt(text, pos);
        const std::string_view s = Content(text, line);
        if (IsValueLine(s)) {
            entries.push_back(*ValueReader(text, true).Read(pos));
            pos = anchor = entries.back().end;
            continue;
        }
        hasTime = hasTime || IsTimeLine(s);
        if (IsOptionLine(s) && entries.empty()) anchor = line.next;
        pos = line.next;
    }

    std::vector<const KeyEdit::Value*> added;
    for (const auto& value : edit.values) {
        const bool exists = std::any_of(entries.begin(), entries.end(), [&](const ValueEntry& e) {
            return EqualNoCase(e.name, value.first);
        });
        if (!exists) added.push_back(&value);
    }
    std::sort(added.begin(), added.end(),
              [](auto* a, auto* b) { return CompareNoCase(a->first, b->first) < 0; });
    auto nextAdded = added.begin();
    auto appendAddedBefore = [&](const std::u16string* name) {
        for (; nextAdded != added.end() &&
               (name == nullptr || CompareNoCase((*nextAdded)->first, *name) < 0);
             ++nextAdded) {
            // The file's last line may lack its newline; a value glued onto it would be lost.
            if (out.back() != '\n') out += '\n';
            AppendValueLine(out, (*nextAdded)->first, (*nextAdded)->second);
        }
    };

    out.append(text, section.begin, section.pathEnd - section.begin);
    AppendHeaderTail(out, time);
    // Wine puts "#time=" right under the header; a section without one gets it there.
    if (!hasTime) AppendTimeLine(out, time);
    if (anchor == section.headerEnd) appendAddedBefore(nullptr);
    bool timeWritten = !hasTime;
    std::vector<bool> written(edit.values.size(), false);
    auto entry = entries.begin();
    for (std::size_t pos = section.headerEnd; pos < section.end;) {
        const Line line = LineAt(text, pos);
        std::size_t next = line.next;
        if (entry != entries.end() && entry->begin == pos) {
            next = entry->end;
            appendAddedBefore(&entry->name);
            const auto match =
                std::find_if(edit.values.begin(), edit.values.end(),
                             [&](const auto& v) { return EqualNoCase(v.first, entry->name); });
            const auto index = static_cast<std::size_t>(match - edit.values.begin());
            if (match == edit.values.end()) {
                out.append(text, pos, next - pos);
            } else if (!written[index]) {
                // Keep the name exactly as the file spells it; a repeated name is dropped, as
                // Wine would keep only one of them.
                written[index] = true;
                out.append(text, pos, entry->nameEnd - pos);
                out += "=\"";
                AppendEscaped(out, match->second, QuoteStyle::kQuoted);
                out += "\"\n";
            }
            ++entry;
        } else if (IsTimeLine(Content(text, line))) {
            if (!timeWritten) AppendTimeLine(out, time);
            timeWritten = true;
        } else {
            out.append(text, pos, next - pos);
        }
        if (next == anchor) appendAddedBefore(nullptr);
        pos = next;
    }
}

std::string HiveDocument::Apply(std::span<const StringWrite> writes, HiveTime time) const {
    std::string out;
    out.reserve(text_.size() + 4096);
    Write(writes, time, [&out](std::string_view piece) {
        out += piece;
        return true;
    });
    return out;
}

bool HiveDocument::Write(std::span<const StringWrite> writes, HiveTime time,
                         const Sink& sink) const {
    std::vector<KeyEdit> edits;
    for (const StringWrite& write : writes) {
        auto key = std::find_if(edits.begin(), edits.end(), [&](const KeyEdit& e) {
            return EqualNoCase(e.path, write.keyPath);
        });
        if (key == edits.end()) key = edits.insert(edits.end(), KeyEdit{write.keyPath, {}});
        key->Set(write.valueName, write.data);
    }

    std::vector<const KeyEdit*> touched(sections_.size(), nullptr);
    struct NewSection {
        std::size_t before;
        std::u16string path;
        const KeyEdit* edit;
    };
    std::vector<NewSection> created;
    for (const KeyEdit& edit : edits) {
        if (const auto index = FindSection(edit.path)) {
            touched[*index] = &edit;
        } else {
            created.push_back({InsertionIndex(edit.path), ExistingSpelling(edit.path), &edit});
        }
    }
    std::sort(created.begin(), created.end(), [](const NewSection& a, const NewSection& b) {
        return a.before != b.before ? a.before < b.before : ComparePaths(a.path, b.path) < 0;
    });

    Output out(sink);
    const std::string_view text = text_;
    out.Original(text.substr(0, sections_.empty() ? text.size() : sections_.front().begin));
    auto nextCreated = created.begin();
    for (std::size_t i = 0; i <= sections_.size(); ++i) {
        for (; nextCreated != created.end() && nextCreated->before == i; ++nextCreated) {
            std::string fresh = out.BlankLineNeeded();
            fresh += '[';
            AppendEscaped(fresh, nextCreated->path, QuoteStyle::kKeyPath);
            AppendHeaderTail(fresh, time);
            AppendTimeLine(fresh, time);
            auto values = nextCreated->edit->values;
            std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) {
                return CompareNoCase(a.first, b.first) < 0;
            });
            for (const auto& [name, data] : values) AppendValueLine(fresh, name, data);
            if (i < sections_.size()) fresh += '\n';
            out.Fresh(fresh);
        }
        if (i == sections_.size()) break;
        const Section& section = sections_[i];
        if (touched[i]) {
            std::string fresh;
            AppendTouchedSection(fresh, section, *touched[i], time);
            out.Fresh(fresh);
        } else {
            out.Original(text.substr(section.begin, section.end - section.begin));
        }
    }
    return out.Finish();
}

}  // namespace registry
