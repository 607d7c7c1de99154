#include "ui/progress/ProgressSettings.h"

#include <cmath>
#include <utility>

namespace {

ProgressSettings& Instance() {
    static ProgressSettings settings;
    return settings;
}

}  // namespace

const ProgressSettings& CurrentProgressSettings() {
    return Instance();
}

int ScaledMs(int ms) {
    const long scaled = std::lround(ms * Instance().scale);
    return scaled < 1 ? 1 : static_cast<int>(scaled);
}

ScopedProgressSettings::ScopedProgressSettings(ProgressSettings settings)
    : previous_(std::exchange(Instance(), std::move(settings))) {}

ScopedProgressSettings::~ScopedProgressSettings() {
    Instance() = std::move(previous_);
}
