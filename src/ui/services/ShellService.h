#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Launching through the desktop: documents with their default application, programs detached,
// web addresses in the browser. The result codes keep the shell's convention: above 32 means
// the launch went ahead, 32 or below is the reason it did not.
inline constexpr int kShellOutOfResources = 0;
inline constexpr int kShellFileNotFound = 2;
inline constexpr int kShellPathNotFound = 3;
inline constexpr int kShellAccessDenied = 5;
inline constexpr int kShellNoAssociation = 31;
inline constexpr int kShellOk = 42;

// StartDetached follows the older convention of a plain program start: above 31 is success.
inline constexpr int kStartOk = 33;

// Programs beside the wizard carry the platform's executable suffix.
#ifdef _WIN32
inline constexpr std::string_view kExecutableSuffix = ".exe";
#else
inline constexpr std::string_view kExecutableSuffix = "";
#endif

class ShellService {
public:
    virtual ~ShellService() = default;

    // Opens the document folder/file with the desktop's default application for its type. A
    // document is never started as a program, whatever its permission bits: without an
    // application for its type the result is kShellNoAssociation.
    virtual int OpenDocument(std::string_view folder, std::string_view file) = 0;
    // Starts the program folder/file with folder as its working directory, without waiting.
    // kShellAccessDenied when the file is not an executable one.
    virtual int StartProgram(std::string_view folder, std::string_view file) = 0;
    // Opens a web address with the desktop's handler for its scheme.
    virtual int OpenUrl(std::string_view address) = 0;
    // The command line of the desktop's application for HTML documents, field code included
    // (for example "firefox %u"), or nothing when there is none.
    virtual std::optional<std::string> HtmlOpenCommand() = 0;
    // Starts a command line (program and arguments separated by spaces, double quotes group)
    // without waiting for it.
    virtual int StartDetached(std::string_view commandLine) = 0;
};

// The desktop's own rules for default applications (the XDG associations, through GIO) and a
// plain process start for programs.
class DesktopShellService final : public ShellService {
public:
    int OpenDocument(std::string_view folder, std::string_view file) override;
    int StartProgram(std::string_view folder, std::string_view file) override;
    int OpenUrl(std::string_view address) override;
    std::optional<std::string> HtmlOpenCommand() override;
    int StartDetached(std::string_view commandLine) override;
};
