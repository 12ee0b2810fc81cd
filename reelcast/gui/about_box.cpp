#include "gui/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app/cli.h"

namespace reelcast {

// A strip of film: drawn rather than shipped, so the program needs no image files.
QIcon appIcon()
{
    QPixmap pix(32, 32);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(40, 40, 48));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(2, 4, 28, 24, 3, 3);
    p.setBrush(Qt::white);
    for (int x = 4; x < 30; x += 6) {
        p.drawRect(x, 6, 3, 3);
        p.drawRect(x, 23, 3, 3);
    }
    p.setBrush(QColor(80, 160, 255));
    p.drawRect(6, 11, 20, 10);
    return QIcon(pix);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About Reelcast for Windows");
    auto* icon = new QLabel(this);
    icon->setPixmap(appIcon().pixmap(32, 32));
    auto* text = new QLabel(QString("Reelcast for Windows\nVersion %1").arg(kVersionText), this);
    text->setObjectName("aboutText");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

} // namespace reelcast
