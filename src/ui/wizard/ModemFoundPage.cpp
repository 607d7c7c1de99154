#include "ui/wizard/ModemFoundPage.h"

#include "ui/wizard/WizardContext.h"

CModemFoundPage::CModemFoundPage(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateModemFound, bitmapPath, owner) {}

void CModemFoundPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(false);
}

void CModemFoundPage::OnNext() {
    OpenStep(WizardStep::ModemFoundNext, this);
}
