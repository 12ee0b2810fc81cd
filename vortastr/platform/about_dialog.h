#pragma once
// The About box (dialog 106).
#include "platform/dialog_builder.h"
#include "resources/about_text.h"

namespace vortastr {

class AboutDialog : public LayoutDialog {
    Q_OBJECT
public:
    AboutDialog(const AboutText& text, QWidget* parent);
};

} // namespace vortastr
