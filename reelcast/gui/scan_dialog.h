#pragma once
// The scan box: runs MovieReader::scanFrames on a worker thread, shows its percentage on a bar, and
// ends with the result flag set when the scan finished (cleared when cancelled or failed).

#include <QDialog>
#include <atomic>
#include <mutex>
#include <thread>

#include "core/movie_reader.h"
#include "gui/gui_services.h"

namespace reelcast {

class ScanBar;

class ScanDialog : public QDialog {
    Q_OBJECT
public:
    ScanDialog(MovieReader& reader, const QString& baseName, GuiServices& services, QWidget* parent);
    ~ScanDialog() override;
    // Starts the worker, runs the box; true when the scan finished.
    bool run();
    int percent() const;
    // Records the percentage and asks for a repaint; callable from the worker.
    void setPercent(int percent);
    void reject() override; // Cancel: stop the worker and wait for it

private:
    void onFinished(int status);
    void joinWorker();

    MovieReader& reader_;
    GuiServices& services_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    mutable std::mutex lock_;
    int percent_ = 0;
    bool result_ = false;
    ScanBar* bar_;
};

} // namespace reelcast
