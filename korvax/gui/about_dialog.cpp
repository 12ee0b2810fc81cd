#include "about_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "../core/command_line.h"
#include "dialog_units.h"
#include "program_icon.h"

namespace korvax {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent), version_(new QLabel)
{
    setWindowTitle(QStringLiteral("About Korvax..."));
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSize(8);
    setFont(font);

    auto* frame = new QGroupBox;
    auto* icon = new QLabel;
    icon->setPixmap(programIconPixmap(32));
    auto* product = new QLabel(QStringLiteral("Korvax"));
    version_->setObjectName(QStringLiteral("field1026"));
    version_->setText(QString::asprintf("Version %s", kVersion));

    auto* text = new QVBoxLayout;
    text->addWidget(product);
    text->addWidget(version_);
    text->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();

    auto* inner = new QVBoxLayout(frame);
    inner->addLayout(top, 1);
    inner->addLayout(buttons);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);
    setFixedSize(dialogUnitsToPixels(183, 146));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace korvax
