#include "gui/scan_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>
#include <system_error>

namespace reelcast {

// The percentage in blue on white, with a blue bar merged over it so that the text stays readable.
class ScanBar : public QWidget {
public:
    explicit ScanBar(const ScanDialog& box, QWidget* parent) : QWidget(parent), box_(box) { setFixedSize(256, 24); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const int percent = box_.percent();
        QImage image(size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setPen(QColor(0, 0, 255));
            p.drawText(image.rect(), Qt::AlignCenter, QString::asprintf("%3d%%", percent));
            // The pen merged with the inverted screen: white turns blue, blue text turns white.
            p.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination);
            p.fillRect(QRect(0, 0, width() * percent / 100, height()), QColor(0, 0, 255));
        }
        QPainter p(this);
        p.drawImage(0, 0, image);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.state |= QStyle::State_Sunken;
        frame.lineWidth = 1;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &p, this);
    }

private:
    const ScanDialog& box_;
};

ScanDialog::ScanDialog(MovieReader& reader, const QString& baseName, GuiServices& services, QWidget* parent)
    : QDialog(parent), reader_(reader), services_(services)
{
    setWindowTitle("Current");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Analysing file", this));
    auto* name = new QLabel(baseName, this);
    name->setObjectName("scanFile");
    layout->addWidget(name);
    bar_ = new ScanBar(*this, this);
    layout->addWidget(bar_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &ScanDialog::reject);
}

ScanDialog::~ScanDialog()
{
    cancel_ = true;
    joinWorker();
}

int ScanDialog::percent() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return percent_;
}

void ScanDialog::setPercent(int percent)
{
    {
        std::lock_guard<std::mutex> hold(lock_);
        if (percent == percent_)
            return;
        percent_ = percent;
    }
    QMetaObject::invokeMethod(bar_, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void ScanDialog::joinWorker()
{
    if (worker_.joinable())
        worker_.join();
}

bool ScanDialog::run()
{
    result_ = false;
    cancel_ = false;
    try {
        worker_ = std::thread([this] {
            const int status = reader_.scanFrames([this](int p) { setPercent(p); }, &cancel_);
            if (status != kMovieScanCancelled)
                QMetaObject::invokeMethod(
                    this, [this, status] { onFinished(status); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        services_.message(parentWidget(), QMessageBox::Critical, "ERROR", "スレッドが起動出来ませんでした．",
                          QMessageBox::Ok);
        return false;
    }
    exec();
    joinWorker();
    return result_;
}

void ScanDialog::onFinished(int status)
{
    joinWorker();
    if (status == kMovieOk) {
        result_ = true;
        done(QDialog::Accepted);
        return;
    }
    result_ = false;
    services_.message(this, QMessageBox::Critical, "ERROR",
                      status == kMovieSeekError ? "ファイルシークに失敗しました．" : "リードエラーが発生しました．",
                      QMessageBox::Ok);
    done(QDialog::Rejected);
}

void ScanDialog::reject()
{
    cancel_ = true;
    result_ = false;
    joinWorker();
    QDialog::reject();
}

} // namespace reelcast
