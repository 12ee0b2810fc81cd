#pragma once
// A mode for documentation and review: starts the window with default settings (nothing is read
// or written) and writes PNGs of it at 1x and 2x, of every menu opened (at 2x, where the whole
// menu bar fits), of the About box and of the dip-switch dialog of "Vorta Strike".
#include <string>

class QImage;
class QWidget;
template <typename T>
class QList;

namespace vortastr {

// Returns false when a picture could not be written; says which on standard error.
bool writeScreenshots(const std::string& folder);

// The window's picture with the given popups (menus) painted where they are on screen.
QImage grabWithPopups(QWidget& window, const QList<QWidget*>& popups);

} // namespace vortastr
