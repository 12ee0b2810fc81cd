#pragma once
// What the window asks of the desktop: message boxes and file choosers. Tests replace them.

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

namespace reelcast {

struct GuiServices {
    // Returns the button pressed (QMessageBox::Ok, QMessageBox::Cancel ...).
    std::function<int(QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
                      QMessageBox::StandardButtons buttons)>
        message;
    // The chosen path, or empty when cancelled.
    std::function<QString(QWidget* owner, const QString& initialPath)> openMovie;
    std::function<QString(QWidget* owner, const QString& initialPath)> saveAvi;

    static GuiServices desktop(); // real boxes and dialogs
};

// A message's tab-separated lines as a table whose columns line up (tabs only align in a fixed
// font); other text as it is.
QString alignedColumns(const QString& text);

} // namespace reelcast
