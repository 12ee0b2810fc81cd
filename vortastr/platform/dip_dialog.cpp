#include "platform/dip_dialog.h"

#include "resources/resource_ids.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace vortastr {

DipDialog::DipDialog(DipDialogSession& session, QWidget* parent)
    : LayoutDialog(dipDialogLayout(), parent), session_(session)
{
    setObjectName("dipDialog");
    if (auto* name = control<QLabel>(kDipGameNameText))
        name->setText(session.record().name);
    for (int slot = 0; slot < kDipDialogSlots; ++slot) {
        QComboBox* box = list(slot);
        QLabel* text = label(slot);
        if (!box || !text)
            continue;
        box->clear();
        if (slot >= session.settingCount()) {
            text->setText(QString());
            box->setEnabled(false);
            continue;
        }
        const DipSetting& setting = session.record().settings[static_cast<std::size_t>(slot)];
        text->setText(setting.label);
        for (const char* option : setting.options)
            box->addItem(option);
        box->setEnabled(true);
        connect(box, &QComboBox::currentIndexChanged, this, [this, slot](int index) { session_.select(slot, index); });
    }
    showCurrentChoices();
    if (QComboBox* first = list(0))
        first->setFocus();

    connect(button(CmdOk), &QPushButton::clicked, this, [this] { done(CmdOk); });
    connect(button(CmdCancel), &QPushButton::clicked, this, [this] { done(0); });
    connect(button(kDipDefaultButton), &QPushButton::clicked, this, [this] {
        session_.restoreDefaults();
        showCurrentChoices();
    });
}

void DipDialog::showCurrentChoices()
{
    for (int slot = 0; slot < session_.settingCount() && slot < kDipDialogSlots; ++slot)
        if (QComboBox* box = list(slot)) {
            const QSignalBlocker quiet(box);
            box->setCurrentIndex(session_.current(slot) < box->count() ? session_.current(slot) : -1);
        }
}

QComboBox* DipDialog::list(int slot) const
{
    return slot >= 0 && slot < kDipDialogSlots ? control<QComboBox>(kDipSlotIds[slot].list) : nullptr;
}

QLabel* DipDialog::label(int slot) const
{
    return slot >= 0 && slot < kDipDialogSlots ? control<QLabel>(kDipSlotIds[slot].label) : nullptr;
}

QPushButton* DipDialog::button(int id) const { return control<QPushButton>(id); }

} // namespace vortastr
