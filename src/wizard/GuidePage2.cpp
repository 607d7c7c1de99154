#include "wizard/GuidePage2.h"

#include "wizard/GuidePage3.h"
#include "wizard/ResourcePath.h"

CGuidePage2::CGuidePage2(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateGuide2, bitmapPath, owner) {}

void CGuidePage2::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
}

void CGuidePage2::OnNext() {
    CGuidePage3 page(ResourcePath("install03.bmp"), this);
    page.DoModal();
}
