#include "app/WizardPages.h"

#include "account/IspPage.h"
#include "progress/ProgressPages.h"
#include "wireless/WirelessPage.h"
#include "wizard/ResourcePath.h"
#include "wizard/WizardContext.h"

void InstallWizardPages(WizardContext& context) {
    context.openIsp = [](CWizardPage& owner) {
        CIspPage page(ResourcePath("install06.bmp"), &owner);
        page.DoModal();
    };
    InstallWirelessPage(context);
    InstallProgressPages(context);
}
