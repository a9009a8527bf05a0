#include "Disk.h"

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <cstdio>

bool Disk::zapisNaDisk(const QString& cesta) {
    const int fd = ::open(QFile::encodeName(cesta).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0) ::close(fd);
    return ok;
}

bool Disk::prejmenuj(const QString& z, const QString& na) {
    return std::rename(QFile::encodeName(z).constData(), QFile::encodeName(na).constData()) == 0;
}
