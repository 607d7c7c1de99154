#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <map>
#include <vector>

#include "core/protocol/RequestValue.h"
#include "resources/PageTemplates.h"

class CHoverButton;

// The application's dialog colour, shown wherever no background covers a page.
inline const QColor kDialogBackground{248, 252, 255};

// The base of every page: a fixed-size modal dialog without caption, painted with one
// full-page bitmap, whose child widgets are built from its dialog template (objectName = the
// control id). Pages form a stack of nested modal runs: Next runs the following page inside its
// handler, Back and Exit unwind it with the two private messages.
class CWizardPage : public QDialog {
    Q_OBJECT

public:
    // The background is loaded here, once; a file that cannot be loaded leaves it null.
    CWizardPage(int templateId, const QString& bitmapPath, QWidget* owner);
    ~CWizardPage() override;
    Q_DISABLE_COPY_MOVE(CWizardPage)

    // Runs OnInitDialog (the first time), then the page's modal loop. Returns when the page has
    // ended; every page ends with Accepted.
    int DoModal();

    // Leaves width and height untouched when there is no background.
    void GetBitmapSize(int& width, int& height) const;
    // Loaded at its first use: at high ratios it is decoded on a worker while the page is built.
    const QPixmap& Background() const;
    const QString& BackgroundPath() const { return m_strBackgroundPath; }
    const PageTemplate& Template() const { return *m_template; }

    // The child built for a template control, or nullptr.
    QWidget* Control(int id) const;
    CHoverButton* Button(int id) const;

    // The normal-weight Arial of the pages' labels and check boxes, 12 pixels unless a label
    // needs a smaller one to fit.
    static QFont LabelFont(int pixels = 12);

    // The page this one was opened from (nullptr for the first home page).
    QWidget* Owner() const { return parentWidget(); }

    // Handlers; pages override those that differ from the common behaviour.
    virtual void OnNext() {}
    virtual void OnBack();
    virtual void OnExit();
    virtual long OnWizardExit(std::uintptr_t wParam);
    virtual long OnWizardReshow(std::uintptr_t wParam);
    // The one way a page ends: hide it and end its modal loop with Accepted.
    virtual void OnClose();

public slots:
    // Enter and Escape never end a page.
    void accept() override {}
    void reject() override {}

protected:
    // Sizes the page to its background. Pages add their own work after calling it.
    virtual void OnInitDialog();
    // Whether the page takes the two private messages (the final page does not).
    virtual bool HandlesWizardMessages() const { return true; }

    // Loads the strip of the language in force into the button and gives it the link cursor;
    // nullptr when the template has no such button.
    CHoverButton* PrepareButton(int id, const char* stripFile);
    // The same, then moves the button to (x, y).
    void PlaceButton(int id, const char* stripFile, int x, int y);
    // Shows the message of a refused entry in the current language (with the plain note after an
    // over-long name) and gives the entry's control the focus. Returns 1, the refusal of
    // StoreEntries.
    int Refuse(const FormFailure& failure);

    // The bottom row of buttons sits this many pixels above the background's bottom edge.
    static constexpr int kBottomRowRise = 27;
    // The standard row at the bottom left: Exit, Back, Next at x = 16, 16 + w, 16 + 2w, 27
    // pixels above the bottom edge; without Back, Next takes Back's place.
    void LayOutBottomRow(bool withBack);
    // Exit's two steps: WM_WIZARD_EXIT to the owner, then close.
    void LeaveWizard();
    // Chains every control Tab reaches in reading order: rows top to bottom, left to right.
    // DoModal calls it once the page is laid out; a page that moves its controls later calls it
    // again. Hidden controls stay in the chain; Tab passes over them.
    void OrderTabChain();
    // Gives a page of buttons the focus on its first one, unless the page has chosen one.
    void FocusFirstControl();
    // Width and height of the page: those of its background, else of its template.
    QSize PageSize() const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    // Names the page and its controls for screen readers in the session's language: the page's
    // heading and drawn instructions, the words drawn on or beside each control.
    void ApplyAccessibleTexts();
    // Starts decoding the pictures of the pages this one can open next (high ratios only).
    void PrepareFollowingArt();

    const PageTemplate* m_template;
    QString m_strBackgroundPath;
    QSize m_backgroundSize;  // logical; invalid when there is no background
    mutable QPixmap m_background;
    mutable bool m_bBackgroundLoaded = false;
    std::map<int, QWidget*> m_controls;
    std::vector<QWidget*> m_tabChain;  // in reading order
    bool m_bInitialised = false;
    bool m_bEnding = false;
};
