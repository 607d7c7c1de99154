#include "ui/wizard/GuidePage1.h"

#include "ui/wizard/WizardContext.h"

CGuidePage1::CGuidePage1(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateGuide1, bitmapPath, owner) {}

void CGuidePage1::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
}

void CGuidePage1::OnNext() {
    OpenStep(WizardStep::Guide1Next, this);
}
