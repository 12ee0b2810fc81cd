#pragma once
// "ROM Audit...": the audit of every ROM set in a dialog. One row per game with its verdict,
// its files below it (expected size, found / missing / wrong size, and where). The rows can be
// ordered by game or with the incomplete sets first (the order it opens with).
#include "boards/rom_audit.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace vortastr {

class AuditDialog : public QDialog {
    Q_OBJECT
public:
    AuditDialog(std::vector<GameAudit> audits, QWidget* parent);

    QTreeWidget* table() const { return table_; }
    QComboBox* orderChoice() const { return order_; }
    void setOrder(AuditOrder order);

private:
    void fill();

    std::vector<GameAudit> audits_;
    QTreeWidget* table_;
    QComboBox* order_;
    QLabel* summary_;
};

} // namespace vortastr
