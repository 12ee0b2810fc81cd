#include "gui/help_window.h"

#include <QFileInfo>
#include <QUrl>

namespace reelcast {

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent)
{
    setWindowFlag(Qt::Window);
    setWindowTitle("Reelcast for Windows Help");
    setOpenExternalLinks(true);
    resize(560, 480);
}

bool HelpWindow::openHelp(const QString& path)
{
    if (!QFileInfo(path).isReadable())
        return false;
    setSource(QUrl::fromLocalFile(path));
    scrollToAnchor("contents");
    return true;
}

} // namespace reelcast
