#pragma once

#include "ui/wizard/WizardPage.h"

// The last instruction page; Next opens the modem detection.
class CGuidePage3 final : public CWizardPage {
    Q_OBJECT

public:
    CGuidePage3(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CGuidePage3)

    void OnNext() override;

protected:
    void OnInitDialog() override;
};
