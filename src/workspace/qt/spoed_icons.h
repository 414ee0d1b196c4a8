// The pictures of the window's picture buttons, drawn at run time so that they stay sharp at any
// screen scale and need no image files beside the program.
#pragma once

#include <QIcon>

namespace keystride::icons {

// An open folder with a sheet of typed lines: open a document.
QIcon openDocument(const QColor& sheet);
// A printer with a sheet coming out.
QIcon printer();
// A page with a blue end bar and a pointer: show where the compared part of the source ends.
QIcon cutOff();

} // namespace keystride::icons
