#include "info_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "dialog_units.h"
#include "message_box.h"

namespace korvax {
namespace {

bool isTwoLineField(int field)
{
    return field == FieldAreas || field == FieldPeripherals || field == FieldTitle;
}

}  // namespace

InfoDialog::InfoDialog(const ScannerState& state, DriveAccess& access, QWidget* parent)
    : QDialog(parent), state_(state), access_(access)
{
    setWindowTitle(QStringLiteral("AIP Information..."));
    setFont(dialogFont());

    auto* grid = new QGridLayout(this);
    const int lineHeight = QFontMetrics(font()).lineSpacing();
    for (int i = 0; i < HeaderFieldCount; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kHeaderLayout[i].label));
        auto* value = new QLabel;
        value->setObjectName(QStringLiteral("field%1").arg(1015 + i));
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setWordWrap(isTwoLineField(i));
        value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        value->setFixedHeight(lineHeight * (isTwoLineField(i) ? 2 : 1) + 6);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(label, i, 0);
        grid->addWidget(value, i, 1);
        values_[i] = value;
    }
    grid->setColumnStretch(1, 1);
    auto* close = new QPushButton(QStringLiteral("Close"));
    close->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    grid->addLayout(buttons, HeaderFieldCount, 0, 1, 2);
    grid->setRowStretch(HeaderFieldCount, 1);
    setFixedSize(dialogUnitsToPixels(307, 234));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

bool InfoDialog::load()
{
    loading_ = true;
    closedWhileLoading_ = false;
    const bool open = displayAipHeader(*this, state_, access_);
    loading_ = false;
    return open && !closedWhileLoading_;
}

int InfoDialog::exec()
{
    if (!load())
        return QDialog::Rejected;
    return QDialog::exec();
}

QString InfoDialog::fieldText(int field) const
{
    return values_[field]->text();
}

void InfoDialog::showMessage(const std::string& text, const std::string& caption)
{
    showMessageBox(this, text, caption);
}

void InfoDialog::setField(int field, const std::string& text)
{
    // Header bytes are shown as the 8-bit characters they are, never as HTML.
    values_[field]->setTextFormat(Qt::PlainText);
    values_[field]->setText(QString::fromLatin1(text));
}

void InfoDialog::closeDialog()
{
    if (loading_)
        closedWhileLoading_ = true;
    else
        reject();
}

}  // namespace korvax
