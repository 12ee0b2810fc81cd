#include "gui/gui_services.h"

#include <QFileDialog>

namespace reelcast {

QString alignedColumns(const QString& text)
{
    if (!text.contains('\t'))
        return text;
    QString html = "<table cellspacing=\"0\" cellpadding=\"1\">";
    for (const QString& line : text.split('\n')) {
        const QStringList cells = line.split('\t', Qt::SkipEmptyParts);
        html += "<tr>";
        if (cells.size() >= 2)
            html += "<td>" + cells[0].toHtmlEscaped() + "</td><td width=\"16\"></td><td>" +
                    cells.mid(1).join(' ').toHtmlEscaped() + "</td>";
        else
            html += "<td colspan=\"3\">" + line.toHtmlEscaped() + "</td>";
        html += "</tr>";
    }
    return html + "</table>";
}

GuiServices GuiServices::desktop()
{
    GuiServices s;
    s.message = [](QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
                   QMessageBox::StandardButtons buttons) {
        QMessageBox box(icon, title, alignedColumns(text), buttons, owner);
        return box.exec();
    };
    s.openMovie = [](QWidget* owner, const QString& initial) {
        QFileDialog dialog(owner);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setNameFilters({"Movie files (*.STR *.MOV *.str *.mov)", "All File(*.*) (*)",
                               "Stream File(*.STR) (*.STR *.str)", "Movie File(*.MOV) (*.MOV *.mov)"});
        dialog.setOption(QFileDialog::ReadOnly, true);
        if (!initial.isEmpty())
            dialog.selectFile(initial);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                       : QString();
    };
    s.saveAvi = [](QWidget* owner, const QString& initial) {
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({"All File(*.*) (*)", "AVI File(*.AVI) (*.AVI *.avi)"});
        dialog.selectFile(initial); // asks before overwriting by default
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first()
                                                                                       : QString();
    };
    return s;
}

} // namespace reelcast
