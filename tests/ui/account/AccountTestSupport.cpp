#include "AccountTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <cstring>
#include <stdexcept>
#include <string>

#include "SessionBuilders.h"
#include "app/WizardFlow.h"
#include "core/session/SessionFields.h"
#include "ui/controls/IpAddressEdit.h"

namespace {

constexpr int kTestLanguage = 1;

// A control the test expects on the page; a missing one ends the step with a message.
QWidget& ControlOf(const CWizardPage& page, int id) {
    QWidget* control = page.Control(id);
    if (control == nullptr) {
        throw std::runtime_error(std::string(page.metaObject()->className()) + " has no control " +
                                 std::to_string(id));
    }
    return *control;
}

}  // namespace

void Set(CWizardPage& page, const Values& values) {
    for (const auto& [id, value] : values) {
        QWidget* control = &ControlOf(page, id);
        if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(value);
        if (auto* address = qobject_cast<IpAddressEdit*>(control)) address->setText(value);
        if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(value.toInt());
            emit list->activated(value.toInt());
        }
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (button != nullptr && button->isChecked() != (value == "1")) button->click();
    }
}

QString Get(const CWizardPage& page, int id) {
    QWidget* control = &ControlOf(page, id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(control)) text = edit->text();
    if (auto* address = qobject_cast<IpAddressEdit*>(control)) {
        text = address->isBlank() ? QString() : address->text();
    }
    if (auto* list = qobject_cast<QComboBox*>(control)) text = list->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        text = button->isChecked() ? "1" : "0";
    return text + (control->isHidden() ? "!" : "") + (control->isEnabled() ? "" : "~");
}

QString Get(const CWizardPage& page, std::initializer_list<int> ids) {
    QStringList texts;
    for (int id : ids) texts << Get(page, id);
    return texts.join('|');
}

WizardSession FilledRecord() {
    WizardSession record;
    std::memset(&record, 0x5A, sizeof record);
    return record;
}

bool AllZero(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

AccountPageTest::AccountPageTest() {
    FreshSession();
    SessionFields& s = Session();
    s.languageIndex = kTestLanguage;
    LoadLocalizedMessages(s);
    WizardContext context;
    context.messageBox = &boxes;
    InstallWizardFlow(context);
    context[WizardStep::AccountNext] = context[WizardStep::IspNextBridging] =
        [this](QWidget*, const WizardSession* r) { handedOn.push_back(*r); };
    scope.emplace(std::move(context));
}

AccountPageTest::~AccountPageTest() {
    Session().languageIndex = 0;
    LoadLocalizedMessages(Session());
}

std::string AccountPageTest::Refused(MessageId id, int focus, const std::string& plain) {
    return LocalizedMessage(kTestLanguage, id) + (plain.empty() ? "" : plain + "(plain)") + "@" +
           std::to_string(focus);
}

std::string AccountPageTest::Next(CWizardPage& page) {
    boxes.Clear();
    handedOn.clear();
    auto* next = qobject_cast<QAbstractButton*>(&ControlOf(page, kIdNext));
    if (next == nullptr) throw std::runtime_error("the Next control is no button");
    next->click();
    if (handedOn.size() == 1 && boxes.Entries().empty()) return {};
    std::string shown;
    for (const auto& box : boxes.Entries()) {
        shown += box.text + (box.icon == MessageIcon::Exclamation ? "" : "(plain)");
    }
    // The control holding the focus: the page's child that contains the focused widget.
    QWidget* focused = page.focusWidget();
    while (focused != nullptr && focused->parentWidget() != &page)
        focused = focused->parentWidget();
    return shown + "@" + (focused ? focused->objectName().toStdString() : "none");
}

const WizardSession& AccountPageTest::HandedOn() const {
    if (handedOn.empty()) throw std::runtime_error("no record was handed on to the wireless page");
    return handedOn.front();
}

void AccountPageTest::Run(CWizardPage& page, int lastButton) {
    driver.Click(lastButton);
    driver.Start();
    page.DoModal();
    ASSERT_FALSE(driver.TimedOut());
    ASSERT_TRUE(driver.AllActionsRan());
}
