// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/stat.h>
#include <zip.h>

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QString>

// Shared pieces of the tests of publishing and installing: the real program with another
// version in its version block, the entries of a published archive, a folder's whole content.
namespace Vydavani {

inline QByteArray precti(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool zapis(const QString& soubor, const QByteArray& obsah) {
    QFile f(soubor);
    return f.open(QIODevice::WriteOnly) && f.write(obsah) == obsah.size();
}

// The program's bytes with its file version replaced, everything else (the product name among
// it) kept: the version line of the first block (the program's own; the embedded updater's
// comes after it) is overwritten in place and padded with empty lines, so the program stays a
// working program. Empty when the program has no such line or the version does not fit.
inline QByteArray sVerzi(const QByteArray& program, const QString& verze) {
    const QByteArray klic = "\nFileVersion=";
    const int od = program.indexOf(klic);
    if (od < 0) return QByteArray();
    const int konec = program.indexOf('\n', od + 1);
    QByteArray novy = klic + verze.toLatin1() + '\n';
    if (novy.size() > konec + 1 - od) return QByteArray();
    novy.append(QByteArray(konec + 1 - od - novy.size(), '\n'));
    QByteArray vysledek = program;
    vysledek.replace(od, novy.size(), novy);
    return vysledek;
}

struct Polozka {
    QByteArray obsah;
    unsigned prava = 0;  // the Unix permission bits stored with the entry
};

// The entries of a ZIP archive by name; empty when it cannot be read.
inline QMap<QString, Polozka> archiv(const QString& soubor) {
    QMap<QString, Polozka> polozky;
    int chyba = 0;
    zip_t* z = zip_open(QFile::encodeName(soubor).constData(), ZIP_RDONLY, &chyba);
    if (!z) return polozky;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, zip_uint64_t(i), 0, &st);
        Polozka p;
        p.obsah.resize(qsizetype(st.size));
        zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0);
        if (f) {
            zip_fread(f, p.obsah.data(), st.size);
            zip_fclose(f);
        }
        zip_uint8_t os = 0;
        zip_uint32_t atributy = 0;
        zip_file_get_external_attributes(z, zip_uint64_t(i), 0, &os, &atributy);
        p.prava = (atributy >> 16) & 07777;
        polozky.insert(QString::fromUtf8(st.name), p);
    }
    zip_discard(z);
    return polozky;
}

// Every file below the folder (hidden ones too) with its content, and every folder by a name
// ending in "/": a snapshot to compare before and after.
inline QMap<QString, QByteArray> obsahSlozky(const QString& slozka) {
    QMap<QString, QByteArray> obsah;
    QDirIterator it(slozka, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString cesta = it.next();
        const QString jmeno = QDir(slozka).relativeFilePath(cesta);
        if (it.fileInfo().isDir())
            obsah.insert(jmeno + QLatin1Char('/'), QByteArray());
        else
            obsah.insert(jmeno, precti(cesta));
    }
    return obsah;
}

}  // namespace Vydavani
