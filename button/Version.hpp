// The version of the installed control libraries.
#pragma once

namespace tarvex {

/// The version of the TarvexButton libraries a program runs with ("1.2.0"), for a program that
/// wants to check it against the version it was built for. Defined by the installed shared
/// libraries.
const char* LibraryVersion();

}  // namespace tarvex
