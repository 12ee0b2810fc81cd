#include "modNES.h"

#include <QDesktopServices>
#include <QUrl>

#include "dialogs.h"

namespace modNES {
namespace {
LinkOpener& linkOpener()
{
    static LinkOpener opener;
    return opener;
}
} // namespace

void setLinkOpener(LinkOpener opener) { linkOpener() = std::move(opener); }

void OpenLink(QWidget* owner, const QString& target)
{
    QUrl url(target);
    bool opened = linkOpener() ? linkOpener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        showErrorMessage(owner, "Header Forge", "No program could be started to open " + target + ".");
}

} // namespace modNES
