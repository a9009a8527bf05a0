// SPDX-License-Identifier: GPL-3.0-or-later
#include "KodovaStranka.h"

#include <iconv.h>
#include <QList>

#include <algorithm>
#include <cerrno>

namespace {

// The length of the UTF-8 sequence that begins with the byte (1 for a byte that begins none).
int delkaSekvence(unsigned char prvni) {
    if (prvni >= 0xF0) return 4;
    if (prvni >= 0xE0) return 3;
    if (prvni >= 0xC0) return 2;
    return 1;
}

// Converts from in onwards into vysledek through buffer (large enough for what one call
// writes) until the input ends or a character cannot be converted; true in the latter case,
// with in at that character.
bool prevadej(iconv_t cd, char*& in, size_t& zbyva, QByteArray& buffer, QByteArray& vysledek) {
    while (zbyva > 0) {
        char* out = buffer.data();
        size_t misto = static_cast<size_t>(buffer.size());
        const size_t r = iconv(cd, &in, &zbyva, &out, &misto);
        vysledek.append(buffer.constData(), out - buffer.constData());
        if (r != static_cast<size_t>(-1) || zbyva == 0) return false;
        if (errno != E2BIG) return true;
    }
    return false;
}

}  // namespace

QByteArray KodovaStranka::doCp1250(const QString& text,
                                   const std::function<QByteArray(char32_t)>& nahrada) {
    // The conversion tables are those of the C library.
    const iconv_t cd = iconv_open("CP1250", "UTF-8");
    const bool lzePrevest = cd != reinterpret_cast<iconv_t>(-1);
    QByteArray vstup = text.toUtf8();
    QByteArray vysledek;
    vysledek.reserve(vstup.size());
    // Every character takes one byte in the code page and at least one in UTF-8, so a buffer
    // as long as the rest of the input always takes what one call writes.
    QByteArray buffer(vstup.size() + 1, '\0');
    char* in = vstup.data();
    size_t zbyva = static_cast<size_t>(vstup.size());
    while (zbyva > 0) {
        if (lzePrevest) {
            if (!prevadej(cd, in, zbyva, buffer, vysledek)) break;
        } else if (static_cast<unsigned char>(*in) < 0x80) {
            vysledek.append(*in++);
            --zbyva;
            continue;
        }
        // A character the code page lacks (or a table that is not there): replace it whole.
        const int delka =
            std::min<int>(delkaSekvence(static_cast<unsigned char>(*in)), static_cast<int>(zbyva));
        const QList<uint> znak = QString::fromUtf8(in, delka).toUcs4();
        vysledek += nahrada(znak.isEmpty() ? U'\uFFFD' : char32_t(znak.first()));
        in += delka;
        zbyva -= static_cast<size_t>(delka);
    }
    if (lzePrevest) iconv_close(cd);
    return vysledek;
}

QString KodovaStranka::zCp1250(const QByteArray& bajty) {
    const iconv_t cd = iconv_open("UTF-8", "CP1250");
    if (cd == reinterpret_cast<iconv_t>(-1)) return QString::fromLatin1(bajty);
    QByteArray vstup = bajty;
    // One byte of the code page is at most three bytes of UTF-8.
    QByteArray buffer(vstup.size() * 3 + 4, '\0');
    QByteArray vysledek;
    char* in = vstup.data();
    size_t zbyva = static_cast<size_t>(vstup.size());
    while (prevadej(cd, in, zbyva, buffer, vysledek)) {
        // A byte the code page does not define.
        vysledek.append("\xEF\xBF\xBD");
        ++in;
        --zbyva;
    }
    iconv_close(cd);
    return QString::fromUtf8(vysledek);
}
