#include "dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace {

FileChooser& fileChooser()
{
    static FileChooser hook;
    return hook;
}
ErrorReporter& errorReporter()
{
    static ErrorReporter hook;
    return hook;
}
Confirmer& confirmer()
{
    static Confirmer hook;
    return hook;
}

QString runFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, toQtFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultExt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

void setFileChooser(FileChooser chooser) { fileChooser() = std::move(chooser); }
void setErrorReporter(ErrorReporter reporter) { errorReporter() = std::move(reporter); }
void setConfirmer(Confirmer c) { confirmer() = std::move(c); }

void showErrorMessage(QWidget* parent, const QString& caption, const QString& text)
{
    if (errorReporter())
        return errorReporter()(parent, caption, text);
    QMessageBox::critical(parent, caption, text);
}

bool askYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    if (confirmer())
        return confirmer()(parent, caption, text);
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QString toQtFilter(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << parts[i] + " (" + patterns + ")";
    }
    return filters.join(";;");
}

void CommonDialog::show(QWidget* parent, bool save)
{
    FileDialogRequest request{DialogTitle, Filter, DefaultExt, FileName, InitDir, save};
    QString chosen = fileChooser() ? fileChooser()(parent, request) : runFileDialog(parent, request);
    if (chosen.isEmpty()) {
        FileName.clear();
        return;
    }
    QFileInfo info(chosen);
    FileName = info.absoluteFilePath();
    FileTitle = info.fileName();
    InitDir = info.absolutePath();
}
