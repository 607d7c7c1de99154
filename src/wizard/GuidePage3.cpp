#include "wizard/GuidePage3.h"

#include "wizard/ModemFoundPage.h"
#include "wizard/ResourcePath.h"
#include "wizard/WizardContext.h"

CGuidePage3::CGuidePage3(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateGuide3, bitmapPath, owner) {}

void CGuidePage3::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
}

void CGuidePage3::OnNext() {
    // Copied, so that the opener stays alive even if the page it opens installs a new context.
    const PageOpener openDetection = CurrentContext().openDetection;
    if (openDetection) {
        openDetection(*this);
        return;
    }
    // Without a detection page the found-modem page follows at once, on this page as the
    // detection page would leave it.
    CModemFoundPage page(ResourcePath("install04.bmp"), this);
    page.DoModal();
}
