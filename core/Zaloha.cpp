// SPDX-License-Identifier: GPL-3.0-or-later
#include "Zaloha.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "Chyba.h"
#include "Disk.h"

namespace {

// The tables every register of the current schema has.
const char* const kTabulkyRegistru[] = {
    "verze",           "Nastaveni",    "RokEvidence",      "Uzivatele", "HistoriePlatebHead",
    "HistoriePlateb",  "TypPlatby",    "ClenskePrispevky", "Brigady",   "ManipulacniPopl",
    "C_povolenky_txt", "C_jinePlatby", "C_povol_v_jp"};

constexpr int kVerzeSchematu = 4;

// The first name "<zaklad><pripona>", "<zaklad>-2<pripona>", ... that no file of the folder has.
QString volneJmeno(const QString& slozka, const QString& zaklad, const QString& pripona) {
    const QDir d(slozka);
    QString jmeno = zaklad + pripona;
    for (int i = 2;
         QFileInfo::exists(d.filePath(jmeno)) || QFileInfo(d.filePath(jmeno)).isSymLink(); ++i)
        jmeno = zaklad + QLatin1Char('-') + QString::number(i) + pripona;
    return d.filePath(jmeno);
}

bool existuje(const QString& cesta) {
    return QFileInfo::exists(cesta) || QFileInfo(cesta).isSymLink();
}

// Removes a file; a file that stays raises Chyba.
void odstran(const QString& cesta) {
    if (existuje(cesta) && !QFile::remove(cesta))
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze odstranit.").arg(cesta));
}

// Renames novy to cil in one step, replacing a cil that exists; raises Chyba.
void prejmenuj(const QString& novy, const QString& cil) {
    std::error_code chyba;
    std::filesystem::rename(QFile::encodeName(novy).toStdString(),
                            QFile::encodeName(cil).toStdString(), chyba);
    if (chyba)
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze přejmenovat na \"%2\" (%3).")
                        .arg(novy, cil, QString::fromLocal8Bit(chyba.message().c_str())));
}

// Writes the bytes into a new file and through to the disk; raises Chyba, the file is then
// removed.
void zapisNaDisk(const QString& cesta, const QByteArray& data) {
    QFile f(cesta);
    const bool ok = f.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
                    f.write(data) == data.size() && f.flush();
    f.close();
    if (!ok) {
        QFile::remove(cesta);
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze zapsat.").arg(cesta));
    }
    try {
        Disk::synchronizuj(cesta);
    } catch (const Chyba&) {
        QFile::remove(cesta);
        throw;
    }
}

QByteArray precti(const QString& cesta) {
    QFile f(cesta);
    if (!QFileInfo(cesta).isFile() || !f.open(QIODevice::ReadOnly))
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze přečíst.").arg(cesta));
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze přečíst.").arg(cesta));
    return data;
}

// Why the image of a database file is no register of this program; empty when it is one.
QString chybaObrazu(const QByteArray& obraz) {
    db::Connection c;
    try {
        c.openImage(obraz);
    } catch (const Chyba&) {
        return QStringLiteral("Soubor není databází programu (nelze ho otevřít).");
    }
    try {
        db::Query q(&c);
        q.setSql(QStringLiteral("PRAGMA integrity_check"));
        q.open();
        if (q.recordCount() != 1 || q.field(0).asString() != QLatin1String("ok"))
            return QStringLiteral("Soubor je poškozený (kontrola databáze nahlásila chyby).");
        for (const char* tabulka : kTabulkyRegistru) {
            const db::Prikaz dotaz(
                QStringLiteral("select count(*) from sqlite_master where type = 'table' and "
                               "name = ? collate nocase"),
                {db::Hodnota::text(QString::fromLatin1(tabulka))});
            db::Query t(&c);
            t.setPrikaz(dotaz);
            t.open();
            if (t.field(0).asInteger() == 0)
                return QStringLiteral("Soubor není databází programu (chybí tabulka %1).")
                    .arg(QString::fromLatin1(tabulka));
        }
        db::Query v(&c);
        v.setSql(QStringLiteral("select max(DB) from verze"));
        v.open();
        if (v.field(0).isNull() || v.field(0).asInteger() != kVerzeSchematu)
            return QStringLiteral(
                       "Soubor je databází jiné verze programu (verze %1, očekávána %2).")
                .arg(v.field(0).isNull() ? QStringLiteral("žádná") : v.field(0).asString())
                .arg(kVerzeSchematu);
    } catch (const Chyba& e) {
        return QStringLiteral("Soubor nelze přečíst jako databázi programu (%1).").arg(e.zprava());
    }
    return QString();
}

}  // namespace

QString Zaloha::jmenoZalohy(const QString& slozka, const QDate& den) {
    return volneJmeno(slozka,
                      QStringLiteral("data-zaloha-") + den.toString(QStringLiteral("yyyy-MM-dd")),
                      QStringLiteral(".mdb"));
}

QString Zaloha::zalohuj(const db::Connection& spojeni, const QString& slozka, const QDate& den) {
    if (!QFileInfo(slozka).isDir())
        throw Chyba(QStringLiteral("Složka \"%1\" neexistuje.").arg(slozka));
    const QString cil = jmenoZalohy(slozka, den);
    const QString docasny = cil + QStringLiteral(".part");
    // What an earlier interrupted backup left under the temporary name is no backup.
    odstran(docasny + QStringLiteral("-journal"));
    odstran(docasny);
    try {
        spojeni.zalohujDo(docasny);
        Disk::synchronizuj(docasny);
        prejmenuj(docasny, cil);
        Disk::synchronizuj(QFileInfo(cil).absolutePath());
    } catch (const Chyba& e) {
        QFile::remove(docasny);
        throw Chyba(
            QStringLiteral("Zálohu do souboru \"%1\" nelze vytvořit: %2").arg(cil, e.zprava()));
    }
    return cil;
}

QString Zaloha::chybaSouboru(const QString& soubor) {
    try {
        return chybaObrazu(precti(soubor));
    } catch (const Chyba& e) {
        return e.zprava();
    }
}

QString Zaloha::jmenoPuvodnihoRegistru(const QString& registr, const QDate& den) {
    const QFileInfo i(registr);
    return volneJmeno(i.absolutePath(),
                      i.fileName() + QStringLiteral(".pred-obnovou-") +
                          den.toString(QStringLiteral("yyyy-MM-dd")),
                      QString());
}

QString Zaloha::obnov(db::Connection& spojeni, const QString& zaloha, const QDate& den) {
    const QString registr = QFileInfo(spojeni.fileName()).absoluteFilePath();
    if (!spojeni.isOpen() || registr.isEmpty())
        throw Chyba(QStringLiteral("Databáze není otevřena."));
    if (QFileInfo(zaloha).absoluteFilePath() == registr)
        throw Chyba(QStringLiteral("Vybraný soubor je právě používaná databáze."));
    // 1. The backup, read once: checked, and the same bytes written beside the register.
    const QByteArray obraz = precti(zaloha);
    const QString chyba = chybaObrazu(obraz);
    if (!chyba.isEmpty()) throw Chyba(chyba);
    const QString docasny = registr + QStringLiteral(".obnova");
    odstran(docasny + QStringLiteral("-journal"));
    odstran(docasny);
    zapisNaDisk(docasny, obraz);

    // 2. The register closed and kept whole, with the journal that belongs to it.
    const QString puvodni = jmenoPuvodnihoRegistru(registr, den);
    const QString zurnal = registr + QStringLiteral("-journal");
    spojeni.close();
    auto otevriZnovu = [&] { spojeni.open(registr, db::Connection::Rezim::Vyhradni); };
    try {
        if (!QFile::copy(registr, puvodni))
            throw Chyba(QStringLiteral("Soubor \"%1\" nelze vytvořit.").arg(puvodni));
        Disk::synchronizuj(puvodni);
        if (existuje(zurnal)) prejmenuj(zurnal, puvodni + QStringLiteral("-journal"));
        Disk::synchronizuj(QFileInfo(registr).absolutePath());
    } catch (const Chyba&) {
        QFile::remove(docasny);
        if (!existuje(puvodni + QStringLiteral("-journal"))) QFile::remove(puvodni);
        otevriZnovu();
        throw;
    }

    // 3. The restored file takes the register's name in one step.
    try {
        prejmenuj(docasny, registr);
    } catch (const Chyba&) {
        // The register stays as it was, with its journal back beside it.
        QFile::remove(docasny);
        if (existuje(puvodni + QStringLiteral("-journal")))
            prejmenuj(puvodni + QStringLiteral("-journal"), zurnal);
        otevriZnovu();
        throw;
    }
    Disk::synchronizuj(QFileInfo(registr).absolutePath());
    otevriZnovu();
    return puvodni;
}
