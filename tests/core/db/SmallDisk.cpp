#include "core/db/SmallDisk.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

SmallDisk::SmallDisk(const QString& folder, int kilobytes) : m_folder(folder) {
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0777";
    m_mounted = ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs",
                                            0, options.constData()) == 0;
}

SmallDisk::~SmallDisk() {
    if (m_mounted) {
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
    }
}

void SmallDisk::fill(int leaveKilobytes) {
    const QByteArray folder = QFile::encodeName(m_folder);
    const int fd = ::open((folder + "/filler").constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const QByteArray block(1024, 'x');
    const auto freeKilobytes = [&] {
        struct statvfs fs {};
        ::statvfs(folder.constData(), &fs);
        return static_cast<long long>(fs.f_bavail) * static_cast<long long>(fs.f_frsize) / 1024;
    };
    while (freeKilobytes() > leaveKilobytes && ::write(fd, block.constData(), block.size()) > 0) {
    }
    while (leaveKilobytes == 0 && ::write(fd, block.constData(), 1) > 0) {
    }
    ::close(fd);
}
