// SPDX-License-Identifier: GPL-3.0-or-later
#include "Formaty.h"

#include <QLocale>
#include <QRegularExpression>
#include <utility>

namespace {
// The formats of the locale in force, worked out once per locale: grids format every date and
// amount of a large result through here. Dates and times are always shown in the Czech form,
// whatever the desktop's locale: the program's texts are Czech, and a date written with dots
// is day.month.year wherever it is written so. Numbers follow the user's locale.
struct Formatovani {
    QLocale jazyk;
    QLocale cisla;
    QLocale cesky;
    QString kratkeDatum;   // the Czech short date, year in four digits
    QString mistniDatum;   // the locale's own short date, year in four digits
    QString poradiMistni;  // the locale's order of day, month and year ("dMy", "Mdy", "yMd")
    QString dlouhyCas;
};

QString rokCtyrmiCislicemi(QString format) {
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// The order in which a date format writes day, month and year (letters between quotes are
// text); "dMy" when it lacks any of them.
QString poradiVeFormatu(const QString& format) {
    QString vzor;
    bool vUvozovkach = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) vUvozovkach = !vUvozovkach;
        if (vUvozovkach) continue;
        if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
            !vzor.contains(c))
            vzor += c;
    }
    return vzor.size() == 3 ? vzor : QStringLiteral("dMy");
}

const Formatovani& formatovani() {
    static thread_local Formatovani f{
        QLocale::c(), QLocale::c(), QLocale(QLocale::Czech, QLocale::Czechia), QString(), QString(),
        QString(),    QString()};
    const QLocale aktualni;
    if (f.kratkeDatum.isEmpty() || !(aktualni == f.jazyk)) {
        f.jazyk = aktualni;
        f.cisla = aktualni;
        f.cisla.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        f.kratkeDatum = rokCtyrmiCislicemi(f.cesky.dateFormat(QLocale::ShortFormat));
        f.mistniDatum = rokCtyrmiCislicemi(aktualni.dateFormat(QLocale::ShortFormat));
        f.poradiMistni = poradiVeFormatu(f.mistniDatum);
        f.dlouhyCas = f.cesky.timeFormat(QLocale::LongFormat);
        f.dlouhyCas.remove(QLatin1Char('t'));
        f.dlouhyCas = f.dlouhyCas.trimmed();
    }
    return f;
}

const QLocale& uzivatelskeCislo() {
    return formatovani().cisla;
}
}  // namespace

QLocale Formaty::jazykProgramu(const QLocale& systemovy) {
    if (systemovy.language() == QLocale::C) return QLocale(QLocale::Czech, QLocale::Czechia);
    return systemovy;
}

QString Formaty::formatKratkehoData() {
    return formatovani().kratkeDatum;
}

QString Formaty::formatDlouhehoCasu() {
    return formatovani().dlouhyCas;
}

QString Formaty::datum(const QDate& d) {
    const Formatovani& f = formatovani();
    return f.cesky.toString(d, f.kratkeDatum);
}

QDate Formaty::naDatum(const QString& text) {
    const QString t = text.trimmed();
    const Formatovani& f = formatovani();
    static const QRegularExpression triCisla(
        QStringLiteral(R"(^(\d{1,4})(\s*[./-]\s*|\s+)(\d{1,4})(?:\s*[./-]\s*|\s+)(\d{1,4})\.?$)"));
    const QRegularExpressionMatch m = triCisla.match(t);
    if (!m.hasMatch()) {
        // Month names and the like: only exactly as the Czech or the locale's own format shows
        // them.
        for (const auto& [jazyk, format] :
             {std::pair{f.cesky, f.kratkeDatum}, std::pair{f.jazyk, f.mistniDatum}}) {
            const QDate d = jazyk.toDate(t, format);
            if (d.isValid() && jazyk.toString(d, format) == t) return d;
        }
        return QDate();
    }
    // Which number is the day, the month and the year: a four-digit first number starts with
    // the year (1980-02-01); a dot after the first number writes day.month.year in every
    // locale that writes dates with dots; any other separator keeps the locale's own order
    // (2/1/1980 is 1 February under a month-first locale).
    const QString prvni = m.captured(1);
    QString vzor;
    if (prvni.size() == 4)
        vzor = QStringLiteral("yMd");
    else if (m.captured(2).contains(QLatin1Char('.')))
        vzor = QStringLiteral("dMy");
    else
        vzor = f.poradiMistni;
    int den = 0, mesic = 0, rok = 0;
    const QString cisla[] = {prvni, m.captured(3), m.captured(4)};
    for (int i = 0; i < 3; ++i) {
        const QString& cislo = cisla[i];
        const QChar co = vzor.at(i);
        if (co == QLatin1Char('y')) {
            if (cislo.size() != 4) return QDate();
            rok = cislo.toInt();
        } else {
            if (cislo.size() > 2) return QDate();
            (co == QLatin1Char('d') ? den : mesic) = cislo.toInt();
        }
    }
    return QDate(rok, mesic, den);
}

QString Formaty::cas(const QTime& t) {
    const Formatovani& f = formatovani();
    return f.cesky.toString(t, f.dlouhyCas);
}

QString Formaty::datumCas(const QDateTime& dt) {
    if (!dt.isValid()) return QString();
    QString text = datum(dt.date());
    if (dt.time() != QTime(0, 0)) text += QLatin1Char(' ') + cas(dt.time());
    return text;
}

QString Formaty::cislo(double hodnota) {
    if (hodnota == 0) return QStringLiteral("0");  // also turns -0 into 0
    return uzivatelskeCislo().toString(hodnota, 'g', 15);
}

double Formaty::naCislo(const QString& text, bool* ok) {
    bool dobre = false;
    const double h = uzivatelskeCislo().toDouble(text.trimmed(), &dobre);
    if (ok) *ok = dobre;
    return dobre ? h : 0;
}

qint64 Formaty::naCeleCislo(const QString& text, bool* ok) {
    // Qt would skip blanks around the digits; here a blank makes the text not a number.
    bool dobre = !text.isEmpty() && !text.front().isSpace() && !text.back().isSpace();
    const qint64 h = dobre ? text.toLongLong(&dobre, 10) : 0;
    if (ok) *ok = dobre;
    return dobre ? h : 0;
}
