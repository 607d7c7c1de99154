#include "ui/wireless/WirelessPage.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/protocol/Exchanges.h"
#include "core/protocol/RequestValue.h"
#include "core/protocol/WirelessRequests.h"
#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "core/wireless/GenerateRandomKey.h"
#include "resources/StringTable.h"
#include "ui/wizard/WizardContext.h"

// Refuses any edit that would make the UTF-8 text longer than its limit, so typing and pasting
// stop at the limit instead of cutting. Texts set by the page itself (remembered entries, the
// modem's values) are not validated and stay whole; the checks of Next refuse them when they do
// not fit.
class CByteLimitValidator final : public QValidator {
public:
    CByteLimitValidator(int limit, QObject* parent) : QValidator(parent), m_limit(limit) {}

    void SetLimit(int limit) { m_limit = limit; }

    State validate(QString& input, int&) const override {
        return input.toUtf8().size() <= m_limit ? Acceptable : Invalid;
    }

private:
    int m_limit;
};

// What the read of the modem's settings hands back to the page: the result, whether the
// exchange took place, and the remembered entries as the read left them.
struct WirelessReadOutcome {
    unsigned result = 1;
    bool exchanged = false;
    char values[8][kRememberedSize] = {};
};

namespace {

using F = WirelessForm;
constexpr int kLabelIds[] = {1067, 1066, 1065, 1064, 1068, 1069, 1062, 1063, 1061};
// Arial of a 16-pixel cell, one pixel smaller so that "WPA Pre-Shared Key" fits the width its
// label has in the template.
constexpr int kLabelPixels = 13;
constexpr int kChannelCount = 13;
constexpr int kKeyCount = F::kKeyCount;

// The controls of the security settings: keys, their labels and Create Key buttons.
constexpr int kKeyRowIds[] = {
    F::kIdCurrentKeyLabel,   F::kIdFirstKeyLabel,      F::kIdFirstKeyLabel + 1,
    F::kIdFirstKeyLabel + 2, F::kIdFirstKeyLabel + 3,  F::kIdFirstKey,
    F::kIdFirstKey + 1,      F::kIdFirstKey + 2,       F::kIdFirstKey + 3,
    F::kIdFirstCreateKey,    F::kIdFirstCreateKey + 1, F::kIdFirstCreateKey + 2,
    F::kIdFirstCreateKey + 3};
constexpr int kSecurityIds[] = {F::kIdKeyList,     F::kIdAuthList, F::kIdWpaKeyLabel, F::kIdSsid,
                                F::kIdChannelList, F::kIdWpaKey,   F::kIdCreateWpaKey};

constexpr const char* kModeTexts[] = {"open", "WEP128", "WEP64", "WPA"};

// The remembered entries a wireless read fills, in reply order.
std::array<char*, 8> RememberedWireless(SessionFields& f) {
    return {f.wlSsidSaved, f.wlChannelSaved, f.wlAuthModeSaved, f.wlKey1Saved,
            f.wlKey2Saved, f.wlKey3Saved,    f.wlKey4Saved,     f.wlKeyIndexSaved};
}

std::array<char*, 4> RememberedKeys(SessionFields& f) {
    return {f.wlKey1Saved, f.wlKey2Saved, f.wlKey3Saved, f.wlKey4Saved};
}

int ByteLength(const QString& text) {
    return static_cast<int>(text.toUtf8().size());
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The list position a remembered value selects, or -1 (no selection) outside the list.
int Position(long value, int count) {
    return value >= 0 && value < count ? static_cast<int>(value) : -1;
}

}  // namespace

CWirelessPage::CWirelessPage(const QString& bitmapPath, QWidget* owner,
                             const ExchangeLimits& limits)
    : CRecordPage(kTemplateWireless, bitmapPath, owner), m_limits(limits) {
    for (int id : {kIdAuthList, kIdKeyList}) {
        connect(List(id), &QComboBox::activated, this, [this] { UpdateSecurityControls(); });
    }
    for (int key = 0; key < kKeyCount; ++key) {
        connect(qobject_cast<QAbstractButton*>(Control(kIdFirstCreateKey + key)),
                &QAbstractButton::clicked, this, [this, key] { CreateWepKey(key); });
        connect(Edit(kIdFirstKey + key), &QLineEdit::textChanged, this,
                [this, key] { OnUpdateKey(key + 1); });
    }
    connect(qobject_cast<QAbstractButton*>(Control(kIdCreateWpaKey)), &QAbstractButton::clicked,
            this, [this] { OnCreateWpaKey(); });
    connect(Edit(kIdWpaKey), &QLineEdit::textChanged, this, [this] { OnUpdateKey(0); });
}

CWirelessPage::~CWirelessPage() {
    // The read is waited for before the page shows, so this only matters if it never showed.
    if (m_reader.joinable()) m_reader.join();
}

QComboBox* CWirelessPage::List(int id) const {
    return qobject_cast<QComboBox*>(Control(id));
}

QLineEdit* CWirelessPage::Edit(int id) const {
    return qobject_cast<QLineEdit*>(Control(id));
}

void CWirelessPage::OnInitDialog() {
    CRecordPage::OnInitDialog();
    Edit(kIdSsid)->setValidator(new CByteLimitValidator(kMaxSsidBytes, this));
    Edit(kIdWpaKey)->setValidator(new CByteLimitValidator(kMaxWpaKeyBytes, this));
    for (int key = 0; key < kKeyCount; ++key) {
        m_keyLimits[key] = new CByteLimitValidator(kWep128KeyBytes, this);
        Edit(kIdFirstKey + key)->setValidator(m_keyLimits[key]);
    }
    for (int id : kLabelIds) {
        if (auto* label = qobject_cast<QLabel*>(Control(id)))
            label->setFont(LabelFont(kLabelPixels));
    }
    LayOutBottomRow(true);

    QComboBox* auth = List(kIdAuthList);
    QComboBox* channel = List(kIdChannelList);
    QComboBox* keyList = List(kIdKeyList);
    auth->clear();
    for (int i = 0; i < 4; ++i) {
        auth->insertItem(i, QString::fromUtf8(LoadResString(kStrFirstAuthMode + i)));
    }
    channel->insertItem(0, QStringLiteral("Auto Select"));
    for (int i = 1; i <= kChannelCount; ++i) channel->insertItem(i, QString::number(i));
    for (int i = 0; i < kKeyCount; ++i) keyList->insertItem(i, QString::number(i + 1));
    keyList->setCurrentIndex(0);

    SessionFields& session = Session();
    int mode = -1;
    if (TextOf(session.wlSsidSaved).empty()) {
        bool exchanged = false;
        const unsigned result = ReadModemSettings(exchanged);
        // A failed exchange shows nothing from the modem, like a mode the page does not know.
        if (exchanged && result <= kModeWpa) mode = static_cast<int>(result);
    } else {
        const std::string_view saved = TextOf(session.wlAuthModeSaved);
        for (int i = 0; i < 4; ++i) {
            if (saved == kModeTexts[i]) mode = i;
        }
    }
    if (mode < 0) {
        auth->setCurrentIndex(kModeOpen);
        channel->setCurrentIndex(0);
        UpdateSecurityControls();
        return;
    }

    auth->setCurrentIndex(mode);
    Edit(kIdSsid)->setText(FromUtf8(TextOf(session.wlSsidSaved)));
    channel->setCurrentIndex(
        Position(DecimalValue(TextOf(session.wlChannelSaved)), kChannelCount + 1));
    if (mode == kModeWep128 || mode == kModeWep64) {
        const std::array<char*, 4> saved = RememberedKeys(session);
        for (int key = 0; key < kKeyCount; ++key) {
            Edit(kIdFirstKey + key)
                ->setText(FromUtf8(
                    std::string_view(saved[key], BoundedLength(saved[key], kRememberedSize))));
        }
        const long index = DecimalValue(TextOf(session.wlKeyIndexSaved));
        if (index != 0) keyList->setCurrentIndex(Position(index - 1, kKeyCount));
    } else if (mode == kModeWpa) {
        Edit(kIdWpaKey)->setText(FromUtf8(TextOf(session.wlKey1Saved)));
    }
    UpdateSecurityControls();
}

unsigned CWirelessPage::ReadModemSettings(bool& exchanged) {
    // The worker gets a session of its own: the modem's address and the remembered entries that
    // the read replaces, so that nothing the user-interface thread uses is touched meanwhile.
    auto own = std::make_unique<SessionFields>();
    CopyText(own->modemIpAddress, TextOf(Session().modemIpAddress));
    const std::array<char*, 8> current = RememberedWireless(Session());
    const std::array<char*, 8> copies = RememberedWireless(*own);
    for (std::size_t i = 0; i < current.size(); ++i) {
        std::memcpy(copies[i], current[i], kRememberedSize);
    }

    m_readOutcome.reset();
    m_readFinished = false;
    m_reader = std::thread([this, own = std::move(own), limits = m_limits] {
        char buffer[1024] = {};
        CopyText(buffer, kWirelessReadRequest);
        auto outcome = std::make_shared<WirelessReadOutcome>();
        outcome->result =
            ReadWirelessSettings(buffer, sizeof buffer, *own, &outcome->exchanged, limits);
        const std::array<char*, 8> values = RememberedWireless(*own);
        for (std::size_t i = 0; i < values.size(); ++i) {
            std::memcpy(outcome->values[i], values[i], kRememberedSize);
        }
        m_readOutcome = std::move(outcome);
        QMetaObject::invokeMethod(this, "OnReadFinished", Qt::QueuedConnection);
    });

    // Timers and painting go on below; clicks and keys wait until the page is shown, when the
    // page's modal run keeps them from the window below.
    QEventLoop loop;
    m_readLoop = &loop;
    if (!m_readFinished) loop.exec(QEventLoop::ExcludeUserInputEvents);
    m_readLoop = nullptr;
    m_reader.join();

    exchanged = m_readOutcome->exchanged;
    if (exchanged) {
        for (std::size_t i = 0; i < current.size(); ++i) {
            std::memcpy(current[i], m_readOutcome->values[i], kRememberedSize);
        }
    }
    return m_readOutcome->result;
}

void CWirelessPage::OnReadFinished() {
    m_readFinished = true;
    if (m_readLoop != nullptr) m_readLoop->quit();
}

void CWirelessPage::ShowAllSecurityControls() {
    for (const auto& ids : {std::span<const int>(kSecurityIds), std::span<const int>(kKeyRowIds)}) {
        for (int id : ids) {
            if (QWidget* control = Control(id)) control->show();
        }
    }
}

void CWirelessPage::UpdateSecurityControls() {
    const int mode = List(kIdAuthList)->currentIndex();
    const int keyPosition = List(kIdKeyList)->currentIndex();
    ShowAllSecurityControls();
    auto hide = [this](std::span<const int> ids) {
        for (int id : ids) {
            if (QWidget* control = Control(id)) control->hide();
        }
    };
    switch (mode) {
        case kModeOpen:
            hide(kKeyRowIds);
            hide(std::array{kIdWpaKeyLabel, kIdWpaKey, kIdKeyList, kIdCreateWpaKey});
            break;
        case kModeWpa:
            hide(kKeyRowIds);
            hide(std::array{kIdKeyList});
            break;
        case kModeWep128:
        case kModeWep64: {
            hide(std::array{kIdWpaKeyLabel, kIdWpaKey, kIdCreateWpaKey});
            const int limit = mode == kModeWep128 ? kWep128KeyBytes : kWep64KeyBytes;
            for (CByteLimitValidator* keyLimit : m_keyLimits) {
                if (keyLimit != nullptr) keyLimit->SetLimit(limit);
            }
            ShowKeyRow(keyPosition >= 0 && keyPosition < kKeyCount ? keyPosition : 0);
            break;
        }
        default:
            break;
    }
    // The first arrangement keeps the keys the page opened with.
    if (m_nLastAuthMode != mode && m_nLastAuthMode != kNotArranged) {
        for (int key = 0; key < kKeyCount; ++key) Edit(kIdFirstKey + key)->clear();
    }
    m_nLastAuthMode = mode;
}

void CWirelessPage::ShowKeyRow(int key) {
    for (int row = 0; row < kKeyCount; ++row) {
        for (int id : {kIdFirstKeyLabel + row, kIdFirstKey + row, kIdFirstCreateKey + row}) {
            Control(id)->setVisible(row == key);
        }
    }
}

int CWirelessPage::RefuseKey(const FormFailure& failure) {
    if (failure.control == kIdWpaKey) SetKeyError(0, true);
    const int key = failure.control - kIdFirstKey;
    if (key >= 0 && key < kKeyCount) {
        // A key that is not the current one is hidden; it is shown so that it can be corrected.
        ShowKeyRow(key);
        SetKeyError(key + 1, true);
    }
    return Refuse(failure);
}

int CWirelessPage::StoreEntries(int validate) {
    SessionFields& session = Session();
    WirelessEntries e;
    e.mode = List(kIdAuthList)->currentIndex();
    e.ssid = Edit(kIdSsid)->text().toStdString();
    e.keyPosition = List(kIdKeyList)->currentIndex();
    for (int key = 0; key < kKeyCount; ++key) {
        e.wepKeys[key] = Edit(kIdFirstKey + key)->text().toStdString();
    }
    e.wpaKey = Edit(kIdWpaKey)->text().toStdString();
    const int mode = e.mode;
    const int channel = List(kIdChannelList)->currentIndex();
    if (validate) {
        if (const FormCheck failure = CheckWirelessName(e)) return Refuse(*failure);
        CopyText(m_session.wlSsid, e.ssid);
        m_session.wlChannel = static_cast<std::uint32_t>(channel);
    }
    CopyText(session.wlSsidSaved, e.ssid);
    CopyText(session.wlChannelSaved, std::to_string(channel));
    if (validate) {
        if (const FormCheck failure = CheckWirelessKeys(e)) return RefuseKey(*failure);
    }

    if (mode == kModeWep128 || mode == kModeWep64) {
        const bool wide = mode == kModeWep128;
        const int length = wide ? kWep128KeyBytes : kWep64KeyBytes;
        std::array<std::string, kKeyCount> keys = e.wepKeys;
        const int position = e.keyPosition;
        const bool selected = position >= 0 && position < kKeyCount;
        if (validate) {
            // Keys of another length are not sent.
            for (std::string& key : keys) {
                if (static_cast<int>(key.size()) != length) key.clear();
            }
            std::memset(&m_session.keys, 0, sizeof m_session.keys);
            char* const records[kKeyCount] = {
                wide ? m_session.keys.wep128.wlKey1 : m_session.keys.wep64.wlKey1,
                wide ? m_session.keys.wep128.wlKey2 : m_session.keys.wep64.wlKey2,
                wide ? m_session.keys.wep128.wlKey3 : m_session.keys.wep64.wlKey3,
                wide ? m_session.keys.wep128.wlKey4 : m_session.keys.wep64.wlKey4,
            };
            const std::size_t width = wide ? sizeof(Wep128Keys::wlKey1) : sizeof(Wep64Keys::wlKey1);
            for (int key = 0; key < kKeyCount; ++key) CopyText(records[key], width, keys[key]);
        }
        const std::array<char*, 4> saved = RememberedKeys(session);
        for (int key = 0; key < kKeyCount; ++key) CopyText(saved[key], kRememberedSize, keys[key]);
        const int number = selected ? position + 1 : 0;
        CopyText(session.wlKeyIndexSaved, std::to_string(number));
        m_session.wlKeyIndex = static_cast<std::uint32_t>(number);
    } else if (mode == kModeWpa) {
        if (validate) {
            std::memset(&m_session.keys, 0, sizeof m_session.keys);
            CopyText(m_session.keys.wlWpaPsk, e.wpaKey);
        }
        CopyText(session.wlKey1Saved, e.wpaKey);
    } else if (mode != kModeOpen) {
        return 1;
    }

    CopyText(m_session.wlAuthMode, kModeTexts[mode]);
    CopyText(session.wlAuthModeSaved, kModeTexts[mode]);
    return 0;
}

void CWirelessPage::OnNext() {
    if (StoreEntries(1) != 0) return;
    if (m_bApplied == 0) {
        OpenStep(WizardStep::WirelessNextApply, this, &m_session);
    } else {
        OpenStep(WizardStep::WirelessNextApplied, this);
    }
}

void CWirelessPage::OnBack() {
    StoreEntries(0);
    m_bApplied = 0;
    CRecordPage::OnBack();
}

long CWirelessPage::OnWizardReshow(std::uintptr_t wParam) {
    if (wParam == 0) m_bApplied = 1;
    if (wParam == 1) m_bApplied = 0;
    return CRecordPage::OnWizardReshow(wParam);
}

void CWirelessPage::CreateWepKey(int key) {
    const int length =
        List(kIdAuthList)->currentIndex() == kModeWep128 ? kWep128KeyBytes : kWep64KeyBytes;
    char buffer[kWep128KeyBytes + 1] = {};
    GenerateRandomKey(buffer, length);
    Edit(kIdFirstKey + key)->setText(QString::fromLatin1(buffer));
}

void CWirelessPage::OnCreateWpaKey() {
    char buffer[kCreatedWpaKeyLength + 1] = {};
    GenerateRandomKey(buffer, kCreatedWpaKeyLength);
    Edit(kIdWpaKey)->setText(QString::fromLatin1(buffer));
}

void CWirelessPage::OnUpdateKey(int entry) {
    const QString text = Edit(entry == 0 ? kIdWpaKey : kIdFirstKey + entry - 1)->text();
    const int length = ByteLength(text);
    bool valid = IsCarriableValue(text.toStdString());
    if (entry == 0) {
        valid = valid && length >= kMinWpaKeyBytes && length <= kMaxWpaKeyBytes;
    } else {
        const int mode = List(kIdAuthList)->currentIndex();
        valid = valid && ((mode == kModeWep128 && length == kWep128KeyBytes) ||
                          (mode == kModeWep64 && length == kWep64KeyBytes));
    }
    if (valid) SetKeyError(entry, false);
}

void CWirelessPage::SetKeyError(int entry, bool on) {
    m_keyError.at(static_cast<std::size_t>(entry)) = on ? 1 : 0;
    PaintKeyField(entry);
}

void CWirelessPage::PaintKeyField(int entry) {
    QLineEdit* edit = Edit(entry == 0 ? kIdWpaKey : kIdFirstKey + entry - 1);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base,
                     m_keyError[static_cast<std::size_t>(entry)] != 0 ? m_clrError : m_clrNormal);
    edit->setPalette(palette);
}
