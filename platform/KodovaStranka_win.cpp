// SPDX-License-Identifier: GPL-3.0-or-later
#include "KodovaStranka.h"

#include <QList>
#include <string>

#include "WindowsApi.h"

namespace {

constexpr UINT kCp1250 = 1250;

// The UTF-16 text in Windows-1250 through the system's own table; false when a character
// has no byte of its own there (no best-fit look-alikes, no default character).
bool prevedPresne(const wchar_t* text, int delka, QByteArray& vysledek) {
    if (delka == 0) return true;
    BOOL nahrazeno = FALSE;
    const int potreba = WideCharToMultiByte(kCp1250, WC_NO_BEST_FIT_CHARS, text, delka, nullptr, 0,
                                            nullptr, &nahrazeno);
    if (potreba <= 0 || nahrazeno) return false;
    QByteArray bajty(potreba, '\0');
    WideCharToMultiByte(kCp1250, WC_NO_BEST_FIT_CHARS, text, delka, bajty.data(), potreba, nullptr,
                        &nahrazeno);
    if (nahrazeno) return false;
    vysledek += bajty;
    return true;
}

const wchar_t* utf16(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

}  // namespace

QByteArray KodovaStranka::doCp1250(const QString& text,
                                   const std::function<QByteArray(char32_t)>& nahrada) {
    // Qt without ICU has no Windows-1250 codec here: the conversion tables are the system's.
    QByteArray vysledek;
    vysledek.reserve(text.size());
    if (prevedPresne(utf16(text), static_cast<int>(text.size()), vysledek)) return vysledek;
    // Some character is missing from the code page: convert character by character and
    // replace each missing one whole.
    vysledek.clear();
    for (const char32_t znak : text.toUcs4()) {
        const QString jeden = QString::fromUcs4(&znak, 1);
        if (!prevedPresne(utf16(jeden), static_cast<int>(jeden.size()), vysledek))
            vysledek += nahrada(znak);
    }
    return vysledek;
}

QString KodovaStranka::zCp1250(const QByteArray& bajty) {
    if (bajty.isEmpty()) return QString();
    const int potreba = MultiByteToWideChar(kCp1250, 0, bajty.constData(),
                                            static_cast<int>(bajty.size()), nullptr, 0);
    if (potreba <= 0) return QString::fromLatin1(bajty);
    std::wstring text(static_cast<size_t>(potreba), L'\0');
    MultiByteToWideChar(kCp1250, 0, bajty.constData(), static_cast<int>(bajty.size()), text.data(),
                        potreba);
    return QString::fromWCharArray(text.data(), potreba);
}
