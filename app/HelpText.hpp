// The text of the help box.
#pragma once

#include <QString>

namespace vornik {

inline QString HelpText() {
    const QString paragraphBreak = QStringLiteral("\r\n\r\n");
    return QStringLiteral(
               "You may choose what you want to be displayed in the areas where banners "
               "are normaly at.") +
           paragraphBreak +
           QStringLiteral(
               "If you wish to remove the banners use the image 'noad.gif'.  Place it "
               "in some location that you will not remove it from.") +
           paragraphBreak +
           QStringLiteral(
               "By default it will load the noad.gif into the text box from the "
               "location that you extracted the files to.  Simply browse to the new "
               "location of the file, if you move it.") +
           paragraphBreak +
           QStringLiteral("Vornik 1.2 by the Vornik developers - https://vornik.example.org/");
}

}  // namespace vornik
