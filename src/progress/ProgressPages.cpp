#include "progress/ProgressPages.h"

#include "progress/ApplyPage.h"
#include "progress/DetectPage.h"
#include "progress/InternetTestPage.h"
#include "wizard/ResourcePath.h"
#include "wizard/WizardContext.h"

void InstallProgressPages(WizardContext& context) {
    context.openDetection = [](CWizardPage& owner) {
        CDetectPage page(ResourcePath("install05.bmp"), &owner);
        page.DoModal();
    };
    context.openApply = [](CWizardPage& owner, const WizardSession& record) {
        CApplyPage page(ResourcePath("install09.bmp"), &owner);
        page.SetRecord(record);
        page.DoModal();
    };
    context.openInternetTest = [](CWizardPage& owner) {
        CInternetTestPage page(ResourcePath("install10.bmp"), &owner);
        page.DoModal();
    };
}
