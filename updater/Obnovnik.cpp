// SPDX-License-Identifier: GPL-3.0-or-later
#include "Obnovnik.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <filesystem>
#include <system_error>

#include "Chyba.h"
#include "Disk.h"
#include "VerzniBlok.h"

namespace {

// Reads one argument from position i; returns false when only separators were left.
bool dalsiArgument(const QString& radka, int& i, bool mezeryOddeluji, QString* argument) {
    for (;;) {
        while (i < radka.size() && mezeryOddeluji && radka[i].unicode() <= 32) ++i;
        if (i + 1 < radka.size() && radka[i] == QLatin1Char('"') &&
            radka[i + 1] == QLatin1Char('"'))
            i += 2;
        else
            break;
    }
    if (i >= radka.size()) return false;
    bool vUvozovkach = false;
    argument->clear();
    while (i < radka.size()) {
        const QChar c = radka[i];
        if (mezeryOddeluji && !vUvozovkach && c.unicode() <= 32) break;
        ++i;
        if (c == QLatin1Char('"'))
            vUvozovkach = !vUvozovkach;
        else
            argument->append(c);
    }
    return true;
}

}  // namespace

QStringList obnovnik::rozdelPrikazovouRadku(const QString& radka) {
    QStringList vysledek;
    QString argument;
    int i = 0;
    // An argument that comes out empty (a lone quote) ends the list, as it ends the count of
    // arguments where the command line is read this way.
    while (dalsiArgument(radka, i, true, &argument) && !argument.isEmpty()) vysledek << argument;
    return vysledek;
}

QStringList obnovnik::argumentyProcesu(const QStringList& argv) {
    QStringList vysledek;
    QString argument;
    for (int k = 1; k < argv.size(); ++k) {
        int i = 0;
        if (dalsiArgument(argv[k], i, false, &argument) && !argument.isEmpty())
            vysledek << argument;
    }
    return vysledek;
}

QString obnovnik::VerzeSouboru(const QString& soubor) {
    return VerzniBlok::verzeSouboru(soubor);
}

QString obnovnik::cesta(const QString& argument) {
    QString c = argument;
    c.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return c;
}

QString obnovnik::najdiSoubor(const QString& soubor) {
    const QFileInfo fi(soubor);
    if (fi.exists()) return soubor;
    const QDir slozka = fi.dir();
    const QStringList jmena = slozka.entryList(QDir::Files | QDir::Hidden);
    for (const QString& j : jmena)
        if (QString::compare(j, fi.fileName(), Qt::CaseInsensitive) == 0) return slozka.filePath(j);
    return soubor;
}

namespace {

// Whether the folder is the given folder or one above it.
bool drzi(const QString& slozka, const QString& jina) {
    const QString a = QFileInfo(slozka).canonicalFilePath();
    const QString b = QFileInfo(jina).canonicalFilePath();
    if (a.isEmpty() || b.isEmpty()) return true;  // cannot tell: treat as holding
    return b == a || b.startsWith(a.endsWith(QLatin1Char('/')) ? a : a + QLatin1Char('/'));
}

}  // namespace

bool obnovnik::pripravSlozku(const QString& slozka, const QString& archiv) {
    // Without a trailing separator, so that a link in T's place is seen as the link.
    const QString t = QDir::cleanPath(slozka);
    const QFileInfo info(t);
    if (info.isSymLink()) QFile::remove(t);
    if (!info.isSymLink() && info.isDir()) {
        if (drzi(t, QDir::currentPath()) || drzi(t, QCoreApplication::applicationDirPath())) {
            if (QFileInfo(archiv).isFile()) QFile::remove(archiv);
            return true;
        }
        // Each entry goes, folders with their content; links are removed, never followed.
        QDir d(t);
        for (const QFileInfo& polozka : d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                        QDir::Hidden | QDir::System)) {
            if (polozka.isDir() && !polozka.isSymLink())
                QDir(polozka.filePath()).removeRecursively();
            else
                d.remove(polozka.fileName());
        }
        return true;
    }
    return QDir().mkpath(t);
}

void obnovnik::uklid(const QString& archiv, const QString& novySoubor, const QString& slozka) {
    QFile::remove(archiv);
    QFile::remove(novySoubor);
    QDir().rmdir(slozka);
}

QString obnovnik::overNovyProgram(const QString& novySoubor, const QString& cil) {
    if (!QFileInfo(novySoubor).isFile()) return QString();
    const QString produkt = QStringLiteral("ProductName");
    QMap<QString, QString> stary;
    const bool staryMaBlok = VerzniBlok::nacti(cil, &stary) == VerzniBlok::Vysledek::Nacteno &&
                             !stary.value(produkt).isEmpty();
    if (!staryMaBlok)
        return QStringLiteral(
                   "Původní soubor \"%1\" nenese označení programu, nový soubor \"%2\" "
                   "proto nelze ověřit; původní soubor zůstává beze změny.")
            .arg(cil, novySoubor);
    QMap<QString, QString> novy;
    const bool novyMaBlok = VerzniBlok::nacti(novySoubor, &novy) == VerzniBlok::Vysledek::Nacteno &&
                            !novy.value(produkt).isEmpty();
    if (!novyMaBlok)
        return QStringLiteral(
                   "Nový soubor \"%1\" není program \"%2\" (nenese označení "
                   "programu), původní soubor \"%3\" zůstává beze změny.")
            .arg(novySoubor, stary.value(produkt), cil);
    if (novy.value(produkt) != stary.value(produkt))
        return QStringLiteral(
                   "Nový soubor \"%1\" je program \"%2\", ne \"%3\"; původní soubor "
                   "\"%4\" zůstává beze změny.")
            .arg(novySoubor, novy.value(produkt), stary.value(produkt), cil);
    return QString();
}

namespace {

// Copies the file beside its target, written through to the disk. Empty on success; else why
// not, the copy then removed.
QString kopirujVedle(const QString& zdroj, const QString& docasny, bool* plnyDisk) {
    *plnyDisk = false;
    const QFileInfo stary(docasny);
    if ((stary.exists() || stary.isSymLink()) && !(stary.isDir() && !stary.isSymLink()))
        QFile::remove(docasny);
    QFile vstup(zdroj);
    QFile vystup(docasny);
    if (!vstup.open(QIODevice::ReadOnly)) return vstup.errorString();
    if (!vystup.open(QIODevice::WriteOnly)) return vystup.errorString();
    auto selhani = [&](QString duvod) {
        // Asked before the copy goes, while its bytes still take the disk's space.
        *plnyDisk = Disk::maloMista(docasny, qMax<qint64>(1, vstup.size() - vystup.size()));
        if (*plnyDisk) duvod = Disk::zpravaPlnyDisk(docasny);
        vystup.close();
        QFile::remove(docasny);
        return duvod;
    };
    char buf[64 * 1024];
    for (;;) {
        const qint64 n = vstup.read(buf, sizeof buf);
        if (n < 0) return selhani(vstup.errorString());
        if (n > 0 && vystup.write(buf, n) != n) return selhani(vystup.errorString());
        if (n == 0) break;
    }
    if (!vystup.flush() || !vystup.setPermissions(vstup.permissions()))
        return selhani(vystup.errorString());
    try {
        Disk::synchronizuj(docasny);
    } catch (const Chyba& e) {
        return selhani(e.zprava());
    }
    vystup.close();
    if (vystup.error() != QFileDevice::NoError) return selhani(vystup.errorString());
    return QString();
}

}  // namespace

obnovnik::Nahrada obnovnik::nahradSoubor(
    const QString& novySoubor, const QString& cil,
    const std::function<bool(Prekazka, const QString&)>& zkusitZnovu) {
    if (!QFileInfo(novySoubor).isFile()) return Nahrada::NovyChybi;
    const QString docasny = cil + QStringLiteral(".obnova");
    for (;;) {
        bool plnyDisk = false;
        const QString chybaKopie = kopirujVedle(novySoubor, docasny, &plnyDisk);
        Prekazka prekazka = plnyDisk ? Prekazka::PlnyDisk : Prekazka::NovyNelzeZapsat;
        QString popis = chybaKopie;
        if (chybaKopie.isEmpty()) {
            std::error_code chyba;
            // A rename within one folder replaces the target in one step.
            std::filesystem::rename(QFile::encodeName(docasny).toStdString(),
                                    QFile::encodeName(cil).toStdString(), chyba);
            if (!chyba) {
                // The new name on the disk too; a file system that cannot say so keeps it anyway
                // once it writes its entries.
                try {
                    Disk::synchronizuj(QFileInfo(cil).absolutePath());
                } catch (const Chyba&) {
                }
                return Nahrada::Nahrazeno;
            }
            QFile::remove(docasny);
            prekazka = Prekazka::StaryNelzeOdstranit;
            popis = QString::fromLocal8Bit(chyba.message().c_str());
        }
        if (!zkusitZnovu || !zkusitZnovu(prekazka, popis)) return Nahrada::Vzdano;
    }
}
