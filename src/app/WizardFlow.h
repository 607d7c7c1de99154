#pragma once

struct WizardContext;

// Lays the whole page chain into the context: for every step, which page opens, with which
// picture, and on which owner.
void InstallWizardFlow(WizardContext& context);
