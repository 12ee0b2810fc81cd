#include "platform/about_dialog.h"

#include "resources/resource_ids.h"

#include <QLabel>
#include <QPushButton>

namespace vortastr {

AboutDialog::AboutDialog(const AboutText& text, QWidget* parent) : LayoutDialog(aboutDialogLayout(), parent)
{
    setObjectName("aboutDialog");
    if (auto* product = control<QLabel>(kAboutProductText))
        product->setText(QString::fromStdString(text.product));
    if (auto* version = control<QLabel>(kAboutVersionText))
        version->setText(QString::fromStdString(text.version));
    if (auto* ok = control<QPushButton>(CmdOk))
        connect(ok, &QPushButton::clicked, this, [this] { done(CmdOk); });
}

void AboutDialog::reject() { done(CmdCancel); }

} // namespace vortastr
