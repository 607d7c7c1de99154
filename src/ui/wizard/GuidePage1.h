#pragma once

#include "ui/wizard/WizardPage.h"

// The first instruction page, opened by Start on the home page; Next opens the second.
class CGuidePage1 final : public CWizardPage {
    Q_OBJECT

public:
    CGuidePage1(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CGuidePage1)

    void OnNext() override;

protected:
    void OnInitDialog() override;
};
