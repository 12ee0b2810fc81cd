// The real windows driven by QTest on the offscreen platform, over stand-in drives and the
// shared images. Message boxes are caught by a handler so their text and caption are seen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/cdio_drive_access.h"
#include "core/memory_drive_access.h"
#include "core/messages.h"
#include "gui/about_dialog.h"
#include "gui/explore_dialog.h"
#include "gui/info_dialog.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "image_maker.h"

// Under LeakSanitizer: fontconfig keeps a few allocations of its own for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace korvax {
namespace {

namespace fs = std::filesystem;

// Stand-in drives plus the disc images opened through the menu.
class DrivesAndImages : public DriveAccess {
public:
    DrivesAndImages(MemoryDriveAccess& drives, SystemDriveAccess& images) : drives_(drives), images_(images) {}
    std::vector<DriveRef> cdRomDrives() override
    {
        auto all = drives_.cdRomDrives();
        for (const DriveRef& image : images_.cdRomDrives())
            all.push_back(image);
        return all;
    }
    std::unique_ptr<DiscReader> openDisc(const DriveRef& drive) override
    {
        return drive.isImage ? images_.openDisc(drive) : drives_.openDisc(drive);
    }

private:
    MemoryDriveAccess& drives_;
    SystemDriveAccess& images_;
};

struct ShownMessage {
    std::string text;
    std::string caption;
    QWidget* owner;         // compared only: the dialog may be gone by now
    std::string ownerClass; // taken while the owner was alive
};

// Runs `inspect` on the modal dialog once the code under test has opened it.
class ModalProbe {
public:
    explicit ModalProbe(std::function<void(QDialog*)> inspect) : inspect_(std::move(inspect))
    {
        timer_.setSingleShot(true);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                timer_.start(); // not open yet
                return;
            }
            ran = true;
            inspect_(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        timer_.start();
    }
    bool ran = false;

private:
    std::function<void(QDialog*)> inspect_;
    QTimer timer_;
};

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = setMessageBoxHandler([this](QWidget* owner, const std::string& text, const std::string& caption) {
            messages.push_back({text, caption, owner, owner ? owner->metaObject()->className() : ""});
        });
        MemoryDisc disc;
        disc.label = "SECOND";
        disc.add("0.BIN", test::makeHeader({.title = "J:STAND-IN"}));
        disc.systemArea = test::makeHeader({.size = 32768});
        drives.addDrive("sr0");
        drives.addDrive("sr1", disc);
    }
    void TearDown() override { setMessageBoxHandler(previous_); }

    MainWindow& window()
    {
        if (!window_)
            window_ =
                std::make_unique<MainWindow>(all, [this](const std::string& path) { return images.addImage(path); });
        return *window_;
    }

    MemoryDriveAccess drives;
    SystemDriveAccess images{false};
    DrivesAndImages all{drives, images};
    std::vector<ShownMessage> messages;

private:
    MessageBoxHandler previous_;
    std::unique_ptr<MainWindow> window_;
};

QStringList itemTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void selectItem(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->setCurrentItem(found.front());
}

TEST_F(GuiTest, MainWindowIsFixedAt320By224)
{
    MainWindow& w = window();
    w.show();
    EXPECT_EQ(w.windowTitle(), "Korvax - [ No Game Available to Load ]");
    EXPECT_EQ(w.size(), QSize(320, 224));
    EXPECT_EQ(w.minimumSize(), QSize(320, 224));
    EXPECT_EQ(w.maximumSize(), QSize(320, 224));
    w.resize(800, 600);
    EXPECT_EQ(w.size(), QSize(320, 224));
    w.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(w.size(), QSize(320, 224));
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(GuiTest, MenuHasEveryItemWithTheEmulatorItemsDisabled)
{
    MainWindow& w = window();
    const QList<QAction*> menus = w.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Help");

    struct Item {
        const char* text;
        int id; // 0: separator
        bool enabled;
    };
    const Item file[] = {
        {"&Reboot Emulator ( Start Disc )", CmdReboot, false},
        {"&Scan Sega Saturn (tm) CD...", CmdScan, true},
        {"Open Disc &Image...", CmdOpenImage, true},
        {"Start &Debugger...", CmdDebugger, false},
        {"", 0, false},
        {"&Options", CmdOptions, false},
        {"E&xit", CmdExit, true},
    };
    const Item help[] = {{"&Contents", CmdContents, false}, {"&About Korvax...", CmdAbout, true}};
    auto check = [&](QAction* menu, const auto& items) {
        const QList<QAction*> actions = menu->menu()->actions();
        ASSERT_EQ(static_cast<std::size_t>(actions.size()), std::size(items));
        for (std::size_t i = 0; i < std::size(items); ++i) {
            const Item& item = items[i];
            if (item.id == 0) {
                EXPECT_TRUE(actions[i]->isSeparator());
                continue;
            }
            EXPECT_EQ(actions[i]->text().toStdString(), item.text);
            EXPECT_EQ(actions[i]->isEnabled(), item.enabled) << item.text;
            EXPECT_EQ(actions[i], w.action(item.id)) << item.text;
        }
    };
    check(menus[0], file);
    check(menus[1], help);
}

TEST_F(GuiTest, DisabledItemsDoNothing)
{
    MainWindow& w = window();
    w.show();
    for (int id : {CmdReboot, CmdDebugger, CmdOptions, CmdContents}) {
        w.action(id)->trigger();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << id;
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(GuiTest, AboutBoxShowsTheVersion)
{
    ModalProbe probe([](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "About Korvax...");
        auto* version = d->findChild<QLabel*>("field1026");
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->text(), "Version 0.1a");
        auto* ok = d->findChild<QPushButton*>();
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "OK");
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_FALSE(d->isVisible());
    });
    window().action(CmdAbout)->trigger();
    EXPECT_TRUE(probe.ran);
}

TEST_F(GuiTest, NoDriveShowsOnlyTheNoDriveMessageOnce)
{
    drives.drives.clear();
    window().action(CmdScan)->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kMsgNoCdDrives);
    EXPECT_EQ(messages[0].caption, kCaptionProblem);
    EXPECT_EQ(messages[0].ownerClass, "korvax::ExploreDialog");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(GuiTest, ExploreScanAndShowInformation)
{
    bool infoSeen = false;
    ModalProbe probe([&](QDialog* d) {
        auto* explore = qobject_cast<ExploreDialog*>(d);
        ASSERT_NE(explore, nullptr);
        EXPECT_EQ(explore->windowTitle(), "Explore a Sega Saturn (tm) CD...");
        QStringList groups;
        for (auto* g : explore->findChildren<QGroupBox*>())
            groups << g->title();
        EXPECT_EQ(groups, QStringList({"Possible &CD Drives", "Possible &Saturn AIPs"}));
        EXPECT_EQ(explore->scanButton()->text(), "Scan for AIPs >>");
        EXPECT_EQ(explore->infoButton()->text(), "Show AIP Info...");
        EXPECT_TRUE(explore->closeButton()->isDefault());
        EXPECT_EQ(itemTexts(explore->driveList()), QStringList{"sr1: 'SECOND'"});

        QTest::mouseClick(explore->scanButton(), Qt::LeftButton);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, kMsgSelectDrive);
        EXPECT_TRUE(explore->isVisible());

        selectItem(explore->driveList(), "sr1: 'SECOND'");
        QTest::mouseClick(explore->scanButton(), Qt::LeftButton);
        EXPECT_EQ(itemTexts(explore->aipList()), QStringList({"(system area)", "0.BIN"}));

        QTest::mouseClick(explore->infoButton(), Qt::LeftButton);
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].text, kMsgSelectAip);

        selectItem(explore->aipList(), "0.BIN");
        ModalProbe infoProbe([&](QDialog* i) {
            auto* info = qobject_cast<InfoDialog*>(i);
            ASSERT_NE(info, nullptr);
            infoSeen = true;
            EXPECT_EQ(info->windowTitle(), "AIP Information...");
            EXPECT_EQ(info->parentWidget(), explore);
            EXPECT_EQ(info->fieldText(FieldHardwareId), "SEGA SEGASATURN ");
            EXPECT_EQ(info->fieldText(FieldPeripherals), "Standard Digital Control Pad, Analogue Controller, Mouse.");
            EXPECT_TRUE(info->fieldText(FieldTitle).startsWith("J:STAND-IN "));
            QStringList labels;
            for (auto* l : info->findChildren<QLabel*>())
                if (l->objectName().isEmpty())
                    labels << l->text();
            EXPECT_EQ(labels, QStringList({"Hardware Identifier", "Manufacturer ID", "Product Number",
                                           "Version Information", "Release Date", "Device Information",
                                           "Compatible Areas", "Compatible Peripherals", "Game Title(s)"}));
        });
        QTest::mouseClick(explore->infoButton(), Qt::LeftButton);
        EXPECT_TRUE(infoProbe.ran);
        QTest::mouseClick(explore->closeButton(), Qt::LeftButton);
        EXPECT_FALSE(explore->isVisible());
    });
    window().action(CmdScan)->trigger();
    EXPECT_TRUE(probe.ran);
    EXPECT_TRUE(infoSeen);
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(GuiTest, DiscChangedBeforeScanAndBeforeInformation)
{
    ScannerState state;
    ExploreDialog explore(state, drives, &window());
    ASSERT_TRUE(explore.populate());
    explore.show();
    selectItem(explore.driveList(), "sr1: 'SECOND'");
    drives.find("sr1")->disc->label = "THIRD";
    QTest::mouseClick(explore.scanButton(), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kMsgDiscChanged);
    EXPECT_EQ(messages[0].owner, &explore);
    EXPECT_TRUE(explore.isVisible());

    drives.find("sr1")->disc->label = "SECOND";
    QTest::mouseClick(explore.scanButton(), Qt::LeftButton);
    selectItem(explore.aipList(), "0.BIN");
    drives.find("sr1")->disc->label = "THIRD";
    QTest::mouseClick(explore.infoButton(), Qt::LeftButton); // the dialog closes at once
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, kMsgDiscChanged);
    EXPECT_EQ(messages[1].ownerClass, "korvax::InfoDialog");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(GuiTest, DriveEmptiedBeforeScanClosesTheDialog)
{
    ScannerState state;
    ExploreDialog explore(state, drives);
    ASSERT_TRUE(explore.populate());
    explore.show();
    selectItem(explore.driveList(), "sr1: 'SECOND'");
    drives.find("sr1")->disc.reset();
    QTest::mouseClick(explore.scanButton(), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, kCaptionError);
    EXPECT_FALSE(explore.isVisible());
}

TEST_F(GuiTest, InformationReadFaultKeepsTheFieldsShown)
{
    ScannerState state;
    state.currentLabel = "SECOND";
    auto& disc = *drives.find("sr1")->disc;
    disc.root[0].second.data.resize(60);
    state.selectedAip = AipEntry{"0.BIN", "sr1:\\0.BIN", drives.find("sr1")->ref, false};
    InfoDialog info(state, drives);
    EXPECT_EQ(info.exec(), QDialog::Rejected);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, kMsgAipReadFault);
    EXPECT_EQ(info.fieldText(FieldReleaseDate), "19950101");
    EXPECT_EQ(info.fieldText(FieldDeviceInfo), "");
}

// True when the field's whole text can be brought into view: it fits, or the field scrolls to its end.
bool wholeTextCanBeSeen(QWidget* field)
{
    if (auto* label = qobject_cast<QLabel*>(field)) {
        const QRect room = label->contentsRect();
        return label->wordWrap() ? label->heightForWidth(room.width()) <= room.height()
                                 : label->sizeHint().width() <= label->width();
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(field)) {
        edit->moveCursor(QTextCursor::End);
        edit->ensureCursorVisible();
        const bool endSeen = edit->viewport()->rect().contains(edit->cursorRect());
        edit->moveCursor(QTextCursor::Start);
        edit->ensureCursorVisible();
        return endSeen && edit->viewport()->rect().contains(edit->cursorRect());
    }
    return false;
}

TEST_F(GuiTest, InformationFieldsShowTheirWholeText)
{
    ScannerState state;
    state.currentLabel = "SECOND";
    drives.find("sr1")->disc->root[0].second.data =
        test::makeHeader({"JTUEBKAL", "JAMKSTGWRECDXQFP", "J:" + std::string(110, 'W')});
    state.selectedAip = AipEntry{"0.BIN", "sr1:\\0.BIN", drives.find("sr1")->ref, false};
    InfoDialog info(state, drives);
    ASSERT_TRUE(info.load());
    info.show();
    QApplication::processEvents();
    EXPECT_TRUE(info.fieldText(FieldAreas).endsWith("Korea, East Asia PAL, Central South America PAL."));
    EXPECT_TRUE(info.fieldText(FieldPeripherals).endsWith("Floppy Disk Drive, Video CD Card."));
    for (int i = 0; i < HeaderFieldCount; ++i)
        EXPECT_TRUE(wholeTextCanBeSeen(info.valueField(i))) << kHeaderLayout[i].label;
}

TEST_F(GuiTest, OpenDiscImageJoinsTheDriveList)
{
    const fs::path iso = fs::path(SUITE_TESTDATA_DIR) / "discs" / "saturn-test.iso";
    MainWindow& w = window();
    w.setImageChooser([&](QWidget*) { return QString::fromStdString(iso.string()); });
    ModalProbe probe([&](QDialog* d) {
        auto* explore = qobject_cast<ExploreDialog*>(d);
        ASSERT_NE(explore, nullptr);
        EXPECT_EQ(itemTexts(explore->driveList()), QStringList({"saturn-test.iso: 'SATURN_TEST'", "sr1: 'SECOND'"}));
        ASSERT_EQ(explore->driveList()->selectedItems().size(), 1);
        EXPECT_EQ(explore->driveList()->selectedItems()[0]->text(), "saturn-test.iso: 'SATURN_TEST'");
        QTest::mouseClick(explore->scanButton(), Qt::LeftButton);
        EXPECT_EQ(itemTexts(explore->aipList()), QStringList({"(system area)", "0.BIN"}));
    });
    w.action(CmdOpenImage)->trigger();
    EXPECT_TRUE(probe.ran);
    EXPECT_TRUE(messages.empty());
}

TEST_F(GuiTest, ImageWithAnAccentedNameIsListedAndScanned)
{
    test::TempDir dir;
    const fs::path image = dir / "Bah\xc3\xad"
                                 "a.iso";
    fs::copy_file(fs::path(SUITE_TESTDATA_DIR) / "discs" / "saturn-test.iso", image);
    ASSERT_TRUE(window().addImage(image.string()));
    ScannerState state;
    ExploreDialog explore(state, all, &window());
    ASSERT_TRUE(explore.populate());
    const QString item = QString::fromUtf8("Bah\xc3\xad"
                                           "a.iso: 'SATURN_TEST'");
    EXPECT_EQ(itemTexts(explore.driveList()), QStringList({item, "sr1: 'SECOND'"}));
    explore.selectDrive("Bah\xc3\xad"
                        "a.iso");
    ASSERT_EQ(explore.driveList()->selectedItems().size(), 1);
    EXPECT_EQ(explore.driveList()->selectedItems()[0]->text(), item);
    QTest::mouseClick(explore.scanButton(), Qt::LeftButton);
    EXPECT_EQ(itemTexts(explore.aipList()), QStringList({"(system area)", "0.BIN"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(GuiTest, LongImageNamesShowWholeInTheDriveList)
{
    test::TempDir dir;
    const fs::path image = dir / "saturn-test-image-with-a-rather-long-file-name.iso";
    fs::copy_file(fs::path(SUITE_TESTDATA_DIR) / "discs" / "saturn-test.iso", image);
    ASSERT_TRUE(window().addImage(image.string()));
    ScannerState state;
    ExploreDialog explore(state, all, &window());
    const int designedWidth = explore.width();
    ASSERT_TRUE(explore.populate());
    explore.show();
    QApplication::processEvents();
    QListWidget* list = explore.driveList();
    for (int i = 0; i < list->count(); ++i) {
        const QRect shown = list->visualItemRect(list->item(i));
        const int textWidth = list->fontMetrics().horizontalAdvance(list->item(i)->text());
        const int visible =
            std::min(explore.width(), list->viewport()->mapTo(&explore, QPoint(list->viewport()->width(), 0)).x()) -
            list->viewport()->mapTo(&explore, QPoint(0, 0)).x();
        EXPECT_LE(textWidth, std::min({shown.width(), list->viewport()->width(), visible}))
            << list->item(i)->text().toStdString() << " in " << shown.width() << " of " << list->viewport()->width();
    }
    EXPECT_GT(explore.width(), designedWidth);
    EXPECT_GE(explore.width(), explore.layout()->minimumSize().width()); // nothing cut off at the right
}

TEST_F(GuiTest, OpenDiscImageRefusesOtherFilesAndCancelDoesNothing)
{
    MainWindow& w = window();
    w.setImageChooser([](QWidget*) { return QString(SUITE_TESTDATA_DIR "/README.md"); });
    w.action(CmdOpenImage)->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, std::string(kMsgImageOpenFault) + "\n\n\"" SUITE_TESTDATA_DIR
                                                                  "/README.md\": no ISO 9660 volume was found in it");
    EXPECT_EQ(messages[0].caption, kCaptionError);
    EXPECT_EQ(messages[0].owner, &w);

    w.setImageChooser([](QWidget*) { return QString(); });
    w.action(CmdOpenImage)->trigger();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(GuiTest, ExitClosesTheWindow)
{
    MainWindow& w = window();
    w.show();
    w.action(CmdExit)->trigger();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(GuiTest, RealMessageBoxCarriesTextCaptionAndIcon)
{
    setMessageBoxHandler({});
    QWidget owner;
    ModalProbe probe([](QDialog* d) {
        auto* box = qobject_cast<QMessageBox*>(d);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), "Problem..");
        EXPECT_EQ(box->text(), kMsgSelectAip);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
    });
    showMessageBox(&owner, kMsgSelectAip, kCaptionProblem);
    EXPECT_TRUE(probe.ran);
}

} // namespace
} // namespace korvax
