// SPDX-License-Identifier: GPL-3.0-or-later
#include "TiskFormulare.h"

#include "KodovaStranka.h"

namespace {

QString bunkaPopisu(const QString& text) {
    return QStringLiteral(
               "<TD colspan=\"3\" style='text-align:left;font:12pt \"Times New "
               "Roman\",Times,serif;color:black;'>") +
           text + QStringLiteral("</TD>");
}

QString bunkaHodnoty(const QString& text) {
    return QStringLiteral(
               "<TD colspan=\"4\" style='text-align:left;font:bold 12pt \"Times New "
               "Roman\",Times,serif;color:black;'>") +
           HtmlText(text) + QStringLiteral("</TD>");
}

const QString kPrazdnyRadek = QStringLiteral("<TR><TD></TD></TR>");

void radekUdaje(QStringList& r, const QString& popis, const QString& hodnota) {
    r << QStringLiteral("<TR>") << bunkaPopisu(popis) << bunkaHodnoty(hodnota)
      << QStringLiteral("</TR>");
}

}  // namespace

QString HtmlText(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '&':
                s += QLatin1String("&amp;");
                break;
            case '<':
                s += QLatin1String("&lt;");
                break;
            case '>':
                s += QLatin1String("&gt;");
                break;
            case '"':
                s += QLatin1String("&quot;");
                break;
            case '\'':
                s += QLatin1String("&#39;");
                break;
            default:
                s += c;
        }
    }
    return s;
}

QStringList RadkyFormulare(const TUdajePlatby& p, const QString& mesto, const QString& vygenerovano,
                           const QString& qrBlok) {
    QStringList r;
    r << QStringLiteral("<!DOCTYPE html PUBLIC -//W3C//DTD HTML 4.01 Transitional//EN>")
      << QStringLiteral("<html xmlns=\"http://www.w3.org/TR/REC-html40\" >")
      << QStringLiteral("<HEAD>")
      << QStringLiteral(
             "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\">")
      << QStringLiteral("<META name=\"Generator\" content=\"Tisk\">")
      << QStringLiteral("<TITLE>Tisk Parmex - E-Platba</TITLE>")
      << QStringLiteral("<style type=\"text/css\"><!--")
      << QStringLiteral(
             "  table {margin:0;table-layout:fixed;border-collapse:collapse;empty-cells:show;}")
      << QStringLiteral("  td {padding:3pt;text-align:left;vertical-align:top;}")
      << QStringLiteral("  @page mdoc {size:210mm 297mm;margin:10mm 10mm 10mm 10mm;}")
      << QStringLiteral("  div.mdoc {page:mdoc;}") << QStringLiteral("--></style>")
      << QStringLiteral("</HEAD>") << QStringLiteral("<BODY>")
      << QStringLiteral("<div class=\"mdoc\">") << QString()
      << QStringLiteral(
             "<TABLE border=\"0\" cellspacing=\"0\" cellpadding=\"0\" "
             "style=\"width:538.550000pt\">");
    for (const char* sirka :
         {"43.050000", "37.650000", "70.000000", "16.150000", "53.850000", "5.350000", "43.050000",
          "21.500000", "26.900000", "10.750000", "53.850000", "64.600000", "91.550000"})
        r << QStringLiteral("<COL style=\"width:%1pt\">").arg(QLatin1String(sirka));
    r << QStringLiteral("<TR>")
      << QStringLiteral(
             "<TD colspan=\"13\" style='text-align:left;font:bold 16pt \"Times New "
             "Roman\",Times,serif;border-bottom:1pt solid black;color:black;'>Elektronická platba "
             "pro TVZ - MO ") +
             HtmlText(mesto) + QStringLiteral("</TD>")
      << QStringLiteral("</TR>") << kPrazdnyRadek;
    radekUdaje(r, QStringLiteral("Člen: "), p.jmeno + QLatin1Char(' ') + p.prijmeni);
    radekUdaje(r, QStringLiteral("Evidenční číslo: "), p.ecislo);
    radekUdaje(r, QStringLiteral("Datum narození: "), p.dat_nar);
    r << kPrazdnyRadek << QStringLiteral("<TR>")
      << QStringLiteral(
             "<TD colspan=\"3\" style='text-align:left;font:12pt \"Times New "
             "Roman\",Times,serif;border-bottom:2pt solid black;border-top:1pt solid "
             "black;color:black;'>Údaje pro platbu:</TD>")
      << QStringLiteral(
             "<TD colspan=\"4\" style='text-align:left;font:bold 12pt \"Times New "
             "Roman\",Times,serif;border-bottom:2pt solid black;border-top:1pt solid "
             "black;color:black;'></TD>")
      << QStringLiteral("</TR>");
    radekUdaje(r, QStringLiteral("Číslo účtu: "), p.CisloUctu);
    radekUdaje(r, QStringLiteral("Variabilní symbol: "), p.VS);
    radekUdaje(r, QStringLiteral("Konstantní symbol: "), p.KS);
    radekUdaje(r, QStringLiteral("Specifický symbol: "), p.SS);
    r << QStringLiteral("<TR>")
      << QStringLiteral(
             "<TD colspan=\"3\" style='text-align:left;font:bold 12pt \"Times New "
             "Roman\",Times,serif;border-bottom:1pt solid black;border-top:1pt solid "
             "black;border-left:1pt solid black;color:black;'>Částka: </TD>")
      << QStringLiteral(
             "<TD colspan=\"4\" style='text-align:left;font:bold 12pt \"Times New "
             "Roman\",Times,serif;border-bottom:1pt solid black;border-top:1pt solid "
             "black;border-right:1pt solid black;color:black;'>") +
             HtmlText(p.Castka) + QStringLiteral(" Kč</TD>")
      << QStringLiteral("</TR>") << kPrazdnyRadek << kPrazdnyRadek << kPrazdnyRadek
      << kPrazdnyRadek;
    if (!qrBlok.isEmpty())
        r << QStringLiteral("<TR>")
          << QStringLiteral("<TD colspan=\"13\">") + qrBlok + QStringLiteral("</TD>")
          << QStringLiteral("</TR>");
    r << QStringLiteral("<TR>")
      << QStringLiteral(
             "<TD colspan=\"13\" style='text-align:left;font:8pt \"Times New "
             "Roman\",Times,serif;border-top:1pt solid black;color:black;'>Generováno systémem "
             "Parmex ROZU dne: ") +
             HtmlText(vygenerovano) + QStringLiteral("</TD>")
      << QStringLiteral("</TR>") << QStringLiteral("</TABLE></div>") << QStringLiteral("</BODY>")
      << QStringLiteral("</HTML>");
    return r;
}

QByteArray DokumentFormulare(const QStringList& radky) {
    QByteArray b;
    for (const QString& radek : radky) {
        b += KodovaStranka::doCp1250(radek, [](char32_t znak) {
            return QStringLiteral("&#%1;").arg(quint32(znak)).toLatin1();
        });
        b += "\r\n";
    }
    return b;
}
