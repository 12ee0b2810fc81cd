#pragma once
// The dip-switch dialog (dialog 114): one labelled drop-down list per setting of the running
// game, OK, Default and Cancel. It edits a DipDialogSession; the caller merges on OK.
#include "boards/dip_tables.h"
#include "platform/dialog_builder.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vortastr {

class DipDialog : public LayoutDialog {
    Q_OBJECT
public:
    DipDialog(DipDialogSession& session, QWidget* parent);

    QComboBox* list(int slot) const;
    QLabel* label(int slot) const;
    QPushButton* button(int id) const;

private:
    void showCurrentChoices();
    DipDialogSession& session_;
};

} // namespace vortastr
