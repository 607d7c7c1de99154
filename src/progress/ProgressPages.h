#pragma once

struct WizardContext;

// Plugs the three progress pages into the wizard: the detection page after the third
// instruction page, and the apply and Internet test pages after the wireless page.
void InstallProgressPages(WizardContext& context);
