// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The values of one payment as the payment form shows and prints them.
struct TUdajePlatby {
    QString CisloUctu, VS, KS, SS, Castka;
    QString ecislo, jmeno, prijmeni, dat_nar;
};

// The printable payment sheet form.html: its lines (without line ends), every spliced value
// HTML-escaped. vygenerovano is the date and time text of the last line; qrBlok, when given, is
// the HTML of the payment's QR code, placed in a row of its own above the last line.
QStringList RadkyFormulare(const TUdajePlatby& platba, const QString& mesto,
                           const QString& vygenerovano, const QString& qrBlok = QString());

// The lines joined with CR LF (every line ended by one) in the Windows-1250 code page the sheet
// declares; a character the code page lacks is written as an HTML character reference.
QByteArray DokumentFormulare(const QStringList& radky);

// Text for HTML: & < > " ' as entities.
QString HtmlText(const QString& text);
