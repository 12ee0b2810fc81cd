// "About Korvax...": icon, product name and version.
#pragma once

#include <QDialog>

class QLabel;

namespace korvax {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
    QLabel* versionField() const { return version_; }

private:
    QLabel* version_;
};

} // namespace korvax
