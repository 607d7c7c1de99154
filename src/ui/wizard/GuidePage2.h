#pragma once

#include "ui/wizard/WizardPage.h"

// The second instruction page; Next opens the third.
class CGuidePage2 final : public CWizardPage {
    Q_OBJECT

public:
    CGuidePage2(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CGuidePage2)

    void OnNext() override;

protected:
    void OnInitDialog() override;
};
