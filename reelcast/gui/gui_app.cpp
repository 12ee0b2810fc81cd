#include "gui/gui_app.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/movie_reader.h"
#include "gui/about_box.h"
#include "gui/compressor_dialog.h"
#include "gui/gamma_dialog.h"
#include "gui/gui_services.h"
#include "gui/main_window.h"
#include "gui/options_dialog.h"
#include "gui/scan_dialog.h"
#include "gui/settings_store.h"
#include "gui/status_dialog.h"
#include "gui/video_size_dialog.h"

namespace reelcast {
namespace {

struct GuiOptions {
    QString config, screenshots, movie;
    QString open; // a movie named on the command line: converted as if dropped on the window
    bool ok = true;
};

GuiOptions parse(int argc, const char* const* argv)
{
    GuiOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if ((a == "--config" || a == "--screenshots" || a == "--movie") && i + 1 < argc) {
            (a == "--config" ? o.config : a == "--movie" ? o.movie : o.screenshots) = QString::fromLocal8Bit(argv[++i]);
        } else if (!a.empty() && a[0] != '-' && o.open.isEmpty()) {
            o.open = QString::fromLocal8Bit(argv[i]);
        } else {
            o.ok = false;
        }
    }
    return o;
}

void save(QWidget* w, const QDir& dir, const char* name)
{
    w->show();
    QApplication::processEvents();
    w->grab().save(dir.filePath(name));
    w->hide();
}

// The window in the middle of a preview of movie, every box answered with OK.
void previewShot(SettingsStore& store, const QString& movie, const QDir& dir)
{
    GuiServices quiet;
    quiet.message = [](QWidget*, QMessageBox::Icon, const QString&, const QString&, QMessageBox::StandardButtons) {
        return int(QMessageBox::Ok);
    };
    quiet.openMovie = [movie](QWidget*, const QString&) { return movie; };
    quiet.saveAvi = [](QWidget*, const QString&) { return QString(); };
    MainWindow window(store, quiet);
    window.show();
    const int speed = window.settings().convSpeed;
    window.commandSpeed(kSpeedSlow);
    window.commandPreview();
    while (window.jobRunning() && window.job().framesRead() < 12)
        QApplication::processEvents();
    if (window.jobRunning()) {
        if (window.statusBox())
            window.statusBox()->hide();
        QApplication::processEvents();
        window.grab().save(dir.filePath("main_window_preview.png"));
    }
    window.commandStop();
    window.commandSpeed(speed);
}

// Pictures of the window and every dialog, for the documentation.
int takeScreenshots(SettingsStore& store, GuiServices& services, const QString& dirPath, const QString& movie)
{
    QDir dir(dirPath);
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "Can't create folder %s\n", qPrintable(dirPath));
        return 1;
    }
    MainWindow window(store, services);
    save(&window, dir, "main_window.png");
    ConverterSettings& settings = window.settings();
    OptionsDialog options(settings, &window);
    save(&options, dir, "options_dialog.png");
    CompressorDialog compressor(settings.aviOption, &window);
    save(&compressor, dir, "compressor_dialog.png");
    int gamma = 140;
    GammaDialog gammaDialog(gamma, &window);
    save(&gammaDialog, dir, "gamma_dialog.png");
    VideoSizeDialog size(&window);
    save(&size, dir, "video_size_dialog.png");
    StatusDialog status(
        "MOVIE.STR", 120, [] { return 42; }, &window);
    for (int i = 0; i < 6; ++i)
        status.tick();
    save(&status, dir, "status_dialog.png");
    AboutBox about(&window);
    save(&about, dir, "about_box.png");
    MovieReader reader;
    ScanDialog scan(reader, "MOVIE.STR", services, &window);
    scan.setPercent(45);
    save(&scan, dir, "scan_box.png");
    if (!movie.isEmpty())
        previewShot(store, movie, dir);
    std::printf("Screenshots in %s\n", qPrintable(dir.absolutePath()));
    return 0;
}

} // namespace

int runGui(int argc, char** argv)
{
    const GuiOptions options = parse(argc, argv);
    if (!options.ok) {
        std::fprintf(stderr, "Usage: reelcast [--config FILE] [MOVIE] | [--screenshots DIR [--movie FILE]]\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(appIcon());
    SettingsStore store(options.config);
    GuiServices services = GuiServices::desktop();
    if (!options.screenshots.isEmpty())
        return takeScreenshots(store, services, options.screenshots, options.movie);
    MainWindow window(store, services);
    window.show();
    if (!options.open.isEmpty())
        QMetaObject::invokeMethod(
            &window, [&window, path = options.open] { window.commandDropped(path); }, Qt::QueuedConnection);
    return app.exec();
}

} // namespace reelcast
