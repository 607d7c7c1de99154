#include "ui/wizard/WizardMessage.h"

#include <QCoreApplication>

WizardMessageEvent::WizardMessageEvent(int message, std::uintptr_t wParam)
    : QEvent(EventType()), message_(message), wParam_(wParam) {}

QEvent::Type WizardMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

long SendWizardMessage(QObject* target, int message, std::uintptr_t wParam) {
    if (target == nullptr) return 0;
    WizardMessageEvent event(message, wParam);
    QCoreApplication::sendEvent(target, &event);
    return event.Result();
}
