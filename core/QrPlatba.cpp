// SPDX-License-Identifier: GPL-3.0-or-later
#include "QrPlatba.h"

#include <qrencode.h>

#include <QBuffer>
#include <QRegularExpression>
#include <cmath>
#include <memory>

#include "Formaty.h"

namespace {

void nastavDuvod(QString* duvod, const QString& text) {
    if (duvod) *duvod = text;
}

// Czech account numbers carry their own check: the digits weighted from the right by
// 1, 2, 4, 8, 5, 10, 9, 7, 3, 6 sum to a multiple of 11. The prefix uses the last six weights.
bool projdeModulo11(const QString& cislice) {
    static const int vahy[10] = {6, 3, 7, 9, 10, 5, 8, 4, 2, 1};
    const int posun = 10 - cislice.size();
    int soucet = 0;
    for (int i = 0; i < cislice.size(); ++i) soucet += cislice.at(i).digitValue() * vahy[posun + i];
    return soucet % 11 == 0;
}

// Remainder of a long decimal number given as text, divided by 97.
int modulo97(const QString& cislice) {
    int zbytek = 0;
    for (const QChar c : cislice) zbytek = (zbytek * 10 + c.digitValue()) % 97;
    return zbytek;
}

bool jenNuly(const QString& cislice) {
    for (const QChar c : cislice)
        if (c != QLatin1Char('0')) return false;
    return true;
}

// Letters that carry no separate accent in Unicode and would otherwise vanish.
QString nahradaPismene(QChar c) {
    switch (c.unicode()) {
        case 0x00DF:
            return QStringLiteral("SS");  // ß
        case 0x0141:
        case 0x0142:
            return QStringLiteral("L");  // Ł ł
        case 0x00D8:
        case 0x00F8:
            return QStringLiteral("O");  // Ø ø
        case 0x0110:
        case 0x0111:
            return QStringLiteral("D");  // Đ đ
        case 0x00C6:
        case 0x00E6:
            return QStringLiteral("AE");  // Æ æ
        case 0x0152:
        case 0x0153:
            return QStringLiteral("OE");  // Œ œ
        default:
            return QString();
    }
}

struct Symbol {
    const char* nazev;  // key in the payment text
    QString TQrUdaje::*pole;
    const char* popis;  // for the reason
};

struct QrKodUvolnovac {
    void operator()(QRcode* kod) const { QRcode_free(kod); }
};

}  // namespace

bool UcetNaIban(const QString& ucet, QString* iban, QString* duvod) {
    if (iban) iban->clear();
    nastavDuvod(duvod, QString());
    const QString text = ucet.trimmed();
    if (text.isEmpty()) {
        nastavDuvod(duvod, QStringLiteral("účet organizace není vyplněn"));
        return false;
    }
    static const QRegularExpression tvar(
        QStringLiteral("^(?:([0-9]{1,6})-)?([0-9]{1,10})/([0-9]{4})$"));
    const QRegularExpressionMatch m = tvar.match(text);
    if (!m.hasMatch()) {
        nastavDuvod(duvod, QStringLiteral("účet %1 nemá tvar předčíslí-číslo/kód banky").arg(text));
        return false;
    }
    const QString predcisli = m.captured(1);
    const QString cislo = m.captured(2);
    const QString banka = m.captured(3);
    if (!projdeModulo11(predcisli)) {
        nastavDuvod(duvod, QStringLiteral("předčíslí účtu %1 není platné").arg(text));
        return false;
    }
    if (jenNuly(cislo) || !projdeModulo11(cislo)) {
        nastavDuvod(duvod, QStringLiteral("číslo účtu %1 není platné").arg(text));
        return false;
    }
    const QString bban = banka + predcisli.rightJustified(6, QLatin1Char('0')) +
                         cislo.rightJustified(10, QLatin1Char('0'));
    // ISO 7064 mod 97-10: the country code "CZ" becomes 12 35, check digits 00 go to the end.
    const int kontrola = 98 - modulo97(bban + QStringLiteral("123500"));
    if (iban)
        *iban = QStringLiteral("CZ") +
                QString::number(kontrola).rightJustified(2, QLatin1Char('0')) + bban;
    return true;
}

QString IbanPoCtyrech(const QString& iban) {
    QString vysledek;
    for (int i = 0; i < iban.size(); i += 4) {
        if (i) vysledek += QLatin1Char(' ');
        vysledek += iban.mid(i, 4);
    }
    return vysledek;
}

QString CastkaProQr(const QString& castka, QString* duvod) {
    nastavDuvod(duvod, QString());
    bool ok = false;
    const double hodnota = Formaty::naCislo(castka, &ok);
    // !(x > 0) also turns away a NaN
    if (!ok || !(hodnota > 0) || hodnota > 9999999.99 + 1e-9) {
        nastavDuvod(duvod,
                    QStringLiteral("částka „%1“ není kladné číslo do 9 999 999,99").arg(castka));
        return QString();
    }
    const double setiny = hodnota * 100;
    const qint64 halere = qRound64(setiny);
    if (std::fabs(setiny - static_cast<double>(halere)) > 1e-6) {
        nastavDuvod(duvod,
                    QStringLiteral("částka „%1“ má víc než dvě desetinná místa").arg(castka));
        return QString();
    }
    return QStringLiteral("%1.%2").arg(halere / 100).arg(halere % 100, 2, 10, QLatin1Char('0'));
}

QString TextProQr(const QString& text, int maxDelka) {
    const QString rozlozeny = text.normalized(QString::NormalizationForm_D);
    QString prepis;
    for (const QChar c : rozlozeny) {
        if (c.category() == QChar::Mark_NonSpacing) continue;  // the accents split off above
        const QString nahrada = nahradaPismene(c);
        if (!nahrada.isEmpty()) {
            prepis += nahrada;
            continue;
        }
        const QChar velke = c.toUpper();
        const ushort u = velke.unicode();
        const bool povoleny = (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '.' ||
                              u == ',' || u == '-' || u == '/';
        prepis += povoleny ? velke : QLatin1Char(' ');
    }
    return prepis.simplified().left(qMax(0, maxDelka)).trimmed();
}

bool JeSymbolPlatby(const QString& symbol) {
    static const QRegularExpression cislice(QStringLiteral("^[0-9]{1,10}$"));
    return cislice.match(symbol).hasMatch();
}

QString SestavSpd(const TQrUdaje& udaje, QString* duvod) {
    nastavDuvod(duvod, QString());
    QString iban;
    if (!UcetNaIban(udaje.ucet, &iban, duvod)) return QString();
    const QString castka = CastkaProQr(udaje.castka, duvod);
    if (castka.isEmpty()) return QString();

    QString spd = QStringLiteral("SPD*1.0*ACC:") + iban + QStringLiteral("*AM:") + castka +
                  QStringLiteral("*CC:CZK");
    static const Symbol symboly[] = {{"X-VS", &TQrUdaje::vs, "variabilní"},
                                     {"X-SS", &TQrUdaje::ss, "specifický"},
                                     {"X-KS", &TQrUdaje::ks, "konstantní"}};
    for (const Symbol& s : symboly) {
        const QString& hodnota = udaje.*(s.pole);
        if (hodnota.isEmpty()) continue;
        if (!JeSymbolPlatby(hodnota)) {
            nastavDuvod(duvod, QStringLiteral("%1 symbol „%2“ nemá 1 až 10 číslic")
                                   .arg(QString::fromUtf8(s.popis), hodnota));
            return QString();
        }
        spd += QLatin1Char('*') + QLatin1String(s.nazev) + QLatin1Char(':') + hodnota;
    }

    // The evidence number always fits; a long name gives way to it.
    const int maxZprava = 60;
    const QString ecislo = TextProQr(udaje.ecislo, maxZprava);
    const int prostorJmena = ecislo.isEmpty() ? maxZprava : maxZprava - ecislo.size() - 1;
    const QString jmeno = TextProQr(udaje.jmeno + QLatin1Char(' ') + udaje.prijmeni, prostorJmena);
    const QString zprava = (jmeno + QLatin1Char(' ') + ecislo).trimmed();
    if (!zprava.isEmpty()) spd += QStringLiteral("*MSG:") + zprava;
    return spd;
}

QImage VykresliQr(const QString& text, int modul) {
    if (text.isEmpty() || modul < 1) return QImage();
    const QByteArray data = text.toUtf8();
    const std::unique_ptr<QRcode, QrKodUvolnovac> kod(QRcode_encodeData(
        data.size(), reinterpret_cast<const unsigned char*>(data.constData()), 0, QR_ECLEVEL_M));
    if (!kod) return QImage();

    const int okraj = 4;  // the quiet zone readers need around the code
    const int strana = (kod->width + 2 * okraj) * modul;
    QImage obraz(strana, strana, QImage::Format_Mono);
    obraz.setColor(0, qRgb(255, 255, 255));
    obraz.setColor(1, qRgb(0, 0, 0));
    obraz.fill(0);
    for (int y = 0; y < kod->width; ++y) {
        for (int x = 0; x < kod->width; ++x) {
            // bit 0 of each byte: the module is dark
            if (!(kod->data[y * kod->width + x] & 1)) continue;
            for (int dy = 0; dy < modul; ++dy)
                for (int dx = 0; dx < modul; ++dx)
                    obraz.setPixel((x + okraj) * modul + dx, (y + okraj) * modul + dy, 1);
        }
    }
    return obraz;
}

QString QrPngDataUri(const QString& text, int modul) {
    const QImage obraz = VykresliQr(text, modul);
    if (obraz.isNull()) return QString();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!obraz.save(&buffer, "PNG")) return QString();
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

QString QrChybiText(const QString& duvod) {
    return QStringLiteral("QR kód nelze vytvořit: %1.").arg(duvod);
}

QString QrHtmlBlok(const TQrUdaje& udaje) {
    const QString styl =
        QStringLiteral("text-align:center;font:10pt \"Times New Roman\",Times,serif;color:black;");
    QString duvod;
    const QString spd = SestavSpd(udaje, &duvod);
    const QString uri = spd.isEmpty() ? QString() : QrPngDataUri(spd, 8);
    if (uri.isEmpty()) {
        if (duvod.isEmpty()) duvod = QStringLiteral("platební údaje se do kódu nevejdou");
        return QStringLiteral("<div style='%1'>%2</div>")
            .arg(styl, QrChybiText(duvod).toHtmlEscaped());
    }
    // A fixed printed size keeps every module well above what a phone camera resolves.
    return QStringLiteral(
               "<div style='%1'><img src=\"%2\" alt=\"QR platba\" "
               "style=\"width:35mm;height:35mm;image-rendering:pixelated;\"><br>QR platba</div>")
        .arg(styl, uri);
}
