#pragma once

#include <QApplication>
#include <QString>

// The application: its whole life is one modal run of the home page, with every other page
// nested inside it. Its name is the executable's file name, which every message box carries
// as its caption.
class SetupPilotApp final {
public:
    SetupPilotApp(int& argc, char** argv);
    SetupPilotApp(const SetupPilotApp&) = delete;
    SetupPilotApp& operator=(const SetupPilotApp&) = delete;

    // Runs the home page of the current language and returns when it has ended.
    void InitInstance();

    // The executable's file name without its directory and extension.
    static QString NameFromProgramPath(const QString& programPath);

private:
    QApplication m_app;
};
