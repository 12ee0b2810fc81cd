#pragma once
// The About box (dialog 106).
#include "platform/dialog_builder.h"
#include "resources/about_text.h"

namespace vortastr {

class AboutDialog : public LayoutDialog {
    Q_OBJECT
public:
    AboutDialog(const AboutText& text, QWidget* parent);
    // Escape and the close box end the box with command 2, as Cancel would.
    void reject() override;
};

} // namespace vortastr
