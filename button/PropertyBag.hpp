// The container's store of a control's named settings: keys match without regard to case, values
// keep the kind they were written with and are converted to the reader's kind on the way out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "button/Types.hpp"

namespace tarvex {

enum class PropertyKind { Int32, Int16, Boolean, String, Font, Picture };

std::string_view KindName(PropertyKind kind);

/// One stored value. Numbers of every width are held as 32-bit; booleans as 0 / -1.
class PropertyValue {
  public:
    static PropertyValue Int32(std::int32_t v);
    static PropertyValue Int16(std::int16_t v);
    static PropertyValue Boolean(bool v);
    static PropertyValue String(std::string v);
    static PropertyValue Font(FontRef v);        // stored as given (no copy)
    static PropertyValue Picture(PictureRef v);  // null is the empty picture

    PropertyKind Kind() const { return kind_; }
    std::int32_t Number() const { return number_; }  // Int32, Int16, Boolean
    const std::string& Text() const { return text_; }
    const FontRef& FontValue() const { return font_; }
    const PictureRef& PictureValue() const { return picture_; }

  private:
    PropertyKind kind_ = PropertyKind::Int32;
    std::int32_t number_ = 0;
    std::string text_;
    FontRef font_;
    PictureRef picture_;
};

/// ASCII case-insensitive key equality (keys are plain ASCII words).
bool KeysEqual(std::string_view a, std::string_view b);

class PropertyBag {
  public:
    using Entry = std::pair<std::string, PropertyValue>;

    // ---- Reading: the stored value converted to the reader's kind, or the default. A value that
    /// cannot be converted throws HostError naming the key.
    std::int32_t ReadInt32(std::string_view key, std::int32_t defaultValue) const;
    std::int16_t ReadInt16(std::string_view key, std::int16_t defaultValue) const;
    /// Any non-zero number reads as -1.
    VBool ReadBoolean(std::string_view key, VBool defaultValue) const;
    std::string ReadString(std::string_view key, std::string defaultValue) const;
    /// A stored font reads as a fresh object with the stored attributes (each read of a saved set
    /// gives its reader its own font); the default is returned as it is.
    FontRef ReadFont(std::string_view key, FontRef defaultValue) const;
    PictureRef ReadPicture(std::string_view key, PictureRef defaultValue) const;

    // ---- Writing: replaces an earlier value under the same key (keeping its place).
    void Write(std::string_view key, PropertyValue value);
    void WriteInt32(std::string_view key, std::int32_t v) { Write(key, PropertyValue::Int32(v)); }
    void WriteInt16(std::string_view key, std::int16_t v) { Write(key, PropertyValue::Int16(v)); }
    void WriteBoolean(std::string_view key, VBool v) { Write(key, PropertyValue::Boolean(v != 0)); }
    void WriteString(std::string_view key, std::string v) {
        Write(key, PropertyValue::String(std::move(v)));
    }
    /// The stored font is a snapshot: later changes of the control's font do not reach the set.
    void WriteFont(std::string_view key, const FontRef& v);
    /// An empty picture reference (none, or a picture with neither pixels nor a source file) is
    /// left out of the set, and removes what an earlier write stored under the key.
    void WritePicture(std::string_view key, PictureRef v);

    const PropertyValue* Find(std::string_view key) const;
    bool Contains(std::string_view key) const { return Find(key) != nullptr; }
    bool Remove(std::string_view key);
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    /// In the order of first writing; each key in the spelling of its latest writer.
    const std::vector<Entry>& Entries() const { return entries_; }

  private:
    std::vector<Entry> entries_;
};

}  // namespace tarvex
