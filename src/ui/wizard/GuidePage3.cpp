#include "ui/wizard/GuidePage3.h"

#include "ui/wizard/WizardContext.h"

CGuidePage3::CGuidePage3(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateGuide3, bitmapPath, owner) {}

void CGuidePage3::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
}

void CGuidePage3::OnNext() {
    OpenStep(WizardStep::Guide3Next, this);
}
