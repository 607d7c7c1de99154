#pragma once

#include "core/session/WizardSession.h"
#include "ui/wizard/WizardPage.h"

// A page that carries its own copy of the settings record. The page that opens it assigns its
// whole record to the new page after constructing it and before running it; going Back simply
// destroys the later page with its copy.
class CRecordPage : public CWizardPage {
public:
    using CWizardPage::CWizardPage;

    void SetRecord(const WizardSession& record) { m_session = record; }
    const WizardSession& Record() const { return m_session; }

protected:
    WizardSession m_session{};
};
