// hdrforge: with options it works on files from the command line without a window;
// without options it opens the editor form.
#include <QApplication>
#include <iostream>

#include "command_line.h"
#include "frmNES.h"
#include "screenshots.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (isScreenshotRequest(args)) return makeScreenshot(argc, argv, args);
    if (!args.empty()) return hdrforge::runCommandLine(args, std::cout, std::cerr);

    QApplication app(argc, argv);
    frmNES form;
    form.show();
    return app.exec();
}
