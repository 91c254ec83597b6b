#include "support/help_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>
#include <QFile>

#include "platform/unique_fd.h"

namespace velkaro {

QString PrivateHelpFolder(const QString& tempRoot) {
    const QString folder = tempRoot + QStringLiteral("/velkaro-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) return {};
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return {};  // a link or another's
    if ((info.st_mode & 0777) != 0700 && ::chmod(path.constData(), 0700) != 0) return {};
    return folder;
}

QString WriteHelpFile(const QByteArray& content, const QString& tempRoot) {
    const QString folder = PrivateHelpFolder(tempRoot);
    if (folder.isEmpty()) return {};
    const QString path = folder + QLatin1Char('/') + QLatin1String(kHelpFileName);
    // Written to a fresh file beside the target, then renamed over it: rename replaces whatever
    // stands at the path (a link included) instead of writing through it.
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

}  // namespace velkaro
