// The text of the help box.
#pragma once

#include <QString>

#include "app/WindowCommands.hpp"

namespace vornik {

inline QString HelpText() {
    return QString::fromStdString(HelpMessage());
}

}  // namespace vornik
