#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "RecordingMessageBoxService.h"
#include "SessionBuilders.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

// Runs a wireless page modally over owner, as its opener's Next does; calls inspect once the page
// is the visible top page, then ends the page unless inspect did.
inline void RunWirelessPage(QWidget* owner, const std::function<void(CWirelessPage&)>& inspect,
                            const WizardSession& record = {},
                            const ExchangeLimits& limits = kDefaultLimits) {
    CWirelessPage page(ResourcePath("install08.bmp"), owner, limits);
    page.SetRecord(record);
    UiDriver driver;
    driver.When("CWirelessPage", [&](CWizardPage& top) {
        inspect(UiDriver::Expect<CWirelessPage>(top));
        if (top.isVisible()) top.OnClose();
    });
    driver.Start();
    page.DoModal();
    EXPECT_TRUE(driver.Finished());
}

inline QComboBox* ListOf(CWirelessPage& page, int id) {
    return qobject_cast<QComboBox*>(page.Control(id));
}
inline QLineEdit* EditOf(CWirelessPage& page, int id) {
    return qobject_cast<QLineEdit*>(page.Control(id));
}
inline std::string TextIn(CWirelessPage& page, int id) {
    return EditOf(page, id)->text().toStdString();
}
// A choice by the user: selection and its change notification.
inline void Choose(CWirelessPage& page, int listId, int position) {
    QComboBox* list = ListOf(page, listId);
    list->setCurrentIndex(position);
    emit list->activated(position);
}

// A session whose wireless entries are cleared, with the messages of a language, a plain owner
// page, a recorded message box and successor hooks that only note what they were given.
class WirelessTest : public ::testing::Test {
protected:
    explicit WirelessTest(int language = 0) {
        folder.AddLanguage(QStringLiteral("English"), QSize(600, 560), QColor(230, 240, 250));
        FreshSession();
        SessionFields& s = Session();
        CopyText(s.modemIpAddress, "127.0.0.199");
        s.languageIndex = language;
        LoadLocalizedMessages(s);
        owner.resize(600, 560);
        owner.show();
    }

    // Entries as an earlier visit left them (mode text, SSID, channel, keys, key number).
    static void Remember(const char* mode, const char* ssid, const char* channel = "0",
                         const std::array<std::string, 4>& keys = {}, const char* keyIndex = "1") {
        SessionFields& s = Session();
        CopyText(s.wlAuthModeSaved, mode);
        CopyText(s.wlSsidSaved, ssid);
        CopyText(s.wlChannelSaved, channel);
        char* const saved[] = {s.wlKey1Saved, s.wlKey2Saved, s.wlKey3Saved, s.wlKey4Saved};
        for (int i = 0; i < 4; ++i) CopyText(saved[i], kRememberedSize, keys[i]);
        CopyText(s.wlKeyIndexSaved, keyIndex);
    }

    // A context whose wireless page successors only record that they were asked for.
    WizardContext RecordingSteps() {
        WizardContext steps{&boxes, nullptr, {}};
        steps[WizardStep::WirelessNextApply] = [this](QWidget*, const WizardSession* record) {
            applied = *record;
        };
        steps[WizardStep::WirelessNextApplied] = [this](QWidget*, const WizardSession*) {
            ++internetTests;
        };
        return steps;
    }

    std::string LastBox() const {
        return boxes.Entries().empty() ? std::string() : boxes.Entries().back().text;
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    std::optional<WizardSession> applied;
    int internetTests = 0;
    ScopedWizardContext context{RecordingSteps()};
    CWizardPage owner{kTemplateGuide1, ResourcePath("install01.bmp"), nullptr};
};
