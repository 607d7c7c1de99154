#include "ui/wizard/GuidePage2.h"

#include "ui/wizard/WizardContext.h"

CGuidePage2::CGuidePage2(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateGuide2, bitmapPath, owner) {}

void CGuidePage2::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
}

void CGuidePage2::OnNext() {
    OpenStep(WizardStep::Guide2Next, this);
}
