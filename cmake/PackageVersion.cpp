// The version of the installed control libraries, for programs that check what they loaded.
#include <tarvex/TarvexButtonWidget.hpp>

namespace tarvex {

const char* LibraryVersion() {
    return TARVEX_PACKAGE_VERSION_TEXT;
}

}  // namespace tarvex
