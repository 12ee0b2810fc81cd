#pragma once
// "Gamma Correction": a vertical scroll bar 0..200, the value, the curve of the table, "default".

#include <QDialog>

#include "core/gamma_table.h"

class QLabel;
class QScrollBar;

namespace reelcast {

class GammaCurve;

class GammaDialog : public QDialog {
    Q_OBJECT
public:
    // value is changed at once as the bar moves; Cancel puts the kept value back.
    GammaDialog(int& value, QWidget* parent = nullptr);
    int value() const { return value_; }
    QScrollBar* scrollBar() const { return bar_; }
    const GammaTable& table() const { return table_; }
    void restoreDefault();
    void reject() override;

private:
    void setValue(int v);

    int& value_;
    int kept_;
    GammaTable table_;
    QScrollBar* bar_;
    QLabel* valueLabel_;
    GammaCurve* curve_;
};

} // namespace reelcast
