#include "wizard/WizardContext.h"

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

ScopedWizardContext::ScopedWizardContext(WizardContext context)
    : previous_(std::exchange(Instance(), std::move(context))) {}

ScopedWizardContext::~ScopedWizardContext() {
    Instance() = std::move(previous_);
}
