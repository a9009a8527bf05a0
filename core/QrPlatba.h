// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// The "QR Platba" code that Czech banking apps scan instead of the member copying the account,
// amount and symbols by hand. Everything here is plain: the payment form and the printed sheet
// hand over the texts they show and get back the payment text, the picture or the reason why
// no code can be made. The form shows the picture with TQrPlatba (fQrPlatba.h).

// The transfer data as the payment form holds it, all as text.
struct TQrUdaje {
    QString ucet;      // the organisation's account, "[prefix-]number/bank"
    QString castka;    // the amount as the form shows it (user's decimal separator)
    QString vs;        // variable symbol
    QString ks;        // constant symbol
    QString ss;        // specific symbol
    QString jmeno;     // member's first name
    QString prijmeni;  // member's surname
    QString ecislo;    // member's evidence number
};

// Turns a domestic account "[prefix-]number/bank" (prefix up to 6 digits, number up to 10,
// bank code of 4) into its IBAN without blanks ("CZ6508000000192000145399"). Prefix and number
// must pass the mod-11 check of Czech account numbers. On failure returns false, leaves iban
// empty and gives a short Czech reason (lower case, no full stop).
bool UcetNaIban(const QString& ucet, QString* iban, QString* duvod = nullptr);

// The IBAN in groups of four, as people read it ("CZ65 0800 0000 1920 0014 5399").
QString IbanPoCtyrech(const QString& iban);

// The amount as the payment text needs it: decimal point and two decimals ("312.50"). The
// text is read with the user's decimal separator; it must be positive, at most 9 999 999.99
// and whole hellers. Otherwise returns an empty text and the reason.
QString CastkaProQr(const QString& castka, QString* duvod = nullptr);

// The message for the payee: Czech letters without diacritics, upper case, only letters,
// digits, blanks and ".,-/", at most maxDelka characters.
QString TextProQr(const QString& text, int maxDelka = 60);

// Whether a text can be a symbol of a Czech bank transfer (variable, specific or constant):
// 1 to 10 digits, nothing else, no blanks.
bool JeSymbolPlatby(const QString& symbol);

// The payment text "SPD*1.0*ACC:<IBAN>*AM:<amount>*CC:CZK*X-VS:..*X-SS:..*X-KS:..*MSG:..".
// An empty symbol is left out; a symbol must otherwise be 1 to 10 digits. The message carries
// the member's name and evidence number. When any value breaks the rules the result is empty
// and duvod says why: a wrong payment is worse than none.
QString SestavSpd(const TQrUdaje& udaje, QString* duvod = nullptr);

// The QR code of the text (error correction M, byte mode), black modules on white with a quiet
// zone of 4 modules, each module modul pixels wide. A null image when the text is empty or
// too long for a QR code.
QImage VykresliQr(const QString& text, int modul = 4);

// The picture of VykresliQr as a PNG in a data URI ("data:image/png;base64,..."), so that an
// HTML page carries it inside itself. Empty when no picture can be made.
QString QrPngDataUri(const QString& text, int modul = 4);

// The block of the printed payment sheet: the code as an embedded image with the caption
// "QR platba" below it, or one short Czech line saying why there is no code. Only ASCII and
// Czech letters, so it fits a Windows-1250 page.
QString QrHtmlBlok(const TQrUdaje& udaje);

// The line the form and the sheet show instead of the code.
QString QrChybiText(const QString& duvod);
