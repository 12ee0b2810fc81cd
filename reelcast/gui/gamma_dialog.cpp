#include "gui/gamma_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace reelcast {

// The table's curve: a framed 257 x 257 square, the input across and the output upwards.
class GammaCurve : public QWidget {
public:
    explicit GammaCurve(const GammaTable& table, QWidget* parent) : QWidget(parent), table_(table)
    {
        setFixedSize(288, 288);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        p.drawRect(QRect(QPoint(15, 15), QPoint(271, 271)));
        QPoint last(16, 271);
        for (int i = 1; i <= 255; ++i) {
            const QPoint next(i + 16, 271 - table_[i]);
            p.drawLine(last, next);
            last = next;
        }
    }

private:
    const GammaTable& table_;
};

GammaDialog::GammaDialog(int& value, QWidget* parent) : QDialog(parent), value_(value), kept_(value)
{
    setWindowTitle("Gamma Correction");
    table_.build(value_);
    curve_ = new GammaCurve(table_, this);
    bar_ = new QScrollBar(Qt::Vertical, this);
    bar_->setObjectName("gammaScroll");
    bar_->setRange(GammaTable::kMinValue, GammaTable::kMaxValue);
    bar_->setSingleStep(1);
    bar_->setPageStep(10);
    bar_->setValue(value_);
    valueLabel_ = new QLabel(QString::number(value_), this);
    valueLabel_->setObjectName("gammaValue");
    auto* defaultButton = new QPushButton("default", this);
    defaultButton->setObjectName("gammaDefault");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* top = new QHBoxLayout;
    top->addWidget(curve_);
    top->addWidget(bar_);
    auto* side = new QVBoxLayout;
    side->addWidget(valueLabel_);
    side->addWidget(defaultButton);
    side->addStretch();
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    // The bar clamps every move (line, page, thumb) to 0..200.
    connect(bar_, &QScrollBar::valueChanged, this, [this](int v) { setValue(v); });
    connect(defaultButton, &QPushButton::clicked, this, &GammaDialog::restoreDefault);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void GammaDialog::setValue(int v)
{
    if (v == value_)
        return;
    value_ = v;
    table_.build(value_);
    bar_->setValue(value_);
    valueLabel_->setText(QString::number(value_));
    curve_->update();
}

void GammaDialog::restoreDefault()
{
    bar_->setRange(GammaTable::kMinValue, GammaTable::kMaxValue);
    setValue(GammaTable::kDefaultValue);
    bar_->setValue(GammaTable::kDefaultValue);
}

void GammaDialog::reject()
{
    value_ = kept_;
    table_.build(value_);
    QDialog::reject();
}

} // namespace reelcast
