#include "gui/main_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>

#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/options_dialog.h"
#include "gui/scan_dialog.h"
#include "gui/status_dialog.h"

namespace reelcast {

// Shows the job's bitmap, stretched to the shown size, while a job runs with the display on; when
// the job ends its last picture stays until the next job starts.
class FrameView : public QWidget {
public:
    FrameView(MainWindow& window) : QWidget(&window), window_(window) { setAttribute(Qt::WA_OpaquePaintEvent); }
    QSize shown;

    // Keeps the job's current picture to show after the job (called before the bitmap goes).
    void holdLastPicture()
    {
        ConversionJob& job = window_.job();
        std::lock_guard<std::mutex> hold(job.lock());
        held_ = window_.settings().convDisplay == 0 ? pictureOf(job.bitmap()) : QImage();
    }
    void forgetLastPicture() { held_ = QImage(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        ConversionJob& job = window_.job();
        if (!job.running()) {
            if (!held_.isNull())
                p.drawImage(QRect(QPoint(0, 0), shown), held_);
            return;
        }
        if (window_.settings().convDisplay != 0)
            return;
        // The worker writes the bitmap under this lock; holding it here keeps a frame from tearing.
        std::lock_guard<std::mutex> hold(job.lock());
        const QImage picture = pictureOf(job.bitmap());
        if (!picture.isNull())
            p.drawImage(QRect(QPoint(0, 0), shown), picture);
    }

private:
    // A top-down copy of the bottom-up bitmap.
    static QImage pictureOf(const OutputBitmap* bmp)
    {
        if (!bmp)
            return {};
        const QImage rows(bmp->pixels(), int(bmp->width()), int(bmp->height()), qsizetype(bmp->stride()),
                          QImage::Format_BGR888);
        return rows.mirrored(false, true);
    }

    MainWindow& window_;
    QImage held_;
};

MainWindow::MainWindow(SettingsStore& store, GuiServices& services, QWidget* parent)
    : QMainWindow(parent), store_(store), services_(services), settings_(store.load()), job_(convSpeed_)
{
    setWindowTitle("Reelcast for Windows");
    setObjectName("Reelcast for Windows");
    setWindowIcon(appIcon());
    convSpeed_ = settings_.convSpeed;
    view_ = new FrameView(*this);
    setCentralWidget(view_);
    buildMenus();
    setBusyMenus(false);
    refreshSpeedChecks();
    setAcceptDrops(true);
    resizeClient(QSize(320, 240));
    move(x(), 0);
    helpPath_ = QDir(QCoreApplication::applicationDirPath()).filePath(kHelpFileName);
}

MainWindow::~MainWindow()
{
    job_.stopWorker();
    job_.releaseBitmap();
}

void MainWindow::buildMenus()
{
    QMenu* file = menuBar()->addMenu("&File");
    open_ = file->addAction("Open", QKeySequence(Qt::CTRL | Qt::Key_O), this, &MainWindow::commandOpen);
    preview_ = file->addAction("Preview", QKeySequence(Qt::CTRL | Qt::Key_P), this, &MainWindow::commandPreview);
    stop_ = file->addAction("Stop", QKeySequence(Qt::CTRL | Qt::Key_S), this, &MainWindow::commandStop);
    file->addSeparator();
    exit_ = file->addAction("E&xit", this, &MainWindow::commandExit);

    QMenu* options = menuBar()->addMenu("&Options");
    options_ = options->addAction("Change &options", this, &MainWindow::commandOptions);
    QMenu* speed = options->addMenu("Change speed");
    auto* speeds = new QActionGroup(this);
    const char* names[3] = {"Fast", "Normal", "Slow"};
    for (int i = 0; i < 3; ++i) {
        speedActions_[i] = speed->addAction(names[i], this, [this, i] { commandSpeed(i); });
        speedActions_[i]->setCheckable(true);
        speeds->addAction(speedActions_[i]);
    }

    QMenu* help = menuBar()->addMenu("&Help");
    helpAction_ = help->addAction("Help", this, &MainWindow::commandHelp);
    help->addSeparator();
    about_ = help->addAction("About", this, &MainWindow::commandAbout);
    for (QAction* a : {open_, preview_, stop_, exit_, options_, helpAction_, about_})
        connect(a, &QAction::triggered, this, &MainWindow::afterCommand);
}

// After every command dropped files are taken only while no movie is open.
void MainWindow::afterCommand() { setAcceptDrops(!movieOpen_); }

void MainWindow::message(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* owner)
{
    services_.message(owner, icon, title, text, QMessageBox::Ok);
}

void MainWindow::setBusyMenus(bool busy)
{
    open_->setEnabled(!busy);
    preview_->setEnabled(!busy);
    options_->setEnabled(!busy);
    stop_->setEnabled(busy);
}

void MainWindow::refreshSpeedChecks()
{
    for (int i = 0; i < 3; ++i)
        speedActions_[i]->setChecked(settings_.convSpeed == i);
}

QSize MainWindow::clientSize() const { return view_->size(); }

QString MainWindow::helpPath() const { return helpPath_; }

void MainWindow::resizeClient(QSize size)
{
    view_->shown = size;
    view_->setFixedSize(size);
    adjustSize();
}

QSize MainWindow::shownSize() const
{
    const MovieInfo& m = reader_.info();
    if (resizeOn_)
        return QSize(int(sizeChoice_.width(m.width)), int(sizeChoice_.height(m.height)));
    const QSize movie(int(m.width), int(m.height));
    switch (settings_.convSize) {
    case 0: return movie / 2;
    case 2: return movie * 2;
    default: return movie;
    }
}

void MainWindow::closeMovie()
{
    reader_.close();
    movieOpen_ = false;
}

bool MainWindow::openCheck(const QString& path)
{
    moviePath_ = path;
    if (int st = reader_.open(QFile::encodeName(path).toStdString())) {
        message(QMessageBox::Warning, "ERROR", movieStatusMessage(st), nullptr);
        return false;
    }
    movieOpen_ = true;
    return true;
}

void MainWindow::commandOpen()
{
    closeMovie();
    const QString path = services_.openMovie(this, moviePath_);
    if (path.isEmpty() || !openCheck(path))
        return;
    conversionFlow();
}

void MainWindow::commandPreview()
{
    closeMovie();
    const QString path = services_.openMovie(this, moviePath_);
    if (path.isEmpty() || !openCheck(path))
        return;
    startJob(false);
}

void MainWindow::commandDropped(const QString& path)
{
    closeMovie();
    if (openCheck(path))
        conversionFlow();
    afterCommand();
}

void MainWindow::conversionFlow()
{
    const QString proposed = QString::fromStdString(defaultOutputPath(QFile::encodeName(moviePath_).toStdString()));
    const QString chosen = services_.saveAvi(this, proposed);
    if (chosen.isEmpty()) {
        closeMovie();
        return;
    }
    // The file is replaced only when the new one is complete (a temporary file is renamed over it).
    outputPath_ = chosen;
    startJob(true);
}

void MainWindow::startJob(bool converting)
{
    const QString baseName = QFileInfo(moviePath_).fileName();
    {
        ScanDialog scan(reader_, baseName, services_, this);
        if (!scan.run()) {
            closeMovie();
            return;
        }
    }
    const MovieInfo& m = reader_.info();
    QString text = QString::asprintf("Total frame\t%d\nWidth\t\t%d\nHeight\t\t%d\nFrame rate\t%d Frame/sec",
                                     m.totalFrames, int(m.width), int(m.height), jobFrameRate(0, m.frameRate));
    if (m.discFrameRate > 0)
        text += QString::asprintf("\nSound timing\t%d Frame/sec (used for Auto)", m.discFrameRate);
    else if (m.frameRate <= 0)
        text += QString::asprintf("\n(no frame rate found: %d Frame/sec assumed)", kFallbackFrameRate);
    for (const std::string& note : movieNotes(m))
        text += "\n" + QString::fromStdString(note);
    if (services_.message(this, QMessageBox::NoIcon, "Video Infomation", text, QMessageBox::Ok | QMessageBox::Cancel) !=
        QMessageBox::Ok) {
        closeMovie();
        return;
    }

    resizeOn_ = false;
    if (settings_.ask == 1) {
        VideoSizeDialog sizeDialog(this);
        if (sizeDialog.exec() != QDialog::Accepted) {
            closeMovie();
            return;
        }
        sizeChoice_ = sizeDialog.choice();
        resizeOn_ = true;
    }
    const QSize client = settings_.convDisplay == 1 ? QSize(240, 18) : shownSize();
    QMetaObject::invokeMethod(
        this, [this, client] { resizeClient(client); }, Qt::QueuedConnection);

    job_.releaseBitmap();
    const uint32_t w = resizeOn_ ? sizeChoice_.width(m.width) : m.width;
    const uint32_t h = resizeOn_ ? sizeChoice_.height(m.height) : m.height;
    if (!job_.createBitmap(w, h)) {
        message(QMessageBox::Critical, "ERROR", "Out of Memory.", this);
        closeMovie();
        return;
    }
    JobSettings js;
    js.frameRateIndex = settings_.frameRate;
    js.resizeOn = resizeOn_;
    js.method = ResizeMethod(sizeChoice_.method);
    js.options = settings_.aviOption;
    js.gamma.build(settings_.gammaVal);
    view_->forgetLastPicture();
    const quint64 id = ++jobId_;
    job_.setCallbacks([this] { QMetaObject::invokeMethod(view_, qOverload<>(&QWidget::update), Qt::QueuedConnection); },
                      [this, id] {
                          QMetaObject::invokeMethod(
                              this, [this, id] { onWorkerFinished(id); }, Qt::QueuedConnection);
                      },
                      [this](const std::string& text) {
                          message(QMessageBox::Critical, "ERROR", QString::fromStdString(text), this);
                      });
    const int started = converting ? job_.startConversion(reader_, QFile::encodeName(outputPath_).toStdString(), js)
                                   : job_.startPreview(reader_, js);
    if (started != 0)
        return; // the movie stays open until the next command
    setBusyMenus(true);
    statusBox_ = new StatusDialog(
        baseName, m.totalFrames, [this] { return int(job_.framesRead()); }, this);
    statusBox_->setAttribute(Qt::WA_DeleteOnClose);
    statusBox_->show();
}

// Ends a job the user stopped or the window abandons: the worker is stopped and the file completed.
void MainWindow::endJob()
{
    ++jobId_; // a finished notice still on its way is now stale
    if (statusBox_)
        delete statusBox_;
    job_.stopWorker();
    job_.releaseOutput();
    view_->holdLastPicture();
    job_.releaseBitmap();
    view_->update();
}

void MainWindow::onWorkerFinished(quint64 jobId)
{
    if (jobId != jobId_ || !movieOpen_)
        return;
    job_.releaseOutput();
    if (statusBox_)
        delete statusBox_;
    closeMovie();
    view_->holdLastPicture();
    job_.releaseBitmap();
    setBusyMenus(false);
    view_->update();
    if (job_.failed()) {
        message(QMessageBox::Critical, "ERROR", QString::fromStdString(job_.failure() + "\n" + job_.failureReason()),
                this);
    } else {
        QString text = "Convert done.";
        if (const int damaged = job_.damagedFrames())
            text += QString::asprintf("\n%d damaged frame%s skipped (the picture before stands in).", damaged,
                                      damaged == 1 ? " was" : "s were");
        services_.message(this, QMessageBox::NoIcon, "Status", text, QMessageBox::Ok);
    }
    setAcceptDrops(true);
}

void MainWindow::commandStop()
{
    if (job_.running() || job_.bitmap())
        endJob();
    closeMovie();
    setBusyMenus(false);
}

void MainWindow::commandExit() { close(); }

void MainWindow::commandOptions()
{
    OptionsDialog dialog(settings_, this);
    dialog.exec();
    convSpeed_ = settings_.convSpeed;
    refreshSpeedChecks();
}

void MainWindow::commandSpeed(int speed)
{
    settings_.convSpeed = speed;
    convSpeed_ = speed; // a running worker picks it up at its next frame
    refreshSpeedChecks();
}

void MainWindow::commandHelp()
{
    if (!help_)
        help_ = new HelpWindow(this);
    if (!help_->openHelp(helpPath_)) {
        message(QMessageBox::Critical, "ERROR", "Can't open help file.", this);
        return;
    }
    help_->show();
    help_->raise();
}

void MainWindow::commandAbout()
{
    AboutBox box(this);
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (movieOpen_) {
        if (job_.running() || job_.bitmap())
            endJob();
        closeMovie();
    }
    store_.save(settings_);
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!movieOpen_ && event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (movieOpen_ || urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // The drop's own event must end before the command's dialogs run.
    const QString path = urls.first().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { commandDropped(path); }, Qt::QueuedConnection);
}

} // namespace reelcast
