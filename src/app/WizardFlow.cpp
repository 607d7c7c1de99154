#include "app/WizardFlow.h"

#include <map>
#include <type_traits>
#include <vector>

#include "ui/account/IspPage.h"
#include "ui/account/PppPage.h"
#include "ui/account/WanIpPage.h"
#include "ui/progress/ApplyPage.h"
#include "ui/progress/DetectPage.h"
#include "ui/progress/InternetTestPage.h"
#include "ui/wireless/WirelessPage.h"
#include "ui/wizard/FinishPage.h"
#include "ui/wizard/GuidePage1.h"
#include "ui/wizard/GuidePage2.h"
#include "ui/wizard/GuidePage3.h"
#include "ui/wizard/HomePage.h"
#include "ui/wizard/ModemFoundPage.h"
#include "ui/wizard/RecordPage.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

enum class Look { Normal, Alternate };

// An opener that builds Page with the picture of its template (and the page's own mode
// argument, where it has one), hands it a copy of the record when it carries one, and runs it.
template <class Page, int templateId, Look look = Look::Normal, int... mode>
PageOpener Open() {
    return [](QWidget* owner, const WizardSession* record) {
        Page page(PageBitmap(templateId, look == Look::Alternate), mode..., owner);
        if constexpr (std::is_base_of_v<CRecordPage, Page>) {
            if (record != nullptr) page.SetRecord(*record);
        }
        page.DoModal();
    };
}

}  // namespace

void InstallWizardFlow(WizardContext& context) {
    using S = WizardStep;
    // The home page and the three instruction pages.
    context[S::HomeStart] = Open<CGuidePage1, kTemplateGuide1>();
    context[S::HomeRelanguage] = Open<CHomePage, kTemplateHome>();
    context[S::Guide1Next] = Open<CGuidePage2, kTemplateGuide2>();
    context[S::Guide2Next] = Open<CGuidePage3, kTemplateGuide3>();
    context[S::Guide3Next] = Open<CDetectPage, kTemplateDetect>();
    // The detection page gives its place to the found-modem page (opened on its owner).
    context[S::ModemDetected] = Open<CModemFoundPage, kTemplateModemFound>();
    context[S::ModemFoundNext] = Open<CIspPage, kTemplateIsp>();
    // The ISP page's protocol decides the account page; Bridging goes straight to wireless.
    context[S::IspNextPppoe] = Open<CPppPage, kTemplatePpp, Look::Normal, 1>();
    context[S::IspNextPppoa] = Open<CPppPage, kTemplatePpp, Look::Alternate, 0>();
    context[S::IspNextMer] = Open<CWanIpPage, kTemplateWanIp, Look::Normal, 1>();
    context[S::IspNextIpoa] = Open<CWanIpPage, kTemplateWanIp, Look::Normal, 0>();
    context[S::IspNextBridging] = Open<CWirelessPage, kTemplateWireless>();
    context[S::AccountNext] = Open<CWirelessPage, kTemplateWireless>();
    // The wireless page sends the settings, or tests at once when they were sent already.
    context[S::WirelessNextApply] = Open<CApplyPage, kTemplateApply>();
    context[S::WirelessNextApplied] = Open<CInternetTestPage, kTemplateInternetTest>();
    // Each progress page that succeeds gives its place to the next (opened on its owner).
    context[S::SettingsApplied] = Open<CInternetTestPage, kTemplateInternetTest>();
    context[S::InternetWorks] = Open<CFinishPage, kTemplateFinish>();

    // The pages each page above can open next, so their pictures are decoded while it shows.
    static const std::map<int, std::vector<int>> kAhead{
        {kTemplateHome, {kTemplateGuide1}},
        {kTemplateGuide1, {kTemplateGuide2}},
        {kTemplateGuide2, {kTemplateGuide3}},
        {kTemplateGuide3, {kTemplateDetect}},
        {kTemplateDetect, {kTemplateModemFound}},
        {kTemplateModemFound, {kTemplateIsp}},
        {kTemplateIsp, {kTemplatePpp, kTemplateWanIp, kTemplateWireless}},
        {kTemplatePpp, {kTemplateWireless}},
        {kTemplateWanIp, {kTemplateWireless}},
        {kTemplateWireless, {kTemplateApply, kTemplateInternetTest}},
        {kTemplateApply, {kTemplateInternetTest}},
        {kTemplateInternetTest, {kTemplateFinish}},
    };
    SetPagesAhead([](int templateId) {
        const auto found = kAhead.find(templateId);
        return found == kAhead.end() ? std::vector<int>{} : found->second;
    });
}
