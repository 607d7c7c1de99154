#pragma once

struct WizardContext;

// Plugs every page of the wizard into the chain: the detection page after the third instruction
// page, the ISP page after the modem-found page, the wireless page after the account pages, and
// the apply and Internet test pages after the wireless page.
void InstallWizardPages(WizardContext& context);
