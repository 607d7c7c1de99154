#include "ui/wizard/WizardPage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "resources/LinkCursor.h"
#include "resources/PageAccessibility.h"
#include "resources/StringTable.h"
#include "ui/controls/HoverButton.h"
#include "ui/controls/IpAddressEdit.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"
#include "ui/wizard/WizardMessage.h"

namespace {

const QColor kBorder(0, 0, 0);

// Left edge of the standard button row.
constexpr int kBottomRowLeft = 16;

// Height of a drop-down list's closed field; its template height includes the dropped list.
constexpr int kComboFieldDu = 12;

const PageTemplate kEmptyTemplate{0, "", "", 400, 345, {}};

QWidget* CreateControl(const ControlTemplate& control, QWidget* parent, QButtonGroup*& radioGroup) {
    const QString text = QString::fromUtf8(control.text ? control.text : "");
    const bool boxOnly = (control.style & kStyleBoxOnly) != 0;
    switch (control.kind) {
        case ControlKind::Button: {
            auto* button = new QPushButton(text, parent);
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case ControlKind::OwnerDrawButton:
            return new CHoverButton(parent);
        case ControlKind::Static:
            return new QLabel(text, parent);
        case ControlKind::Edit: {
            auto* edit = new QLineEdit(parent);
            if (control.style & kStylePassword) edit->setEchoMode(QLineEdit::Password);
            if (control.style & kStyleDigitsOnly) {
                edit->setValidator(new QRegularExpressionValidator(
                    QRegularExpression(QStringLiteral("[0-9]*")), edit));
            }
            edit->setFrame((control.style & kStyleBorder) != 0);
            return edit;
        }
        case ControlKind::ComboList:
            return new QComboBox(parent);
        case ControlKind::Radio: {
            auto* radio = new QRadioButton(boxOnly ? QString() : text, parent);
            if ((control.style & kStyleGroup) || radioGroup == nullptr) {
                radioGroup = new QButtonGroup(parent);
            }
            radioGroup->addButton(radio);
            return radio;
        }
        case ControlKind::CheckBox:
            return new QCheckBox(boxOnly ? QString() : text, parent);
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setTextVisible(false);
            return bar;
        }
        case ControlKind::IpAddress:
            return new IpAddressEdit(parent);
        case ControlKind::ListBox:
            return new QListWidget(parent);
    }
    return new QWidget(parent);
}

}  // namespace

CWizardPage::CWizardPage(int templateId, const QString& bitmapPath, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      m_template(FindPageTemplate(templateId)),
      m_strBackgroundPath(bitmapPath),
      m_backgroundSize(ArtSize(bitmapPath, devicePixelRatioF())) {
    if (m_template == nullptr) m_template = &kEmptyTemplate;
    if (devicePixelRatioF() > 1) PrepareArt({bitmapPath}, devicePixelRatioF());
    setObjectName(QString::fromUtf8(m_template->pageClass));
    setModal(true);
    BuildControls();
    ApplyAccessibleTexts();
    for (int id : {kIdNext, kIdBack, kIdExit}) {
        CHoverButton* button = Button(id);
        if (button == nullptr) continue;
        connect(button, &QAbstractButton::clicked, this, [this, id] {
            if (id == kIdNext) OnNext();
            if (id == kIdBack) OnBack();
            if (id == kIdExit) OnExit();
        });
    }
}

CWizardPage::~CWizardPage() = default;

void CWizardPage::BuildControls() {
    QButtonGroup* radioGroup = nullptr;
    for (const ControlTemplate& control : m_template->controls) {
        QWidget* widget = CreateControl(control, this, radioGroup);
        const PixelRect rect = ControlRectPx(control);
        int height = rect.height;
        if (control.kind == ControlKind::ComboList) height = DuToPxY(kComboFieldDu);
        widget->setGeometry(rect.x, rect.y, rect.width, height);
        widget->setObjectName(QString::number(control.id));
        // OK and Cancel exist on every page only to be overridden; they never show.
        const bool hidden = control.hidden || control.id == kIdOk || control.id == kIdCancel;
        widget->setHidden(hidden);
        m_controls.emplace(control.id, widget);
    }
}

void CWizardPage::ApplyAccessibleTexts() {
    const char* alternateFile = m_template->alternateBackground;
    const bool alternate = alternateFile != nullptr && QFileInfo(m_strBackgroundPath).fileName() ==
                                                           QLatin1String(alternateFile);
    const PageAccessibility* page = FindPageAccessibility(m_template->id, alternate);
    if (page == nullptr) return;
    const PageLanguage language = LanguageOfFolder(TextOf(Session().languageFolder));
    const auto text = [language](PageText id) {
        const std::string_view chosen = PageTextIn(id, language);
        return QString::fromUtf8(chosen.data(), static_cast<qsizetype>(chosen.size()));
    };
    // The window title stays the product's; the page itself carries its heading and body.
    setAccessibleName(text(page->heading));
    setAccessibleDescription(QString::fromStdString(PageDescription(*page, language)));
    for (const ControlName& control : page->controls) {
        QWidget* widget = Control(control.id);
        if (widget == nullptr) continue;
        widget->setAccessibleName(text(control.text));
        // A drop-down list is read by its chosen item; the label it is "labelled by" names it.
        // The words are drawn on the background, so the label itself stays hidden.
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            auto* label = new QLabel(text(control.text), this);
            label->setBuddy(list);
            label->hide();
        }
        // An address is typed into its four fields; each is read with the address's name.
        if (auto* address = qobject_cast<IpAddressEdit*>(widget)) {
            for (int i = 0; i < IpAddressEdit::kFieldCount; ++i) {
                address->Field(i)->setAccessibleName(text(control.text));
            }
        }
    }
}

QWidget* CWizardPage::Control(int id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

CHoverButton* CWizardPage::Button(int id) const {
    return qobject_cast<CHoverButton*>(Control(id));
}

int CWizardPage::DoModal() {
    if (!m_bInitialised) {
        m_bInitialised = true;
        OnInitDialog();
        OrderTabChain();
        FocusFirstControl();
        // Centred over the owner page, or over the screen's work area when there is no owner or
        // it is hidden. Placed here rather than left to the window system, whose guess at
        // decorations a frameless page does not have would shift every page a little further.
        QRect placed(QPoint(0, 0), PageSize());
        const QWidget* owner = Owner();
        if (owner != nullptr && owner->isVisible()) {
            placed.moveCenter(owner->geometry().center());
        } else if (const QScreen* screen = this->screen()) {
            placed.moveCenter(screen->availableGeometry().center());
        }
        move(placed.topLeft());
    }
    // Someone who reached this page with the keyboard sees the focus on it from the start.
    if (const QWidget* owner = Owner();
        owner != nullptr && owner->window()->testAttribute(Qt::WA_KeyboardFocusChange)) {
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    PrepareFollowingArt();
    return exec();
}

void CWizardPage::FocusFirstControl() {
    if (focusWidget() != nullptr) return;
    const auto first = std::find_if(m_tabChain.begin(), m_tabChain.end(), [this](QWidget* control) {
        return control->isVisibleTo(this) && control->isEnabled();
    });
    // A page that starts with a field keeps the focus the window system gives it on showing, as
    // it always has (an edit shows its caret as before); a page of buttons only starts on its
    // first button, without a ring, so a mouse user sees no difference.
    if (first != m_tabChain.end() && qobject_cast<CHoverButton*>(*first) != nullptr) {
        (*first)->setFocus(Qt::OtherFocusReason);
    }
}

void CWizardPage::OrderTabChain() {
    std::vector<QWidget*>& stops = m_tabChain;
    stops.clear();
    for (const auto& [id, control] : m_controls) {
        if (control->focusPolicy() & Qt::TabFocus) stops.push_back(control);
    }
    // Reading order: rows from top to bottom, each from left to right. A control belongs to the
    // row of the control above it when its top edge is above that control's middle, so a box and
    // the field drawn beside it a pixel higher stay one row.
    std::stable_sort(stops.begin(), stops.end(),
                     [](const QWidget* a, const QWidget* b) { return a->y() < b->y(); });
    for (auto row = stops.begin(); row != stops.end();) {
        const QRect first = (*row)->geometry();
        auto end = std::find_if(row, stops.end(), [&first](const QWidget* control) {
            return control->y() > first.center().y();
        });
        std::stable_sort(row, end,
                         [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        row = end;
    }
    // The chain is a ring through the page itself, which takes no focus; where the page sits in
    // it does not matter to Tab, so the first stop is the one kept here.
    for (std::size_t i = 1; i < stops.size(); ++i) setTabOrder(stops[i - 1], stops[i]);
}

void CWizardPage::GetBitmapSize(int& width, int& height) const {
    if (!m_backgroundSize.isValid()) return;
    width = m_backgroundSize.width();
    height = m_backgroundSize.height();
}

const QPixmap& CWizardPage::Background() const {
    if (!m_bBackgroundLoaded) {
        m_bBackgroundLoaded = true;
        m_background = LoadArt(m_strBackgroundPath, devicePixelRatioF());
    }
    return m_background;
}

void CWizardPage::PrepareFollowingArt() {
    // At ratio 1 the bitmaps load in a millisecond or two; only the double-density art is worth
    // decoding ahead.
    const PagesAhead& ahead = PagesAheadOf();
    if (devicePixelRatioF() <= 1 || !ahead) return;
    std::vector<QString> paths;
    // The page's own background first, until its first paint takes it.
    if (!m_bBackgroundLoaded) paths.push_back(m_strBackgroundPath);
    for (int templateId : ahead(m_template->id)) {
        paths.push_back(PageBitmap(templateId));
        const QString alternate = PageBitmap(templateId, true);
        if (alternate != paths.back()) paths.push_back(alternate);
    }
    PrepareArt(paths, devicePixelRatioF());
}

QSize CWizardPage::PageSize() const {
    if (m_backgroundSize.isValid()) return m_backgroundSize;
    return {DuToPxX(m_template->widthDu), DuToPxY(m_template->heightDu)};
}

void CWizardPage::OnInitDialog() {
    // Only the size is set: the page is centred over its owner when it is first shown.
    setFixedSize(PageSize());
}

CHoverButton* CWizardPage::PrepareButton(int id, const char* stripFile) {
    CHoverButton* button = Button(id);
    if (button == nullptr) return nullptr;
    button->LoadBitmaps(ResourcePath(stripFile));
    button->SetBtnCursor(kLinkCursorId);
    return button;
}

void CWizardPage::PlaceButton(int id, const char* stripFile, int x, int y) {
    if (CHoverButton* button = PrepareButton(id, stripFile)) button->move(x, y);
}

QFont CWizardPage::LabelFont(int pixels) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

int CWizardPage::Refuse(const FormFailure& failure) {
    ShowMessage(this, FormMessageText(Session(), failure.message), MessageIcon::Exclamation);
    if (failure.message == FormMessage::NameTooLong) {
        ShowMessage(this, LoadResString(kStrNameTooLong), MessageIcon::None);
    }
    if (QWidget* control = Control(failure.control)) control->setFocus(Qt::OtherFocusReason);
    return 1;
}

void CWizardPage::LayOutBottomRow(bool withBack) {
    const int y = PageSize().height() - kBottomRowRise;
    PlaceButton(kIdExit, "btn_exit.bmp", kBottomRowLeft, y);
    int slot = 1;
    if (withBack) {
        if (CHoverButton* back = PrepareButton(kIdBack, "btn_back.bmp")) {
            back->move(kBottomRowLeft + slot * back->width(), y);
        }
        ++slot;
    }
    if (CHoverButton* next = PrepareButton(kIdNext, "btn_next.bmp")) {
        next->move(kBottomRowLeft + slot * next->width(), y);
    }
}

void CWizardPage::OnBack() {
    SendWizardMessage(Owner(), WM_WIZARD_RESHOW, 0);
    OnClose();
}

void CWizardPage::OnExit() {
    LeaveWizard();
}

long CWizardPage::OnWizardExit(std::uintptr_t) {
    LeaveWizard();
    return 0;
}

void CWizardPage::LeaveWizard() {
    // Synchronous: the message has gone down the whole stack before this page closes, so the
    // pages close from the bottom up.
    SendWizardMessage(Owner(), WM_WIZARD_EXIT, 0);
    OnClose();
}

long CWizardPage::OnWizardReshow(std::uintptr_t) {
    showNormal();
    return 0;
}

void CWizardPage::OnClose() {
    m_bEnding = true;
    done(QDialog::Accepted);
    m_bEnding = false;
}

bool CWizardPage::event(QEvent* event) {
    if (event->type() == WizardMessageEvent::EventType()) {
        auto* message = static_cast<WizardMessageEvent*>(event);
        if (!HandlesWizardMessages()) return false;
        if (message->Message() == WM_WIZARD_EXIT) {
            message->SetResult(OnWizardExit(message->WParam()));
            return true;
        }
        if (message->Message() == WM_WIZARD_RESHOW) {
            message->SetResult(OnWizardReshow(message->WParam()));
            return true;
        }
        return false;
    }
    return QDialog::event(event);
}

void CWizardPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (Background().isNull()) {
        painter.fillRect(rect(), kDialogBackground);
    } else {
        // Between ratios 1 and 2 the double-density art is scaled down: smoothly, not by
        // dropping pixels.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(rect(), m_background);
    }
    painter.setPen(kBorder);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CWizardPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CWizardPage::closeEvent(QCloseEvent* event) {
    if (m_bEnding) {
        event->accept();
        return;
    }
    // A close request from the window system takes the same path as every other ending.
    event->ignore();
    OnClose();
}
