#include "support/help_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>

#include "platform/unique_fd.h"

namespace velkaro {
namespace {

// `folder`, made 0700 when missing; empty unless it is a real folder of this user.
QString CheckedPrivateFolder(const QString& folder) {
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) return {};
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return {};  // a link or another's
    if ((info.st_mode & 0777) != 0700 && ::chmod(path.constData(), 0700) != 0) return {};
    return folder;
}

// Writes the page into the private `folder`: to a fresh file beside the target, then renamed
// over it, since rename replaces whatever stands at the path (a link included) instead of
// writing through it.
QString WriteInto(const QString& folder, const QByteArray& content) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(kHelpFileName);
    QByteArray temp = QFile::encodeName(folder + QStringLiteral("/.Help-XXXXXX"));
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd) return {};
    bool written = ::fchmod(fd.Get(), 0600) == 0;
    for (qsizetype done = 0; written && done < content.size();) {
        const ssize_t n = ::write(fd.Get(), content.constData() + done,
                                  static_cast<std::size_t>(content.size() - done));
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) done += n;
    }
    fd.Reset();
    if (!written || ::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(temp.constData());
        return {};
    }
    return path;
}

}  // namespace

QString PrivateHelpFolder(const QString& tempRoot) {
    return CheckedPrivateFolder(tempRoot + QStringLiteral("/velkaro-%1").arg(::getuid()));
}

QString WriteHelpFile(const QByteArray& content, const QString& runtimeDir,
                      const QString& tempRoot) {
    if (!runtimeDir.isEmpty()) {
        const QString folder = CheckedPrivateFolder(runtimeDir + QStringLiteral("/velkaro"));
        const QString path = folder.isEmpty() ? QString() : WriteInto(folder, content);
        if (!path.isEmpty()) return path;
    }
    if (tempRoot.isEmpty()) return {};  // not the root folder by accident
    const QString folder = PrivateHelpFolder(tempRoot);
    const QString path = folder.isEmpty() ? QString() : WriteInto(folder, content);
    if (!path.isEmpty()) return path;
    // The predictable name is taken: a fresh folder nobody else can have planted (mkdtemp makes
    // it 0700 and fails rather than reuse anything that exists).
    QByteArray fresh = QFile::encodeName(tempRoot + QStringLiteral("/velkaro-help-XXXXXX"));
    if (!::mkdtemp(fresh.data())) return {};
    const QString written = WriteInto(QFile::decodeName(fresh), content);
    if (written.isEmpty()) ::rmdir(fresh.constData());
    return written;
}

}  // namespace velkaro
