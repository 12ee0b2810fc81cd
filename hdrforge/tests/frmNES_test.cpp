// The editor form on the offscreen platform: QTest clicks its buttons, and the file dialogs,
// message boxes and link opener are answered through their hooks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <memory>

#include "dialogs.h"
#include "frmAbout.h"
#include "frmNES.h"
#include "mapper_table.h"
#include "modNES.h"
#include "test_files.h"

namespace fs = std::filesystem;

// fontconfig keeps a cache for the whole process that it never frees; that is not our leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// Readable QStrings in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

const QString kNoInfo = "No Info Available";

void expectRequest(const FileDialogRequest& r, const QString& title, const QString& filter, const QString& defaultExt,
                   const QString& fileName, bool save)
{
    EXPECT_EQ(r.title, title);
    EXPECT_EQ(r.filter, filter);
    EXPECT_EQ(r.defaultExt, defaultExt);
    EXPECT_EQ(r.fileName, fileName);
    EXPECT_EQ(r.save, save);
}

class FormTest : public testing::Test {
protected:
    void SetUp() override
    {
        setFileChooser([this](QWidget*, const FileDialogRequest& request) {
            requests.push_back(request);
            if (answers.empty())
                return QString();
            QString answer = answers.front();
            answers.pop_front();
            return answer;
        });
        setErrorReporter([this](QWidget*, const QString& caption, const QString& text) {
            EXPECT_EQ(caption, "Header Forge");
            errors << text;
        });
        setConfirmer([this](QWidget*, const QString&, const QString& text) {
            questions << text;
            return confirmAnswer;
        });
        modNES::setLinkOpener([this](const QUrl& url) {
            links << url.toString();
            return true;
        });
        form = std::make_unique<frmNES>();
        form->show();
    }

    void TearDown() override
    {
        form.reset();
        setFileChooser({});
        setErrorReporter({});
        setConfirmer({});
        modNES::setLinkOpener({});
    }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QString file(const std::string& name, const Bytes& bytes)
    {
        writeBytes(dir.file(name), bytes);
        return QString::fromStdString(dir.file(name));
    }

    void open(const QString& path)
    {
        answers.push_back(path);
        click(form->cmdOpen);
    }

    // The caption, fields and mode, to show that a failed action left them as they were.
    QString snapshot() const
    {
        hdrforge::HeaderFields f = form->currentFields();
        return form->lblFileName->text() + "|" + form->fileTitle + "|" + form->filePath + "|" +
               QString::number(form->documentMode) +
               QString("|%1 %2 %3 %4 %5 %6 %7")
                   .arg(f.prgPages)
                   .arg(f.chrPages)
                   .arg(f.mirroring)
                   .arg(f.battery)
                   .arg(f.trainer)
                   .arg(f.fourScreen)
                   .arg(f.mapper);
    }

    TempDir dir;
    std::unique_ptr<frmNES> form;
    std::deque<QString> answers;
    std::vector<FileDialogRequest> requests;
    QStringList errors, questions, links;
    bool confirmAnswer = true;
};

TEST_F(FormTest, StartsWithDefaultsAndOnlyNewOpenListAboutEnabled)
{
    EXPECT_EQ(form->windowTitle(), "Header Forge");
    EXPECT_EQ(form->lblFileName->text(), "File Name:");
    EXPECT_EQ(form->txtMapper->text(), "0");
    EXPECT_EQ(form->lblMapperDesc->text().toStdString(), hdrforge::findMapperDesc(0));
    EXPECT_EQ(form->hsbMapper->minimum(), 0);
    EXPECT_EQ(form->hsbMapper->maximum(), 255);
    const std::pair<QLabel*, const char*> labels[] = {
        {form->lblMapper, "Mapper Number:"}, {form->lblMirroring, "Mirroring:"}, {form->lblBattery, "Battery Backup:"},
        {form->lblTrainer, "Trainer:"},      {form->lblVRAM, "4-Screen VRAM:"},  {form->lblPRG, "PRG Size:"},
        {form->lblCHR, "CHR Size:"}};
    for (const auto& [label, text] : labels) {
        EXPECT_EQ(label->text(), text);
        EXPECT_EQ(label->font().family(), "Verdana");
    }
    const std::pair<QPushButton*, const char*> buttons[] = {
        {form->cmdNew, "New Header"},          {form->cmdOpen, "Open"},      {form->cmdSave, "Save"},
        {form->cmdPatch, "Add Header to Rom"}, {form->cmdList, "Make List"}, {form->cmdAbout, "About"}};
    for (const auto& [button, text] : buttons) {
        EXPECT_EQ(button->text(), text);
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_EQ(button->isEnabled(), button != form->cmdSave && button != form->cmdPatch) << text;
    }
    for (QComboBox* box : {form->cboMirroring, form->cboBattery, form->cboTrainer, form->cboVRAM, form->cboProgram,
                           form->cboCharacter}) {
        EXPECT_EQ(box->currentIndex(), 0);
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->font().family(), "Verdana");
    }
    EXPECT_FALSE(form->txtMapper->isEnabled());
    EXPECT_FALSE(form->hsbMapper->isEnabled());
    EXPECT_EQ(form->documentMode, 0);
    EXPECT_EQ(form->cboMirroring->itemText(1), "Vertical");
    EXPECT_EQ(form->cboVRAM->itemText(0), "No");
}

TEST_F(FormTest, SizeListsHave32And65Items)
{
    ASSERT_EQ(form->cboProgram->count(), 32);
    ASSERT_EQ(form->cboCharacter->count(), 65);
    EXPECT_EQ(form->cboProgram->itemText(0), "16384 bytes (1 x 16kb pages)");
    EXPECT_EQ(form->cboProgram->itemText(31), "524288 bytes (32 x 16kb pages)");
    EXPECT_EQ(form->cboCharacter->itemText(0), "No CHR");
    EXPECT_EQ(form->cboCharacter->itemText(64), "524288 bytes (64 x 8kb pages)");
}

TEST_F(FormTest, ScrollBarDrivesTheTextAndTheTextDrivesTheDescription)
{
    click(form->cmdNew);
    struct Case {
        int value;
        QString description;
    } cases[] = {
        {13, kNoInfo},
        {34, "32kB ROM switch ---------------------------------- Examples: Impossible Mission 2 and Deadly Towers"},
        {7, "32kB ROM switch ---------------------------------- Examples: Wizards and Warriors, Solstice, etc."},
        {255, kNoInfo},
        {0, QString::fromStdString(hdrforge::findMapperDesc(0))}};
    for (const Case& c : cases) {
        form->hsbMapper->setValue(c.value);
        EXPECT_EQ(form->txtMapper->text(), QString::number(c.value));
        EXPECT_EQ(form->lblMapperDesc->text(), c.description) << c.value;
    }
    // A click on the scroll bar's right arrow steps it by one.
    QTest::mouseClick(form->hsbMapper, Qt::LeftButton, {},
                      QPoint(form->hsbMapper->width() - 4, form->hsbMapper->height() / 2));
    EXPECT_EQ(form->txtMapper->text(), "1");
    EXPECT_TRUE(form->lblMapperDesc->text().startsWith("Nintendo MMC1 "));
    // Typing changes only the description; the scroll bar keeps the number that is saved.
    form->txtMapper->clear();
    QTest::keyClicks(form->txtMapper, "4");
    EXPECT_TRUE(form->lblMapperDesc->text().startsWith("Nintendo MMC3 "));
    EXPECT_EQ(form->hsbMapper->value(), 1);
    QTest::keyClicks(form->txtMapper, "x");
    EXPECT_EQ(form->lblMapperDesc->text(), kNoInfo);
}

TEST_F(FormTest, OpenDialogAndCancel)
{
    click(form->cmdOpen);
    ASSERT_EQ(requests.size(), 1u);
    expectRequest(requests[0], "Gimme Some Sugar, baby...",
                  "Nintendo Games and Headers|*.nes;*.hdr|Nintendo Games (*.nes)|*.nes|"
                  "Nintendo Headers (*.hdr)|*hdr|All Files (*.*)|*.*",
                  "nes", "", false);
    EXPECT_EQ(form->documentMode, 0);
    EXPECT_FALSE(form->cmdSave->isEnabled());
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(FormTest, OpensGamesInAnyCaseOfTheEnding)
{
    struct Case {
        const char* name;
        std::uint8_t b6;
        int mapper, mirroring, battery, trainer, fourScreen;
    } cases[] = {
        {"game.nes", 0x01, 0, 1, 0, 0, 0}, {"GAME.NES", 0x0F, 0, 1, 1, 1, 1}, {"Mixed.NeS", 0x10, 1, 0, 0, 0, 0}};
    for (const Case& c : cases) {
        std::size_t size = 40976 + 512 * c.trainer;
        open(file(c.name, gameImage(size, headerBytes(2, 1, c.b6, 0x00))));
        EXPECT_EQ(form->lblFileName->text(), QString("File Name: %1 (%2 bytes)").arg(c.name).arg(size));
        hdrforge::HeaderFields f = form->currentFields();
        EXPECT_EQ(f.mapper, c.mapper) << c.name;
        EXPECT_EQ(form->txtMapper->text(), QString::number(c.mapper));
        EXPECT_EQ(f.mirroring, c.mirroring);
        EXPECT_EQ(f.battery, c.battery);
        EXPECT_EQ(f.trainer, c.trainer);
        EXPECT_EQ(f.fourScreen, c.fourScreen);
        EXPECT_EQ(f.prgPages, 2);
        EXPECT_EQ(f.chrPages, 1);
        EXPECT_EQ(form->documentMode, 2);
        EXPECT_EQ(form->fileTitle, c.name);
        EXPECT_TRUE(form->cmdSave->isEnabled());
        EXPECT_FALSE(form->cmdPatch->isEnabled());
        EXPECT_TRUE(form->cboCharacter->isEnabled());
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
}

TEST_F(FormTest, FileNamedOnTheCommandLineOpensLikeAChosenOne)
{
    form->openFile(file("cli.hdr", headerBytes(3, 2, 0x71, 0x20)));
    EXPECT_EQ(form->lblFileName->text(), "File Name: cli.hdr");
    EXPECT_EQ(form->documentMode, 1);
    EXPECT_EQ(form->hsbMapper->value(), 39);
    EXPECT_EQ(form->DlgCommon.FileName, "");
    EXPECT_TRUE(requests.empty());
}

TEST_F(FormTest, DialogsAfterACommandLineFileStartInItsFolder)
{
    fs::create_directory(dir.file("roms"));
    form->openFile(file("roms/cli.hdr", headerBytes(3, 2, 0x71, 0x20)));
    click(form->cmdSave); // cancelled
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].fileName, "cli.hdr");
    EXPECT_EQ(requests[0].folder, QString::fromStdString(dir.file("roms")));
}

TEST_F(FormTest, GameOfTheWrongLengthSaysSoBesideTheName)
{
    open(file("cut.nes", gameImage(30000, headerBytes(2, 1, 0, 0))));
    EXPECT_EQ(form->lblFileName->text(),
              "File Name: cut.nes (30000 bytes) - size does not match the header: 40976 bytes expected");
    EXPECT_EQ(readBytes(dir.file("cut.nes")).size(), 30000u);
}

TEST_F(FormTest, HeaderWithByte7LowNibbleIsSavedWithByte7Zero)
{
    QString path = file("low.hdr", headerBytes(1, 0, 0x00, 0x0F));
    open(path);
    EXPECT_EQ(form->lblFileName->text(), "File Name: low.hdr");
    EXPECT_EQ(form->hsbMapper->value(), 0);
    EXPECT_EQ(form->documentMode, 1);
    EXPECT_TRUE(form->cmdPatch->isEnabled());
    answers.push_back(path);
    click(form->cmdSave);
    ASSERT_EQ(requests.size(), 2u);
    expectRequest(requests[1], "Choose Header Name", "Nintendo Header (*.hdr)|*hdr", "hdr", "low.hdr", true);
    EXPECT_EQ(readBytes(path.toStdString()), headerBytes(1, 0, 0x00, 0x00));
}

TEST_F(FormTest, NewHeaderWithMapper255And32PrgNoChrVerticalBattery)
{
    click(form->cmdNew);
    EXPECT_EQ(form->lblFileName->text(), "File Name: Untitled.hdr");
    EXPECT_TRUE(form->cmdPatch->isEnabled());
    form->hsbMapper->setValue(255);
    form->cboProgram->setCurrentIndex(31);
    form->cboCharacter->setCurrentIndex(0);
    form->cboMirroring->setCurrentIndex(1);
    form->cboBattery->setCurrentIndex(1);
    QString path = QString::fromStdString(dir.file("big.hdr"));
    answers.push_back(path);
    click(form->cmdSave);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].fileName, "Untitled.hdr");
    EXPECT_EQ(readBytes(dir.file("big.hdr")), headerBytes(0x20, 0x00, 0xF3, 0xF0));
    EXPECT_EQ(form->lblFileName->text(), "File Name: big.hdr");
    EXPECT_EQ(form->fileTitle, "big.hdr");
    // A cancelled save dialog writes nothing.
    fs::remove(dir.file("big.hdr"));
    click(form->cmdSave);
    EXPECT_FALSE(fs::exists(dir.file("big.hdr")));
}

TEST_F(FormTest, PatchChangesOnlyTheFirst16BytesAndOpensTheGame)
{
    Bytes game = gameImage(40976, headerBytes(1, 1, 0, 0, 0x44));
    QString gamePath = file("target.nes", game);
    click(form->cmdNew);
    form->hsbMapper->setValue(4);
    form->cboProgram->setCurrentIndex(1);
    form->cboCharacter->setCurrentIndex(1);
    answers.push_back(gamePath);
    click(form->cmdPatch);
    ASSERT_EQ(requests.size(), 1u);
    expectRequest(requests[0], "Choose NES Game to Patch", "Nintendo Games (*.nes)|*.nes", "nes", "", false);
    Bytes after = readBytes(gamePath.toStdString());
    ASSERT_EQ(after.size(), 40976u);
    Bytes expected = headerBytes(2, 1, 0x40, 0x00);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), after.begin()));
    EXPECT_TRUE(std::equal(after.begin() + 16, after.end(), game.begin() + 16));
    EXPECT_EQ(form->documentMode, 2);
    EXPECT_EQ(form->lblFileName->text(), "File Name: target.nes (40976 bytes)");
    EXPECT_FALSE(form->cmdPatch->isEnabled());
    EXPECT_EQ(form->DlgCommon.FileName, "");
}

TEST_F(FormTest, PatchRefusesFilesThatAreNotGames)
{
    click(form->cmdNew);
    QString before = snapshot();
    answers.push_back(file("notes.txt", Bytes(100, 'a')));
    click(form->cmdPatch);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(readBytes(dir.file("notes.txt")), Bytes(100, 'a'));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(FormTest, CountsBeyondTheListsShowTheirValueAndAreWrittenBackUnchanged)
{
    Bytes game = gameImage(60000, headerBytes(40, 100, 0x21, 0x00));
    QString path = file("large.nes", game);
    open(path);
    EXPECT_EQ(form->cboProgram->currentText(), "655360 bytes (40 x 16kb pages)");
    EXPECT_EQ(form->cboCharacter->currentText(), "819200 bytes (100 x 8kb pages)");
    form->cboVRAM->setCurrentIndex(1);
    click(form->cmdSave);
    Bytes after = readBytes(path.toStdString());
    EXPECT_EQ(after[4], 40);
    EXPECT_EQ(after[5], 100);
    EXPECT_EQ(after[6], 0x29);
    EXPECT_EQ(after.size(), game.size());
    open(file("small.nes", gameImage(40976, headerBytes(2, 1, 0, 0))));
    EXPECT_EQ(form->cboProgram->count(), 32);
    EXPECT_EQ(form->cboCharacter->count(), 65);
    // PRG 0 leaves the list without a selection and is written back as 0.
    QString zero = file("zero.hdr", headerBytes(0, 3, 0, 0));
    open(zero);
    EXPECT_EQ(form->cboProgram->currentIndex(), -1);
    answers.push_back(zero);
    click(form->cmdSave);
    EXPECT_EQ(readBytes(zero.toStdString()), headerBytes(0, 3, 0, 0));
}

TEST_F(FormTest, FileErrorsShowAMessageAndLeaveTheEditorAsItWas)
{
    open(file("good.nes", gameImage(40976, headerBytes(2, 1, 0x41, 0x00))));
    const QString before = snapshot();
    fs::create_directory(dir.file("folder.nes"));
    struct Case {
        QString chosen, message;
    } cases[] = {{QString::fromStdString(dir.file("missing.nes")), "No such file"},
                 {QString::fromStdString(dir.file("folder.nes")), "folder"},
                 {file("readme.txt", Bytes(10, 'r')), "is neither a game (.nes) nor a header (.hdr)"},
                 {file("empty.bin", {}), "is neither"}};
    for (const Case& c : cases) {
        errors.clear();
        open(c.chosen);
        ASSERT_EQ(errors.size(), 1) << c.chosen.toStdString();
        EXPECT_TRUE(errors[0].contains(c.message)) << errors[0].toStdString();
        EXPECT_EQ(snapshot(), before);
    }
    // The open game vanishes: Save reports it and does not leave a bare header in its place.
    errors.clear();
    fs::remove(dir.file("good.nes"));
    click(form->cmdSave);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(fs::exists(dir.file("good.nes")));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(FormTest, SavingIntoAnUnwritableFileShowsAMessage)
{
    click(form->cmdNew);
    const QString before = snapshot();
    answers.push_back("/proc/version"); // read-only even for root
    click(form->cmdSave);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Cannot write")) << errors[0].toStdString();
    EXPECT_EQ(snapshot(), before);
}

TEST_F(FormTest, ShortFilesOpenWithoutHarm)
{
    for (std::size_t size = 0; size < 16; ++size) {
        Bytes bytes = headerBytes(0xFF, 0xFF, 0xFF, 0xFF, 0xFF);
        bytes.resize(size);
        open(file("short" + std::to_string(size) + ".nes", bytes));
        EXPECT_EQ(form->documentMode, 2);
        EXPECT_TRUE(form->lblFileName->text().contains(QString("(%1 bytes) - size does not match").arg(size)))
            << form->lblFileName->text().toStdString();
    }
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(FormTest, SavingAShortGameShowsItsNewLength)
{
    QString path = file("stub.nes", Bytes(10, 0));
    open(path);
    click(form->cmdSave);
    ASSERT_EQ(readBytes(path.toStdString()).size(), 16u);
    EXPECT_TRUE(form->lblFileName->text().startsWith("File Name: stub.nes (16 bytes)"))
        << form->lblFileName->text().toStdString();
}

TEST_F(FormTest, Nes2HeaderAsksBeforeItsDataIsCleared)
{
    Bytes game = gameImage(40976, headerBytes(2, 1, 0x10, 0x08, 0x5A));
    QString path = file("nes2.nes", game);
    open(path);
    confirmAnswer = false;
    click(form->cmdSave);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("NES 2.0"));
    EXPECT_EQ(readBytes(path.toStdString()), game);
    confirmAnswer = true;
    click(form->cmdSave);
    ASSERT_EQ(questions.size(), 2);
    Bytes after = readBytes(path.toStdString());
    Bytes expected = headerBytes(2, 1, 0x10, 0x00, 0x00);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), after.begin()));
    // Now an iNES header: saving again asks nothing.
    click(form->cmdSave);
    EXPECT_EQ(questions.size(), 2);
}

TEST_F(FormTest, MakeListWritesTheChosenFoldersListing)
{
    writeBytes(dir.file("b.nes"), Bytes(40976, 0));
    writeBytes(dir.file("A.hdr"), Bytes(16, 0));
    answers.push_back(QString::fromStdString(dir.file("List.txt")));
    click(form->cmdList);
    ASSERT_EQ(requests.size(), 1u);
    expectRequest(requests[0], "Choose Directory and File Name", "List of Files in Directory|*.txt", "txt", "List",
                  true);
    Bytes listing = readBytes(dir.file("List.txt"));
    std::string text(listing.begin(), listing.end());
    EXPECT_LT(text.find(" A.hdr\n"), text.find(" b.nes\n"));
    EXPECT_NE(text.find("2 File(s)  40992 bytes  0 Dir(s)\n"), std::string::npos) << text;
    EXPECT_EQ(form->DlgCommon.FileName, "");
    answers.push_back(QString::fromStdString(dir.file("gone/List.txt")));
    click(form->cmdList);
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(FormTest, AboutFormShowsItsTextsAndOpensItsLinks)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        seen = true;
        EXPECT_EQ(about->windowTitle(), "About Header Forge...");
        EXPECT_EQ(about->lblVersion->text(), "Version 1.00");
        EXPECT_EQ(about->lblAbout->text(),
                  "I created this program so people will be able to use their games with the new "
                  "headers format. Read Documentation.");
        QTest::mouseClick(about->lblEMail, Qt::LeftButton);
        QTest::mouseClick(about->lblHomePage, Qt::LeftButton);
        about->close();
    });
    click(form->cmdAbout);
    EXPECT_TRUE(seen);
    EXPECT_EQ(links, QStringList({QString("mailto:") + frmAbout::kEMail, frmAbout::kHomePage}));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form->about.isNull()); // released when closed
}

TEST_F(FormTest, LinkThatCannotBeOpenedIsReported)
{
    modNES::setLinkOpener([](const QUrl&) { return false; });
    modNES::OpenLink(form.get(), frmAbout::kHomePage);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(frmAbout::kHomePage));
}

TEST_F(FormTest, ClosingTheFormClosesTheAboutForm)
{
    form->about = new frmAbout(form.get());
    form->about->show();
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->about->isVisible());
}

} // namespace
