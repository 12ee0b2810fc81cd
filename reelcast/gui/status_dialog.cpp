#include "gui/status_dialog.h"

#include <QFormLayout>
#include <QLabel>

namespace reelcast {

QString StatusDialog::clock(long long seconds)
{
    return QString::asprintf("%02lld : %02lld : %02lld", seconds / 3600, (seconds / 60) % 60, seconds % 60);
}

StatusDialog::StatusDialog(const QString& baseName, int totalFrames, std::function<int()> framesRead, QWidget* parent)
    : QDialog(parent), framesRead_(std::move(framesRead)), totalFrames_(totalFrames)
{
    setWindowTitle("Conversion Status");
    setModal(false);
    auto* form = new QFormLayout(this);
    auto* file = new QLabel(baseName, this);
    file->setObjectName("statusFile");
    frames_ = new QLabel(QString::asprintf("%5d / %5d", 0, totalFrames_), this);
    frames_->setObjectName("statusFrames");
    elapsedLabel_ = new QLabel(clock(0), this);
    elapsedLabel_->setObjectName("statusElapsed");
    estimate_ = new QLabel(this);
    estimate_->setObjectName("statusEstimate");
    form->addRow("File:", file);
    form->addRow("Current frame:", frames_);
    form->addRow("Elapsed time:", elapsedLabel_);
    form->addRow("Estimated time:", estimate_);
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &StatusDialog::tick);
    timer_.start();
}

void StatusDialog::tick()
{
    elapsed_ += 1;
    const int read = framesRead_ ? framesRead_() : 0;
    frames_->setText(QString::asprintf("%5d / %5d", read, totalFrames_));
    elapsedLabel_->setText(clock(elapsed_));
    if (elapsed_ > 4 && read > 0)
        estimate_->setText(clock((long long)(double(elapsed_) / double(read) * double(totalFrames_))));
}

QString StatusDialog::frameText() const { return frames_->text(); }
QString StatusDialog::elapsedText() const { return elapsedLabel_->text(); }
QString StatusDialog::estimateText() const { return estimate_->text(); }

} // namespace reelcast
