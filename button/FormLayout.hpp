// A window's stored layout on disk: the window itself and its controls, each with its kind, name,
// array index, container, position, size and its property set (a TarvexButton's saved settings,
// or a standard control's own settings). The file is JSON:
//
//   { "format": "vornik-form-layout", "version": 1,
//     "form": { "name": "frmVornik", "caption": "...", "width": 3870, "height": 3450,
//               "properties": { ... } },
//     "controls": [ { "kind": "TarvexButton", "name": "CmdChange", "index": null,
//                     "container": "frmVornik", "left": 120, "top": 3000, "width": 1215,
//                     "height": 375, "tabIndex": 8, "toolTipText": "...",
//                     "properties": { "btype": 8, "tx": "Change", "enab": true,
//                                     "font": { "name": "Times New Roman", "size": 8.25, ... },
//                                     "micon": { "picture": null }, ... } } ] }
//
// Positions and sizes are twips. A property value is an integer (32-bit), true/false, a string,
// a font object {"name", "size" in points, "bold", "italic", "underline", "strikethrough",
// optional "weight" and "charset"} or a picture {"picture": path relative to the layout file, or
// null for the empty picture}.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "button/PropertyBag.hpp"
#include "button/Types.hpp"

namespace tarvex {

/// A layout that cannot be read or written. The message names the file and the place in it
/// (line and column for text that is not JSON, the path of the offending member otherwise).
class LayoutError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct LayoutRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct LayoutControl {
    std::string kind;  // "TarvexButton", "Label", "TextBox", "CheckBox", "Image", ...
    std::string name;
    std::optional<std::int32_t> index;  // element of a control array
    std::string container;              // the form's name for a control placed on the form
    std::optional<std::int32_t> containerIndex;
    std::optional<LayoutRect> position;  // none for components without a window
    std::optional<std::int32_t> tabIndex;
    std::string toolTipText;
    PropertyBag properties;
};

struct FormLayout {
    std::string name;
    std::string caption;
    std::int32_t width = 0;  // client area, twips
    std::int32_t height = 0;
    PropertyBag properties;
    std::vector<LayoutControl> controls;

    /// The control with this name (and index); nullptr when there is none.
    const LayoutControl* Find(std::string_view controlName,
                              std::optional<std::int32_t> index = std::nullopt) const;
};

/// Turns a picture file named by a layout into a picture; throws on failure. Without a loader a
/// picture keeps only its file name (no pixels), so a layout read and written again loses nothing.
using PictureLoader = std::function<PictureRef(const std::filesystem::path& file)>;

/// `sourceName` names the text in error messages; picture paths are taken relative to `baseDir`.
FormLayout ParseFormLayout(std::string_view text, std::string_view sourceName,
                           const std::filesystem::path& baseDir, const PictureLoader& loader = {});
FormLayout ReadFormLayout(const std::filesystem::path& file, const PictureLoader& loader = {});

/// Picture paths are written relative to `baseDir`; a picture that came from no file cannot be
/// written and throws LayoutError.
std::string FormatFormLayout(const FormLayout& layout, const std::filesystem::path& baseDir);
/// Writes a temporary file next to `file` and renames it over `file`, so a failed write leaves
/// the earlier layout as it was.
void WriteFormLayout(const FormLayout& layout, const std::filesystem::path& file);

}  // namespace tarvex
