#include "frmAbout.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPushButton>

#include "button_pictures.h"
#include "modNES.h"

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    setFont(linkFont);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, QColor(0, 0, 200));
    setPalette(pal);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("About Header Forge...");
    picture = new QLabel(this);
    picture->setPixmap(cartridgePicture(64));
    lblAbout = new QLabel("I created this program so people will be able to use their games with the new headers "
                          "format. Read Documentation.",
                          this);
    lblAbout->setWordWrap(true);
    lblAbout->setMinimumWidth(260);
    lblVersion = new QLabel("Version 1.00", this);
    lblEMail = new LinkLabel(kEMail, this);
    lblHomePage = new LinkLabel(kHomePage, this);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(lblAbout, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblEMail, 2, 1);
    grid->addWidget(lblHomePage, 3, 1);
    grid->addWidget(ok, 4, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(lblEMail, &LinkLabel::clicked, this, &frmAbout::lblEMail_Click);
    connect(lblHomePage, &LinkLabel::clicked, this, &frmAbout::lblHomePage_Click);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::lblEMail_Click() { modNES::OpenLink(this, QString("mailto:") + kEMail); }

void frmAbout::lblHomePage_Click() { modNES::OpenLink(this, kHomePage); }
