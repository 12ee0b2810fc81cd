#pragma once
// "Conversion Options": the video size prompt, display, display size, frame rate, and the buttons
// to the compressor chooser and the gamma dialog. Every click takes effect at once; Cancel puts
// the five values back as they were.

#include <QDialog>

#include "core/converter_settings.h"

class QButtonGroup;
class QPushButton;

namespace reelcast {

class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(ConverterSettings& settings, QWidget* parent = nullptr);
    void reject() override;

    QButtonGroup* askGroup() const { return ask_; }
    QButtonGroup* displayGroup() const { return display_; }
    QButtonGroup* sizeGroup() const { return size_; }
    QButtonGroup* rateGroup() const { return rate_; }
    QPushButton* compressorButton() const { return compressorButton_; }
    QPushButton* gammaButton() const { return gammaButton_; }

    void chooseCompressor();
    void chooseGamma();

private:
    void refreshSizeButtons();

    ConverterSettings& settings_;
    ConverterSettings kept_;
    QButtonGroup *ask_, *display_, *size_, *rate_;
    QPushButton *compressorButton_, *gammaButton_;
};

} // namespace reelcast
