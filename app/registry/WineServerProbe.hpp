// Is a wineserver serving this prefix? While one runs it holds the registry in memory and
// rewrites the hive from memory when it saves, so an edit of the file would be lost.
#pragma once

#include <filesystem>
#include <string>

namespace registry {

struct WineServerStatus {
    bool running = false;
    std::string evidence;  // which lock or socket showed it, for the user
};

// serverRoot is where Wine keeps its server folders ("/tmp"); the prefix names its folder in
// the file "wineserver", older Wine used ".wine-<uid>". Only a held lock or a socket that accepts
// a connection counts: the folders stay behind after the server has gone.
WineServerStatus ProbeWineServer(const std::filesystem::path& prefix,
                                 const std::filesystem::path& serverRoot);

}  // namespace registry
