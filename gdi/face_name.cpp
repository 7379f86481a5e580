// Face names split into family and style.
#include "gdi/face_name.hpp"

#include <cctype>
#include <string_view>

namespace gdi::detail {

namespace {

bool StripSuffix(std::string& name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    const std::size_t at = name.size() - suffix.size();
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(name[at + i])) !=
            std::tolower(static_cast<unsigned char>(suffix[i]))) {
            return false;
        }
    }
    name.erase(at);
    return true;
}

void TrimRight(std::string& s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
}

}  // namespace

// "Arial Bold Italic" asks for family "Arial" in its bold italic style.
FaceRequest ParseFaceName(const LOGFONT& lf) {
    FaceRequest r;
    r.family = lf.FaceName();
    r.bold = lf.lfWeight >= 600;
    r.italic = lf.lfItalic != 0;
    for (bool stripped = true; stripped;) {
        TrimRight(r.family);
        stripped = false;
        if (StripSuffix(r.family, " Bold")) r.bold = stripped = true;
        if (StripSuffix(r.family, " Italic")) r.italic = stripped = true;
    }
    return r;
}

}  // namespace gdi::detail
