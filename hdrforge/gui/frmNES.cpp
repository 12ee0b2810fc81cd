#include "frmNES.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "button_pictures.h"
#include "dir_listing.h"
#include "header_file.h"
#include "mapper_table.h"
#include "size_lists.h"

namespace {

using namespace hdrforge;

std::string nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

QGroupBox* newFrame(QWidget* parent)
{
    auto* frame = new QGroupBox(parent);
    frame->setFlat(false);
    return frame;
}

QComboBox* newList(QWidget* parent, const QFont& font, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setFont(font);
    box->addItems(items);
    return box;
}

QLabel* newLabel(const QString& text, QWidget* parent, const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    return label;
}

// Selects the item holding `pages`. A count beyond the list gets an extra item with its real
// value, so that it shows and is written back as it was; a PRG count of 0 leaves no selection.
void selectPages(QComboBox* box, int standardItems, int firstPages, int pages, const QString& text)
{
    while (box->count() > standardItems)
        box->removeItem(box->count() - 1);
    int index = pages - firstPages;
    if (index >= 0 && index < standardItems) {
        box->setCurrentIndex(index);
    } else if (index < 0) {
        box->setCurrentIndex(-1);
    } else {
        box->addItem(text, pages);
        box->setCurrentIndex(standardItems);
    }
}

// The page count the list stands for; a list without selection stands for index + first.
int pagesOf(const QComboBox* box, int firstPages)
{
    int index = box->currentIndex();
    if (index < 0)
        return index + firstPages < 0 ? 0 : index + firstPages;
    return box->itemData(index).toInt();
}

} // namespace

frmNES::frmNES(QWidget* parent) : QWidget(parent)
{
    buildControls();
    Form_Load();
}

void frmNES::buildControls()
{
    setWindowTitle(kCaption);
    const QFont verdana("Verdana", 9);

    fraFileName = newFrame(this);
    lblFileName = newLabel("File Name:", fraFileName, verdana);
    lblFileName->setWordWrap(true);
    (new QVBoxLayout(fraFileName))->addWidget(lblFileName);

    fraMapper = newFrame(this);
    lblMapper = newLabel("Mapper Number:", fraMapper, verdana);
    txtMapper = new QLineEdit("0", fraMapper);
    txtMapper->setFont(verdana);
    txtMapper->setMaximumWidth(60);
    hsbMapper = new QScrollBar(Qt::Horizontal, fraMapper);
    hsbMapper->setRange(0, 255);
    hsbMapper->setPageStep(16);
    hsbMapper->setMinimumWidth(200);
    lblMapperDesc = newLabel(QString(), fraMapper, verdana);
    lblMapperDesc->setWordWrap(true);
    lblMapperDesc->setMinimumHeight(2 * QFontMetrics(verdana).height());
    lblMapperDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* mapperRow = new QHBoxLayout;
    mapperRow->addWidget(lblMapper);
    mapperRow->addWidget(txtMapper);
    mapperRow->addWidget(hsbMapper, 1);
    auto* mapperBox = new QVBoxLayout(fraMapper);
    mapperBox->addLayout(mapperRow);
    mapperBox->addWidget(lblMapperDesc);

    auto flagFrame = [&](QGroupBox*& frame, QLabel*& label, QComboBox*& box, const QString& caption,
                         const QStringList& items) {
        frame = newFrame(this);
        label = newLabel(caption, frame, verdana);
        box = newList(frame, verdana, items);
        auto* row = new QHBoxLayout(frame);
        row->addWidget(label);
        row->addWidget(box, 1);
    };
    flagFrame(fraMirroring, lblMirroring, cboMirroring, "Mirroring:", {"Horizontal", "Vertical"});
    flagFrame(fraBattery, lblBattery, cboBattery, "Battery Backup:", {"No", "Yes"});
    flagFrame(fraTrainer, lblTrainer, cboTrainer, "Trainer:", {"No", "Yes"});
    flagFrame(fraVRAM, lblVRAM, cboVRAM, "4-Screen VRAM:", {"No", "Yes"});

    fraBytes = newFrame(this);
    lblPRG = newLabel("PRG Size:", fraBytes, verdana);
    lblCHR = newLabel("CHR Size:", fraBytes, verdana);
    cboProgram = newList(fraBytes, verdana, {});
    cboProgram->addItem(fromStd(programPagesText(1)), 1);
    cboCharacter = newList(fraBytes, verdana, {});
    cboCharacter->addItem(fromStd(characterPagesText(0)), 0);
    auto* sizes = new QGridLayout(fraBytes);
    sizes->addWidget(lblPRG, 0, 0);
    sizes->addWidget(cboProgram, 0, 1);
    sizes->addWidget(lblCHR, 1, 0);
    sizes->addWidget(cboCharacter, 1, 1);
    sizes->setColumnStretch(1, 1);

    auto button = [&](const QString& caption, ButtonPicture picture) {
        auto* b = new QPushButton(buttonPicture(picture), caption, this);
        b->setIconSize(QSize(20, 20));
        return b;
    };
    cmdNew = button("New Header", ButtonPicture::New);
    cmdOpen = button("Open", ButtonPicture::Open);
    cmdSave = button("Save", ButtonPicture::Save);
    cmdPatch = button("Add Header to Rom", ButtonPicture::Patch);
    cmdList = button("Make List", ButtonPicture::List);
    cmdAbout = button("About", ButtonPicture::About);

    auto* grid = new QGridLayout(this);
    grid->addWidget(fraFileName, 0, 0, 1, 2);
    grid->addWidget(fraMapper, 1, 0, 1, 2);
    grid->addWidget(fraMirroring, 2, 0);
    grid->addWidget(fraBattery, 2, 1);
    grid->addWidget(fraTrainer, 3, 0);
    grid->addWidget(fraVRAM, 3, 1);
    grid->addWidget(fraBytes, 4, 0, 1, 2);
    auto* buttons = new QGridLayout;
    const QList<QPushButton*> order{cmdNew, cmdOpen, cmdSave, cmdPatch, cmdList, cmdAbout};
    for (int i = 0; i < order.size(); ++i)
        buttons->addWidget(order[i], i / 3, i % 3);
    grid->addLayout(buttons, 5, 0, 1, 2);
    setMinimumWidth(600);

    connect(cmdNew, &QPushButton::clicked, this, &frmNES::cmdNew_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &frmNES::cmdOpen_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmNES::cmdSave_Click);
    connect(cmdPatch, &QPushButton::clicked, this, &frmNES::cmdPatch_Click);
    connect(cmdList, &QPushButton::clicked, this, &frmNES::cmdList_Click);
    connect(cmdAbout, &QPushButton::clicked, this, &frmNES::cmdAbout_Click);
    connect(hsbMapper, &QScrollBar::valueChanged, this, &frmNES::hsbMapper_Change);
    connect(hsbMapper, &QScrollBar::sliderMoved, this, &frmNES::hsbMapper_Scroll);
    connect(txtMapper, &QLineEdit::textChanged, this, &frmNES::txtMapper_Change);

    for (QWidget* w : editControls())
        w->setEnabled(false);
    cmdPatch->setEnabled(false);
}

QList<QWidget*> frmNES::editControls() const
{
    return {txtMapper, hsbMapper, cboMirroring, cboBattery, cboTrainer, cboVRAM, cboProgram, cboCharacter, cmdSave};
}

// ---- form events -------------------------------------------------------------------------

void frmNES::Form_Load()
{
    txtMapper_Change();
    FillProgramBox();
    FillCharacterBox();
    for (QComboBox* box : {cboMirroring, cboBattery, cboTrainer, cboVRAM, cboProgram, cboCharacter})
        box->setCurrentIndex(0);
}

void frmNES::Form_Unload()
{
    if (about)
        about->close();
}

void frmNES::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void frmNES::FillProgramBox()
{
    for (int pages = 2; pages <= kProgramListItems; ++pages)
        cboProgram->addItem(fromStd(programPagesText(pages)), pages);
}

void frmNES::FillCharacterBox()
{
    for (int pages = 1; pages < kCharacterListItems; ++pages)
        cboCharacter->addItem(fromStd(characterPagesText(pages)), pages);
}

QString frmNES::FindMapperDesc(int mapper) const { return fromStd(findMapperDesc(mapper)); }

void frmNES::hsbMapper_Change() { txtMapper->setText(QString::number(hsbMapper->value())); }

void frmNES::hsbMapper_Scroll() { hsbMapper_Change(); }

void frmNES::txtMapper_Change()
{
    lblMapperDesc->setText(fromStd(findMapperDescForText(txtMapper->text().toStdString())));
}

// ---- documents ---------------------------------------------------------------------------

void frmNES::enableEditing(bool headerDocument)
{
    for (QWidget* w : editControls())
        w->setEnabled(true);
    cmdPatch->setEnabled(headerDocument);
}

void frmNES::showGameCaption()
{
    QString caption = "File Name: " + fileTitle + " (" + QString::number(fileLength_) + " bytes)";
    std::string note = sizeMismatchNote(currentFields(), fileLength_);
    if (!note.empty())
        caption += " - " + fromStd(note);
    lblFileName->setText(caption);
}

HeaderFields frmNES::currentFields() const
{
    HeaderFields f;
    f.prgPages = pagesOf(cboProgram, 1);
    f.chrPages = pagesOf(cboCharacter, 0);
    f.mirroring = cboMirroring->currentIndex();
    f.battery = cboBattery->currentIndex();
    f.trainer = cboTrainer->currentIndex();
    f.fourScreen = cboVRAM->currentIndex();
    f.mapper = hsbMapper->value();
    return f;
}

void frmNES::cmdOpen_Click()
{
    DlgCommon.DialogTitle = "Gimme Some Sugar, baby...";
    DlgCommon.Filter = "Nintendo Games and Headers|*.nes;*.hdr|Nintendo Games (*.nes)|*.nes|"
                       "Nintendo Headers (*.hdr)|*hdr|All Files (*.*)|*.*";
    DlgCommon.DefaultExt = "nes";
    DlgCommon.FileName.clear();
    DlgCommon.ShowOpen(this);
    if (!DlgCommon.FileName.isEmpty())
        openChosenFile();
    DlgCommon.FileName.clear();
}

void frmNES::openChosenFile()
{
    switch (classifyFileName(DlgCommon.FileTitle.toStdString())) {
    case FileKind::Game: OpenGame(); break;
    case FileKind::Header: OpenHeader(); break;
    case FileKind::Other:
        showErrorMessage(this, kCaption, fromStd(unknownKindText(DlgCommon.FileTitle.toStdString())));
        break;
    }
}

void frmNES::openFile(const QString& path)
{
    QFileInfo file(path);
    DlgCommon.FileName = file.absoluteFilePath();
    DlgCommon.FileTitle = file.fileName();
    DlgCommon.InitDir = file.absolutePath(); // later dialogs start beside it, as after a choice
    openChosenFile();
    DlgCommon.FileName.clear();
}

bool frmNES::takeFile(const QString& path, const QString& title)
{
    const QString oldTitle = fileTitle, oldPath = filePath;
    fileTitle = title;
    filePath = path;
    if (RestoreVariables())
        return true;
    fileTitle = oldTitle;
    filePath = oldPath;
    return false;
}

void frmNES::openGameDocument(const QString& path, const QString& title)
{
    if (!takeFile(path, title))
        return;
    enableEditing(false);
    showGameCaption();
    documentMode = 2;
}

void frmNES::OpenGame() { openGameDocument(DlgCommon.FileName, DlgCommon.FileTitle); }

void frmNES::OpenHeader()
{
    if (!takeFile(DlgCommon.FileName, DlgCommon.FileTitle))
        return;
    enableEditing(true);
    lblFileName->setText("File Name: " + fileTitle);
    documentMode = 1;
}

void frmNES::cmdNew_Click()
{
    enableEditing(true);
    fileTitle = "Untitled.hdr";
    filePath.clear();
    editedIsNes2_ = false;
    lblFileName->setText("File Name: " + fileTitle);
    documentMode = 1;
}

void frmNES::cmdSave_Click()
{
    if (documentMode == 1)
        SaveHeader();
    else if (documentMode == 2)
        SaveGame();
}

void frmNES::SaveHeader()
{
    DlgCommon.DialogTitle = "Choose Header Name";
    DlgCommon.Filter = "Nintendo Header (*.hdr)|*hdr";
    DlgCommon.DefaultExt = "hdr";
    DlgCommon.FileName = fileTitle;
    DlgCommon.ShowSave(this);
    if (DlgCommon.FileName.isEmpty())
        return;
    const QString chosenPath = DlgCommon.FileName, chosenTitle = DlgCommon.FileTitle;
    if (!SaveInfo(chosenPath, IfMissing::Create))
        return;
    fileTitle = chosenTitle;
    filePath = chosenPath;
    lblFileName->setText("File Name: " + fileTitle);
}

void frmNES::SaveGame()
{
    if (!SaveInfo(filePath, IfMissing::Fail))
        return;
    // A game shorter than a header has grown to 16 bytes.
    fileLength_ = static_cast<std::uint64_t>(QFileInfo(filePath).size());
    showGameCaption();
}

void frmNES::cmdPatch_Click()
{
    DlgCommon.DialogTitle = "Choose NES Game to Patch";
    DlgCommon.Filter = "Nintendo Games (*.nes)|*.nes";
    DlgCommon.DefaultExt = "nes";
    DlgCommon.FileName.clear();
    DlgCommon.ShowOpen(this);
    const QString gamePath = DlgCommon.FileName, gameTitle = DlgCommon.FileTitle;
    DlgCommon.FileName.clear();
    if (gamePath.isEmpty())
        return;
    if (classifyFileName(gameTitle.toStdString()) != FileKind::Game) {
        // Writing a header over some other kind of file would damage it.
        showErrorMessage(this, kCaption, "\"" + gameTitle + "\" is not a game (.nes) file, so it was not patched.");
        return;
    }
    if (SaveInfo(gamePath, IfMissing::Fail))
        openGameDocument(gamePath, gameTitle);
}

// ---- header bytes ------------------------------------------------------------------------

void frmNES::FindByteSevenOne() { findByteSevenOne(hsbMapper->value(), digits); }

void frmNES::FindByteSevenTwo()
{
    findByteSevenTwo(cboMirroring->currentIndex(), cboBattery->currentIndex(), cboTrainer->currentIndex(),
                     cboVRAM->currentIndex(), digits);
}

bool frmNES::confirmNes2Overwrite(const QString& targetPath)
{
    HeaderRead target;
    std::string ignored;
    bool targetIsNes2 = QFileInfo::exists(targetPath) && readHeaderFile(nativePath(targetPath), target, ignored) &&
                        isNes2Header(target.bytes);
    if (!targetIsNes2 && !editedIsNes2_)
        return true;
    QString name = targetIsNes2 ? QFileInfo(targetPath).fileName() : fileTitle;
    return askYesNo(this, kCaption,
                    "The header of \"" + name +
                        "\" is in the NES 2.0 format: its bytes 8-15 hold "
                        "data that saving replaces with zeros.\n\nSave anyway?");
}

bool frmNES::SaveInfo(const QString& targetPath, IfMissing ifMissing)
{
    if (!confirmNes2Overwrite(targetPath))
        return false;
    FindByteSevenOne();
    FindByteSevenTwo();
    HeaderBytes header = buildHeader(pagesOf(cboProgram, 1), pagesOf(cboCharacter, 0), digits);
    std::string error;
    if (!writeHeaderInto(nativePath(targetPath), header, error, ifMissing)) {
        showErrorMessage(this, kCaption, fromStd(error));
        return false;
    }
    editedIsNes2_ = false; // the user agreed to drop the NES 2.0 data of this header
    return true;
}

bool frmNES::RestoreVariables()
{
    HeaderRead read;
    std::string error;
    if (!readHeaderFile(nativePath(filePath), read, error)) {
        showErrorMessage(this, kCaption, fromStd(error));
        return false;
    }
    fileLength_ = read.fileSize;
    editedIsNes2_ = isNes2Header(read.bytes);
    const HeaderFields f = decodeHeader(read.bytes);
    selectPages(cboProgram, kProgramListItems, 1, f.prgPages, fromStd(programPagesText(f.prgPages)));
    selectPages(cboCharacter, kCharacterListItems, 0, f.chrPages, fromStd(characterPagesText(f.chrPages)));
    cboMirroring->setCurrentIndex(f.mirroring);
    cboBattery->setCurrentIndex(f.battery);
    cboTrainer->setCurrentIndex(f.trainer);
    cboVRAM->setCurrentIndex(f.fourScreen);
    hsbMapper->setValue(f.mapper);
    hsbMapper_Change(); // also when the value did not change, so the text shows the saved number
    return true;
}

// ---- list and about ----------------------------------------------------------------------

void frmNES::cmdList_Click()
{
    DlgCommon.DialogTitle = "Choose Directory and File Name";
    DlgCommon.Filter = "List of Files in Directory|*.txt";
    DlgCommon.DefaultExt = "txt";
    DlgCommon.FileName = "List";
    DlgCommon.ShowSave(this);
    if (!DlgCommon.FileName.isEmpty()) {
        QFileInfo chosen(DlgCommon.FileName);
        std::string error;
        if (!writeFolderListing(nativePath(chosen.absolutePath()), nativePath(chosen.absoluteFilePath()), error))
            showErrorMessage(this, kCaption, fromStd(error));
    }
    DlgCommon.FileName.clear();
}

void frmNES::cmdAbout_Click()
{
    if (!about) {
        about = new frmAbout(this);
        about->setAttribute(Qt::WA_DeleteOnClose);
    }
    about->exec();
}
