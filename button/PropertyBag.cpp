// Property set: case-insensitive keys and the conversions a reader relies on.
#include "button/PropertyBag.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace tarvex {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Plain decimal text with an optional sign, fraction and exponent, nothing else around it but
// blanks. Locale-independent.
std::optional<double> ParseNumber(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) return std::nullopt;
    // The reader below takes a minus of its own; a plus is ours to take, once, and never with a
    // minus after it.
    if (text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '-' || text.front() == '+')) return std::nullopt;
    }
    double value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

[[noreturn]] void Fail(std::string_view key, const std::string& problem) {
    throw HostError("property \"" + std::string(key) + "\": " + problem);
}

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

// A number of any stored kind, ready for a numeric or boolean reader; rounds to the nearest
// integer, halves to even, as a numeric conversion of text does.
double NumberOf(std::string_view key, const PropertyValue& v, std::string_view readerKind) {
    switch (v.Kind()) {
        case PropertyKind::Int32:
        case PropertyKind::Int16:
        case PropertyKind::Boolean:
            return v.Number();
        case PropertyKind::String: {
            if (auto n = ParseNumber(v.Text())) return std::nearbyint(*n);
            Fail(key, "the text " + Quoted(v.Text()) + " is not a number (" +
                          std::string(readerKind) + " expected)");
        }
        case PropertyKind::Font:
        case PropertyKind::Picture:
            break;
    }
    Fail(key,
         "a " + std::string(KindName(v.Kind())) + " cannot be read as " + std::string(readerKind));
}

// A whole number as text; one past the 64-bit range keeps its shortest exact form ("1e+308").
std::string WholeNumberText(double n) {
    if (n >= -0x1p63 && n < 0x1p63) return std::to_string(std::int64_t(n));
    char text[32];
    const auto result = std::to_chars(std::begin(text), std::end(text), n);
    return std::string(text, result.ptr);
}

template <typename Int>
Int CheckedInteger(std::string_view key, double n, std::string_view readerKind) {
    if (n < double(std::numeric_limits<Int>::min()) || n > double(std::numeric_limits<Int>::max()))
        Fail(key, "the value " + WholeNumberText(n) + " does not fit a " + std::string(readerKind));
    return static_cast<Int>(n);
}

bool AsciiEqualsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string_view KindName(PropertyKind kind) {
    switch (kind) {
        case PropertyKind::Int32:
            return "32-bit integer";
        case PropertyKind::Int16:
            return "16-bit integer";
        case PropertyKind::Boolean:
            return "boolean";
        case PropertyKind::String:
            return "string";
        case PropertyKind::Font:
            return "font";
        case PropertyKind::Picture:
            return "picture";
    }
    return "value";
}

bool KeysEqual(std::string_view a, std::string_view b) {
    return AsciiEqualsIgnoringCase(a, b);
}

// ---- PropertyValue
// ---------------------------------------------------------------------------------

PropertyValue PropertyValue::Int32(std::int32_t v) {
    PropertyValue p;
    p.kind_ = PropertyKind::Int32;
    p.number_ = v;
    return p;
}

PropertyValue PropertyValue::Int16(std::int16_t v) {
    PropertyValue p;
    p.kind_ = PropertyKind::Int16;
    p.number_ = v;
    return p;
}

PropertyValue PropertyValue::Boolean(bool v) {
    PropertyValue p;
    p.kind_ = PropertyKind::Boolean;
    p.number_ = v ? kTrue : kFalse;
    return p;
}

PropertyValue PropertyValue::String(std::string v) {
    PropertyValue p;
    p.kind_ = PropertyKind::String;
    p.text_ = std::move(v);
    return p;
}

PropertyValue PropertyValue::Font(FontRef v) {
    PropertyValue p;
    p.kind_ = PropertyKind::Font;
    p.font_ = std::move(v);
    return p;
}

PropertyValue PropertyValue::Picture(PictureRef v) {
    PropertyValue p;
    p.kind_ = PropertyKind::Picture;
    p.picture_ = std::move(v);
    return p;
}

// ---- PropertyBag: reading
// ---------------------------------------------------------------------------

std::int32_t PropertyBag::ReadInt32(std::string_view key, std::int32_t defaultValue) const {
    const PropertyValue* v = Find(key);
    if (!v) return defaultValue;
    return CheckedInteger<std::int32_t>(key, NumberOf(key, *v, "32-bit integer"), "32-bit integer");
}

std::int16_t PropertyBag::ReadInt16(std::string_view key, std::int16_t defaultValue) const {
    const PropertyValue* v = Find(key);
    if (!v) return defaultValue;
    return CheckedInteger<std::int16_t>(key, NumberOf(key, *v, "16-bit integer"), "16-bit integer");
}

VBool PropertyBag::ReadBoolean(std::string_view key, VBool defaultValue) const {
    const PropertyValue* v = Find(key);
    if (!v) return defaultValue;
    if (v->Kind() == PropertyKind::String) {
        const std::string_view t = Trimmed(v->Text());
        if (AsciiEqualsIgnoringCase(t, "True")) return kTrue;
        if (AsciiEqualsIgnoringCase(t, "False")) return kFalse;
        // No rounding on the way to a boolean: "0.4" is a non-zero number, so it reads as true.
        if (auto n = ParseNumber(t)) return ToVBool(*n != 0);
    }
    return ToVBool(NumberOf(key, *v, "boolean") != 0);
}

std::string PropertyBag::ReadString(std::string_view key, std::string defaultValue) const {
    const PropertyValue* v = Find(key);
    if (!v) return defaultValue;
    switch (v->Kind()) {
        case PropertyKind::String:
            return v->Text();
        case PropertyKind::Int32:
        case PropertyKind::Int16:
            return std::to_string(v->Number());
        case PropertyKind::Boolean:
            return v->Number() != 0 ? "True" : "False";
        case PropertyKind::Font:
        case PropertyKind::Picture:
            break;
    }
    Fail(key, "a " + std::string(KindName(v->Kind())) + " cannot be read as string");
}

FontRef PropertyBag::ReadFont(std::string_view key, FontRef defaultValue) const {
    const PropertyValue* v = Find(key);
    if (!v) return defaultValue;
    if (v->Kind() != PropertyKind::Font)
        Fail(key, "a " + std::string(KindName(v->Kind())) + " cannot be read as font");
    if (!v->FontValue()) Fail(key, "no font stored");
    return v->FontValue()->Clone();
}

PictureRef PropertyBag::ReadPicture(std::string_view key, PictureRef defaultValue) const {
    const PropertyValue* v = Find(key);
    if (!v) return defaultValue;
    if (v->Kind() != PropertyKind::Picture)
        Fail(key, "a " + std::string(KindName(v->Kind())) + " cannot be read as picture");
    return v->PictureValue();
}

// ---- PropertyBag: writing
// -----------------------------------------------------------------------------

void PropertyBag::Write(std::string_view key, PropertyValue value) {
    for (auto& [k, v] : entries_) {
        if (KeysEqual(k, key)) {
            k = std::string(key);
            v = std::move(value);
            return;
        }
    }
    entries_.emplace_back(std::string(key), std::move(value));
}

void PropertyBag::WriteFont(std::string_view key, const FontRef& v) {
    Write(key, PropertyValue::Font(v ? v->Clone() : nullptr));
}

void PropertyBag::WritePicture(std::string_view key, PictureRef v) {
    if (!v || (!v->HasHandle() && v->SourcePath().empty())) {
        Remove(key);
        return;
    }
    Write(key, PropertyValue::Picture(std::move(v)));
}

const PropertyValue* PropertyBag::Find(std::string_view key) const {
    for (const auto& [k, v] : entries_)
        if (KeysEqual(k, key)) return &v;
    return nullptr;
}

bool PropertyBag::Remove(std::string_view key) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return KeysEqual(e.first, key); });
    if (it == entries_.end()) return false;
    entries_.erase(it);
    return true;
}

}  // namespace tarvex
