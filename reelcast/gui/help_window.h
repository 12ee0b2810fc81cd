#pragma once
// The help window: the HTML help page installed beside the program, shown at its contents.

#include <QTextBrowser>

namespace reelcast {

inline constexpr const char* kHelpFileName = "REELCAST.html";

class HelpWindow : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    bool openHelp(const QString& path); // false when the page cannot be read
};

} // namespace reelcast
