// The three progress pages against simulated modems on loopback: each page mid-progress, and
// every message box they show (a real QMessageBox, grabbed).
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "ModemSim.h"
#include "PageShots.h"
#include "ProgressTestSupport.h"
#include "UiDriver.h"
#include "app/WizardFlow.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/session/WizardSession.h"
#include "detection/adapters/NetworkAdapters.h"
#include "ui/progress/ProgressSettings.h"
#include "ui/services/MessageBoxService.h"
#include "ui/wizard/GuidePage3.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr int kWorkMs = 600;  // how long the simulated modem keeps each page working
constexpr int kShotMs = 300;  // when the page is saved, after it showed
// Two boxes per detection failure, one per apply failure, five test results.
constexpr int kBoxesPerLanguage = 8;

// Shows every box for real, saves it and closes it again.
class GrabbingBoxes final : public MessageBoxService {
public:
    void Show(QWidget* owner, std::string_view text, MessageIcon icon) override {
        QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
        if (icon == MessageIcon::Exclamation) boxIcon = QMessageBox::Warning;
        if (icon == MessageIcon::Question) boxIcon = QMessageBox::Question;
        if (icon == MessageIcon::Information) boxIcon = QMessageBox::Information;
        if (icon == MessageIcon::Error) boxIcon = QMessageBox::Critical;
        QMessageBox box(boxIcon, QString::fromStdString(MessageCaption()),
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                        QMessageBox::Ok, owner);
        box.show();
        QDir().mkpath(folder);
        const QString name = QStringLiteral("message_%1_%2.png").arg(flow).arg(++count);
        saved += box.grab().save(QDir(folder).filePath(name), "PNG") ? 1 : 0;
    }
    QString folder;
    QString flow;
    int count = 0;
    int saved = 0;
};

// Saves the page kShotMs after it showed; counts the pictures it could not write.
PageScript::Action ShootLater(const QString& folder, const QString& name, int& lost) {
    return [folder, name, &lost](CWizardPage& page) {
        ++lost;
        QTimer::singleShot(kShotMs, &page, [&page, folder, name, &lost] {
            if (UiDriver::SavePage(page, folder, name)) --lost;
        });
    };
}

// Guide page 3 opens the detection page; steps follow what it shows.
void Detect(GrabbingBoxes& boxes, const QString& flow,
            const std::function<void(PageScript&)>& steps) {
    boxes.flow = flow;
    boxes.count = 0;
    PageScript script;
    script.When("CGuidePage3", [](CWizardPage& top) { top.OnNext(); });
    steps(script);
    script.Start();
    CGuidePage3 guide(ResourcePath("install03.bmp"), nullptr);
    guide.DoModal();
    WaitForWorkers(10000);
}

// Eight plain pages, the top one opening a progress page; steps follow what it shows, and when
// the progress page fails, the page shown again ends the run.
void FromWireless(GrabbingBoxes& boxes, const QString& flow,
                  const std::function<void(PageScript&)>& steps,
                  const std::function<void(CWizardPage&)>& open) {
    boxes.flow = flow;
    boxes.count = 0;
    std::vector<std::unique_ptr<StandInPage>> pages;
    PageScript script;
    steps(script);
    // The page a failure leaves on top: the wireless page (apply) or the seventh beneath (test).
    script.When(
        [&pages](CWizardPage& top) {
            for (std::size_t i = 1; i < pages.size(); ++i) {
                if (&top == pages[i].get() && !pages[i]->reshows.empty()) return true;
            }
            return false;
        },
        [](CWizardPage& top) { top.OnExit(); });
    script.Start();
    RunStack(pages, 8, open);
    DestroyStack(pages);
    WaitForWorkers(10000);
}

int Shoot(GrabbingBoxes& boxes, const QString& folder) {
    int lost = 0;
    boxes.folder = folder;
    auto exit = [](CWizardPage& top) { top.OnExit(); };
    WizardSession record{};
    record.ntwkPrtcl = kProtocolBridging;
    record.atmVpi = 8;
    record.atmVci = 35;
    CopyText(record.wlAuthMode, "open");
    CopyText(record.wlSsid, "Home");
    auto apply = [record](CWizardPage& wireless) {
        OpenStep(WizardStep::WirelessNextApply, &wireless, &record);
    };
    auto test = [](CWizardPage& wireless) { OpenStep(WizardStep::WirelessNextApplied, &wireless); };

    {  // Detection mid-progress, then the found-modem page.
        ModemSim modem("127.0.0.220");
        modem.SetFault(RequestKind::LanTest, {FaultMode::Delay, kWorkMs});
        modem.Start();
        setenv(kSimulatedModemVariable, "127.0.0.220", 1);
        Detect(boxes, QStringLiteral("detect"), [&](PageScript& script) {
            script.OnShow("CDetectPage",
                          ShootLater(folder, QStringLiteral("detect_progress"), lost));
            script.When("CModemFoundPage", exit);
        });
    }
    {  // A candidate that fails the LAN test: the plain box, then the page's own.
        ModemSim modem("127.0.0.221");
        modem.SetReply(RequestKind::LanTest, "x?connection=fail");
        modem.Start();
        setenv(kSimulatedModemVariable, "127.0.0.221", 1);
        Detect(boxes, QStringLiteral("modem_not_detected"),
               [&](PageScript& script) { script.When("CGuidePage3", exit); });
    }
    {  // Apply and test mid-progress, then the final page.
        ModemSim modem("127.0.0.222");
        modem.SetFault(RequestKind::WanConfig, {FaultMode::Delay, kWorkMs});
        modem.SetFault(RequestKind::InternetTest, {FaultMode::Delay, kWorkMs});
        modem.Start();
        CopyText(Session().modemIpAddress, "127.0.0.222");
        FromWireless(
            boxes, QStringLiteral("applied"),
            [&](PageScript& script) {
                script.OnShow("CApplyPage",
                              ShootLater(folder, QStringLiteral("apply_progress"), lost));
                script.OnShow("CInternetTestPage",
                              ShootLater(folder, QStringLiteral("test_progress"), lost));
                script.When("CFinishPage", exit);
            },
            apply);
    }
    {  // A refused WAN request.
        ModemSim modem("127.0.0.223");
        modem.ForceWanReason(7);
        modem.Start();
        CopyText(Session().modemIpAddress, "127.0.0.223");
        FromWireless(
            boxes, QStringLiteral("write_failed"), [](PageScript&) {}, apply);
    }
    // One box per kind of test result: modem codes 1, 2, 3, 4 and 0 (unknown).
    for (int modemCode : {1, 2, 3, 4, 0}) {
        ModemSim modem("127.0.0.224");
        modem.SetInternetCode(modemCode);
        modem.Start();
        CopyText(Session().modemIpAddress, "127.0.0.224");
        FromWireless(
            boxes, QStringLiteral("test_code_%1").arg(modemCode == 0 ? 6 : modemCode),
            [](PageScript&) {}, test);
    }
    unsetenv(kSimulatedModemVariable);
    return lost;
}

}  // namespace

int ShootProgressPages(const QString& folder) {
    WriteDhcpHelper("exit 0");
    GrabbingBoxes boxes;
    WizardContext wizard;
    wizard.messageBox = &boxes;
    InstallWizardFlow(wizard);
    ScopedWizardContext context(std::move(wizard));
    ProgressSettings settings;
    settings.scale = 0.02;
    settings.limits = {300, 300, 2000};
    settings.makeProcesses = [] { return std::make_unique<QuietProcesses>(); };
    ScopedProgressSettings installed(settings);

    ResetSessionOutcomes();
    const int lost = Shoot(boxes, folder);
    return lost + kBoxesPerLanguage - boxes.saved;
}
