// The main window driven through its commands on the offscreen platform: the whole conversion flow,
// stopping, cancelling, preview, drops, the display size, speed, help and the stored settings.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>

#include "app/cli.h"
#include "core/frame_source.h"
#include "gui/main_window.h"
#include "gui/video_size_dialog.h"
#include "gui_fixture.h"
#include "support/movie_builder.h"

namespace reelcast {
namespace {

using test::FakeDesktop;
using test::sharedMovie;

std::string probeVideo(const QString& avi)
{
    std::string f = REELCAST_FFMPEG;
    const std::string cmd = "'" + f.substr(0, f.size() - 6) +
                            "ffprobe' -v error -count_frames -select_streams v:0 "
                            "-show_entries stream=width,height,nb_read_frames -of csv=p=0 '" +
                            avi.toStdString() + "'";
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[128];
        while (size_t n = fread(buf, 1, sizeof buf, p))
            out.append(buf, n);
        pclose(p);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

class MainWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        test::app();
        ASSERT_TRUE(dir.isValid());
        config = dir.filePath("reelcast.ini");
        desktop.aviToSave = dir.filePath("out.avi");
    }
    std::unique_ptr<MainWindow> makeWindow()
    {
        store = std::make_unique<SettingsStore>(config);
        auto w = std::make_unique<MainWindow>(*store, desktop.services);
        w->show();
        return w;
    }
    bool waitForMessage(const QString& text, int ms = 60000)
    {
        QElapsedTimer t;
        t.start();
        while (desktop.count(text) == 0 && t.elapsed() < ms)
            QTest::qWait(20);
        return desktop.count(text) > 0;
    }

    QTemporaryDir dir;
    QString config;
    FakeDesktop desktop;
    std::unique_ptr<SettingsStore> store;
};

TEST_F(MainWindowTest, StartsIdleWithMenusAndDefaultsWrittenBack)
{
    auto w = makeWindow();
    EXPECT_EQ(w->windowTitle(), "Reelcast for Windows");
    EXPECT_TRUE(w->openAction()->isEnabled());
    EXPECT_TRUE(w->previewAction()->isEnabled());
    EXPECT_FALSE(w->stopAction()->isEnabled());
    EXPECT_EQ(w->openAction()->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(w->previewAction()->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(w->stopAction()->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_TRUE(w->speedAction(1)->isChecked());
    EXPECT_EQ(w->clientSize(), QSize(320, 240));
    EXPECT_TRUE(w->acceptDrops());
    QSettings s(config, QSettings::IniFormat);
    s.beginGroup("Settings");
    EXPECT_EQ(s.value("ConvSize").toInt(), 1);
    EXPECT_EQ(s.value("Gammaval").toInt(), 100);
    EXPECT_EQ(s.value("AVIOption").toByteArray().size(), 44);
}

TEST_F(MainWindowTest, OpenScanInformationConversionDone)
{
    auto w = makeWindow();
    desktop.movieToOpen = sharedMovie("testsrc-v2-stereo37800.STR");
    w->openAction()->trigger();
    EXPECT_EQ(desktop.proposedAvi, sharedMovie("testsrc-v2-stereo37800.AVI"));
    ASSERT_GE(desktop.messages.size(), 1u) << desktop.texts().join("\n").toStdString();
    EXPECT_EQ(desktop.messages[0].title, "Video Infomation");
    EXPECT_EQ(desktop.messages[0].text, "Total frame\t88\nWidth\t\t320\nHeight\t\t240\nFrame rate\t15 Frame/sec\n"
                                        "Sound timing\t15 Frame/sec (used for Auto)");
    EXPECT_EQ(desktop.messages[0].icon, QMessageBox::NoIcon); // a plain box with OK and Cancel
    EXPECT_EQ(desktop.messages[0].owner, w.get());
    // Busy while it runs: the status box counts, drops are refused.
    if (w->jobRunning()) {
        EXPECT_FALSE(w->openAction()->isEnabled());
        EXPECT_TRUE(w->stopAction()->isEnabled());
        EXPECT_NE(w->statusBox(), nullptr);
        EXPECT_FALSE(w->acceptDrops());
    }
    ASSERT_TRUE(waitForMessage("Convert done.")) << desktop.texts().join("\n").toStdString();
    EXPECT_EQ(desktop.messages.back().title, "Status");
    EXPECT_EQ(desktop.messages.back().icon, QMessageBox::NoIcon);
    EXPECT_FALSE(w->movieOpen());
    EXPECT_EQ(w->statusBox(), nullptr);
    EXPECT_TRUE(w->openAction()->isEnabled());
    EXPECT_FALSE(w->stopAction()->isEnabled());
    EXPECT_TRUE(w->acceptDrops());
    EXPECT_EQ(probeVideo(desktop.aviToSave), "320,240,92");
}

TEST_F(MainWindowTest, StopLeavesAPlayableFileAndNoDoneBox)
{
    auto w = makeWindow();
    w->commandSpeed(kSpeedSlow);
    desktop.movieToOpen = sharedMovie("testsrc-v2-stereo37800.STR");
    w->commandOpen();
    ASSERT_TRUE(w->jobRunning());
    QElapsedTimer t;
    t.start();
    while (w->job().framesRead() < 5 && w->jobRunning() && t.elapsed() < 20000)
        QTest::qWait(1);
    ASSERT_TRUE(w->jobRunning()) << "finished before it could be stopped";
    ASSERT_NE(w->statusBox(), nullptr);
    w->statusBox()->tick(); // the box reads the worker's count
    const int shown = w->statusBox()->frameText().section('/', 0, 0).trimmed().toInt();
    EXPECT_GE(shown, 5);
    EXPECT_TRUE(w->statusBox()->frameText().endsWith("/    88"));
    QMimeData mime; // no drops while a movie is open
    mime.setUrls({QUrl::fromLocalFile(sharedMovie("bars-v3-30fps-silent.STR"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(w.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    w->stopAction()->trigger();
    QTest::qWait(200);
    EXPECT_EQ(desktop.count("Convert done."), 0);
    EXPECT_FALSE(w->movieOpen());
    EXPECT_FALSE(w->jobRunning());
    EXPECT_TRUE(w->openAction()->isEnabled());
    const std::string probed = probeVideo(desktop.aviToSave);
    ASSERT_EQ(probed.rfind("320,240,", 0), 0u) << probed;
    const int frames = std::stoi(probed.substr(8));
    EXPECT_GE(frames, 5);
    EXPECT_LT(frames, 92);
}

TEST_F(MainWindowTest, CancellingTheInformationBoxWritesNothing)
{
    auto w = makeWindow();
    desktop.answers["Video Infomation"] = QMessageBox::Cancel;
    desktop.movieToOpen = sharedMovie("bars-v3-30fps-silent.STR");
    w->commandOpen();
    EXPECT_FALSE(w->movieOpen());
    EXPECT_FALSE(w->jobRunning());
    EXPECT_FALSE(QFile::exists(desktop.aviToSave));
    EXPECT_TRUE(w->openAction()->isEnabled());
}

TEST_F(MainWindowTest, CancellingTheSaveDialogClosesTheMovie)
{
    auto w = makeWindow();
    desktop.aviToSave.clear();
    desktop.movieToOpen = sharedMovie("bars-v3-30fps-silent.STR");
    w->commandOpen();
    EXPECT_FALSE(w->movieOpen());
    EXPECT_TRUE(desktop.messages.empty()); // no scan, no information box
}

TEST_F(MainWindowTest, OpenCheckAndScanFailuresAreReported)
{
    auto w = makeWindow();
    const QString notMovie = dir.filePath("text.STR");
    QFile f(notMovie);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(200, 'x'));
    f.close();
    desktop.movieToOpen = notMovie;
    w->commandOpen();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].title, "ERROR");
    EXPECT_EQ(desktop.messages[0].text, "This file isn't PSX movie file format.");
    EXPECT_EQ(desktop.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(desktop.messages[0].owner, nullptr);
    EXPECT_FALSE(w->movieOpen());

    // A frame number no file of this size can hold, in a file cut inside its second sector: the
    // information box says so (the format's scan refused such a file with a read error).
    reelcast::test::TempDir tmp;
    reelcast::test::MovieBuilder b;
    b.frame(1, reelcast::test::patternPayload(1)).frame(5000, reelcast::test::patternPayload(1));
    b.bytes().resize(b.bytes().size() - 100);
    desktop.messages.clear();
    desktop.answers["Video Infomation"] = QMessageBox::Cancel;
    desktop.movieToOpen = QString::fromStdString(b.write(tmp, "bad.STR"));
    w->commandOpen();
    ASSERT_EQ(desktop.messages.size(), 1u) << desktop.texts().join("\n").toStdString();
    EXPECT_EQ(desktop.messages[0].text,
              "Total frame\t1\nWidth\t\t320\nHeight\t\t240\nFrame rate\t30 Frame/sec\n"
              "The file is truncated: its last sector has only 2252 of 2352 bytes; the 1 whole sector is converted.");
    EXPECT_FALSE(w->movieOpen());
    EXPECT_FALSE(QFile::exists(desktop.aviToSave));
}

TEST_F(MainWindowTest, FinishedPreviewSaysDoneToo)
{
    auto w = makeWindow();
    desktop.movieToOpen = sharedMovie("bars-v3-30fps-silent.STR");
    w->previewAction()->trigger();
    EXPECT_TRUE(desktop.proposedAvi.isEmpty()); // no file is asked for
    ASSERT_TRUE(waitForMessage("Convert done."));
    EXPECT_FALSE(QFile::exists(desktop.aviToSave));
    EXPECT_EQ(w->clientSize(), QSize(256, 224)); // as decoded
}

TEST_F(MainWindowTest, DroppedMovieIsConvertedWhileNoneIsOpen)
{
    auto w = makeWindow();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(sharedMovie("bars-v3-30fps-silent.STR"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.get(), &drop);
    ASSERT_TRUE(waitForMessage("Convert done.", 20000)) << desktop.texts().join("\n").toStdString();
    EXPECT_EQ(probeVideo(desktop.aviToSave), "256,224,123");
}

TEST_F(MainWindowTest, HiddenDisplayShrinksTheWindowAndVideoSizeDialogResizes)
{
    {
        QSettings s(config, QSettings::IniFormat);
        s.setValue("Settings/ConvDisplay", 1);
        s.setValue("Settings/Ask", 1);
    }
    auto w = makeWindow();
    // The video size dialog comes up modal after the scan: choose 160 x 120, interpolated.
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&answered] {
        auto* d = qobject_cast<VideoSizeDialog*>(QApplication::activeModalWidget());
        if (!d || answered)
            return;
        answered = true;
        d->widthGroup()->button(1)->click();
        d->heightGroup()->button(1)->click();
        d->methodGroup()->button(1)->click();
        d->accept();
    });
    poll.start(10);
    desktop.movieToOpen = sharedMovie("bars-v3-30fps-silent.STR");
    w->commandOpen();
    QTest::qWait(50);
    if (w->jobRunning()) {
        EXPECT_EQ(w->clientSize(), QSize(240, 18));
    }
    ASSERT_TRUE(waitForMessage("Convert done."));
    EXPECT_TRUE(answered);
    EXPECT_EQ(probeVideo(desktop.aviToSave), "160,120,123");
}

TEST_F(MainWindowTest, SpeedMenuAndSettingsSavedOnClose)
{
    auto w = makeWindow();
    w->speedAction(0)->trigger();
    EXPECT_EQ(w->settings().convSpeed, 0);
    EXPECT_TRUE(w->speedAction(0)->isChecked());
    EXPECT_FALSE(w->speedAction(1)->isChecked());
    w->settings().gammaVal = 150;
    w->close();
    QSettings s(config, QSettings::IniFormat);
    EXPECT_EQ(s.value("Settings/ConvSpeed").toInt(), 0);
    EXPECT_EQ(s.value("Settings/Gammaval").toInt(), 150);
}

TEST_F(MainWindowTest, BadStoredValuesFallBackToDefaults)
{
    {
        QSettings s(config, QSettings::IniFormat);
        s.setValue("Settings/ConvSize", 7);
        s.setValue("Settings/FrameRate", "fast");
        s.setValue("Settings/Gammaval", 180);
        s.setValue("Settings/AVIOption", QByteArray(43, '\x0e'));
    }
    auto w = makeWindow();
    EXPECT_EQ(w->settings().convSize, 1);
    EXPECT_EQ(w->settings().frameRate, 0);
    EXPECT_EQ(w->settings().gammaVal, 180);
    EXPECT_EQ(w->settings().aviOption, CompressionOptions{});
    QSettings s(config, QSettings::IniFormat);
    EXPECT_EQ(s.value("Settings/ConvSize").toInt(), 1); // written back at once
}

TEST_F(MainWindowTest, HelpShowsThePageOrSaysItIsMissing)
{
    auto w = makeWindow();
    w->setHelpPath(dir.filePath("missing.html"));
    w->commandHelp();
    ASSERT_EQ(desktop.messages.size(), 1u);
    EXPECT_EQ(desktop.messages[0].text, "Can't open help file.");
    w->setHelpPath(REELCAST_HELP_PAGE);
    w->commandHelp();
    ASSERT_NE(w->helpWindow(), nullptr);
    EXPECT_TRUE(w->helpWindow()->isVisible());
    EXPECT_TRUE(w->helpWindow()->toPlainText().contains("Contents"));
}

} // namespace
} // namespace reelcast

namespace reelcast {
namespace {

// The window's pixels as RGB32.
QImage shownPicture(MainWindow& w) { return w.centralWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A preview plays at the movie's rate: its pictures change while it runs, it takes about as long as
// the movie, and its last picture stays in the window afterwards.
TEST_F(MainWindowTest, PreviewPlaysAtTheMovieRateAndKeepsItsLastPicture)
{
    auto w = makeWindow();
    const QString movie = sharedMovie("testsrc-v2-stereo37800.STR"); // 88 moving frames at 15 a second
    desktop.movieToOpen = movie;
    QElapsedTimer clock;
    clock.start();
    w->previewAction()->trigger();
    QTest::qWait(1000);
    ASSERT_TRUE(w->jobRunning());
    EXPECT_LT(w->job().framesRead(), 30); // not thousands a second
    const QImage early = shownPicture(*w);
    QTest::qWait(700);
    const QImage later = shownPicture(*w);
    EXPECT_NE(early, later);
    ASSERT_TRUE(waitForMessage("Convert done.", 20000));
    EXPECT_GE(clock.elapsed(), 91 * 1000 / 15 - 200); // 92 pictures at 15 a second

    // The movie's last picture, decoded here, is what the window still shows.
    MovieReader reader;
    ASSERT_EQ(reader.open(movie.toStdString()), kMovieOk);
    ASSERT_EQ(reader.scanFrames(), kMovieOk);
    FrameDecoder decoder;
    FrameSource frames(reader, decoder, reader.info().totalFrames);
    for (int i = 0; i < reader.info().totalFrames; ++i)
        frames.next();
    QImage last(320, 240, QImage::Format_RGB32);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const uint32_t p = frames.picture().pixels[y * 320 + x];
            last.setPixel(x, y, qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF));
        }
    QTest::qWait(50);
    EXPECT_EQ(shownPicture(*w), last);
}

// A write that fails (here: a file size limit for this process, as a full disk would) ends the job
// with the error box instead of "Convert done.", and the file that was there stays as it was.
TEST_F(MainWindowTest, AFailedWriteShowsTheErrorBoxAndKeepsTheOldFile)
{
    {
        QFile old(desktop.aviToSave);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older AVI");
    }
    auto w = makeWindow();
    desktop.movieToOpen = sharedMovie("bars-v3-30fps-silent.STR");
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    const rlimit small{1 << 20, before.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    w->commandOpen();
    const bool ended = waitForMessage("File write ERROR.\nFile too large", 20000);
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(ended) << desktop.texts().join("\n").toStdString();
    EXPECT_EQ(desktop.messages.back().title, "ERROR");
    EXPECT_EQ(desktop.messages.back().icon, QMessageBox::Critical);
    EXPECT_EQ(desktop.count("Convert done."), 0);
    EXPECT_FALSE(w->movieOpen());
    QFile old(desktop.aviToSave);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("an older AVI"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".out.avi").size(), 0);
}

TEST(GuiStart, AMovieOnTheCommandLineOpensTheWindow)
{
    struct Case {
        std::vector<const char*> args;
        bool window;
    };
    for (const Case& c : {Case{{"reelcast"}, true}, Case{{"reelcast", "MOVIE.STR"}, true},
                          Case{{"reelcast", "--config", "x.ini"}, true}, Case{{"reelcast", "--info", "M.STR"}, false},
                          Case{{"reelcast", "--convert", "M.STR"}, false}}) {
        EXPECT_EQ(wantsGui(int(c.args.size()), c.args.data()), c.window) << c.args.back();
    }
}

TEST(GuiStart, TabbedMessagesLineUpAsATable)
{
    const QString html = alignedColumns("Total frame\t88\nWidth\t\t320\nA note without columns");
    EXPECT_TRUE(html.startsWith("<table"));
    EXPECT_TRUE(html.contains("<td>Width</td><td width=\"16\"></td><td>320</td>")) << html.toStdString();
    EXPECT_TRUE(html.contains("<td colspan=\"3\">A note without columns</td>"));
    EXPECT_EQ(alignedColumns("Convert done."), "Convert done.");
}

} // namespace
} // namespace reelcast
