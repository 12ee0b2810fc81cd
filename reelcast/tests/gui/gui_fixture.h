#pragma once
// Shared pieces of the window tests: the application object, recorded message boxes and file
// choices, and a settings file of the test's own.

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

#include "gui/gui_services.h"

namespace reelcast::test {

// Made by the test program's main().
inline QApplication& app() { return *static_cast<QApplication*>(QApplication::instance()); }

struct ShownMessage {
    QWidget* owner;
    QMessageBox::Icon icon;
    QString title, text;
};

// Message boxes answer at once (Ok, or the answer set for a title); file choosers return what the
// test set and remember what they were offered.
struct FakeDesktop {
    std::vector<ShownMessage> messages;
    std::map<QString, int> answers;
    QString movieToOpen, aviToSave, proposedAvi;
    GuiServices services;

    FakeDesktop()
    {
        services.message = [this](QWidget* owner, QMessageBox::Icon icon, const QString& title, const QString& text,
                                  QMessageBox::StandardButtons) {
            messages.push_back({owner, icon, title, text});
            auto it = answers.find(title);
            return it == answers.end() ? int(QMessageBox::Ok) : it->second;
        };
        services.openMovie = [this](QWidget*, const QString&) { return movieToOpen; };
        services.saveAvi = [this](QWidget*, const QString& proposed) {
            proposedAvi = proposed;
            return aviToSave;
        };
    }
    int count(const QString& text) const
    {
        int n = 0;
        for (const auto& m : messages)
            n += m.text == text;
        return n;
    }
    QStringList texts() const
    {
        QStringList l;
        for (const auto& m : messages)
            l << m.title + ": " + m.text;
        return l;
    }
};

inline QString sharedMovie(const char* name) { return QString(SUITE_TESTDATA_DIR) + "/movies/" + name; }

} // namespace reelcast::test
