#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QProgressBar>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "FakeShellService.h"
#include "RecordingMessageBoxService.h"
#include "TestResources.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/messages/DesktopLanguage.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "resources/PageAccessibility.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/progress/ApplyPage.h"
#include "ui/progress/DetectPage.h"
#include "ui/progress/InternetTestPage.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/GuidePage1.h"
#include "ui/wizard/GuidePage2.h"
#include "ui/wizard/GuidePage3.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ModemFoundPage.h"
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
    if (face == nullptr) return {};
    if (face->role() != QAccessible::ComboBox) return face->text(QAccessible::Name);
    const auto labels = face->relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
}

QString In(PageText text, PageLanguage language) {
    const std::string_view chosen = PageTextIn(text, language);
    return QString::fromUtf8(chosen.data(), static_cast<qsizetype>(chosen.size()));
}

// The wireless page opens from entries an earlier visit left, so that it asks no modem.
std::unique_ptr<CWizardPage> Wireless(const char* mode) {
    CopyText(Session().wlAuthModeSaved, mode);
    CopyText(Session().wlKeyIndexSaved, "1");
    auto page = std::make_unique<CWirelessPage>(ResourcePath("install08.bmp"), nullptr);
    page->SetRecord({});
    return page;
}

struct PageCase {
    const char* name;
    std::function<std::unique_ptr<CWizardPage>()> make;
    PageText heading;
    bool shown = true;  // progress pages are only built: showing one starts its work
};

template <typename Page, typename... Extra>
std::function<std::unique_ptr<CWizardPage>()> Make(const char* bitmap, Extra... extra) {
    return [=] { return std::make_unique<Page>(ResourcePath(bitmap), extra..., nullptr); };
}

const PageCase kPages[] = {
    {"home", Make<CHomePage>("home.bmp"), PageText::HomeTitle},
    {"guide1", Make<CGuidePage1>("install01.bmp"), PageText::CablesTitle},
    {"guide2", Make<CGuidePage2>("install02.bmp"), PageText::PowerTitle},
    {"guide3", Make<CGuidePage3>("install03.bmp"), PageText::PcTitle},
    {"found", Make<CModemFoundPage>("install04.bmp"), PageText::FoundTitle},
    {"isp", Make<CIspPage>("install06.bmp"), PageText::IspTitle},
    {"pppoe", Make<CPppPage>("install07.bmp", 1), PageText::PppoeTitle},
    {"pppoa", Make<CPppPage>("install07_pppoa.bmp", 0), PageText::PppoaTitle},
    {"mer", Make<CWanIpPage>("install07_mer.bmp", 1), PageText::WanTitle},
    {"wep", [] { return Wireless("WEP128"); }, PageText::WirelessTitle},
    {"wpa", [] { return Wireless("WPA"); }, PageText::WirelessTitle},
    {"finish", Make<CFinishPage>("install11.bmp"), PageText::FinishTitle},
    {"detect", Make<CDetectPage>("install05.bmp"), PageText::DetectTitle, false},
    {"apply", Make<CApplyPage>("install09.bmp"), PageText::ApplyTitle, false},
    {"test", Make<CInternetTestPage>("install10.bmp"), PageText::TestTitle, false},
};

// The controls a user acts on, as the page shows them.
std::vector<QWidget*> Actionable(const CWizardPage& page) {
    std::vector<QWidget*> found;
    for (const ControlTemplate& control : page.Template().controls) {
        QWidget* widget = page.Control(control.id);
        if (control.kind == ControlKind::Static || control.kind == ControlKind::ProgressBar ||
            widget->isHidden() || control.id == kIdOk || control.id == kIdCancel) {
            continue;
        }
        found.push_back(widget);
    }
    return found;
}

class AccessibilityTest : public ::testing::Test {
protected:
    AccessibilityTest() {
        for (PageLanguage language : kAllPageLanguages) {
            folder.AddLanguage(QLatin1String(LanguageFolderName(language)), QSize(600, 560),
                               QColor(250, 250, 250));
        }
    }

    // Calls check on every page in every language, the way a run shows it.
    void ForEveryPage(
        const std::function<void(CWizardPage&, const PageCase&, PageLanguage)>& check) {
        for (std::size_t i = 0; i < kAllPageLanguages.size(); ++i) {
            SetLanguage(Session(), static_cast<int>(i));
            for (const PageCase& c : kPages) {
                SCOPED_TRACE(std::string(c.name) + " in " +
                             LanguageFolderName(kAllPageLanguages[i]));
                const std::unique_ptr<CWizardPage> page = c.make();
                if (!c.shown) {
                    check(*page, c, kAllPageLanguages[i]);
                    continue;
                }
                UiDriver driver;
                driver.Then([&](CWizardPage& top) {
                    check(top, c, kAllPageLanguages[i]);
                    top.OnClose();
                });
                driver.Start();
                page->DoModal();
                EXPECT_TRUE(driver.Finished());
            }
        }
    }

    ScratchFolder folder;
    RecordingMessageBoxService boxes;
    FakeShellService shell;
    ScopedWizardContext context{WizardContext{&boxes, &shell, {}}};
};

TEST_F(AccessibilityTest, EveryPageIsNamedByItsHeadingAndEveryControlInThePagesLanguage) {
    ForEveryPage([](CWizardPage& page, const PageCase& c, PageLanguage language) {
        EXPECT_EQ(Read(&page, QAccessible::Name), In(c.heading, language));
        EXPECT_NE(Read(&page, QAccessible::Name), QStringLiteral("Orvane SetupPilot"));
        const PageAccessibility* entry = FindPageAccessibility(page.Template().id, false);
        if (entry->heading != c.heading) entry = FindPageAccessibility(page.Template().id, true);
        ASSERT_EQ(entry->heading, c.heading);
        const QString description = Read(&page, QAccessible::Description);
        EXPECT_FALSE(description.isEmpty());
        EXPECT_EQ(description.toStdString(), PageDescription(*entry, language));
        for (QWidget* control : Actionable(page)) {
            SCOPED_TRACE(control->objectName().toStdString());
            const PageText* text = FindControlName(*entry, control->objectName().toInt());
            ASSERT_NE(text, nullptr) << "a control the page does not name";
            EXPECT_EQ(NameOf(control), In(*text, language));
        }
        if (auto* bar = qobject_cast<QProgressBar*>(page.Control(kIdProgress))) {
            EXPECT_EQ(Read(bar, QAccessible::Name), In(c.heading, language));
        }
    });
}

TEST_F(AccessibilityTest, EveryControlAUserActsOnTakesFocusFromTheKeyboard) {
    ForEveryPage([](CWizardPage& page, const PageCase&, PageLanguage) {
        for (QWidget* control : Actionable(page)) {
            // Tab stops at the checked radio of a group; the arrow keys move within it.
            QWidget* stop = control;
            if (auto* radio = qobject_cast<QRadioButton*>(control)) {
                if (radio->group() && radio->group()->checkedButton()) {
                    stop = radio->group()->checkedButton();
                }
            }
            EXPECT_TRUE(stop->focusPolicy() & Qt::TabFocus) << control->objectName().toStdString();
        }
    });
}

// Spot checks against the words a reader sees, independent of the table's lookup.
TEST_F(AccessibilityTest, NamesAreTheWordsOnThePageAndFollowALanguageChange) {
    WizardContext flow{&boxes, &shell, {}};
    InstallWizardFlow(flow);
    ScopedWizardContext installed(std::move(flow));
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
        for (QObject* child : box->findChildren<QObject*>()) {
            if (Read(child, QAccessible::Name) == QStringLiteral("Modem not found")) read = true;
        }
        box->close();
    });
    QtMessageBoxService().Show(nullptr, "Modem not found", MessageIcon::Information);
    EXPECT_TRUE(read);
}

}  // namespace
