#include "connections/tty_holders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

namespace velkaro {
namespace {

bool SameNode(const struct stat& a, const struct stat& b) {
    if ((a.st_mode & S_IFMT) != (b.st_mode & S_IFMT)) return false;
    if (S_ISCHR(a.st_mode)) return a.st_rdev == b.st_rdev;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Dir = std::unique_ptr<DIR, DirCloser>;

bool HoldsNode(const std::string& fdFolder, const struct stat& node) {
    Dir fds(::opendir(fdFolder.c_str()));
    if (!fds) return false;  // not ours to see
    while (const dirent* entry = ::readdir(fds.get())) {
        if (entry->d_name[0] == '.') continue;
        struct stat info {};
        if (::stat((fdFolder + '/' + entry->d_name).c_str(), &info) == 0 && SameNode(info, node))
            return true;
    }
    return false;
}

}  // namespace

std::vector<int> OtherProcessesHolding(const std::string& devicePath, const std::string& procRoot) {
    std::vector<int> holders;
    struct stat node {};
    if (::stat(devicePath.c_str(), &node) != 0) return holders;
    if (!S_ISCHR(node.st_mode) && !S_ISFIFO(node.st_mode)) return holders;
    Dir processes(::opendir(procRoot.c_str()));
    if (!processes) return holders;
    const int self = static_cast<int>(::getpid());
    while (const dirent* entry = ::readdir(processes.get())) {
        char* end = nullptr;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end != '\0' || pid <= 0 || pid == self) continue;
        if (HoldsNode(procRoot + '/' + entry->d_name + "/fd", node))
            holders.push_back(static_cast<int>(pid));
    }
    return holders;
}

}  // namespace velkaro
