// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <zip.h>

#include <QByteArray>
#include <QFile>
#include <QMetaType>
#include <QString>
#include <QVector>

// Builds ZIP archives for the updater's tests, entry by entry, including entries a normal
// archiver would never write (names leaving the folder, symbolic links).
namespace ArchivZip {

struct Polozka {
    QString jmeno;  // a name ending with "/" is a folder entry
    QByteArray obsah;
    unsigned prava = 0644;
    bool odkaz = false;  // stored as a symbolic link whose target is the content
};
}  // namespace ArchivZip

// Archive entries travel through the tests' data tables.
Q_DECLARE_METATYPE(ArchivZip::Polozka)

namespace ArchivZip {

inline bool vytvor(const QString& soubor, const QVector<Polozka>& polozky,
                   bool bezKomprese = false) {
    int chyba = 0;
    zip_t* z = zip_open(QFile::encodeName(soubor).constData(), ZIP_CREATE | ZIP_TRUNCATE, &chyba);
    if (!z) return false;
    for (const Polozka& p : polozky) {
        const QByteArray jmeno = p.jmeno.toUtf8();
        zip_int64_t i;
        if (jmeno.endsWith('/')) {
            i = zip_dir_add(z, jmeno.constData(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* zdroj =
                zip_source_buffer(z, p.obsah.constData(), zip_uint64_t(p.obsah.size()), 0);
            i = zip_file_add(z, jmeno.constData(), zdroj, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
            if (i < 0) zip_source_free(zdroj);
        }
        if (i < 0) {
            zip_discard(z);
            return false;
        }
        // The kinds of a Unix mode as ZIP stores them, the same on every system.
        const unsigned typ = p.odkaz ? 0120000u : (jmeno.endsWith('/') ? 0040000u : 0100000u);
        zip_file_set_external_attributes(z, zip_uint64_t(i), 0, ZIP_OPSYS_UNIX,
                                         (typ | p.prava) << 16);
        if (bezKomprese) zip_set_file_compression(z, zip_uint64_t(i), ZIP_CM_STORE, 0);
    }
    return zip_close(z) == 0;
}

// Changes the uncompressed size that the archive's central directory states for an entry (what
// the unpacker is told before it reads any data). False when no entry has that name.
inline bool uvedVelikost(QByteArray& archiv, const QString& jmeno, quint32 velikost) {
    const QByteArray hledane = jmeno.toUtf8();
    auto cislo16 = [&](int i) { return int(quint8(archiv[i])) | int(quint8(archiv[i + 1])) << 8; };
    for (int i = archiv.indexOf("PK\x01\x02"); i >= 0 && i + 46 <= archiv.size();
         i = archiv.indexOf("PK\x01\x02", i + 4)) {
        const int delka = cislo16(i + 28);
        if (archiv.mid(i + 46, delka) != hledane) continue;
        for (int b = 0; b < 4; ++b) archiv[i + 24 + b] = char((velikost >> (8 * b)) & 0xff);
        return true;
    }
    return false;
}

inline QByteArray obsah(const QVector<Polozka>& polozky, const QString& docasny) {
    if (!vytvor(docasny, polozky)) return QByteArray();
    QFile f(docasny);
    f.open(QIODevice::ReadOnly);
    const QByteArray b = f.readAll();
    f.close();
    QFile::remove(docasny);
    return b;
}

}  // namespace ArchivZip
