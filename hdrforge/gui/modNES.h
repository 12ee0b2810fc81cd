// Helpers shared by the editor's forms.
#pragma once

#include <QString>
#include <functional>

class QUrl;
class QWidget;

namespace modNES {

// Opens a link (a web address or a "mailto:" address) with the desktop's default handler.
// A failure is reported in a message box owned by owner.
void OpenLink(QWidget* owner, const QString& target);

// Tests replace the desktop handler; an empty function restores it.
using LinkOpener = std::function<bool(const QUrl&)>;
void setLinkOpener(LinkOpener opener);

} // namespace modNES
