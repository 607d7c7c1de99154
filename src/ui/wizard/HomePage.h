#pragma once

#include "ui/wizard/WizardPage.h"

// The bottom of the page stack and the program's main window: Start opens the wizard, four
// buttons open the manual, the quick installation guide, the Acrobat installer and the support
// tool, Close ends the program. Its language controls are hidden in the template but fully
// wired: choosing a language rebuilds the home page, nested inside this one.
class CHomePage final : public CWizardPage {
    Q_OBJECT

public:
    // Control ids of the template.
    static constexpr int kIdStart = 1002;
    static constexpr int kIdManual = 1003;
    static constexpr int kIdGuide = 1004;
    static constexpr int kIdAcrobat = 1005;
    static constexpr int kIdSupport = 1006;
    static constexpr int kIdClose = 1016;
    static constexpr int kIdLanguageLabel = 1088;
    static constexpr int kIdLanguageList = 1089;
    static constexpr int kIdFirstLanguageButton = 1090;  // 1090..1094: English .. Spanish

    // Pause after each attempt to open the guide, before the next step.
    static constexpr int kGuidePauseMs = 100;

    CHomePage(const QString& bitmapPath, QWidget* owner);
    Q_DISABLE_COPY_MOVE(CHomePage)

    void OnStart();
    void OnViewManual();
    void OnViewGuide();
    void OnInstallAcrobat();
    void OnSupport();
    void OnLanguageButton(int index);
    void OnLanguageList();

    // True while OnViewGuide waits between its attempts.
    bool GuidePending() const { return m_bGuidePending; }

    // The bottom of the stack takes Exit by closing itself; it has nobody to pass it to.
    long OnWizardExit(std::uintptr_t wParam) override;

protected:
    void OnInitDialog() override;
    // The first Tab or Shift+Tab also brings out the language list (see RevealLanguageList).
    bool focusNextPrevChild(bool next) override;

private:
    // Rebuilds the home page in the language now in the session, nested inside this one.
    void RebuildInLanguage();
    // The second step of OnViewGuide, after the first attempt's pause.
    void RetryGuide(int firstResult);
    void ShowGuideFailure();
    // Shows the language list at the right of the bottom bar for someone moving with the
    // keyboard, who has no other way to reach it; a mouse user never sees it.
    void RevealLanguageList();

    bool m_bGuidePending = false;
};
