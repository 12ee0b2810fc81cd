// "ROM Audit..." from the File menu: the dialog shows the rows the audit gives, in either order.
#include "boards/rom_audit.h"
#include "boards/rom_files.h"
#include "platform/audit_dialog.h"
#include "platform/main_window.h"
#include "platform/qt_host.h"
#include "resources/resource_ids.h"
#include "shell/startup.h"
#include "tests/fakes.h"
#include "tests/game_fixtures.h"
#include "tests/zip_writer.h"

#include <QApplication>
#include <QComboBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace vortastr::test {
namespace {

struct Row {
    std::string game, verdict;
    int files = 0;
    bool operator==(const Row&) const = default;
};

std::vector<Row> rowsOf(const QTreeWidget& table)
{
    std::vector<Row> rows;
    for (int i = 0; i < table.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = table.topLevelItem(i);
        rows.push_back({item->text(0).toStdString(), item->text(2).toStdString(), item->childCount()});
    }
    return rows;
}

std::vector<Row> rowsOf(std::vector<GameAudit> audits, AuditOrder order)
{
    sortAudits(audits, order);
    std::vector<Row> rows;
    for (const GameAudit& a : audits)
        rows.push_back({auditGameName(a.game), auditVerdict(a), static_cast<int>(a.files.size())});
    return rows;
}

TEST(AuditDialogGui, TheFileMenuShowsTheAuditsRowsInBothOrders)
{
    forgetRomArchives();
    TempFolder roms;
    writeTestRomSet(roms);
    TempFolder zipped;
    writeBlankRomSet(zipped, HyperSports);
    writeZip(roms.path() / "hyperspt.zip", folderMembers(zipped.path() / "hyperspt"));
    writeBlankRomSet(roms, Tutankham);
    std::filesystem::resize_file(romFile(roms, "tutankhm\\ra1_9i.cpu"), 10);

    Emulator emu;
    QtHost host(false);
    MemoryStore store;
    store.exists = false;
    emu.host = &host;
    LaunchOptions options;
    options.romPath = roms.str();
    prepareStartUp(emu, store, options);
    ASSERT_TRUE(host.createMainWindow(emu));
    ASSERT_TRUE(startDisplay(emu, host));

    std::vector<Row> shownFirst, shownByGame;
    QString title, wrongFile;
    host.setDialogRunner([&](QDialog& d) {
        auto& dialog = static_cast<AuditDialog&>(d);
        title = dialog.windowTitle();
        dialog.show();
        shownFirst = rowsOf(*dialog.table());
        for (int i = 0; i < dialog.table()->topLevelItemCount(); ++i)
            for (int f = 0; f < dialog.table()->topLevelItem(i)->childCount(); ++f)
                if (dialog.table()->topLevelItem(i)->child(f)->text(2).startsWith("wrong size"))
                    wrongFile = dialog.table()->topLevelItem(i)->child(f)->text(0) + " " +
                                dialog.table()->topLevelItem(i)->child(f)->text(2);
        dialog.orderChoice()->setCurrentIndex(1);
        shownByGame = rowsOf(*dialog.table());
        dialog.reject();
        return dialog.result();
    });
    host.mainWindow()->menuAction(CmdRomAudit)->trigger();
    host.destroyMainWindow();

    const auto audits = auditGames(roms.str());
    EXPECT_EQ(title, "ROM Audit");
    EXPECT_EQ(shownFirst, rowsOf(audits, AuditOrder::IncompleteFirst));
    EXPECT_EQ(shownByGame, rowsOf(audits, AuditOrder::ByGame));
    ASSERT_GE(shownFirst.size(), 3u);
    EXPECT_EQ(shownFirst[shownFirst.size() - 3].verdict, "1 wrong size");
    EXPECT_EQ(shownFirst.back().game, "Vorta Strike");
    EXPECT_EQ(shownFirst.back().verdict, "complete");
    EXPECT_EQ(wrongFile, "tutankhm/ra1_9i.cpu wrong size (10 bytes)");
    forgetRomArchives();
}

} // namespace
} // namespace vortastr::test
