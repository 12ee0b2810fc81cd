#include "gui/compressor_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace reelcast {

CompressorDialog::CompressorDialog(const CompressionOptions& options, QWidget* parent) : QDialog(parent), base_(options)
{
    setWindowTitle("Video Compressor Option");
    compressor_ = new QComboBox(this);
    int selected = 0;
    const auto& list = availableCompressors();
    for (size_t i = 0; i < list.size(); ++i) {
        compressor_->addItem(QString::fromStdString(list[i].description), QVariant(uint(list[i].fourCc)));
        if ((options.dwFlags & kCompressValid) && list[i].fourCc == options.fccHandler)
            selected = int(i);
    }
    compressor_->setCurrentIndex(selected);

    // Quality as the chooser shows it, 0 to 100 (stored times 100).
    quality_ = new QSlider(Qt::Horizontal, this);
    quality_->setRange(0, 100);
    quality_->setValue(int(std::min<uint32_t>(options.dwQuality, 10000) / 100));
    auto* qualityText = new QLabel(QString::number(quality_->value()), this);
    connect(quality_, &QSlider::valueChanged, qualityText,
            [qualityText](int v) { qualityText->setText(QString::number(v)); });

    keyCheck_ = new QCheckBox("Key frame every", this);
    keyEvery_ = new QSpinBox(this);
    keyEvery_->setRange(1, 1000);
    keyCheck_->setChecked(options.dwFlags & kCompressKeyFrames);
    keyEvery_->setValue(options.dwKeyFrameEvery > 0 ? int(std::min<uint32_t>(options.dwKeyFrameEvery, 1000)) : 1);
    keyEvery_->setSuffix(" frames");

    rateCheck_ = new QCheckBox("Data rate", this);
    rate_ = new QSpinBox(this);
    rate_->setRange(1, 1000000);
    rateCheck_->setChecked(options.dwFlags & kCompressDataRate);
    rate_->setValue(std::max(1, int(options.dwBytesPerSecond / 1024)));
    rate_->setSuffix(" KB/sec");

    auto updateEnabled = [this] {
        // Uncompressed frames take no settings.
        const bool encoder = compressor_->currentData().toUInt() != kFccDib;
        quality_->setEnabled(encoder);
        keyCheck_->setEnabled(encoder);
        rateCheck_->setEnabled(encoder);
        keyEvery_->setEnabled(encoder && keyCheck_->isChecked());
        rate_->setEnabled(encoder && rateCheck_->isChecked());
    };
    connect(compressor_, &QComboBox::currentIndexChanged, this, updateEnabled);
    connect(keyCheck_, &QCheckBox::toggled, this, updateEnabled);
    connect(rateCheck_, &QCheckBox::toggled, this, updateEnabled);
    updateEnabled();

    auto* form = new QFormLayout;
    form->addRow("Compressor:", compressor_);
    auto* qualityRow = new QHBoxLayout;
    qualityRow->addWidget(quality_);
    qualityRow->addWidget(qualityText);
    form->addRow("Compression quality:", qualityRow);
    form->addRow(keyCheck_, keyEvery_);
    form->addRow(rateCheck_, rate_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CompressionOptions CompressorDialog::result() const
{
    CompressionOptions o = base_;
    o.fccType = kFccVids;
    o.fccHandler = compressor_->currentData().toUInt();
    o.dwQuality = uint32_t(quality_->value()) * 100;
    const uint32_t key = keyCheck_->isChecked() ? uint32_t(keyEvery_->value()) : 0;
    const uint32_t rateKb = rateCheck_->isChecked() ? uint32_t(rate_->value()) : 0;
    o.dwKeyFrameEvery = key;
    o.dwBytesPerSecond = rateKb * 1024;
    o.lpParms = o.cbParms = 0; // the encoders keep no state block of their own
    o.dwFlags = key ? (o.dwFlags | kCompressKeyFrames) : (o.dwFlags & ~kCompressKeyFrames);
    o.dwFlags = rateKb ? (o.dwFlags | kCompressDataRate) : (o.dwFlags & ~kCompressDataRate);
    o.dwFlags |= kCompressValid;
    return o;
}

} // namespace reelcast
