#include "gui/gui_services.h"

#include <QFileDialog>

namespace reelcast {

GuiServices GuiServices::desktop() {
    GuiServices s;
    s.message = [](QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
                   QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, title, text, buttons, owner);
        return box.exec();
    };
    s.openMovie = [](QWidget* owner, const QString& initial) {
        QFileDialog dialog(owner);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilters({"All File(*.*) (*)", "Stream File(*.STR) (*.STR *.str)",
                               "Movie File(*.MOV) (*.MOV *.mov)"});
        dialog.setOption(QFileDialog::ReadOnly, true);
        if (!initial.isEmpty()) dialog.selectFile(initial);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                     : QString();
    };
    s.saveAvi = [](QWidget* owner, const QString& initial) {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({"All File(*.*) (*)", "AVI File(*.AVI) (*.AVI *.avi)"});
        dialog.selectFile(initial);  // asks before overwriting by default
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                     : QString();
    };
    return s;
}

}  // namespace reelcast
