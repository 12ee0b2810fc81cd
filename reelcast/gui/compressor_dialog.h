#pragma once
// "Video Compressor Option": the compressor, its quality, key frame interval and data rate.

#include <QDialog>

#include "core/compression_options.h"

class QComboBox;
class QCheckBox;
class QSlider;
class QSpinBox;

namespace reelcast {

class CompressorDialog : public QDialog {
    Q_OBJECT
public:
    CompressorDialog(const CompressionOptions& options, QWidget* parent = nullptr);
    // The options as accepted: handler, quality, key frames and data rate with their flags, valid set.
    CompressionOptions result() const;
    QComboBox* compressorBox() const { return compressor_; }
    QSlider* qualitySlider() const { return quality_; }
    QCheckBox* keyFrameCheck() const { return keyCheck_; }
    QSpinBox* keyFrameSpin() const { return keyEvery_; }
    QCheckBox* dataRateCheck() const { return rateCheck_; }
    QSpinBox* dataRateSpin() const { return rate_; }

private:
    CompressionOptions base_;
    QComboBox* compressor_;
    QSlider* quality_;
    QCheckBox *keyCheck_, *rateCheck_;
    QSpinBox *keyEvery_, *rate_;
};

} // namespace reelcast
