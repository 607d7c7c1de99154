#include "wizard/GuidePage1.h"

#include "wizard/GuidePage2.h"
#include "wizard/ResourcePath.h"

CGuidePage1::CGuidePage1(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateGuide1, bitmapPath, owner) {}

void CGuidePage1::OnInitDialog() {
    CWizardPage::OnInitDialog();
    LayOutBottomRow(true);
}

void CGuidePage1::OnNext() {
    CGuidePage2 page(ResourcePath("install02.bmp"), this);
    page.DoModal();
}
