#include "gui/options_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/compressor_dialog.h"
#include "gui/gamma_dialog.h"
#include "gui/radio_group.h"

namespace reelcast {
namespace {

QButtonGroup* addGroup(QDialog* owner, const QString& title, const QStringList& labels, int checked, int& field)
{
    QButtonGroup* group = makeRadioGroup(owner, title, labels, checked);
    QObject::connect(group, &QButtonGroup::idClicked, owner, [&field](int id) { field = id; });
    return group;
}

} // namespace

OptionsDialog::OptionsDialog(ConverterSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), kept_(settings)
{
    setWindowTitle("Conversion Options");
    ask_ = addGroup(this, "Video size prompt", {"Do not ask", "Ask"}, settings.ask, settings.ask);
    display_ = addGroup(this, "Display", {"Show", "Do not show"}, settings.convDisplay, settings.convDisplay);
    size_ = addGroup(this, "Display size", {"Small", "As decoded", "Large"}, settings.convSize, settings.convSize);
    rate_ = addGroup(
        this, "Frame rate",
        {"Auto", "30 frame/sec", "24 frame/sec", "20 frame/sec", "15 frame/sec", "12 frame/sec", "10 frame/sec"},
        settings.frameRate, settings.frameRate);
    connect(display_, &QButtonGroup::idClicked, this, [this] { refreshSizeButtons(); });
    refreshSizeButtons();

    compressorButton_ = new QPushButton("Compression options...", this);
    gammaButton_ = new QPushButton("Gamma correction...", this);
    connect(compressorButton_, &QPushButton::clicked, this, &OptionsDialog::chooseCompressor);
    connect(gammaButton_, &QPushButton::clicked, this, &OptionsDialog::chooseGamma);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(ask_->button(0)->parentWidget(), 0, 0);
    grid->addWidget(display_->button(0)->parentWidget(), 1, 0);
    grid->addWidget(size_->button(0)->parentWidget(), 2, 0);
    grid->addWidget(rate_->button(0)->parentWidget(), 0, 1, 3, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(compressorButton_);
    side->addWidget(gammaButton_);
    side->addStretch();
    grid->addLayout(side, 0, 2, 3, 1);
    grid->addWidget(buttons, 3, 0, 1, 3);
}

// The display size buttons only mean something while frames are shown.
void OptionsDialog::refreshSizeButtons()
{
    const bool shown = settings_.convDisplay == 0;
    size_->setExclusive(shown);
    for (QAbstractButton* b : size_->buttons()) {
        b->setEnabled(shown);
        if (!shown)
            b->setChecked(false);
    }
    if (shown)
        if (auto* b = size_->button(settings_.convSize))
            b->setChecked(true);
}

void OptionsDialog::chooseCompressor()
{
    CompressorDialog dialog(settings_.aviOption, this);
    if (dialog.exec() == QDialog::Accepted)
        settings_.aviOption = dialog.result();
}

void OptionsDialog::chooseGamma()
{
    GammaDialog dialog(settings_.gammaVal, this);
    dialog.exec();
}

void OptionsDialog::reject()
{
    settings_.convDisplay = kept_.convDisplay;
    settings_.convSpeed = kept_.convSpeed;
    settings_.convSize = kept_.convSize;
    settings_.frameRate = kept_.frameRate;
    settings_.ask = kept_.ask;
    QDialog::reject();
}

} // namespace reelcast
