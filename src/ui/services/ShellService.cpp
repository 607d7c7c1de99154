// GLib's headers come first: they use a word that Qt's headers define as a macro.
#include <gio/gio.h>

#include "ui/services/ShellService.h"

#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <system_error>

namespace {

namespace fs = std::filesystem;

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The checks every launch of a file beside the program makes first: the folder, then the file.
// 0 when both are there.
int CheckBeside(const fs::path& folder, const fs::path& path) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) return kShellPathNotFound;
    if (!fs::exists(path, error)) return kShellFileNotFound;
    return 0;
}

// Starts the application with the files (GFile*) or, without files, the addresses (char*).
int Launch(GAppInfo* app, GList* files, GList* uris) {
    GError* raw = nullptr;
    const gboolean started = files != nullptr ? g_app_info_launch(app, files, nullptr, &raw)
                                              : g_app_info_launch_uris(app, uris, nullptr, &raw);
    const GErrorPtr error(raw);
    // An application that is registered but cannot be started opens nothing either.
    return started ? kShellOk : kShellNoAssociation;
}

}  // namespace

int DesktopShellService::OpenDocument(std::string_view folder, std::string_view file) {
    const fs::path dir(folder);
    const fs::path path = dir / fs::path(file);
    if (const int missing = CheckBeside(dir, path)) return missing;

    const GObjectPtr<GFile> document(g_file_new_for_path(path.c_str()));
    const GObjectPtr<GFileInfo> info(g_file_query_info(document.get(),
                                                       G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                                       G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (!info) return kShellFileNotFound;
    const char* type = g_file_info_get_content_type(info.get());
    if (type == nullptr) return kShellNoAssociation;
    // The type decides, never the permission bits: a document marked executable is opened
    // like any other.
    const GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type(type, FALSE));
    if (!app) return kShellNoAssociation;
    GList files{document.get(), nullptr, nullptr};
    return Launch(app.get(), &files, nullptr);
}

int DesktopShellService::StartProgram(std::string_view folder, std::string_view file) {
    const fs::path dir(folder);
    const fs::path path = dir / fs::path(file);
    if (const int missing = CheckBeside(dir, path)) return missing;
    std::error_code error;
    if (!fs::is_regular_file(path, error) || access(path.c_str(), X_OK) != 0) {
        return kShellAccessDenied;
    }
    return QProcess::startDetached(QString::fromStdString(path.string()), {},
                                   QString::fromStdString(dir.string()))
               ? kShellOk
               : kShellOutOfResources;
}

int DesktopShellService::OpenUrl(std::string_view address) {
    const std::string text(address);
    const std::unique_ptr<char, GFree> scheme(g_uri_parse_scheme(text.c_str()));
    if (!scheme) return kShellFileNotFound;
    const GObjectPtr<GAppInfo> app(g_app_info_get_default_for_uri_scheme(scheme.get()));
    if (!app) return kShellNoAssociation;
    GList uris{const_cast<char*>(text.c_str()), nullptr, nullptr};
    return Launch(app.get(), nullptr, &uris);
}

std::optional<std::string> DesktopShellService::HtmlOpenCommand() {
    const GObjectPtr<GAppInfo> app(g_app_info_get_default_for_type("text/html", FALSE));
    if (!app) return std::nullopt;
    const char* command = g_app_info_get_commandline(app.get());
    if (command == nullptr || *command == '\0') return std::nullopt;
    return std::string(command);
}

int DesktopShellService::StartDetached(std::string_view commandLine) {
    QStringList parts = QProcess::splitCommand(ToQString(commandLine));
    if (parts.isEmpty()) return kShellFileNotFound;
    const QString program = parts.takeFirst();
    return QProcess::startDetached(program, parts) ? kStartOk : kShellFileNotFound;
}
