#include "ui/wizard/FinishPage.h"

#include "ui/controls/LaunchUrl.h"
#include "ui/services/ShellService.h"
#include "ui/wizard/WizardContext.h"

namespace {

constexpr int kFinalButtonX = 205;
constexpr int kFinalButtonRise = 130;

}  // namespace

CFinishPage::CFinishPage(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateFinish, bitmapPath, owner) {}

void CFinishPage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    PlaceButton(kIdExit, "btn_final.bmp", kFinalButtonX, PageSize().height() - kFinalButtonRise);
}

void CFinishPage::OnExit() {
    // Whether a browser could be started does not matter: the wizard ends all the same.
    if (ShellService* shell = CurrentContext().shell) LaunchUrl(*shell, kMakerUrl);
    LeaveWizard();
}
