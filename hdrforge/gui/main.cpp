// hdrforge: with options it works on files from the command line without a window;
// without options it opens the editor form, and with one file name it opens that file in it.
#include <QApplication>
#include <iostream>

#include "command_line.h"
#include "frmNES.h"
#include "screenshots.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (isScreenshotRequest(args))
        return makeScreenshot(argc, argv, args);
    bool openFile = args.size() == 1 && !args[0].empty() && args[0][0] != '-';
    if (!args.empty() && !openFile)
        return hdrforge::runCommandLine(args, std::cout, std::cerr);

    QApplication app(argc, argv);
    frmNES form;
    form.show();
    if (openFile)
        form.openFile(QString::fromLocal8Bit(args[0].c_str()));
    return app.exec();
}
