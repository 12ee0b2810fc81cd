// "Explore a Sega Saturn (tm) CD...": the drive list, the AIP list and the buttons that run
// the scanner over them.
#pragma once

#include <QDialog>

#include "../core/scanner.h"

class QListWidget;
class QPushButton;

namespace korvax {

class ExploreDialog : public QDialog, private ExploreView {
    Q_OBJECT
public:
    ExploreDialog(ScannerState& state, DriveAccess& access, QWidget* parent = nullptr);

    // Lists the drives as the dialog opens; false when the dialog closed itself.
    bool populate();
    // populate(), then runs modally when the listing kept the dialog open.
    int exec() override;

    // Selects the drive list item of the named drive (an image just opened, for example).
    void selectDrive(const std::string& driveName);

    QListWidget* driveList() const { return driveList_; }
    QListWidget* aipList() const { return aipList_; }
    QPushButton* scanButton() const { return scanButton_; }
    QPushButton* infoButton() const { return infoButton_; }
    QPushButton* closeButton() const { return closeButton_; }

private:
    void showMessage(const std::string& text, const std::string& caption) override;
    void addDriveItem(const std::string& text) override;
    void fitDriveListToItems();
    void clearAipItems() override;
    void addAipItem(const std::string& text) override;
    std::optional<std::string> selectedDriveItem() override;
    std::optional<std::string> selectedAipItem() override;
    void openInfoDialog() override;
    void closeDialog() override;

    ScannerState& state_;
    DriveAccess& access_;
    QListWidget* driveList_;
    QListWidget* aipList_;
    QPushButton* scanButton_;
    QPushButton* infoButton_;
    QPushButton* closeButton_;
    bool opening_ = false;
    bool closedWhileOpening_ = false;
};

} // namespace korvax
