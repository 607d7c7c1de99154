#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <memory>
#include <string_view>

#include "AccountTestSupport.h"
#include "RecordingMessageBoxService.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/wizard/ResourcePath.h"

namespace {

// The account pages on the backgrounds the build renders, in every language, with their
// optional fields shown: <build>/screenshots/<Language>/<page>.png.
TEST(AccountScreenshots, EveryPageInEveryLanguage) {
    const QString res = QStringLiteral(BUNDLE_RES_DIR);
    if (!QDir(res).exists()) GTEST_SKIP() << "no rendered backgrounds in " << BUNDLE_RES_DIR;
    QTemporaryDir scratch;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QFile::link(res, scratch.filePath(QStringLiteral("res"))));
    QDir::setCurrent(scratch.path());
    RecordingMessageBoxService boxes;
    ScopedWizardContext context(WizardContext{&boxes, nullptr, {}});

    // Each page with its optional fields shown.
    const std::pair<const char*, Values> pages[] = {
        {"isp", {}},
        {"ppp_pppoe", {{CPppPage::kIdServiceNameBox, "1"}, {CPppPage::kIdStaticIpBox, "1"}}},
        {"ppp_pppoa", {{CPppPage::kIdStaticIpBox, "1"}}},
        {"wan_mer",
         {{CWanIpPage::kIdIpFixed, "1"},
          {CWanIpPage::kIdGatewayFixed, "1"},
          {CWanIpPage::kIdDnsFixed, "1"},
          {CWanIpPage::kIdIpAddress, "192.168.1.10"}}},
        {"wan_ipoa", {}},
    };
    const auto make = [](std::string_view name) -> std::unique_ptr<CWizardPage> {
        if (name == "isp")
            return std::make_unique<CIspPage>(ResourcePath("install06.bmp"), nullptr);
        if (name == "ppp_pppoe")
            return std::make_unique<CPppPage>(ResourcePath("install07.bmp"), 1, nullptr);
        if (name == "ppp_pppoa")
            return std::make_unique<CPppPage>(ResourcePath("install07_pppoa.bmp"), 0, nullptr);
        return std::make_unique<CWanIpPage>(ResourcePath("install07_mer.bmp"), name == "wan_mer",
                                            nullptr);
    };
    const char* languages[] = {"English", "French", "German", "Italian", "Spanish"};
    for (int index = 0; index < 5; ++index) {
        const char* language = languages[index];
        const QString folder = QStringLiteral(SCREENSHOTS_DIR "/") + language;
        Session().languageIndex = index;
        CopyText(Session().languageFolder, std::string("res/") + language);
        for (const auto& [name, values] : pages) {
            const QString file = QDir(folder).filePath(QString::fromLatin1(name) + ".png");
            QFile::remove(file);
            std::unique_ptr<CWizardPage> page = make(name);
            UiDriver driver;
            driver.Then([&](CWizardPage& top) { Set(top, values); })
                .Screenshot(folder, name)
                .Click(kIdExit)
                .Start();
            page->DoModal();
            EXPECT_EQ(QImage(file).size(), QSize(kPageWidthPx, kPageHeightPx))
                << file.toStdString();
        }
    }
    Session().languageIndex = 0;
    CopyText(Session().languageFolder, "res/English");
    QDir::setCurrent(previous);
}

}  // namespace
