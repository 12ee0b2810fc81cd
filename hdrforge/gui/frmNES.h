// The editor form: the fields of one header, the mapper controls and the six buttons.
// Event procedures and helpers carry the form's names so the form reads like its design.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <cstdint>

#include "dialogs.h"
#include "frmAbout.h"
#include "header_file.h"
#include "nes_header.h"

class frmNES : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "Header Forge";

    explicit frmNES(QWidget* parent = nullptr);

    // Controls, by frame.
    QGroupBox* fraFileName;
    QLabel* lblFileName;
    QGroupBox* fraMapper;
    QLabel* lblMapper;
    QLineEdit* txtMapper;
    QScrollBar* hsbMapper;
    QLabel* lblMapperDesc;
    QGroupBox* fraMirroring;
    QLabel* lblMirroring;
    QComboBox* cboMirroring;
    QGroupBox* fraBattery;
    QLabel* lblBattery;
    QComboBox* cboBattery;
    QGroupBox* fraTrainer;
    QLabel* lblTrainer;
    QComboBox* cboTrainer;
    QGroupBox* fraVRAM;
    QLabel* lblVRAM;
    QComboBox* cboVRAM;
    QGroupBox* fraBytes;
    QLabel* lblPRG;
    QComboBox* cboProgram;
    QLabel* lblCHR;
    QComboBox* cboCharacter;
    QPushButton* cmdNew;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QPushButton* cmdPatch;
    QPushButton* cmdList;
    QPushButton* cmdAbout;
    CommonDialog DlgCommon;

    // Document state.
    int documentMode = 0; // 0 none, 1 header document, 2 game document
    QString fileTitle;
    QString filePath;
    hdrforge::HeaderDigits digits; // mapperLowDigit, flagsDigit, mapperHighByte

    // The About form while it is open.
    QPointer<frmAbout> about;

    // The fields as the controls hold them now.
    hdrforge::HeaderFields currentFields() const;
    // Takes the file named in DlgCommon (FileName, FileTitle) as a game or header document.
    void openChosenFile();
    // Opens a file named outside the dialog (on the command line) as if it had been chosen.
    void openFile(const QString& path);

public slots:
    void cmdOpen_Click();
    void cmdNew_Click();
    void cmdSave_Click();
    void cmdPatch_Click();
    void cmdList_Click();
    void cmdAbout_Click();
    void hsbMapper_Change();
    void hsbMapper_Scroll();
    void txtMapper_Change();

public:
    void OpenGame();
    void OpenHeader();
    void SaveHeader();
    void SaveGame();
    void FindByteSevenOne();
    void FindByteSevenTwo();
    bool SaveInfo(const QString& targetPath, hdrforge::IfMissing ifMissing);
    bool RestoreVariables();
    void FillProgramBox();
    void FillCharacterBox();
    QString FindMapperDesc(int mapper) const;
    void Form_Load();
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QList<QWidget*> editControls() const; // the mapper controls, the six lists and Save
    void enableEditing(bool headerDocument);
    void showGameCaption();
    // Makes path the document's file and reads its header; on failure the old file stays.
    bool takeFile(const QString& path, const QString& title);
    void openGameDocument(const QString& path, const QString& title);
    bool confirmNes2Overwrite(const QString& targetPath);

    std::uint64_t fileLength_ = 0; // length of the open game when it was read
    bool editedIsNes2_ = false;    // the header being edited came from an NES 2.0 header
};
