// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unzip.h"

#include <sys/stat.h>
#include <zip.h>

#ifndef S_ISLNK
// A symbolic link as a Unix archiver stores it; this system's headers do not name it.
#define S_ISLNK(m) (((m)&0170000) == 0120000)
#endif

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <cerrno>
#include <memory>

namespace {

struct ZavriArchiv {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct ZavriPolozku {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

bool hvezdaTeckaHvezda(const QString& vzor) {
    return vzor == QLatin1String("*.*");
}

// Matches from position i of the name and j of the pattern; "*" backtracks over the name.
bool porovnej(const QString& jmeno, const QString& vzor, Qt::CaseSensitivity cs) {
    int i = 0, j = 0, hvezdaJ = -1, hvezdaI = 0;
    while (i < jmeno.size()) {
        if (j < vzor.size() && vzor[j] == QLatin1Char('*')) {
            hvezdaJ = j++;
            hvezdaI = i;
        } else if (j < vzor.size() &&
                   (vzor[j] == QLatin1Char('?') ||
                    QString::compare(QString(vzor[j]), QString(jmeno[i]), cs) == 0)) {
            ++i;
            ++j;
        } else if (hvezdaJ >= 0) {
            j = hvezdaJ + 1;
            i = ++hvezdaI;
        } else {
            return false;
        }
    }
    while (j < vzor.size() && vzor[j] == QLatin1Char('*')) ++j;
    return j == vzor.size();
}

// The entry's name with "/" as the only separator.
QString normalizuj(const QString& jmeno) {
    QString n = jmeno;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return n;
}

bool jeOdkaz(zip_t* z, zip_uint64_t i) {
    zip_uint8_t os = 0;
    zip_uint32_t atributy = 0;
    if (zip_file_get_external_attributes(z, i, 0, &os, &atributy) != 0) return false;
    return os == ZIP_OPSYS_UNIX && S_ISLNK(atributy >> 16);
}

// Permission bits stored by a Unix archiver, 0 when the archive holds none.
mode_t unixPrava(zip_t* z, zip_uint64_t i) {
    zip_uint8_t os = 0;
    zip_uint32_t atributy = 0;
    if (zip_file_get_external_attributes(z, i, 0, &os, &atributy) != 0) return 0;
    if (os != ZIP_OPSYS_UNIX) return 0;
    return (atributy >> 16) & 07777;
}

// A name that would be written outside the extraction folder: absolute, with a drive
// letter, or with a ".." step.
bool mimoSlozku(const QString& n) {
    if (n.startsWith(QLatin1Char('/'))) return true;
    if (n.size() >= 2 && n[1] == QLatin1Char(':')) return true;
    for (const QString& cast : n.split(QLatin1Char('/')))
        if (cast == QLatin1String("..")) return true;
    return false;
}

QFileDevice::Permissions naPrava(mode_t m) {
    QFileDevice::Permissions p;
    if (m & S_IRUSR) p |= QFileDevice::ReadOwner | QFileDevice::ReadUser;
    if (m & S_IWUSR) p |= QFileDevice::WriteOwner | QFileDevice::WriteUser;
    if (m & S_IXUSR) p |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (m & S_IRGRP) p |= QFileDevice::ReadGroup;
    if (m & S_IWGRP) p |= QFileDevice::WriteGroup;
    if (m & S_IXGRP) p |= QFileDevice::ExeGroup;
    if (m & S_IROTH) p |= QFileDevice::ReadOther;
    if (m & S_IWOTH) p |= QFileDevice::WriteOther;
    if (m & S_IXOTH) p |= QFileDevice::ExeOther;
    return p;
}

// Creates the folders of a relative path below the root, refusing to pass through a
// symbolic link (a link left in the folder must not lead the extraction elsewhere).
bool vytvorSlozky(const QString& koren, const QString& relativni) {
    QString cesta = koren;
    for (const QString& cast : relativni.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        cesta += QLatin1Char('/') + cast;
        const QFileInfo fi(cesta);
        if (fi.isSymLink()) return false;
        if (fi.isDir()) continue;
        if (fi.exists() || !QDir().mkdir(cesta)) return false;
    }
    return true;
}

class Rozbalovac {
public:
    Rozbalovac(const Unzip::TDCL& v, const Unzip::TUserFunctions& f) : volby(v), funkce(f) {}

    void zprava(const QString& text) const {
        if (volby.fQuiet < 2 && funkce.print) funkce.print(text);
    }

    // Extracts one entry; returns PK_OK or the code of its failure.
    int rozbal(zip_t* z, zip_uint64_t i, QString jmeno, const QString& koren) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z, i, 0, &st) != 0) return Unzip::PK_BADERR;
        if (volby.SpaceToUnderscore) jmeno.replace(QLatin1Char(' '), QLatin1Char('_'));
        const bool slozka = jmeno.endsWith(QLatin1Char('/'));
        if (!volby.ndflag) {
            if (slozka) return Unzip::PK_OK;
            jmeno = jmeno.mid(jmeno.lastIndexOf(QLatin1Char('/')) + 1);
        }
        if (slozka) {
            if (!vytvorSlozky(koren, jmeno)) {
                zprava(QStringLiteral("checkdir error: cannot create ") + jmeno);
                return Unzip::PK_ERR;
            }
            return Unzip::PK_OK;
        }
        const int lomitko = jmeno.lastIndexOf(QLatin1Char('/'));
        if (lomitko > 0 && !vytvorSlozky(koren, jmeno.left(lomitko))) {
            zprava(QStringLiteral("checkdir error: cannot create ") + jmeno.left(lomitko));
            return Unzip::PK_ERR;
        }
        const QString cil = koren + QLatin1Char('/') + jmeno;
        const QFileInfo stary(cil);
        const QDateTime cas =
            (st.valid & ZIP_STAT_MTIME) ? QDateTime::fromSecsSinceEpoch(st.mtime) : QDateTime();
        if (stary.exists() || stary.isSymLink()) {
            if (stary.isDir() && !stary.isSymLink()) {
                zprava(QStringLiteral("error: cannot create ") + jmeno);
                return Unzip::PK_ERR;
            }
            if (volby.ExtractOnlyNewer && cas.isValid() && stary.lastModified() >= cas)
                return Unzip::PK_OK;
            if (!volby.noflag && !prepsatVse) {
                int odpoved = Unzip::IDM_REPLACE_NONE;
                if (volby.PromptToOverwrite && funkce.replace) odpoved = funkce.replace(cil);
                if (odpoved == Unzip::IDM_REPLACE_ALL) prepsatVse = true;
                if (odpoved != Unzip::IDM_REPLACE_YES && odpoved != Unzip::IDM_REPLACE_ALL)
                    return Unzip::PK_OK;
            }
            // The old file (or a link standing there) goes first, so that nothing is written
            // through a link and a program still running from the old file is not disturbed.
            if (!QFile::remove(cil)) {
                zprava(QStringLiteral("error: cannot delete old ") + jmeno);
                return Unzip::PK_ERR;
            }
        }
        if (funkce.ServCallBk && funkce.ServCallBk(cil, qint64(st.size)) != 0) {
            zruseno = true;
            return Unzip::IZ_CTRLC;
        }

        std::unique_ptr<zip_file_t, ZavriPolozku> vstup;
        if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE) {
            QString heslo;
            if (!funkce.password || funkce.password(&heslo, cil) != 0 || heslo.isEmpty()) {
                ++bezHesla;
                zprava(QStringLiteral("skipping: ") + jmeno + QStringLiteral(" (no password)"));
                return Unzip::PK_ERR;
            }
            vstup.reset(zip_fopen_index_encrypted(z, i, 0, heslo.toUtf8().constData()));
        } else {
            vstup.reset(zip_fopen_index(z, i, 0));
        }
        if (!vstup) {
            const int ze = zip_error_code_zip(zip_get_error(z));
            if (ze == ZIP_ER_COMPNOTSUPP || ze == ZIP_ER_ENCRNOTSUPP) ++nepodporovano;
            if (ze == ZIP_ER_WRONGPASSWD || ze == ZIP_ER_NOPASSWD) ++bezHesla;
            zprava(QStringLiteral("error: cannot read ") + jmeno);
            return ze == ZIP_ER_MEMORY ? Unzip::PK_MEM : Unzip::PK_ERR;
        }

        QFile vystup(cil);
        if (!vystup.open(QIODevice::WriteOnly)) {
            zprava(QStringLiteral("error: cannot create ") + jmeno);
            return Unzip::PK_ERR;
        }
        zprava(QStringLiteral("  inflating: ") + jmeno);
        char buf[64 * 1024];
        zip_uint64_t celkem = 0;
        for (;;) {
            const zip_int64_t n = zip_fread(vstup.get(), buf, sizeof buf);
            if (n < 0) {
                const int ze = zip_error_code_zip(zip_file_get_error(vstup.get()));
                vystup.close();
                QFile::remove(cil);
                zprava(QStringLiteral("error: bad data in ") + jmeno);
                if (ze == ZIP_ER_WRONGPASSWD) ++bezHesla;
                return ze == ZIP_ER_EOF ? Unzip::PK_EOF : Unzip::PK_ERR;
            }
            if (n == 0) break;
            if ((st.valid & ZIP_STAT_SIZE) && celkem + zip_uint64_t(n) > st.size) {
                vystup.close();
                QFile::remove(cil);
                zprava(QStringLiteral("error: more data than stated in ") + jmeno);
                return Unzip::PK_ERR;
            }
            if (vystup.write(buf, n) != n) {
                const bool plno = errno == ENOSPC;
                vystup.close();
                QFile::remove(cil);
                zprava(QStringLiteral("error: cannot write ") + jmeno);
                return plno ? Unzip::PK_DISK : Unzip::PK_ERR;
            }
            celkem += zip_uint64_t(n);
        }
        if (!vystup.flush() || ((st.valid & ZIP_STAT_SIZE) && celkem != st.size)) {
            const bool plno = errno == ENOSPC;
            vystup.close();
            QFile::remove(cil);
            return plno ? Unzip::PK_DISK : Unzip::PK_EOF;
        }
        if (const mode_t prava = unixPrava(z, i)) vystup.setPermissions(naPrava(prava));
        if (cas.isValid()) vystup.setFileTime(cas, QFileDevice::FileModificationTime);
        vystup.close();
        ++rozbaleno;
        return Unzip::PK_OK;
    }

    const Unzip::TDCL& volby;
    const Unzip::TUserFunctions& funkce;
    bool prepsatVse = false;
    bool zruseno = false;
    int rozbaleno = 0;
    int bezHesla = 0;
    int nepodporovano = 0;
};

}  // namespace

bool Unzip::odpovidaVzoru(const QString& jmeno, const QString& vzor, bool bezOhleduNaVelikost) {
    if (hvezdaTeckaHvezda(vzor)) return true;
    return porovnej(jmeno, vzor, bezOhleduNaVelikost ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

int Unzip::Wiz_SingleEntryUnzip(const QStringList& vzory, const QStringList& vyjimky,
                                const TDCL& volby, const TUserFunctions& funkce) {
    if (volby.lpszZipFN.isEmpty() || volby.lpszExtractDir.isEmpty()) return PK_PARAM;
    if (!QFileInfo(volby.lpszZipFN).isFile()) return PK_NOZIP;

    int chyba = 0;
    std::unique_ptr<zip_t, ZavriArchiv> archiv(
        zip_open(QFile::encodeName(volby.lpszZipFN).constData(), ZIP_RDONLY, &chyba));
    if (!archiv) {
        if (chyba == ZIP_ER_NOENT || chyba == ZIP_ER_OPEN) return PK_NOZIP;
        if (chyba == ZIP_ER_MEMORY) return PK_MEM;
        return PK_BADERR;
    }
    zip_t* z = archiv.get();
    const zip_int64_t pocet = zip_get_num_entries(z, 0);
    if (pocet < 0) return PK_BADERR;

    Rozbalovac r(volby, funkce);
    const Qt::CaseSensitivity cs = volby.C_flag ? Qt::CaseInsensitive : Qt::CaseSensitive;
    auto odpovida = [&](const QString& jmeno, const QStringList& seznam) {
        for (const QString& v : seznam)
            if (!v.isEmpty() && odpovidaVzoru(jmeno, normalizuj(v), cs == Qt::CaseInsensitive))
                return true;
        return false;
    };

    // The whole archive is checked first: one entry that would leave the folder, or a link,
    // rejects it before anything is written.
    QVector<QPair<zip_uint64_t, QString>> vybrane;
    for (zip_int64_t i = 0; i < pocet; ++i) {
        const char* surove = zip_get_name(z, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!surove) return PK_BADERR;
        const QString jmeno = normalizuj(QString::fromUtf8(surove));
        if (jmeno.isEmpty() || mimoSlozku(jmeno) || jeOdkaz(z, zip_uint64_t(i))) {
            r.zprava(QStringLiteral("error: unsafe entry rejected: ") + jmeno);
            return PK_ERR;
        }
        const bool slozka = jmeno.endsWith(QLatin1Char('/'));
        if (!odpovida(jmeno, vzory) || odpovida(jmeno, vyjimky)) continue;
        if (volby.jenSpustitelne && (slozka || !(unixPrava(z, zip_uint64_t(i)) & 0111))) continue;
        vybrane.append({zip_uint64_t(i), jmeno});
    }
    if (vybrane.isEmpty()) return PK_FIND;

    QString koren = QDir::cleanPath(volby.lpszExtractDir);

    // The sizes the archive states, before anything is written: a small archive can unpack to
    // far more than the disk holds.
    zip_uint64_t potreba = 0;
    for (const auto& [index, jmeno] : vybrane) {
        if (jmeno.endsWith(QLatin1Char('/'))) continue;
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(z, index, 0, &st) != 0 || !(st.valid & ZIP_STAT_SIZE)) return PK_BADERR;
        if (volby.nejvetsiSoubor > 0 && st.size > zip_uint64_t(volby.nejvetsiSoubor)) {
            r.zprava(QStringLiteral("error: %1 unpacks to %2 bytes, more than %3 allowed")
                         .arg(jmeno)
                         .arg(st.size)
                         .arg(volby.nejvetsiSoubor));
            return PK_VELKY;
        }
        potreba += st.size;
    }
    QString existujici = QFileInfo(koren).absoluteFilePath();
    while (!QFileInfo(existujici).isDir() && QFileInfo(existujici).path() != existujici)
        existujici = QFileInfo(existujici).path();
    const QStorageInfo disk(existujici);
    if (disk.isValid() && disk.bytesAvailable() >= 0 &&
        potreba > zip_uint64_t(disk.bytesAvailable())) {
        r.zprava(QStringLiteral("error: the entries need %1 bytes, the disk has %2 free")
                     .arg(potreba)
                     .arg(disk.bytesAvailable()));
        return PK_DISK;
    }

    if (!QFileInfo(koren).isDir() && !QDir().mkpath(koren)) return PK_PARAM;

    int vysledek = PK_OK;
    for (const auto& [index, jmeno] : vybrane) {
        const int k = r.rozbal(z, index, jmeno, koren);
        if (k == IZ_CTRLC) return IZ_CTRLC;
        if (k == PK_DISK) return PK_DISK;
        if (k > vysledek) vysledek = k;
    }
    if (r.rozbaleno == 0 && vysledek != PK_OK) {
        if (r.bezHesla > 0) return IZ_BADPWD;
        if (r.nepodporovano > 0) return IZ_UNSUP;
    }
    return vysledek;
}

QString PopisChybyRozbaleni(int kod) {
    switch (kod) {
        case 0:
            return QStringLiteral("Operace proběhla v pořádku");
        case 1:
            return QStringLiteral("Varování na jednom nebo více souborech");
        case 2:
            return QStringLiteral("Chyby na jednom nebo více souborech");
        case 3:
            return QStringLiteral("Chyba dělení v archívu");
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
            return QStringLiteral("Nedostatečná paměť");
        case 9:
            return QStringLiteral("Archív nenalezen");
        case 10:
            return QStringLiteral("Špatné nebo nespecifikované parametry");
        case 11:
            return QStringLiteral("Nebyl nalezen žádný soubor");
        case 50:
            return QStringLiteral("Na disku není dostatek volného místa");
        case 51:
            return QStringLiteral("Neočekávaný konec souboru");
        case 52:
            return QStringLiteral("Soubor v archívu je po rozbalení větší než povolená velikost");
        case 80:
            return QStringLiteral("Zrušeno uživatelem");
        case 81:
            return QStringLiteral("Nenalezeny žádné soubory, vše nezajištěno");
        case 82:
            return QStringLiteral("Nenalezeny žádné soubory, špatné heslo");
        default:
            return QStringLiteral("Neznámá chyba");
    }
}
