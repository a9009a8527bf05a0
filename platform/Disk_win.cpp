// SPDX-License-Identifier: GPL-3.0-or-later
#include "Disk.h"

#include <io.h>

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>

#include "WindowsApi.h"

namespace {
std::wstring nativni(const QString& cesta) {
    return QDir::toNativeSeparators(cesta).toStdWString();
}
}  // namespace

bool Disk::zapisNaDisk(const QString& cesta) {
    // NTFS journals a folder's entries itself; a folder cannot be flushed through a handle
    // without write access to it.
    if (QFileInfo(cesta).isDir()) return true;
    const HANDLE h = CreateFileW(nativni(cesta).c_str(), GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = FlushFileBuffers(h) != 0;
    CloseHandle(h);
    return ok;
}

bool Disk::zapisNaDisk(QFileDevice& soubor) {
    return soubor.handle() >= 0 && _commit(soubor.handle()) == 0;
}

bool Disk::prejmenuj(const QString& z, const QString& na) {
    // The C library's rename refuses an existing target here.
    return MoveFileExW(nativni(z).c_str(), nativni(na).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
