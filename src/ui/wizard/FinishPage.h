#pragma once

#include <string_view>

#include "ui/wizard/WizardPage.h"

// The last page, shown when the Internet test succeeded. Its only button opens the maker's web
// page and ends the whole wizard. No page is ever opened above it, so it takes neither private
// message.
class CFinishPage final : public CWizardPage {
    Q_OBJECT

public:
    static constexpr std::string_view kMakerUrl = "https://www.orvane.com/international/";

    CFinishPage(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CFinishPage)

    void OnExit() override;

protected:
    void OnInitDialog() override;
    bool HandlesWizardMessages() const override { return false; }
};
