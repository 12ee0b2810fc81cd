#include "screenshot.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <iostream>

#include "../core/cdio_drive_access.h"
#include "../core/command_line.h"
#include "about_dialog.h"
#include "explore_dialog.h"
#include "info_dialog.h"
#include "main_window.h"
#include "message_box.h"

namespace korvax {
namespace {

bool save(QWidget& widget, const std::string& file)
{
    widget.show();
    QApplication::processEvents();
    if (!widget.grab().save(QString::fromStdString(file), "PNG")) {
        std::cerr << "korvax: cannot write " << file << '\n';
        return false;
    }
    return true;
}

void selectItem(QListWidget* list, const QString& preferred)
{
    const auto found = list->findItems(preferred, Qt::MatchExactly);
    if (!found.isEmpty())
        list->setCurrentItem(found.front());
    else if (list->count() > 0)
        list->setCurrentRow(0);
}

} // namespace

int takeScreenshot(const std::string& what, const std::string& file, const std::vector<std::string>& images)
{
    setMessageBoxHandler([](QWidget*, const std::string& text, const std::string& caption) {
        std::cerr << caption << ' ' << text << '\n';
    });
    SystemDriveAccess access;
    std::string firstImage;
    for (const std::string& image : images)
        if (auto drive = access.addImage(image); drive && firstImage.empty())
            firstImage = drive->name;

    if (what == "main") {
        MainWindow window(access, nullptr);
        return save(window, file) ? 0 : 1;
    }
    if (what == "menu") {
        // The main window with its File menu drawn open beneath the menu bar.
        MainWindow window(access, nullptr);
        window.show();
        QMenu* menu = window.menuBar()->actions().front()->menu();
        menu->popup(window.mapToGlobal(QPoint(0, window.menuBar()->height())));
        QApplication::processEvents();
        const QPixmap base = window.grab();
        const QPixmap open = menu->grab();
        QPixmap picture(base.width(), std::max(base.height(), window.menuBar()->height() + open.height()));
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, base);
        painter.drawPixmap(0, window.menuBar()->height(), open);
        painter.end();
        menu->hide();
        if (!picture.save(QString::fromStdString(file), "PNG")) {
            std::cerr << "korvax: cannot write " << file << '\n';
            return 1;
        }
        return 0;
    }
    if (what == "about") {
        AboutDialog about;
        return save(about, file) ? 0 : 1;
    }
    if (what != "explore" && what != "info") {
        std::cerr << "korvax: --screenshot takes main, menu, explore, info or about\n";
        return 2;
    }
    ScannerState state;
    ExploreDialog explore(state, access);
    if (!explore.populate())
        return 1;
    explore.driveList()->setCurrentRow(0);
    explore.selectDrive(firstImage);
    explore.scanButton()->click();
    selectItem(explore.aipList(), QStringLiteral("0.BIN"));
    if (what == "explore")
        return save(explore, file) ? 0 : 1;

    const auto selected = explore.aipList()->selectedItems();
    if (selected.isEmpty())
        return 1;
    for (const AipEntry& entry : state.aips.entries)
        if (QString::fromUtf8(printableItem(entry.name)) == selected.front()->text())
            state.selectedAip = entry;
    InfoDialog info(state, access);
    if (!info.load())
        return 1;
    return save(info, file) ? 0 : 1;
}

} // namespace korvax
