#include "platform/dialog_builder.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace vortastr {

LayoutDialog::LayoutDialog(const DialogLayout& layout, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromStdString(layout.caption));
    QFont font(QString::fromStdString(layout.fontFamily), layout.fontPoints);
    setFont(font);
    // Base units as the dialog manager derives them: average width of the letters, line height.
    const QFontMetrics metrics(font);
    const QString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    unitX_ = metrics.horizontalAdvance(letters) / 52.0 / 4.0;
    unitY_ = metrics.height() / 8.0;

    setFixedSize(toPixels(0, 0, layout.width, layout.height).size());

    for (const DialogControl& c : layout.controls) {
        QWidget* widget = nullptr;
        const QString text = QString::fromStdString(c.text);
        switch (c.kind) {
        case DialogControl::Kind::Static: widget = new QLabel(text, this); break;
        case DialogControl::Kind::CentredStatic: {
            auto* label = new QLabel(text, this);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            widget = label;
            break;
        }
        case DialogControl::Kind::GroupBox: widget = new QGroupBox(text, this); break;
        case DialogControl::Kind::DropDownList: {
            auto* list = new QComboBox(this);
            list->setEditable(false);
            widget = list;
            break;
        }
        case DialogControl::Kind::PushButton:
        case DialogControl::Kind::DefaultPushButton: {
            auto* button = new QPushButton(text, this);
            button->setAutoDefault(false);
            button->setDefault(c.kind == DialogControl::Kind::DefaultPushButton);
            widget = button;
            break;
        }
        }
        // A drop-down list's height in the layout is its opened height; closed it is one line.
        const int height = c.kind == DialogControl::Kind::DropDownList ? 12 : c.height;
        widget->setGeometry(toPixels(c.x, c.y, c.width, height));
        if (c.id >= 0)
            controls_.insert(c.id, widget);
    }
}

QRect LayoutDialog::toPixels(int x, int y, int width, int height) const
{
    return QRect(static_cast<int>(std::lround(x * unitX_)), static_cast<int>(std::lround(y * unitY_)),
                 static_cast<int>(std::lround(width * unitX_)), static_cast<int>(std::lround(height * unitY_)));
}

} // namespace vortastr
