// korvax: the window, or the command line when a command option is given.
#include <QApplication>
#include <QFile>
#include <iostream>

#include "../core/command_line.h"
#include "main_window.h"
#include "program_icon.h"
#include "screenshot.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);

    // Hidden: --screenshot WHAT FILE.png [IMAGE...], drawn offscreen.
    if (!args.empty() && args.front() == "--screenshot") {
        if (args.size() < 3) {
            std::cerr << "korvax: --screenshot WHAT FILE.png [IMAGE...]\n";
            return 2;
        }
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return korvax::takeScreenshot(args[1], args[2], {args.begin() + 3, args.end()});
    }

    const korvax::Command command = korvax::parseCommandLine(args);
    if (command.kind != korvax::CommandKind::Gui) {
        korvax::SystemDriveAccess access;
        return korvax::runCommand(command, access, std::cout, std::cerr);
    }

    QApplication app(argc, argv);
    app.setWindowIcon(korvax::programIcon());
    korvax::SystemDriveAccess access;
    korvax::MainWindow window(access, [&access](const std::string& path) { return access.addImage(path); });
    window.show();
    // Images named on the command line join the drive list (Qt's own options are gone by now).
    const QStringList remaining = app.arguments();
    for (qsizetype i = 1; i < remaining.size(); ++i)
        window.addImage(QFile::encodeName(remaining[i]).toStdString());
    return app.exec();
}
