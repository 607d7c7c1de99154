#include "ui/wizard/WizardContext.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

WizardContext& Instance() {
    static WizardContext context;
    return context;
}

}  // namespace

WizardContext& CurrentContext() {
    return Instance();
}

void ShowMessage(QWidget* owner, std::string_view text, MessageIcon icon) {
    if (MessageBoxService* boxes = CurrentContext().messageBox) boxes->Show(owner, text, icon);
}

void OpenStep(WizardStep step, QWidget* owner, const WizardSession* record) {
    // Copied, so that the opener stays alive even if the page it opens installs a new context.
    const PageOpener open = CurrentContext()[step];
    if (!open) {
        std::fprintf(stderr, "wizard: no page is installed for step %zu\n",
                     static_cast<std::size_t>(step));
        std::abort();
    }
    open(owner, record);
}

ScopedWizardContext::ScopedWizardContext(WizardContext context)
    : previous_(std::exchange(Instance(), std::move(context))) {}

ScopedWizardContext::~ScopedWizardContext() {
    Instance() = std::move(previous_);
}
