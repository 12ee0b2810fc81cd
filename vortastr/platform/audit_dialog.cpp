#include "platform/audit_dialog.h"

#include "boards/rom_files.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vortastr {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QString fileStatus(const AuditedRomFile& file)
{
    QString status = statusText(file.status);
    if (file.status == RomFileStatus::WrongSize)
        status += QString(" (%1 bytes)").arg(file.where.size);
    if (!file.where.found() && !file.where.problem.empty())
        status += " (" + text(file.where.problem) + ")";
    return status;
}

} // namespace

AuditDialog::AuditDialog(std::vector<GameAudit> audits, QWidget* parent)
    : QDialog(parent), audits_(std::move(audits)), table_(new QTreeWidget(this)), order_(new QComboBox(this)),
      summary_(new QLabel(this))
{
    setWindowTitle("ROM Audit");
    table_->setColumnCount(4);
    table_->setHeaderLabels({"Game / file", "Size", "Verdict / status", "Where"});
    table_->setRootIsDecorated(true);
    table_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    order_->addItem("Incomplete sets first");
    order_->addItem("By game");
    connect(order_, &QComboBox::currentIndexChanged, this,
            [this](int index) { setOrder(index == 1 ? AuditOrder::ByGame : AuditOrder::IncompleteFirst); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Order:", this));
    top->addWidget(order_);
    top->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_);
    layout->addWidget(summary_);
    layout->addWidget(buttons);
    resize(640, 480);

    summary_->setText(text(auditSummary(audits_)));
    setOrder(AuditOrder::IncompleteFirst);
}

void AuditDialog::setOrder(AuditOrder order)
{
    const int index = order == AuditOrder::ByGame ? 1 : 0;
    if (order_->currentIndex() != index) {
        order_->setCurrentIndex(index); // comes back here through the signal
        return;
    }
    sortAudits(audits_, order);
    fill();
}

void AuditDialog::fill()
{
    table_->clear();
    for (const GameAudit& audit : audits_) {
        auto* row = new QTreeWidgetItem(
            table_, {text(auditGameName(audit.game)), QString(), text(auditVerdict(audit)), QString()});
        for (const AuditedRomFile& file : audit.files)
            new QTreeWidgetItem(row, {text(hostRomName(file.expected.name)), QString::number(file.expected.size),
                                      fileStatus(file), text(placeText(file.where))});
    }
}

} // namespace vortastr
