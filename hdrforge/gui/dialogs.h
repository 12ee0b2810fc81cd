// The modal dialogs of the editor: the shared file dialog and the message boxes. Each goes
// through a replaceable hook so that tests can answer it without a person at the screen.
#pragma once

#include <QString>
#include <functional>

class QWidget;

struct FileDialogRequest {
    QString title;
    QString filter;     // "Description|pattern|Description|pattern" as the form writes it
    QString defaultExt; // without the dot
    QString fileName;   // proposed name
    QString folder;     // folder to start in; empty = the working folder
    bool save = false;  // save dialog (asks before replacing) or open dialog
};

// Returns the chosen file's full path, or an empty string when the dialog was cancelled.
using FileChooser = std::function<QString(QWidget* parent, const FileDialogRequest&)>;
using ErrorReporter = std::function<void(QWidget* parent, const QString& caption, const QString& text)>;
using Confirmer = std::function<bool(QWidget* parent, const QString& caption, const QString& text)>;

// Replace the hooks; an empty function restores the real dialog.
void setFileChooser(FileChooser chooser);
void setErrorReporter(ErrorReporter reporter);
void setConfirmer(Confirmer confirmer);

void showErrorMessage(QWidget* parent, const QString& caption, const QString& text);
bool askYesNo(QWidget* parent, const QString& caption, const QString& text);

// "Desc|*.a;*.b|Desc2|*.c" -> "Desc (*.a *.b);;Desc2 (*.c)" for QFileDialog.
QString toQtFilter(const QString& filter);

// The form's common file dialog: set the properties, then ShowOpen or ShowSave. A choice was
// made when FileName is not empty afterwards; FileTitle is then the name without its folder.
// Cancelling clears FileName. The next dialog starts in InitDir, which every choice sets to
// the chosen file's folder (empty = the working folder).
class CommonDialog {
public:
    QString DialogTitle;
    QString Filter;
    QString DefaultExt;
    QString FileName;
    QString FileTitle;
    QString InitDir;

    void ShowOpen(QWidget* parent) { show(parent, false); }
    void ShowSave(QWidget* parent) { show(parent, true); }

private:
    void show(QWidget* parent, bool save);
};
