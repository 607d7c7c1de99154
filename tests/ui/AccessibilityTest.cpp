#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <string>

#include "FakeShellService.h"
#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/messages/DesktopLanguage.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"
#include "resources/PageAccessibility.h"
#include "ui/progress/ApplyPage.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

QString Read(QObject* object, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face == nullptr ? QString() : face->text(what);
}

// A drop-down list is named by the label it is labelled by, as readers on this desktop take it.
QString NameOf(QWidget* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    if (face == nullptr || face->role() != QAccessible::ComboBox)
        return Read(control, QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

QString In(PageText text, PageLanguage language) {
    return QString::fromStdString(std::string(PageTextIn(text, language)));
}

using S = WizardStep;

struct PageCase {
    const char* name;
    WizardStep step;  // the step that opens the page
    PageText heading;
    const char* wireless = "";  // the mode an earlier visit left, so no modem is asked
};

const PageCase kPages[] = {
    {"home", S::HomeRelanguage, PageText::HomeTitle},
    {"guide1", S::HomeStart, PageText::CablesTitle},
    {"isp", S::ModemFoundNext, PageText::IspTitle},
    {"pppoe", S::IspNextPppoe, PageText::PppoeTitle},
    {"pppoa", S::IspNextPppoa, PageText::PppoaTitle},
    {"mer", S::IspNextMer, PageText::WanTitle},
    {"wep", S::AccountNext, PageText::WirelessTitle, "WEP128"},
    {"wpa", S::AccountNext, PageText::WirelessTitle, "WPA"},
    {"finish", S::InternetWorks, PageText::FinishTitle},
};

class AccessibilityTest : public ::testing::Test {
protected:
    AccessibilityTest() {
        for (PageLanguage language : kAllPageLanguages)
            folder.AddLanguage(LanguageFolderName(language), QSize(600, 560),
                               QColor(250, 250, 250));
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    FakeShellService shell;
    ScopedWizardContext context{[this] {
        WizardContext flow{&boxes, &shell, {}};
        InstallWizardFlow(flow);
        return flow;
    }()};
};

// Each page as a run shows it, in two languages of different lengths: named by its heading,
// described by its body, every control a user acts on named and reachable by Tab.
TEST_F(AccessibilityTest, EveryPageIsNamedByItsHeadingAndEveryControlNamedAndReachable) {
    for (PageLanguage language : {PageLanguage::English, PageLanguage::German}) {
        SetLanguage(Session(), static_cast<int>(language));
        const auto check = [language](CWizardPage& page, PageText heading) {
            EXPECT_EQ(Read(&page, QAccessible::Name), In(heading, language));
            const PageAccessibility* entry =
                FindPageAccessibility(page.Template().id, heading == PageText::PppoaTitle);
            const std::string description = PageDescription(*entry, language);
            EXPECT_FALSE(description.empty());
            EXPECT_EQ(Read(&page, QAccessible::Description).toStdString(), description);
            for (const ControlTemplate& one : page.Template().controls) {
                QWidget* control = page.Control(one.id);
                if (one.kind == ControlKind::Static || one.kind == ControlKind::ProgressBar ||
                    control->isHidden() || one.id == kIdOk || one.id == kIdCancel)
                    continue;
                SCOPED_TRACE(one.id);
                const PageText* text = FindControlName(*entry, one.id);
                ASSERT_NE(text, nullptr) << "a control the page does not name";
                EXPECT_EQ(NameOf(control), In(*text, language));
                // Tab stops at the checked radio of a group; the arrow keys move within it.
                auto* radio = qobject_cast<QRadioButton*>(control);
                if (radio != nullptr && radio->group() && radio->group()->checkedButton())
                    control = radio->group()->checkedButton();
                EXPECT_TRUE(control->focusPolicy() & Qt::TabFocus);
            }
            if (auto* bar = qobject_cast<QProgressBar*>(page.Control(kIdProgress))) {
                EXPECT_EQ(Read(bar, QAccessible::Name), In(heading, language));
            }
        };
        // A progress page is only built: showing one starts its work.
        CApplyPage apply(ResourcePath("install09.bmp"), nullptr);
        check(apply, PageText::ApplyTitle);
        for (const PageCase& c : kPages) {
            SCOPED_TRACE(std::string(c.name) + " in " + LanguageFolderName(language));
            CopyText(Session().wlSsidSaved, "home");
            CopyText(Session().wlAuthModeSaved, c.wireless);
            CopyText(Session().wlKeyIndexSaved, "1");
            UiDriver driver;
            driver.Then([&](CWizardPage& top) {
                check(top, c.heading);
                top.OnClose();
            });
            driver.Start();
            const WizardSession record{};
            OpenStep(c.step, nullptr, &record);
            EXPECT_TRUE(driver.Finished());
        }
    }
}

// Spot checks against the words a reader sees, independent of the table's lookup.
TEST_F(AccessibilityTest, NamesAreTheWordsOnThePageAndFollowALanguageChange) {
    SetLanguage(Session(), 3);
    QStringList seen;
    UiDriver driver;
    auto read = [&](CWizardPage& top) {
        auto* start = top.Control(CHomePage::kIdStart);
        seen << Read(&top, QAccessible::Name) << Read(start, QAccessible::Name)
             << Read(start, QAccessible::Description)
             << Read(top.Control(CHomePage::kIdClose), QAccessible::Name);
    };
    driver.Then(read)
        .Click(CHomePage::kIdFirstLanguageButton + 1)
        .Then(read)
        .Then([](CWizardPage& top) { top.OnClose(); });
    driver.Start();
    CHomePage home(ResourcePath("home.bmp"), nullptr);
    home.DoModal();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(seen, (QStringList{"Benvenuti", "Avvia", "Click to start!", "Chiudi", "Bienvenue",
                                 "Démarrer", "Click to start!", "Fermer"}));
    EXPECT_EQ(home.windowTitle(), QStringLiteral("Orvane SetupPilot"));
}

TEST_F(AccessibilityTest, AMessageBoxExposesItsText) {
    bool read = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        for (QObject* child : box->findChildren<QObject*>())
            read |= Read(child, QAccessible::Name) == "Modem not found";
        box->close();
    });
    QtMessageBoxService().Show(nullptr, "Modem not found", MessageIcon::Information);
    EXPECT_TRUE(read);
}

}  // namespace
