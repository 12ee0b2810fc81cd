#include "platform/screenshots.h"

#include "platform/main_window.h"
#include "platform/qt_host.h"
#include "resources/menu_resource.h"
#include "resources/resource_ids.h"
#include "shell/startup.h"
#include "shell/window_procedure.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QThread>

#include <iostream>

namespace vortastr {
namespace {

// A store that holds nothing and keeps nothing, so the pictures show the defaults.
class NoSettings : public SettingsStore {
public:
    bool openForReading() override { return false; }
    std::optional<int32_t> readDword(const std::string&) override { return std::nullopt; }
    bool openForWriting() override { return false; }
    void writeDword(const std::string&, int32_t) override {}
    bool commit() override { return false; }
};

void settle()
{
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
}

class Writer {
public:
    explicit Writer(const QString& folder) : folder_(folder) {}
    void save(const QImage& image, const QString& name)
    {
        const QString path = folder_.filePath(name);
        if (!image.save(path, "png")) {
            std::cerr << "vortastr: couldn't write " << path.toStdString() << '\n';
            ok_ = false;
            return;
        }
        std::cout << path.toStdString() << '\n';
    }
    bool ok() const { return ok_; }

private:
    QDir folder_;
    bool ok_ = true;
};

QString fileNameOf(const QMenu* menu) { return menu->objectName().remove(' ').toLower(); }

} // namespace

QImage grabWithPopups(QWidget& window, const QList<QWidget*>& popups)
{
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    QRect area(origin, window.size());
    for (QWidget* popup : popups)
        area = area.united(popup->geometry());
    QImage canvas(area.size(), QImage::Format_RGB32);
    canvas.fill(QColor(0x40, 0x40, 0x40));
    QPainter painter(&canvas);
    painter.drawPixmap(origin - area.topLeft(), window.grab());
    for (QWidget* popup : popups)
        painter.drawPixmap(popup->geometry().topLeft() - area.topLeft(), popup->grab());
    return canvas;
}

bool writeScreenshots(const std::string& folder)
{
    if (!QDir().mkpath(QString::fromStdString(folder))) {
        std::cerr << "vortastr: couldn't create " << folder << '\n';
        return false;
    }
    Writer writer(QString::fromStdString(folder));
    Emulator emu;
    QtHost host(false);
    NoSettings settings;
    emu.host = &host;
    prepareStartUp(emu, settings, LaunchOptions{});
    host.createMainWindow(emu);
    startDisplay(emu, host);
    emu.run.soundEnabled = 1;
    MainWindow& window = *host.mainWindow();
    window.move(40, 40);
    settle();

    writer.save(grabWithPopups(window, {}), "window-1x.png");
    dispatchCommand(emu, CmdScale2);
    settle();
    writer.save(grabWithPopups(window, {}), "window-2x.png");

    for (QMenu* menu : window.topMenus()) {
        QMenuBar* bar = qobject_cast<QMenuBar*>(menu->menuAction()->associatedObjects().value(0));
        const QPoint at = bar ? bar->mapToGlobal(bar->actionGeometry(menu->menuAction()).bottomLeft())
                              : window.mapToGlobal(QPoint(0, 0));
        menu->popup(at);
        settle();
        QList<QWidget*> popups{menu};
        writer.save(grabWithPopups(window, popups), "menu-" + fileNameOf(menu) + ".png");
        // The Game menu's sub-menus, each opened beside it.
        for (QAction* action : menu->actions()) {
            QMenu* sub = action->menu();
            if (!sub)
                continue;
            menu->setActiveAction(action);
            sub->popup(menu->mapToGlobal(menu->actionGeometry(action).topRight()));
            settle();
            writer.save(grabWithPopups(window, {menu, sub}),
                        "menu-" + fileNameOf(menu) + "-" + sub->title().toLower() + ".png");
            sub->hide();
        }
        menu->hide();
        settle();
    }
    dispatchCommand(emu, CmdScale1);
    settle();

    auto grabDialog = [&](const QString& name) {
        return [&, name](QDialog& dialog) {
            dialog.show();
            settle();
            writer.save(dialog.grab().toImage(), name);
            dialog.done(0);
            return 0;
        };
    };
    host.setDialogRunner(grabDialog("about.png"));
    dispatchCommand(emu, CmdAbout);
    host.setDialogRunner(grabDialog("dip-game9.png"));
    dispatchCommand(emu, CmdSetDipswitches);

    displayShutdown(emu.display);
    host.destroyMainWindow();
    return writer.ok();
}

} // namespace vortastr
