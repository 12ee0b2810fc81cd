#pragma once
// "Conversion Status": the file, frames read, time elapsed and the expected total time, once a second.

#include <QDialog>
#include <QTimer>
#include <functional>

class QLabel;

namespace reelcast {

class StatusDialog : public QDialog {
    Q_OBJECT
public:
    // framesRead is asked at every tick (the worker's count).
    StatusDialog(const QString& baseName, int totalFrames, std::function<int()> framesRead, QWidget* parent);
    void tick(); // one second passed
    QString frameText() const;
    QString elapsedText() const;
    QString estimateText() const;
    static QString clock(long long seconds);

private:
    std::function<int()> framesRead_;
    int totalFrames_;
    long long elapsed_ = 0;
    QTimer timer_;
    QLabel *frames_, *elapsedLabel_, *estimate_;
};

} // namespace reelcast
