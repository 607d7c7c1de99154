#pragma once

#include "ui/wizard/WizardPage.h"

// Confirms that the modem was found. It sits on CGuidePage3 (the detection page that opened
// it has replaced itself); its Back is hidden and does nothing; Next opens the ISP page.
class CModemFoundPage final : public CWizardPage {
    Q_OBJECT

public:
    CModemFoundPage(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CModemFoundPage)

    void OnNext() override;
    void OnBack() override {}

protected:
    void OnInitDialog() override;
};
