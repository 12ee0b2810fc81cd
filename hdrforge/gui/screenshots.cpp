#include "screenshots.h"

#include <QApplication>
#include <QPixmap>
#include <iostream>

#include "frmAbout.h"
#include "frmNES.h"

bool isScreenshotRequest(const std::vector<std::string>& args)
{
    return !args.empty() && (args[0] == "--screenshot-form" || args[0] == "--screenshot-about");
}

static int savePicture(QWidget& widget, const std::string& out)
{
    widget.show();
    QApplication::processEvents();
    if (!widget.grab().save(QString::fromStdString(out), "PNG")) {
        std::cerr << "Cannot write \"" << out << "\"\n";
        return 1;
    }
    return 0;
}

int makeScreenshot(int argc, char** argv, const std::vector<std::string>& args)
{
    bool form = args[0] == "--screenshot-form";
    if (args.size() < 2 || args.size() > (form ? 3u : 2u)) {
        std::cerr << "hdrforge: " << args[0] << " takes OUT.png" << (form ? " [FILE]" : "") << "\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!form) {
        frmAbout about;
        return savePicture(about, args[1]);
    }
    frmNES editor;
    if (args.size() == 3)
        editor.openFile(QString::fromLocal8Bit(args[2].c_str()));
    return savePicture(editor, args[1]);
}
