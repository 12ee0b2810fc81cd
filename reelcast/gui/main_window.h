#pragma once
// "Reelcast for Windows": the menu, the command flows from choosing a movie to a running job, the
// frames shown while it runs, drag and drop while no movie is open.

#include <QMainWindow>
#include <QPointer>
#include <atomic>
#include <memory>

#include "core/conversion_job.h"
#include "core/converter_settings.h"
#include "core/movie_reader.h"
#include "gui/gui_services.h"
#include "gui/help_window.h"
#include "gui/settings_store.h"
#include "gui/status_dialog.h"
#include "gui/video_size_dialog.h"

namespace reelcast {

class FrameView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(SettingsStore& store, GuiServices& services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The menu's commands.
    void commandOpen();
    void commandPreview();
    void commandDropped(const QString& path);
    void commandStop();
    void commandExit();
    void commandOptions();
    void commandSpeed(int speed);
    void commandHelp();
    void commandAbout();

    bool movieOpen() const { return movieOpen_; }
    bool jobRunning() const { return job_.running(); }
    ConversionJob& job() { return job_; }
    ConverterSettings& settings() { return settings_; }
    StatusDialog* statusBox() const { return statusBox_; }
    HelpWindow* helpWindow() const { return help_; }
    QAction* openAction() const { return open_; }
    QAction* previewAction() const { return preview_; }
    QAction* stopAction() const { return stop_; }
    QAction* optionsAction() const { return options_; }
    QAction* speedAction(int speed) const { return speedActions_[speed]; }
    QSize clientSize() const;
    QString helpPath() const;
    void setHelpPath(const QString& path) { helpPath_ = path; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void afterCommand();
    bool openCheck(const QString& path);
    void conversionFlow();
    void startJob(bool converting);
    void onWorkerFinished(quint64 jobId);
    void endJob();
    void closeMovie();
    void setBusyMenus(bool busy);
    void refreshSpeedChecks();
    QSize shownSize() const;
    void resizeClient(QSize size);
    void message(QMessageBox::Icon icon, const QString& title, const QString& text, QWidget* owner);

    SettingsStore& store_;
    GuiServices& services_;
    ConverterSettings settings_;
    std::atomic<int> convSpeed_{kSpeedNormal};
    MovieReader reader_;
    ConversionJob job_;
    quint64 jobId_ = 0;
    bool movieOpen_ = false;
    bool resizeOn_ = false;
    VideoSizeChoice sizeChoice_;
    QString moviePath_, outputPath_, helpPath_;
    FrameView* view_;
    QPointer<StatusDialog> statusBox_;
    QPointer<HelpWindow> help_;
    QAction *open_, *preview_, *stop_, *exit_, *options_, *helpAction_, *about_;
    QAction* speedActions_[3];
};

} // namespace reelcast
