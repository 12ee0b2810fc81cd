// Views that record what the scanner asks of its dialogs.
#pragma once

#include <functional>
#include <map>

#include "core/scanner.h"

namespace korvax::test {

struct Message {
    std::string text;
    std::string caption;
    bool operator==(const Message&) const = default;
};

class RecordingInfoView : public InfoView {
public:
    std::vector<Message> messages;
    std::map<int, std::string> fields;
    bool closed = false;
    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.push_back({text, caption});
    }
    void setField(int field, const std::string& text) override { fields[field] = text; }
    void closeDialog() override { closed = true; }
};

class RecordingExploreView : public ExploreView {
public:
    std::vector<Message> messages;
    std::vector<std::string> driveItems;
    std::vector<std::string> aipItems;
    std::optional<std::string> selectedDrive;
    std::optional<std::string> selectedAip;
    int infoDialogsOpened = 0;
    bool closed = false;
    std::function<void()> onInfoDialog;

    void showMessage(const std::string& text, const std::string& caption) override
    {
        messages.push_back({text, caption});
    }
    void addDriveItem(const std::string& text) override { driveItems.push_back(text); }
    void clearAipItems() override { aipItems.clear(); }
    void addAipItem(const std::string& text) override { aipItems.push_back(text); }
    std::optional<std::string> selectedDriveItem() override { return selectedDrive; }
    std::optional<std::string> selectedAipItem() override { return selectedAip; }
    void openInfoDialog() override
    {
        ++infoDialogsOpened;
        if (onInfoDialog)
            onInfoDialog();
    }
    void closeDialog() override { closed = true; }
};

} // namespace korvax::test
