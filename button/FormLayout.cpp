// Stored window layouts: JSON text <-> FormLayout, with errors that point at the bad spot.
#include "button/FormLayout.hpp"

#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <system_error>

namespace tarvex {

namespace {

using Json = nlohmann::ordered_json;
namespace fs = std::filesystem;

constexpr std::string_view kFormat = "vornik-form-layout";
constexpr std::int64_t kVersion = 1;

// Line and column (both from 1) of a byte offset in the text.
std::pair<std::size_t, std::size_t> LineAndColumn(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

std::string Child(const std::string& place, std::string_view member) {
    // JSON pointer escaping, so a key with "/" or "~" still names one member.
    std::string escaped;
    for (char c : member) {
        if (c == '~')
            escaped += "~0";
        else if (c == '/')
            escaped += "~1";
        else
            escaped += c;
    }
    return place + "/" + escaped;
}

std::string Child(const std::string& place, std::size_t index) {
    return place + "/" + std::to_string(index);
}

// Where the text stops being a layout's JSON: not JSON at all, or a number beyond the range of
// a double, which the parser reports as a range error of its own rather than a syntax error.
struct TextFault {
    std::size_t offset;  // of the faulty token's first character
    std::string problem;
};

// The parser's own document builder, except that every fault it meets comes out as a TextFault
// that keeps the position, whatever kind of error the parser made of it.
class PlacedDomBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
  public:
    explicit PlacedDomBuilder(Json& root) : json_sax_dom_parser(root, true) {}

    // `position` counts the characters read up to the end of the token the parser stopped at.
    template <class Exception>
    bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
        constexpr int kNumberOverflow = 406;
        if (error.id == kNumberOverflow) {
            throw TextFault{position - std::min(position, token.size()),
                            "the number " + token + " is out of range"};
        }
        throw TextFault{position > 0 ? position - 1 : 0, "not valid JSON"};
    }
};

class Reader {
  public:
    Reader(std::string_view sourceName, fs::path baseDir, const PictureLoader& loader)
        : source_(sourceName), baseDir_(std::move(baseDir)), loader_(loader) {}

    FormLayout Read(std::string_view text) {
        Json root;
        PlacedDomBuilder builder(root);
        try {
            Json::sax_parse(text.begin(), text.end(), &builder);
        } catch (const TextFault& fault) {
            const auto [line, column] = LineAndColumn(text, fault.offset);
            throw LayoutError(source_ + ": line " + std::to_string(line) + ", column " +
                              std::to_string(column) + ": " + fault.problem);
        }
        return ReadRoot(root);
    }

  private:
    [[noreturn]] void Fail(const std::string& place, const std::string& problem) const {
        throw LayoutError(source_ + ": at " + (place.empty() ? "/" : place) + ": " + problem);
    }

    void ExpectObject(const Json& j, const std::string& place) const {
        if (!j.is_object()) Fail(place, "an object is expected");
    }

    // Refuses members this format does not know, so a misspelt name is not silently ignored.
    void OnlyMembers(const Json& j, const std::string& place,
                     std::initializer_list<std::string_view> known) const {
        for (const auto& [key, value] : j.items()) {
            bool ok = false;
            for (std::string_view k : known) ok = ok || key == k;
            if (!ok) Fail(Child(place, key), "unknown member");
        }
    }

    const Json* Member(const Json& j, std::string_view key) const {
        auto it = j.find(std::string(key));
        return it == j.end() ? nullptr : &*it;
    }

    const Json& Required(const Json& j, const std::string& place, std::string_view key) const {
        const Json* m = Member(j, key);
        if (!m) Fail(Child(place, key), "missing");
        return *m;
    }

    std::string String(const Json& j, const std::string& place) const {
        if (!j.is_string()) Fail(place, "a string is expected");
        return j.get<std::string>();
    }

    std::int32_t Int32(const Json& j, const std::string& place) const {
        if (!j.is_number_integer()) Fail(place, "an integer is expected");
        if (j.is_number_unsigned()) {
            const auto v = j.get<std::uint64_t>();
            if (v > std::uint64_t(std::numeric_limits<std::int32_t>::max()))
                Fail(place, "the number does not fit 32 bits");
            return static_cast<std::int32_t>(v);
        }
        const auto v = j.get<std::int64_t>();
        if (v < std::numeric_limits<std::int32_t>::min() ||
            v > std::numeric_limits<std::int32_t>::max())
            Fail(place, "the number does not fit 32 bits");
        return static_cast<std::int32_t>(v);
    }

    std::optional<std::int32_t> OptionalInt32(const Json& j, const std::string& place,
                                              std::string_view key) const {
        const Json* m = Member(j, key);
        if (!m || m->is_null()) return std::nullopt;
        return Int32(*m, Child(place, key));
    }

    bool Bool(const Json& j, const std::string& place) const {
        if (!j.is_boolean()) Fail(place, "true or false is expected");
        return j.get<bool>();
    }

    FormLayout ReadRoot(const Json& root) {
        ExpectObject(root, "");
        OnlyMembers(root, "", {"format", "version", "form", "controls"});
        if (String(Required(root, "", "format"), "/format") != kFormat)
            Fail("/format", "not a form layout (\"" + std::string(kFormat) + "\" expected)");
        const Json& version = Required(root, "", "version");
        if (!version.is_number_integer() || version.get<std::int64_t>() != kVersion)
            Fail("/version", "unsupported version (1 expected)");

        FormLayout layout;
        ReadForm(Required(root, "", "form"), "/form", layout);
        const Json& controls = Required(root, "", "controls");
        if (!controls.is_array()) Fail("/controls", "an array is expected");
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const std::string place = Child("/controls", i);
            LayoutControl control = ReadControl(controls[i], place, layout.name);
            if (layout.Find(control.name, control.index))
                Fail(Child(place, "name"), "a second control named \"" + control.name + "\"");
            layout.controls.push_back(std::move(control));
        }
        return layout;
    }

    void ReadForm(const Json& j, const std::string& place, FormLayout& layout) {
        ExpectObject(j, place);
        OnlyMembers(j, place, {"name", "caption", "width", "height", "properties"});
        layout.name = String(Required(j, place, "name"), Child(place, "name"));
        if (layout.name.empty()) Fail(Child(place, "name"), "the form needs a name");
        if (const Json* c = Member(j, "caption"))
            layout.caption = String(*c, Child(place, "caption"));
        layout.width = Int32(Required(j, place, "width"), Child(place, "width"));
        layout.height = Int32(Required(j, place, "height"), Child(place, "height"));
        if (const Json* p = Member(j, "properties"))
            layout.properties = ReadProperties(*p, Child(place, "properties"));
    }

    LayoutControl ReadControl(const Json& j, const std::string& place,
                              const std::string& formName) {
        ExpectObject(j, place);
        OnlyMembers(j, place,
                    {"kind", "name", "index", "container", "containerIndex", "left", "top", "width",
                     "height", "tabIndex", "toolTipText", "properties"});
        LayoutControl c;
        c.kind = String(Required(j, place, "kind"), Child(place, "kind"));
        if (c.kind.empty()) Fail(Child(place, "kind"), "the control needs a kind");
        c.name = String(Required(j, place, "name"), Child(place, "name"));
        if (c.name.empty()) Fail(Child(place, "name"), "the control needs a name");
        c.index = OptionalInt32(j, place, "index");
        c.container = formName;
        if (const Json* m = Member(j, "container"))
            c.container = String(*m, Child(place, "container"));
        c.containerIndex = OptionalInt32(j, place, "containerIndex");
        c.position = ReadPosition(j, place);
        c.tabIndex = OptionalInt32(j, place, "tabIndex");
        if (const Json* m = Member(j, "toolTipText"))
            c.toolTipText = String(*m, Child(place, "toolTipText"));
        if (const Json* p = Member(j, "properties"))
            c.properties = ReadProperties(*p, Child(place, "properties"));
        return c;
    }

    // All four of left, top, width and height, or none of them.
    std::optional<LayoutRect> ReadPosition(const Json& j, const std::string& place) const {
        const bool any =
            Member(j, "left") || Member(j, "top") || Member(j, "width") || Member(j, "height");
        if (!any) return std::nullopt;
        LayoutRect r;
        r.left = Int32(Required(j, place, "left"), Child(place, "left"));
        r.top = Int32(Required(j, place, "top"), Child(place, "top"));
        r.width = Int32(Required(j, place, "width"), Child(place, "width"));
        r.height = Int32(Required(j, place, "height"), Child(place, "height"));
        if (r.width < 0) Fail(Child(place, "width"), "must not be negative");
        if (r.height < 0) Fail(Child(place, "height"), "must not be negative");
        return r;
    }

    PropertyBag ReadProperties(const Json& j, const std::string& place) const {
        ExpectObject(j, place);
        PropertyBag bag;
        for (const auto& [key, value] : j.items()) {
            const std::string at = Child(place, key);
            if (key.empty()) Fail(at, "a property needs a name");
            if (bag.Contains(key)) Fail(at, "the key is there twice (keys ignore letter case)");
            bag.Write(key, ReadValue(value, at));
        }
        return bag;
    }

    PropertyValue ReadValue(const Json& v, const std::string& place) const {
        if (v.is_boolean()) return PropertyValue::Boolean(v.get<bool>());
        if (v.is_number_integer()) return PropertyValue::Int32(Int32(v, place));
        if (v.is_string()) return PropertyValue::String(v.get<std::string>());
        if (v.is_object() && v.contains("picture")) return ReadPicture(v, place);
        if (v.is_object() && v.contains("name")) return PropertyValue::Font(ReadFont(v, place));
        Fail(place, "not a property value (integer, true/false, string, font or picture expected)");
    }

    FontRef ReadFont(const Json& j, const std::string& place) const {
        OnlyMembers(
            j, place,
            {"name", "size", "bold", "italic", "underline", "strikethrough", "weight", "charset"});
        const std::string name = String(Required(j, place, "name"), Child(place, "name"));
        const Json& size = Required(j, place, "size");
        if (!size.is_number() || !(size.get<double>() > 0) || size.get<double>() > 16384)
            Fail(Child(place, "size"), "a size in points above 0 is expected");
        auto font = FontObject::Create(name, std::llround(size.get<double>() * 10000.0));

        std::optional<bool> bold;
        if (const Json* b = Member(j, "bold")) bold = Bool(*b, Child(place, "bold"));
        if (const Json* w = Member(j, "weight")) {
            const std::int32_t weight = Int32(*w, Child(place, "weight"));
            if (weight < 0 || weight > 1000) Fail(Child(place, "weight"), "0 to 1000 expected");
            const bool heavy = weight >= 700;
            if (bold && *bold != heavy) Fail(Child(place, "weight"), "disagrees with \"bold\"");
            bold = heavy;
        }
        if (const Json* c = Member(j, "charset")) {
            const std::int32_t charset = Int32(*c, Child(place, "charset"));
            if (charset < 0 || charset > 255) Fail(Child(place, "charset"), "0 to 255 expected");
        }
        font->SetBold(bold.value_or(false));
        if (const Json* m = Member(j, "italic")) font->SetItalic(Bool(*m, Child(place, "italic")));
        if (const Json* m = Member(j, "underline"))
            font->SetUnderline(Bool(*m, Child(place, "underline")));
        if (const Json* m = Member(j, "strikethrough"))
            font->SetStrikethrough(Bool(*m, Child(place, "strikethrough")));
        return font;
    }

    PropertyValue ReadPicture(const Json& j, const std::string& place) const {
        OnlyMembers(j, place, {"picture"});
        const Json& p = j.at("picture");
        if (p.is_null()) return PropertyValue::Picture(nullptr);
        const std::string at = Child(place, "picture");
        const std::string relative = String(p, at);
        if (relative.empty()) Fail(at, "an empty file name (use null for no picture)");
        const fs::path file = (baseDir_ / fs::path(relative)).lexically_normal();
        PictureRef picture;
        if (loader_) {
            try {
                picture = loader_(file);
            } catch (const std::exception& e) {
                Fail(at,
                     "the picture \"" + file.generic_string() + "\" cannot be loaded: " + e.what());
            }
            if (!picture)
                Fail(at, "the picture \"" + file.generic_string() + "\" cannot be loaded");
            if (picture->SourcePath().empty()) {
                auto named = std::make_shared<Picture>(picture->Pixels().Clone(), picture->Type(),
                                                       picture->Width(), picture->Height());
                for (const gdi::Surface& frame : picture->Frames()) named->AddFrame(frame.Clone());
                named->SetSourcePath(file.generic_string());
                picture = std::move(named);
            }
        } else {
            auto named = std::make_shared<Picture>();
            named->SetSourcePath(file.generic_string());
            picture = std::move(named);
        }
        return PropertyValue::Picture(std::move(picture));
    }

    std::string source_;
    fs::path baseDir_;
    const PictureLoader& loader_;
};

// ---- Writing
// -------------------------------------------------------------------------------------

Json FontJson(const FontObject& f) {
    Json j;
    j["name"] = f.Name();
    j["size"] = double(f.SizeTenThousandths()) / 10000.0;
    j["bold"] = f.Bold();
    j["italic"] = f.Italic();
    j["underline"] = f.Underline();
    j["strikethrough"] = f.Strikethrough();
    return j;
}

Json PictureJson(const PictureRef& p, const fs::path& baseDir, const std::string& what) {
    Json j;
    if (!p) {
        j["picture"] = nullptr;
        return j;
    }
    if (p->SourcePath().empty())
        throw LayoutError(what + ": the picture came from no file and cannot be stored");
    const fs::path source(p->SourcePath());
    const fs::path relative = source.is_absolute() || baseDir.is_absolute()
                                  ? source.lexically_proximate(baseDir)
                                  : source.lexically_relative(baseDir);
    j["picture"] = (relative.empty() ? source : relative).generic_string();
    return j;
}

Json ValueJson(const PropertyValue& v, const fs::path& baseDir, const std::string& what) {
    switch (v.Kind()) {
        case PropertyKind::Int32:
        case PropertyKind::Int16:
            return v.Number();
        case PropertyKind::Boolean:
            return v.Number() != 0;
        case PropertyKind::String:
            return v.Text();
        case PropertyKind::Font:
            if (!v.FontValue()) throw LayoutError(what + ": no font object to store");
            return FontJson(*v.FontValue());
        case PropertyKind::Picture:
            return PictureJson(v.PictureValue(), baseDir, what);
    }
    return nullptr;
}

Json BagJson(const PropertyBag& bag, const fs::path& baseDir, const std::string& what) {
    Json j = Json::object();
    for (const auto& [key, value] : bag.Entries())
        j[key] = ValueJson(value, baseDir, what + " \"" + key + "\"");
    return j;
}

Json ControlJson(const LayoutControl& c, const fs::path& baseDir) {
    Json j;
    j["kind"] = c.kind;
    j["name"] = c.name;
    j["index"] = c.index ? Json(*c.index) : Json(nullptr);
    j["container"] = c.container;
    if (c.containerIndex) j["containerIndex"] = *c.containerIndex;
    if (c.position) {
        j["left"] = c.position->left;
        j["top"] = c.position->top;
        j["width"] = c.position->width;
        j["height"] = c.position->height;
    }
    if (c.tabIndex) j["tabIndex"] = *c.tabIndex;
    if (!c.toolTipText.empty()) j["toolTipText"] = c.toolTipText;
    j["properties"] = BagJson(c.properties, baseDir, c.name);
    return j;
}

std::string ReadWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw LayoutError(file.string() + ": cannot be opened");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw LayoutError(file.string() + ": cannot be read");
    return std::move(text).str();
}

}  // namespace

const LayoutControl* FormLayout::Find(std::string_view controlName,
                                      std::optional<std::int32_t> index) const {
    for (const auto& c : controls)
        if (KeysEqual(c.name, controlName) && c.index == index) return &c;
    return nullptr;
}

FormLayout ParseFormLayout(std::string_view text, std::string_view sourceName,
                           const fs::path& baseDir, const PictureLoader& loader) {
    return Reader(sourceName, baseDir, loader).Read(text);
}

FormLayout ReadFormLayout(const fs::path& file, const PictureLoader& loader) {
    const std::string text = ReadWholeFile(file);
    return ParseFormLayout(text, file.string(), file.parent_path(), loader);
}

std::string FormatFormLayout(const FormLayout& layout, const fs::path& baseDir) {
    Json root;
    root["format"] = kFormat;
    root["version"] = kVersion;
    Json form;
    form["name"] = layout.name;
    form["caption"] = layout.caption;
    form["width"] = layout.width;
    form["height"] = layout.height;
    form["properties"] = BagJson(layout.properties, baseDir, layout.name);
    root["form"] = std::move(form);
    Json controls = Json::array();
    for (const auto& c : layout.controls) controls.push_back(ControlJson(c, baseDir));
    root["controls"] = std::move(controls);
    return root.dump(2) + "\n";
}

void WriteFormLayout(const FormLayout& layout, const fs::path& file) {
    const std::string text = FormatFormLayout(layout, file.parent_path());
    fs::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            throw LayoutError(file.string() + ": cannot be written");
        }
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw LayoutError(file.string() + ": cannot be replaced (" + ec.message() + ")");
    }
}

}  // namespace tarvex
