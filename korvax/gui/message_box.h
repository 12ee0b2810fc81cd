// Message boxes of the dialogs. Tests install a handler to see the text and caption instead of
// a modal box.
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace korvax {

using MessageBoxHandler = std::function<void(QWidget* owner, const std::string& text, const std::string& caption)>;

// Shows a message box with the exclamation icon, owned by `owner`.
void showMessageBox(QWidget* owner, const std::string& text, const std::string& caption);

// Replaces how message boxes are shown; an empty handler restores the real boxes. Returns the
// previous handler.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

} // namespace korvax
