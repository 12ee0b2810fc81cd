#include "info_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "dialog_units.h"
#include "message_box.h"

namespace korvax {
namespace {

bool isTwoLineField(int field) { return field == FieldAreas || field == FieldPeripherals || field == FieldTitle; }

QLabel* makeOneLineField(int lineHeight)
{
    auto* value = new QLabel;
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setTextFormat(Qt::PlainText); // header bytes are characters, never HTML
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    value->setFixedHeight(lineHeight + 6);
    return value;
}

// Every area or peripheral decoded, or a title without spaces, needs more than two lines at
// this width: the field wraps and scrolls so that all of its text can be read.
QPlainTextEdit* makeTwoLineField(int lineHeight)
{
    auto* value = new QPlainTextEdit;
    value->setReadOnly(true);
    value->setFocusPolicy(Qt::NoFocus); // like the labels: the Close button keeps the focus
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    value->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    value->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    value->document()->setDocumentMargin(2);
    QPalette palette = value->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    value->setPalette(palette);
    const int frame = 2 * value->frameWidth();
    value->setFixedHeight(2 * lineHeight + frame + 2 * 2 + 2); // two lines, the margins and a little room
    return value;
}

} // namespace

InfoDialog::InfoDialog(const ScannerState& state, DriveAccess& access, QWidget* parent)
    : QDialog(parent), state_(state), access_(access)
{
    setWindowTitle(QStringLiteral("AIP Information..."));
    setFont(dialogFont());

    auto* grid = new QGridLayout(this);
    const int lineHeight = QFontMetrics(font()).lineSpacing();
    for (int i = 0; i < HeaderFieldCount; ++i) {
        auto* label = new QLabel(QString::fromLatin1(kHeaderLayout[i].label));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        values_[i] =
            isTwoLineField(i) ? static_cast<QWidget*>(makeTwoLineField(lineHeight)) : makeOneLineField(lineHeight);
        values_[i]->setObjectName(QStringLiteral("field%1").arg(1015 + i));
        grid->addWidget(label, i, 0);
        grid->addWidget(values_[i], i, 1);
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
    if (auto* edit = qobject_cast<QPlainTextEdit*>(values_[field]))
        return edit->toPlainText();
    return static_cast<QLabel*>(values_[field])->text();
}

void InfoDialog::showMessage(const std::string& text, const std::string& caption)
{
    showMessageBox(this, text, caption);
}

void InfoDialog::setField(int field, const std::string& text)
{
    // Header bytes are shown as the 8-bit characters they are.
    const QString shown = QString::fromLatin1(text);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(values_[field]))
        edit->setPlainText(shown);
    else
        static_cast<QLabel*>(values_[field])->setText(shown);
}

void InfoDialog::closeDialog()
{
    if (loading_)
        closedWhileLoading_ = true;
    else
        reject();
}

} // namespace korvax
