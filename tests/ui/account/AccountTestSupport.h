#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "core/messages/LocalizedMessages.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/RecordPage.h"
#include "ui/wizard/WizardContext.h"

using Values = std::vector<std::pair<int, QString>>;

// Sets template controls as the user would: edit and address texts, list entries by position
// ("3" runs the list's handler), check boxes and radios ("1" checks, "0" unchecks, by a click).
void Set(CWizardPage& page, const Values& values);
// What a control shows: its text (a blank address control gives ""), the selected list text, or
// "1"/"0" for a button; with "!" when it is hidden and "~" when it is disabled.
QString Get(const CWizardPage& page, int id);
QString Get(const CWizardPage& page, std::initializer_list<int> ids);  // joined by "|"
// A record full of non-zero bytes, to show what a page overwrites and what it keeps.
WizardSession FilledRecord();
bool AllZero(const void* data, std::size_t size);

// Remembered entries cleared, messages loaded in French (so a fixed English text would show),
// message boxes recorded and a wireless hook that keeps every record handed to it.
class AccountPageTest : public ::testing::Test {
protected:
    AccountPageTest();
    ~AccountPageTest() override;

    // The message box expected for a refusal (then any plain box) and the focused control.
    static std::string Refused(MessageId id, int focus, const std::string& plain = "");
    // Presses Next and tells what happened: "" when a record was handed to the wireless hook,
    // else the texts shown, then "@" and the focused control.
    std::string Next(CWizardPage& page);
    // The record the last Next handed on to the wireless page; a step without one ends with a
    // message.
    const WizardSession& HandedOn() const;
    // Runs the page's modal loop through the queued actions and a final Exit (or Back).
    void Run(CWizardPage& page, int lastButton = kIdExit);

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    std::optional<ScopedWizardContext> scope;
    std::vector<WizardSession> handedOn;
    UiDriver driver;
};
