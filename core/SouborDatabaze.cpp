#include "SouborDatabaze.h"

#ifdef _WIN32
#include "WindowsApi.h"

#include <QCryptographicHash>
#include <QDir>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <cerrno>
#include <cstdio>

#include "Chyba.h"
#include "Databaze.h"
#include "Disk.h"

namespace SouborDatabaze {

#ifdef _WIN32
// A folder cannot be locked on Windows: the lock is a mutex named after the folder's full path
// (letter case aside, as the file system), released when the process ends however it ends.
ZamekSlozky::ZamekSlozky(const QString& slozka) {
    const QFileInfo info(slozka);
    const QString plna =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QString cesta = QDir::toNativeSeparators(plna).toLower();
    const QString jmeno =
        QStringLiteral("Global\\ParmexRozu-") +
        QString::fromLatin1(
            QCryptographicHash::hash(cesta.toUtf8(), QCryptographicHash::Sha256).toHex());
    const HANDLE zamek = CreateMutexW(nullptr, FALSE, jmeno.toStdWString().c_str());
    if (!zamek) return;
    switch (WaitForSingleObject(zamek, kCekaniMs)) {
        case WAIT_OBJECT_0:
        case WAIT_ABANDONED:  // its holder ended without releasing it
            m_zamek = zamek;
            return;
        case WAIT_TIMEOUT:
            m_obsazeno = true;
            break;
        default:
            break;
    }
    CloseHandle(zamek);
}

ZamekSlozky::~ZamekSlozky() {
    if (!m_zamek) return;
    ReleaseMutex(m_zamek);
    CloseHandle(m_zamek);
}
#else
ZamekSlozky::ZamekSlozky(const QString& slozka) {
    // Not inherited by the programs this one starts (the updater, the Jet reader).
    m_fd = ::open(QFile::encodeName(slozka).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) return;
    // Another program holds the folder for a moment only, unless it is asking its user about
    // a take-over: a short wait lets it finish, and then its database's own lock tells this one
    // that the database is in use.
    QElapsedTimer cekani;
    cekani.start();
    while (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK || cekani.elapsed() > kCekaniMs) {
            m_obsazeno = errno == EWOULDBLOCK;
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        QThread::msleep(20);
    }
}

ZamekSlozky::~ZamekSlozky() {
    if (m_fd >= 0) ::close(m_fd);
}
#endif

QString zpravaObsazeno(const QString& soubor) {
    return QStringLiteral(
               "soubor %1 je otevřen jiným programem (jiná kopie programu jej právě "
               "zakládá nebo otevírá)")
        .arg(soubor);
}

bool chybi(const QString& soubor) {
    const QFileInfo f(soubor);
    return !f.exists() || (f.isFile() && f.size() == 0);
}

bool jeCizi(const QString& soubor) {
    try {
        db::Connection c;
        c.open(soubor, db::Connection::Rezim::JenCteni);
        db::Query q(&c);
        q.setSql(
            QStringLiteral("select count(*), sum(name = 'verze' collate nocase) from "
                           "sqlite_master where type = 'table'"));
        q.open();
        return q.field(0).asInteger() > 0 && q.field(1).asInteger() == 0;
    } catch (const Chyba&) {
        return false;
    }
}

QString zpravaCizi(const QString& soubor) {
    return QStringLiteral(
               "soubor %1 je databáze jiného programu (nemá tabulku verze). Soubor "
               "zůstal beze změny; přesuňte jej prosím jinam a spusťte program znovu.")
        .arg(soubor);
}

void synchronizuj(const QString& cesta) {
    if (!Disk::zapisNaDisk(cesta))
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze zapsat na disk.").arg(cesta));
}

void presunNaMisto(const QString& novy, const QString& cil) {
    // The rename replaces an empty cil in the same step, so the name never stands for a part of
    // a database; anything more than that is never replaced.
    if (!chybi(cil) || !Disk::prejmenuj(novy, cil)) {
        QFile::remove(novy);
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze vytvořit.").arg(cil));
    }
    synchronizuj(QFileInfo(cil).absolutePath());
}

}  // namespace SouborDatabaze
