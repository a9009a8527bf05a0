// SPDX-License-Identifier: GPL-3.0-or-later
#include "Vydani.h"

#include <sys/stat.h>
#include <zip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <cstdio>

#include "Chyba.h"
#include "Databaze.h"
#include "Disk.h"
#include "Hodiny.h"
#include "ImportCiselniku.h"
#include "Relace.h"
#include "Schema.h"
#include "VerzniBlok.h"

namespace {

const QString kOznameni = QStringLiteral("verze.ini");
const QString kProgram = QStringLiteral("ParmexRozu");
const QString kCiselniky = QStringLiteral("dataCis.mdb");

// The import's own message around its reason: "Při importu ... výjimce. (<reason>)".
const QString kZacatekChybyImportu =
    QStringLiteral("Při importu nových číselníků došlo k neočekávané výjimce. (");

QString uvozovky(const QString& t) {
    return QStringLiteral("\u201e") + t + QStringLiteral("\u201c");
}

QString datum() {
    return Hodiny::dnes().toString(QStringLiteral("dd.MM.yyyy"));
}

bool jeVerzeProgramu(const QString& verze) {
    static const QRegularExpression ctyriCisla(QStringLiteral("^\\d{1,9}(\\.\\d{1,9}){3}$"));
    return ctyriCisla.match(verze).hasMatch();
}

// What the import reported, its reason taken out of its frame.
QString hlaseni(const ZaznamHlaseni& zaznam) {
    QStringList texty;
    for (const ZaznamHlaseni::Zprava& z : zaznam.zpravy()) {
        QString t = z.text;
        if (t.startsWith(kZacatekChybyImportu) && t.endsWith(QLatin1Char(')')))
            t = t.mid(kZacatekChybyImportu.size(), t.size() - kZacatekChybyImportu.size() - 1);
        texty << t.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    return texty.join(QStringLiteral("; "));
}

// ---- files written under a temporary name and renamed into place

struct NovySoubor {
    QString cil;
    QString docasny;
    bool existoval = false;
    bool prejmenovan = false;
};

// A free hidden name beside the target, reserved by creating the file (mode 0644).
QString docasneJmeno(const QString& cil) {
    const QFileInfo i(cil);
    QTemporaryFile t(i.absolutePath() + QStringLiteral("/.") + i.fileName() +
                     QStringLiteral(".XXXXXX"));
    t.setAutoRemove(false);
    if (!t.open())
        throw Chyba(
            QStringLiteral("Soubor %1 nelze zapsat: %2").arg(uvozovky(cil), t.errorString()));
    t.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return t.fileName();
}

void zapis(const QString& soubor, const QByteArray& obsah, const QString& cil) {
    QFile f(soubor);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(obsah) != obsah.size() ||
        !f.flush())
        throw Chyba(
            QStringLiteral("Soubor %1 nelze zapsat: %2").arg(uvozovky(cil), f.errorString()));
}

// A ZIP archive holding one file under the given name, with the given permission bits.
void zapisArchiv(const QString& soubor, const QString& zdroj, const QString& jmeno, unsigned prava,
                 const QString& cil) {
    const auto selhani = [&](const QString& proc) {
        return Chyba(QStringLiteral("Archiv %1 nelze zapsat: %2").arg(uvozovky(cil), proc));
    };
    QFile f(zdroj);
    if (!f.open(QIODevice::ReadOnly)) throw selhani(f.errorString());
    const QByteArray obsah = f.readAll();
    f.close();
    int kod = 0;
    zip_t* z = zip_open(QFile::encodeName(soubor).constData(), ZIP_CREATE | ZIP_TRUNCATE, &kod);
    if (!z) {
        zip_error_t e;
        zip_error_init_with_code(&e, kod);
        const QString text = QString::fromLocal8Bit(zip_error_strerror(&e));
        zip_error_fini(&e);
        throw selhani(text);
    }
    zip_source_t* data = zip_source_buffer(z, obsah.constData(), zip_uint64_t(obsah.size()), 0);
    const zip_int64_t i =
        data ? zip_file_add(z, jmeno.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8) : -1;
    if (i < 0) {
        if (data) zip_source_free(data);
        const QString text = QString::fromLocal8Bit(zip_strerror(z));
        zip_discard(z);
        throw selhani(text);
    }
    zip_file_set_external_attributes(z, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX,
                                     (S_IFREG | prava) << 16);
    zip_file_set_mtime(z, zip_uint64_t(i), QFileInfo(zdroj).lastModified().toSecsSinceEpoch(), 0);
    if (zip_close(z) != 0) {
        const QString text = QString::fromLocal8Bit(zip_strerror(z));
        zip_discard(z);
        throw selhani(text);
    }
    // libzip writes a fresh file of its own; the web server must be able to read it.
    QFile::setPermissions(
        soubor, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

// A copy of the program without its debugging data (a tenth of the size), as the members
// download it; the release archive carries the same.
QString bezLadicichUdaju(const QString& program, const QTemporaryDir& slozka) {
    if (!slozka.isValid())
        throw Chyba(QStringLiteral("Dočasnou složku nelze vytvořit: ") + slozka.errorString());
    const QString kopie = slozka.filePath(kProgram);
    QProcess strip;
    strip.setProcessChannelMode(QProcess::MergedChannels);
    strip.start(QStringLiteral("strip"),
                {QStringLiteral("--strip-debug"), QStringLiteral("-o"), kopie, program});
    if (!strip.waitForStarted())
        throw Chyba(
            QStringLiteral("Program nelze připravit: chybí nástroj strip (balíček binutils)."));
    strip.waitForFinished(-1);
    if (strip.exitStatus() != QProcess::NormalExit || strip.exitCode() != 0)
        throw Chyba(QStringLiteral("Program %1 nelze připravit: %2")
                        .arg(uvozovky(program), QString::fromLocal8Bit(strip.readAll()).trimmed()));
    return kopie;
}

// The program file given: the file itself, or a build folder (app/ParmexRozu) or a folder that
// holds ParmexRozu.
QString souborProgramu(const QString& zadany) {
    const QFileInfo i(zadany);
    if (i.isDir()) {
        for (const QString& kandidat : {QStringLiteral("app/") + kProgram, kProgram}) {
            const QFileInfo k(QDir(zadany).filePath(kandidat));
            if (k.isFile()) return k.absoluteFilePath();
        }
        throw Chyba(
            QStringLiteral("Ve složce %1 není program %2.").arg(uvozovky(zadany), kProgram));
    }
    if (!i.isFile()) throw Chyba(QStringLiteral("Program %1 neexistuje.").arg(uvozovky(zadany)));
    return i.absoluteFilePath();
}

}  // namespace

namespace Vydani {

QStringList organizace() {
    return {QStringLiteral("Varnov"), QStringLiteral("Kelmina")};
}

QString slozkaOrganizace(const QString& organizace) {
    // The paths of the announcement's and the archives' addresses each build reads.
    if (organizace == QLatin1String("Varnov")) return QStringLiteral("parmex");
    if (organizace == QLatin1String("Kelmina")) return QStringLiteral("banking/parmexhome");
    return QString();
}

QString nazevProduktu(const QString& organizace) {
    return QStringLiteral("Parmex Rozu - MO ") + organizace;
}

QByteArray textOznameni(const TVerzeNaWebu& v) {
    const QStringList radky = {QStringLiteral("[parmex-rozu]"),
                               QStringLiteral("verzeprog=") + v.VerzeProg,
                               QStringLiteral("datumprog=") + v.DatumProg,
                               QStringLiteral("souborprog=") + v.SouborProg,
                               QStringLiteral("datumcis=") + v.DatumCis,
                               QStringLiteral("souborcis=") + v.SouborCis,
                               QStringLiteral("verzecis=") + v.VerzeCis};
    // UTF-8, which the programs read as such (a plain ASCII announcement is the same bytes).
    return (radky.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString zkontrolujCiselniky(const QString& soubor, QString* rok) {
    if (!QFileInfo(soubor).isFile())
        return QStringLiteral("Soubor %1 neexistuje.").arg(uvozovky(soubor));
    QTemporaryDir slozka;
    if (!slozka.isValid())
        return QStringLiteral("Dočasnou složku nelze vytvořit: ") + slozka.errorString();
    const QString ciselniky = slozka.filePath(kCiselniky);
    if (!QFile::copy(QFileInfo(soubor).absoluteFilePath(), ciselniky))
        return QStringLiteral("Soubor %1 nelze přečíst.").arg(uvozovky(soubor));

    // An empty local database of the current schema, as a member's program makes it at its
    // first start, and the program's own import into it. What the import says is recorded;
    // its log lines go nowhere.
    ZaznamHlaseni zaznam;
    Relace relace(zaznam);
    const QString databaze = slozka.filePath(QStringLiteral("data.mdb"));
    try {
        VytvorDatabazi(relace, databaze);
        relace.spojeni.open(databaze, db::Connection::Rezim::Vyhradni);
    } catch (const Chyba& e) {
        return e.zprava();
    }
    const QString verze = QStringLiteral("1");
    ImportCiselniku(relace, verze, ciselniky);
    const QString chyba = hlaseni(zaznam);
    if (!chyba.isEmpty()) return chyba;
    db::Query q(&relace.spojeni);
    q.setSql(QStringLiteral("select verzecis from Nastaveni"));
    q.open();
    if (q.recordCount() == 0 || q.field(0).asString() != verze)
        return QStringLiteral("Import číselníky nepřevzal.");
    if (rok) *rok = relace.rok;
    return QString();
}

QStringList vydej(const Zadani& zadani) {
    const bool sProgramem = !zadani.program.isEmpty();
    const bool sCiselniky = !zadani.ciselniky.isEmpty();
    if (!sProgramem && !sCiselniky)
        throw Chyba(QStringLiteral("Není co vydat: zadejte program, číselníky nebo obojí."));
    const QString cesta = slozkaOrganizace(zadani.organizace);
    if (cesta.isEmpty())
        throw Chyba(QStringLiteral("Neznámá organizace %1 (známé jsou %2).")
                        .arg(uvozovky(zadani.organizace), organizace().join(QStringLiteral(", "))));
    if (!QFileInfo(zadani.slozkaServeru).isDir())
        throw Chyba(
            QStringLiteral("Složka serveru %1 neexistuje.").arg(uvozovky(zadani.slozkaServeru)));
    const QString slozka = QDir(zadani.slozkaServeru).absoluteFilePath(cesta);
    const QString oznameni = slozka + QLatin1Char('/') + kOznameni;
    if (QFileInfo::exists(slozka) && !QFileInfo(slozka).isDir())
        throw Chyba(QStringLiteral("%1 není složka.").arg(uvozovky(slozka)));

    // What is announced now: kept where nothing new replaces it.
    TVerzeNaWebu v;
    if (QFileInfo::exists(oznameni)) {
        QFile f(oznameni);
        if (!QFileInfo(oznameni).isFile() || !f.open(QIODevice::ReadOnly))
            throw Chyba(QStringLiteral("Oznámení %1 nelze přečíst.").arg(uvozovky(oznameni)));
        if (Aktualizace::rozeber(Aktualizace::textOznameni(f.readAll()), v) !=
            Aktualizace::Oznameni::Precteno)
            throw Chyba(QStringLiteral("Oznámení %1 nemá tvar, který program čte; opravte je "
                                       "nebo je odstraňte.")
                            .arg(uvozovky(oznameni)));
    }

    QStringList vydano;
    QString program;
    QTemporaryDir pripravene;
    if (sProgramem) {
        program = souborProgramu(zadani.program);
        QMap<QString, QString> blok;
        if (VerzniBlok::nacti(program, &blok) != VerzniBlok::Vysledek::Nacteno)
            throw Chyba(
                QStringLiteral("Soubor %1 nenese údaje o verzi, není to program Parmex Rozu.")
                    .arg(uvozovky(program)));
        const QString produkt = blok.value(QStringLiteral("ProductName"));
        if (produkt != nazevProduktu(zadani.organizace))
            throw Chyba(QStringLiteral("Program %1 je sestaven pro %2, ne pro %3.")
                            .arg(uvozovky(program), uvozovky(produkt),
                                 uvozovky(nazevProduktu(zadani.organizace))));
        const QString verze = blok.value(QStringLiteral("FileVersion"));
        if (!jeVerzeProgramu(verze))
            throw Chyba(QStringLiteral("Verze programu %1 nejsou čtyři čísla oddělená tečkami.")
                            .arg(uvozovky(verze)));
        if (!v.VerzeProg.trimmed().isEmpty() &&
            Aktualizace::porovnej(verze, v.VerzeProg, verze) != 1)
            throw Chyba(QStringLiteral("Verze programu %1 není vyšší než oznámená verze %2.")
                            .arg(verze, v.VerzeProg.trimmed()));
        program = bezLadicichUdaju(program, pripravene);
        v.VerzeProg = verze;
        v.DatumProg = datum();
        v.SouborProg = QStringLiteral("parmexrozu-") + verze + QStringLiteral(".zip");
        vydano << QStringLiteral("Program verze %1: %2").arg(verze, v.SouborProg);
    }
    if (sCiselniky) {
        // The program reads the number with blanks before it and nothing after it; anything
        // else counts as 0 there and the members would never fetch what is published here.
        const QString stara = v.VerzeCis;
        if (!stara.isEmpty() &&
            !QRegularExpression(QStringLiteral("^ *\\d{1,9}$")).match(stara).hasMatch())
            throw Chyba(QStringLiteral("Oznámená verze číselníků %1 není celé číslo.")
                            .arg(uvozovky(v.VerzeCis)));
        QString rok;
        const QString proc = zkontrolujCiselniky(zadani.ciselniky, &rok);
        if (!proc.isEmpty())
            throw Chyba(QStringLiteral("Soubor číselníků %1 by program nenačetl: %2")
                            .arg(uvozovky(zadani.ciselniky), proc));
        v.VerzeCis = QString::number(Aktualizace::celeCislo(stara) + 1);
        v.DatumCis = datum();
        v.SouborCis = QStringLiteral("ciselniky-") + v.VerzeCis + QStringLiteral(".zip");
        vydano
            << QStringLiteral("Číselníky roku %1, verze %2: %3").arg(rok, v.VerzeCis, v.SouborCis);
    }

    // Writing: the folders first, then every file under a temporary name, then the renames,
    // the announcement last. Any failure takes back what this run put there.
    QStringList noveSlozky;
    for (QString s = slozka; !QFileInfo::exists(s); s = QFileInfo(s).path()) noveSlozky << s;
    QVector<NovySoubor> soubory;
    const auto uklid = [&]() {
        for (const NovySoubor& s : soubory) {
            if (!s.docasny.isEmpty()) QFile::remove(s.docasny);
            if (s.prejmenovan && !s.existoval) QFile::remove(s.cil);
        }
        for (const QString& s : noveSlozky) QDir().rmdir(s);
    };
    try {
        if (!noveSlozky.isEmpty() && !QDir().mkpath(slozka))
            throw Chyba(QStringLiteral("Složku %1 nelze vytvořit.").arg(uvozovky(slozka)));
        const auto pridej = [&](const QString& jmeno) -> NovySoubor& {
            NovySoubor s;
            s.cil = slozka + QLatin1Char('/') + jmeno;
            s.existoval = QFileInfo::exists(s.cil);
            if (QFileInfo(s.cil).isDir())
                throw Chyba(QStringLiteral("Na místě souboru %1 je složka.").arg(uvozovky(s.cil)));
            soubory.append(s);
            soubory.last().docasny = docasneJmeno(s.cil);
            return soubory.last();
        };
        if (sProgramem) {
            const NovySoubor& s = pridej(v.SouborProg);
            zapisArchiv(s.docasny, program, kProgram, 0755, s.cil);
        }
        if (sCiselniky) {
            const NovySoubor& s = pridej(v.SouborCis);
            zapisArchiv(s.docasny, zadani.ciselniky, kCiselniky, 0644, s.cil);
        }
        {
            const NovySoubor& s = pridej(kOznameni);
            zapis(s.docasny, textOznameni(v), s.cil);
        }
        for (const NovySoubor& s : soubory) Disk::synchronizuj(s.docasny);
        for (NovySoubor& s : soubory) {
            if (!Disk::prejmenuj(s.docasny, s.cil))
                throw Chyba(QStringLiteral("Soubor %1 nelze zapsat.").arg(uvozovky(s.cil)));
            s.docasny.clear();
            s.prejmenovan = true;
        }
    } catch (const Chyba&) {
        uklid();
        throw;
    }
    // Published; the folder's new names are made durable where the file system allows.
    try {
        Disk::synchronizuj(slozka);
    } catch (const Chyba&) {
    }
    vydano << QStringLiteral("Oznámení: ") + oznameni;
    return vydano;
}

}  // namespace Vydani
