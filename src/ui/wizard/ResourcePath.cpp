#include "ui/wizard/ResourcePath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPointer>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <string_view>

#include "core/session/SessionFields.h"
#include "core/session/TextBuffer.h"
#include "resources/ArtFiles.h"
#include "resources/ArtPng.h"
#include "resources/PageTemplates.h"

namespace {

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A picture decoded ahead on the worker. Whoever moves state away from Queued first decides:
// the worker decodes it, or the UI thread takes it back (decodes it itself, or drops it).
struct Decoding {
    enum State { Queued, Started, Withdrawn };
    std::atomic<int> state{Queued};
    std::promise<QImage> image;
};

// Bool: the job was still queued and is now withdrawn.
bool Withdraw(Decoding& job) {
    int expected = Decoding::Queued;
    return job.state.compare_exchange_strong(expected, Decoding::Withdrawn);
}

// The pictures prepared ahead. Touched on the UI thread only.
struct Prepared {
    QString path;  // as asked for
    QString file;  // what is decoded for it
    std::shared_ptr<Decoding> job;
    std::shared_future<QImage> image;
};
std::vector<Prepared>& PreparedArt() {
    static std::vector<Prepared> prepared;
    return prepared;
}

// One worker, so decoding ahead takes at most one of the processors from the UI thread. It
// belongs to the application, which waits for it when it ends.
QThreadPool& Decoder() {
    static QPointer<QThreadPool> pool;
    if (pool.isNull()) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setMaxThreadCount(1);
    }
    return *pool;
}

PagesAhead& InstalledPagesAhead() {
    static PagesAhead pagesAhead;
    return pagesAhead;
}

// A picture file: the double-density art through its own two-halves decoder, anything else (and
// a file that decoder does not take) through Qt's readers.
QImage ReadArt(const QString& file) {
    QFile in(file);
    if (in.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = in.readAll();
        if (std::optional<ArtPixels> art = DecodeArtPng(
                std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
            auto* kept = new ArtPixels(std::move(*art));
            return QImage(
                reinterpret_cast<uchar*>(kept->pixels.data()), kept->width, kept->height,
                static_cast<qsizetype>(kept->width) * 4, QImage::Format_RGB32,
                [](void* pixels) { delete static_cast<ArtPixels*>(pixels); }, kept);
        }
    }
    return QImage(file);
}

QString FileForRatio(const QString& path, qreal ratio) {
    return ArtFileForRatio(path, ratio,
                           [](const QString& name) { return QFileInfo::exists(name); });
}

}  // namespace

QString ResourcePath(std::string_view file) {
    const QString path = QDir::currentPath() + QLatin1Char('/') +
                         FromUtf8(TextOf(Session().languageFolder)) + QLatin1Char('/') +
                         FromUtf8(file);
    return QDir::toNativeSeparators(path);
}

QString PageBitmap(int templateId, bool alternate) {
    const PageTemplate* page = FindPageTemplate(templateId);
    if (page == nullptr) return {};
    const char* file =
        alternate && page->alternateBackground ? page->alternateBackground : page->background;
    return ResourcePath(file);
}

QString BesideProgram(std::string_view folder) {
    return QDir::toNativeSeparators(QDir::currentPath() + QLatin1Char('/') + FromUtf8(folder));
}

QString ArtFileForRatio(const QString& path, qreal ratio,
                        const std::function<bool(const QString&)>& exists) {
    if (ratio <= 1.0) return path;
    const QFileInfo file(path);
    const QString twice = QDir::toNativeSeparators(file.dir().filePath(
        QString::fromStdString(DoubleDensityName(file.fileName().toStdString()))));
    return exists(twice) ? twice : path;
}

void PrepareArt(const std::vector<QString>& paths, qreal ratio) {
    std::vector<Prepared> kept;
    auto& prepared = PreparedArt();
    for (const QString& path : paths) {
        const QString file = FileForRatio(path, ratio);
        const auto found = std::find_if(prepared.begin(), prepared.end(),
                                        [&](const Prepared& p) { return p.file == file; });
        if (found != prepared.end()) {
            kept.push_back(std::move(*found));
            prepared.erase(found);
            continue;
        }
        auto job = std::make_shared<Decoding>();
        kept.push_back({path, file, job, job->image.get_future().share()});
        Decoder().start([job, file] {
            int expected = Decoding::Queued;
            const bool mine = job->state.compare_exchange_strong(expected, Decoding::Started);
            job->image.set_value(mine ? ReadArt(file) : QImage());
        });
    }
    for (Prepared& dropped : prepared) Withdraw(*dropped.job);
    prepared = std::move(kept);
}

QPixmap LoadArt(const QString& path, qreal ratio) {
    auto& prepared = PreparedArt();
    const auto found = std::find_if(prepared.begin(), prepared.end(), [&](const Prepared& p) {
        return p.path == path && (ratio > 1) == (p.file != path);
    });
    QString file = FileForRatio(path, ratio);
    QPixmap art;
    if (found != prepared.end() && !Withdraw(*found->job)) {
        // Being decoded or done: waiting costs less than starting again.
        file = found->file;
        art = QPixmap::fromImage(found->image.get());
    } else {
        art = QPixmap::fromImage(ReadArt(file));
    }
    if (found != prepared.end()) prepared.erase(found);
    if (file == path) return art;
    if (art.isNull()) return QPixmap(path);  // an unreadable double-density file
    art.setDevicePixelRatio(2);
    return art;
}

QSize ArtSize(const QString& path, qreal ratio) {
    const QString file = FileForRatio(path, ratio);
    const QSize size = QImageReader(file).size();
    if (file == path || !size.isValid()) return QImageReader(path).size();
    return size / 2;
}

void SetPagesAhead(PagesAhead pagesAhead) {
    InstalledPagesAhead() = std::move(pagesAhead);
}

const PagesAhead& PagesAheadOf() {
    return InstalledPagesAhead();
}
