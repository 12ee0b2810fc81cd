#include "explore_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

#include "../core/command_line.h"
#include "dialog_units.h"
#include "info_dialog.h"
#include "message_box.h"

namespace korvax {
namespace {

QListWidget* makeList()
{
    auto* list = new QListWidget;
    list->setSortingEnabled(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return list;
}

QGroupBox* group(const QString& title, QListWidget* list)
{
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

// An item shows its text readably (an image's file name is UTF-8, disc text is 8-bit) and
// keeps the scanner's own bytes, by which the scanner finds the drive or file again.
void addItem(QListWidget* list, const std::string& text)
{
    auto* item = new QListWidgetItem(QString::fromUtf8(printableItem(text)));
    item->setData(Qt::UserRole, QByteArray::fromStdString(text));
    list->addItem(item);
}

std::string itemBytes(const QListWidgetItem* item) { return item->data(Qt::UserRole).toByteArray().toStdString(); }

std::optional<std::string> selectedText(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    if (items.isEmpty())
        return std::nullopt;
    return itemBytes(items.front());
}

} // namespace

ExploreDialog::ExploreDialog(ScannerState& state, DriveAccess& access, QWidget* parent)
    : QDialog(parent), state_(state), access_(access), driveList_(makeList()), aipList_(makeList()),
      scanButton_(new QPushButton(QStringLiteral("Scan for AIPs >>"))),
      infoButton_(new QPushButton(QStringLiteral("Show AIP Info..."))),
      closeButton_(new QPushButton(QStringLiteral("Close")))
{
    setWindowTitle(QStringLiteral("Explore a Sega Saturn (tm) CD..."));
    setFont(dialogFont());
    closeButton_->setDefault(true);
    scanButton_->setAutoDefault(false);
    infoButton_->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(group(QStringLiteral("Possible &CD Drives"), driveList_), 0, 0);
    QGroupBox* aipGroup = group(QStringLiteral("Possible &Saturn AIPs"), aipList_);
    layout->addWidget(aipGroup, 0, 1);
    layout->addWidget(scanButton_, 1, 0);
    layout->addWidget(infoButton_, 1, 1);
    layout->addWidget(closeButton_, 2, 1);
    // Drive items ("sr0: 'LABEL'") are longer than the 8.3 names of the AIPs.
    aipGroup->setMaximumWidth(dialogUnitsToPixels(84, 0).width());
    setFixedSize(dialogUnitsToPixels(197, 162));

    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(scanButton_, &QPushButton::clicked, this, [this] { scanForAips(*this, state_, access_); });
    connect(infoButton_, &QPushButton::clicked, this, [this] { showAipInfo(*this, state_); });
}

bool ExploreDialog::populate()
{
    driveList_->clear();
    aipList_->clear();
    opening_ = true;
    closedWhileOpening_ = false;
    const bool open = listCdDrives(*this, state_, access_);
    opening_ = false;
    return open && !closedWhileOpening_;
}

int ExploreDialog::exec()
{
    if (!populate())
        return QDialog::Rejected;
    return QDialog::exec();
}

void ExploreDialog::selectDrive(const std::string& driveName)
{
    for (const ReadyDrive& drive : state_.drives.readyDrives) {
        if (drive.drive.name != driveName)
            continue;
        for (int i = 0; i < driveList_->count(); ++i)
            if (itemBytes(driveList_->item(i)) == drive.item)
                driveList_->setCurrentItem(driveList_->item(i));
    }
}

void ExploreDialog::showMessage(const std::string& text, const std::string& caption)
{
    showMessageBox(this, text, caption);
}

void ExploreDialog::addDriveItem(const std::string& text)
{
    addItem(driveList_, text);
    fitDriveListToItems();
}

// An image's file name can be far longer than a drive's; the dialog widens (never below its
// designed size) until every drive entry shows whole.
void ExploreDialog::fitDriveListToItems()
{
    int widest = 0;
    for (int i = 0; i < driveList_->count(); ++i)
        widest = std::max(widest, driveList_->fontMetrics().horizontalAdvance(driveList_->item(i)->text()));
    const int itemPadding = 2 * driveList_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, driveList_) + 8;
    const int needed =
        widest + itemPadding + 2 * driveList_->frameWidth() + driveList_->verticalScrollBar()->sizeHint().width();
    driveList_->setMinimumWidth(needed);
    const QSize designed = dialogUnitsToPixels(197, 162);
    // The list's new minimum counts at once (through its group box), not after the next layout pass.
    driveList_->parentWidget()->layout()->invalidate();
    driveList_->parentWidget()->updateGeometry();
    layout()->invalidate();
    setFixedSize(std::max(designed.width(), layout()->minimumSize().width()), designed.height());
}

void ExploreDialog::clearAipItems() { aipList_->clear(); }

void ExploreDialog::addAipItem(const std::string& text) { addItem(aipList_, text); }

std::optional<std::string> ExploreDialog::selectedDriveItem() { return selectedText(driveList_); }

std::optional<std::string> ExploreDialog::selectedAipItem() { return selectedText(aipList_); }

void ExploreDialog::openInfoDialog()
{
    InfoDialog info(state_, access_, this);
    info.exec();
}

void ExploreDialog::closeDialog()
{
    if (opening_)
        closedWhileOpening_ = true;
    else
        reject();
}

} // namespace korvax
