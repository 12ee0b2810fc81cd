#include "message_box.h"

#include <QMessageBox>

namespace korvax {
namespace {

MessageBoxHandler& currentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

} // namespace

void showMessageBox(QWidget* owner, const std::string& text, const std::string& caption)
{
    if (currentHandler()) {
        currentHandler()(owner, text, caption);
        return;
    }
    QMessageBox::warning(owner, QString::fromStdString(caption), QString::fromStdString(text));
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace korvax
