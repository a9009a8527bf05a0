// SPDX-License-Identifier: GPL-3.0-or-later
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

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QThread>
#include <cerrno>
#include <cstdio>
#include <memory>

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

bool jeKratky(const QString& soubor) {
    const QFileInfo f(soubor);
    return f.isFile() && f.size() > 0 && f.size() < 512;
}

QString zkontroluj(db::Connection& spojeni, Kontrola kontrola) {
    try {
        db::Query q(&spojeni);
        q.setSql(kontrola == Kontrola::Rychla ? QStringLiteral("PRAGMA quick_check(5)")
                                              : QStringLiteral("PRAGMA integrity_check(5)"));
        q.open();
        QStringList nalezy;
        for (q.first(); !q.eof(); q.next()) nalezy << q.field(0).asString();
        if (nalezy == QStringList{QStringLiteral("ok")}) return QString();
        return nalezy.isEmpty() ? QStringLiteral("kontrola nic nevrátila")
                                : nalezy.join(QStringLiteral("; "));
    } catch (const Chyba& e) {
        // A page so damaged that the check itself stops.
        return e.zprava();
    }
}

bool jePoskozeni(const QString& chybaStroje) {
    // The engine's texts of a damaged file: "database disk image is malformed", "malformed
    // database schema (...)".
    return chybaStroje.contains(QLatin1String("malformed"));
}

namespace {

// Opens the copy (completing its unfinished write, if one lies beside it) and checks it
// thoroughly: pages of another state of the file can leave every page well formed and only an
// index not matching its table.
QString zkontrolujKopii(const QString& kopie) {
    try {
        db::Connection c;
        c.open(kopie, db::Connection::Rezim::Vyhradni);
        return zkontroluj(c, Kontrola::Dukladna);
    } catch (const Chyba& e) {
        return e.zprava();
    }
}

}  // namespace

Nalez zkontrolujNedokoncenyZapis(const QString& soubor) {
    const QString zurnal = soubor + QStringLiteral("-journal");
    const QFileInfo z(zurnal);
    if (!z.isFile() || z.size() == 0) return {};
    // The copies lie beside the register (the same disk, which has room for the register's
    // growth anyway), else in the system's temporary folder.
    std::unique_ptr<QTemporaryDir> slozka = std::make_unique<QTemporaryDir>(
        QFileInfo(soubor).absoluteFilePath() + QStringLiteral(".kontrola-XXXXXX"));
    if (!slozka->isValid()) slozka = std::make_unique<QTemporaryDir>();
    const QString kopie = slozka->filePath(QStringLiteral("data.mdb"));
    const QString kopieZurnalu = kopie + QStringLiteral("-journal");
    if (!slozka->isValid() || !QFile::copy(soubor, kopie) || !QFile::copy(zurnal, kopieZurnalu))
        // Nothing could be tried: the engine completes the write at the open, as it would have.
        return {};
    Nalez n;
    n.detail = zkontrolujKopii(kopie);
    if (n.detail.isEmpty()) return n;
    n.druh = Nalez::Druh::Poskozena;
    QFile::remove(kopie);
    QFile::remove(kopieZurnalu);
    if (QFile::copy(soubor, kopie) && zkontrolujKopii(kopie).isEmpty())
        n.druh = Nalez::Druh::CiziZurnal;
    return n;
}

QString zpravaPoskozena(const QString& soubor, const QString& detail) {
    return QStringLiteral(
               "soubor %1 je poškozen (%2). Program v něm nic nezměnil. Ukončete jej prosím a "
               "obnovte %1 ze zálohy: zkopírujte zálohu na jeho místo a smažte soubor "
               "%1-journal, leží-li vedle něj. Nemáte-li zálohu, obraťte se na správce na "
               "svazu.")
        .arg(soubor, detail);
}

QString zpravaCiziZurnal(const QString& soubor) {
    return QStringLiteral(
               "vedle souboru %1 leží soubor %1-journal s nedokončeným zápisem, který k němu "
               "nepatří (například po obnovení %1 ze zálohy): jeho dokončením by se databáze "
               "poškodila. Program nic nezměnil. Obnovili-li jste %1 ze zálohy, smažte soubor "
               "%1-journal a spusťte program znovu; jinak se obraťte na správce na svazu.")
        .arg(soubor);
}

QString overZapis(db::Connection& spojeni, const QString& soubor) {
    const QString slozka = QFileInfo(soubor).absolutePath();
    if (spojeni.jenProCteni())
        return QStringLiteral("soubor je jen pro čtení nebo k němu nemáte právo zápisu");
    QTemporaryFile zkouska(QFileInfo(soubor).absoluteFilePath() +
                           QStringLiteral(".zkouska-XXXXXX"));
    if (!zkouska.open())
        return QStringLiteral("do složky \"%1\" nelze zapisovat: %2")
            .arg(QDir::toNativeSeparators(slozka), zkouska.errorString());
    return QString();
}

QString zpravaJenProCteni(const QString& soubor, const QString& duvod) {
    return QStringLiteral(
               "do souboru %1 nelze zapisovat (%2). Program by nemohl uložit žádnou platbu "
               "ani převzít nové číselníky, proto se ukončí a nic nezmění. Zkontrolujte "
               "prosím, zda soubor a složka programu nejsou jen pro čtení a zda k nim máte "
               "právo zápisu.")
        .arg(soubor, duvod);
}

void presunNaMisto(const QString& novy, const QString& cil) {
    // The rename replaces an empty cil in the same step, so the name never stands for a part of
    // a database; anything more than that is never replaced.
    if (!chybi(cil) || !Disk::prejmenuj(novy, cil)) {
        QFile::remove(novy);
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze vytvořit.").arg(cil));
    }
    Disk::synchronizuj(QFileInfo(cil).absolutePath());
}

}  // namespace SouborDatabaze
