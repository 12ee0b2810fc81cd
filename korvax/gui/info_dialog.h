// "AIP Information...": the nine fields of the selected AIP's disc header.
#pragma once

#include <QDialog>
#include <array>

#include "../core/scanner.h"

namespace korvax {

class InfoDialog : public QDialog, private InfoView {
    Q_OBJECT
public:
    InfoDialog(const ScannerState& state, DriveAccess& access, QWidget* parent = nullptr);

    // Reads the selected AIP into the fields as the dialog opens; false when it closed itself.
    bool load();
    // load(), then runs modally when the header could be read.
    int exec() override;

    QString fieldText(int field) const;
    // A sunken label, or a scrolling text field for the two-line fields.
    QWidget* valueField(int field) const { return values_[field]; }

private:
    void showMessage(const std::string& text, const std::string& caption) override;
    void setField(int field, const std::string& text) override;
    void closeDialog() override;

    const ScannerState& state_;
    DriveAccess& access_;
    std::array<QWidget*, HeaderFieldCount> values_{};
    bool loading_ = false;
    bool closedWhileLoading_ = false;
};

} // namespace korvax
