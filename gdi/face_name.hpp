// Face names as a caller writes them: "Arial Bold Italic" is the family "Arial" in its bold italic
// style, whichever way the platform finds the face.
#pragma once

#include <string>

#include "gdi/gdi.hpp"

namespace gdi::detail {

struct FaceRequest {
    std::string family;
    bool bold = false;
    bool italic = false;
};

// Style words at the end of the name are stripped and asked for as a style, as are the
// description's own weight (600 and up is bold) and italic flag.
FaceRequest ParseFaceName(const LOGFONT& lf);

}  // namespace gdi::detail
