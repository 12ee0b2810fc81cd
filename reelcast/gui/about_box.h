#pragma once
// The About box and the program's icon.

#include <QDialog>
#include <QIcon>

namespace reelcast {

QIcon appIcon();

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace reelcast
