#include "ui/wizard/HomePage.h"

#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <array>
#include <string>

#include "core/messages/DesktopLanguage.h"
#include "core/messages/LocalizedMessages.h"
#include "core/session/SessionFields.h"
#include "resources/StringTable.h"
#include "ui/controls/HoverButton.h"
#include "ui/services/MessageBoxService.h"
#include "ui/services/ShellService.h"
#include "ui/wizard/ResourcePath.h"
#include "ui/wizard/WizardContext.h"

namespace {

struct Language {
    const char* button;
    const char* selectedButton;
    const char* guide;
    const char* noManualViewer;
    const char* noGuideViewer;
};

// Index 0 English, 1 French, 2 German, 3 Italian, 4 Spanish.
constexpr std::array<Language, kLanguageCount> kLanguages{{
    {"language_English.bmp", "language_English_selected.bmp", "QIG.pdf",
     "You must install Adobe Acrobat Reader before you open user's manual!",
     "You must install Adobe Acrobat Reader before you open quick installation guide!"},
    {"language_French.bmp", "language_French_selected.bmp", "Qig_french.pdf",
     "Vous devez installer Adobe Acrobat reader avant d'ouvrir le manuel utilisateur!",
     "Vous devez installer Adobe Acrobat reader avant d'ouvrir le guide d'installation rapide!"},
    {"language_German.bmp", "language_German_selected.bmp", "Qig_german.pdf",
     "Sie müssen den Adobe Acrobat Reader vor dem Öffnen des Handbuchs installieren!",
     "Sie müssen den Adobe Acrobat Reader vor dem Öffnen des Quick Installation Guides "
     "installieren!"},
    {"language_Italian.bmp", "language_Italian_selected.bmp", "Qig_italian.pdf",
     "Occorre installare Adobe Acrobat Reader prima di aprire il manuale utente!",
     "Occorre installare Adobe Acrobat Reader prima di aprire la guida di installazione "
     "rapida!"},
    {"language_Spanish.bmp", "language_Spanish_selected.bmp", "Qig_spanish.pdf",
     "Ha de instalar Adobe Acrobat Reader antes de abrir el Manual del usuario.",
     "Ha de instalar Adobe Acrobat Reader antes de abrir la Guía rápida de instlación."},
}};

// Any index outside the table reads as English.
const Language& LanguageAt(int index) {
    return index >= 0 && index < kLanguageCount ? kLanguages[static_cast<std::size_t>(index)]
                                                : kLanguages[0];
}

constexpr const char* kDocsFolder = "Docs";
constexpr const char* kManualFile = "Manual.pdf";
constexpr const char* kEnglishGuideFile = "QIG.pdf";
constexpr const char* kAcrobatFolder = "Acrobat";
constexpr const char* kSupportFolder = "Support";

// Gap between a revealed language list and the page's right edge.
constexpr int kLanguageListRight = 18;

// The shell's convention: a result below 32 is a failure.
constexpr int kShellFailureBelow = 32;

// A document beside the program, opened with the desktop's application for its type.
int OpenDocument(const char* folder, std::string_view file) {
    ShellService* shell = CurrentContext().shell;
    if (shell == nullptr) return kShellOutOfResources;
    return shell->OpenDocument(BesideProgram(folder).toStdString(), file);
}

// A program beside the wizard, started in its own folder; its result is not reported.
void StartProgram(const char* folder, std::string_view name) {
    if (ShellService* shell = CurrentContext().shell) {
        shell->StartProgram(BesideProgram(folder).toStdString(),
                            std::string(name) + std::string(kExecutableSuffix));
    }
}

}  // namespace

CHomePage::CHomePage(const QString& bitmapPath, QWidget* owner)
    : CWizardPage(kTemplateHome, bitmapPath, owner) {
    const std::array<std::pair<int, void (CHomePage::*)()>, 6> handlers{{
        {kIdStart, &CHomePage::OnStart},
        {kIdManual, &CHomePage::OnViewManual},
        {kIdGuide, &CHomePage::OnViewGuide},
        {kIdAcrobat, &CHomePage::OnInstallAcrobat},
        {kIdSupport, &CHomePage::OnSupport},
        {kIdClose, &CHomePage::OnClose},
    }};
    for (const auto& [id, handler] : handlers) {
        if (CHoverButton* button = Button(id)) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, handler] { (this->*handler)(); });
        }
    }
    for (int i = 0; i < kLanguageCount; ++i) {
        if (CHoverButton* button = Button(kIdFirstLanguageButton + i)) {
            connect(button, &QAbstractButton::clicked, this, [this, i] { OnLanguageButton(i); });
        }
    }
    // Only a choice made by the user changes the language, not the selection set while filling.
    if (auto* list = qobject_cast<QComboBox*>(Control(kIdLanguageList))) {
        connect(list, &QComboBox::activated, this, [this] { OnLanguageList(); });
    }
}

void CHomePage::OnInitDialog() {
    if (auto* label = qobject_cast<QLabel*>(Control(kIdLanguageLabel))) {
        label->setFont(LabelFont());
    }
    setWindowTitle(QString::fromUtf8(LoadResString(kStrTitle)));
    CWizardPage::OnInitDialog();

    const QSize size = PageSize();
    const int W = size.width();
    const int H = size.height();
    PlaceButton(kIdClose, "btn_close.bmp", 18, H - kBottomRowRise);
    if (CHoverButton* start = PrepareButton(kIdStart, "btn_quick.bmp")) {
        start->SetTooltipText("Click to start!", true);
        start->move(W - 160, H - 174);
    }
    // A column 180 pixels from the right edge, each button one button height below the last.
    const std::array<std::pair<int, const char*>, 4> column{{
        {kIdManual, "btn_manual.bmp"},
        {kIdGuide, "btn_QIG.bmp"},
        {kIdAcrobat, "btn_acrobat.bmp"},
        {kIdSupport, "btn_techsupport.bmp"},
    }};
    for (std::size_t row = 0; row < column.size(); ++row) {
        if (CHoverButton* button = PrepareButton(column[row].first, column[row].second)) {
            button->move(W - 180, 120 + static_cast<int>(row) * button->height());
        }
    }

    const int current = Session().languageIndex;
    for (int i = 0; i < kLanguageCount; ++i) {
        const Language& language = LanguageAt(i);
        const char* strip = i == current ? language.selectedButton : language.button;
        if (CHoverButton* button = PrepareButton(kIdFirstLanguageButton + i, strip)) {
            button->move(99 + i * button->width(), H - 88);
        }
    }

    if (auto* list = qobject_cast<QComboBox*>(Control(kIdLanguageList))) {
        list->clear();
        for (int i = 0; i < kLanguageCount; ++i) {
            list->insertItem(i, QString::fromUtf8(LoadResString(kStrFirstLanguage + i)));
        }
        list->setCurrentIndex(current);
    }
    // A language just chosen from the list by keyboard: the new page keeps the list at hand.
    auto* previous = qobject_cast<CHomePage*>(Owner());
    if (previous != nullptr && previous->testAttribute(Qt::WA_KeyboardFocusChange)) {
        RevealLanguageList();
        Control(kIdLanguageList)->setFocus(Qt::OtherFocusReason);
    }
}

void CHomePage::OnStart() {
    LoadLocalizedMessages();
    OpenStep(WizardStep::HomeStart, this);
}

void CHomePage::OnViewManual() {
    if (OpenDocument(kDocsFolder, kManualFile) < kShellFailureBelow) {
        ShowMessage(this, LanguageAt(Session().languageIndex).noManualViewer,
                    MessageIcon::Information);
    }
}

void CHomePage::OnViewGuide() {
    // The pauses run on a timer; a second click meanwhile would start a second sequence.
    if (m_bGuidePending) return;
    m_bGuidePending = true;
    const int result = OpenDocument(kDocsFolder, LanguageAt(Session().languageIndex).guide);
    QTimer::singleShot(kGuidePauseMs, this, [this, result] { RetryGuide(result); });
}

void CHomePage::RetryGuide(int firstResult) {
    if (firstResult >= kShellFailureBelow) {
        m_bGuidePending = false;
        return;
    }
    // A missing translation falls back to the English guide.
    const int result = OpenDocument(kDocsFolder, kEnglishGuideFile);
    QTimer::singleShot(kGuidePauseMs, this, [this, result] {
        m_bGuidePending = false;
        if (result < kShellFailureBelow) ShowGuideFailure();
    });
}

void CHomePage::ShowGuideFailure() {
    ShowMessage(this, LanguageAt(Session().languageIndex).noGuideViewer, MessageIcon::Information);
}

void CHomePage::OnInstallAcrobat() {
    StartProgram(kAcrobatFolder, "AdbeRdr");
}

void CHomePage::OnSupport() {
    StartProgram(kSupportFolder, "SupportDesk");
}

void CHomePage::OnLanguageButton(int index) {
    SetLanguage(Session(), index);
    RebuildInLanguage();
}

void CHomePage::OnLanguageList() {
    auto* list = qobject_cast<QComboBox*>(Control(kIdLanguageList));
    if (list == nullptr) return;
    // The position is stored as it is; only the folder falls back to English.
    SetLanguage(Session(), list->currentIndex());
    RebuildInLanguage();
}

void CHomePage::RebuildInLanguage() {
    // This page is told to end first; the new one runs inside this handler, so leaving it ends
    // this page's run too.
    OnClose();
    OpenStep(WizardStep::HomeRelanguage, this);
}

bool CHomePage::focusNextPrevChild(bool next) {
    RevealLanguageList();
    return CWizardPage::focusNextPrevChild(next);
}

void CHomePage::RevealLanguageList() {
    QWidget* list = Control(kIdLanguageList);
    if (list == nullptr || !list->isHidden()) return;
    const QSize size = PageSize();
    list->move(size.width() - kLanguageListRight - list->width(), size.height() - kBottomRowRise);
    list->show();
    OrderTabChain();
}

long CHomePage::OnWizardExit(std::uintptr_t) {
    OnClose();
    return 0;
}
