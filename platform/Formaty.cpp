#include "Formaty.h"

#include <QLocale>
#include <QRegularExpression>

namespace {
// The formats of the locale in force, worked out once per locale: grids format every date and
// amount of a large result through here.
struct Formatovani {
    QLocale jazyk;
    QLocale cisla;
    QString kratkeDatum;
    QString dlouhyCas;
};

const Formatovani& formatovani() {
    static thread_local Formatovani f{QLocale::c(), QLocale::c(), QString(), QString()};
    const QLocale aktualni;
    if (f.kratkeDatum.isEmpty() || !(aktualni == f.jazyk)) {
        f.jazyk = aktualni;
        f.cisla = aktualni;
        f.cisla.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        f.kratkeDatum = aktualni.dateFormat(QLocale::ShortFormat);
        if (!f.kratkeDatum.contains(QLatin1String("yyyy")))
            f.kratkeDatum.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        f.dlouhyCas = aktualni.timeFormat(QLocale::LongFormat);
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
    return f.jazyk.toString(d, f.kratkeDatum);
}

QDate Formaty::naDatum(const QString& text) {
    const QString t = text.trimmed();
    const Formatovani& f = formatovani();
    static const QRegularExpression triCisla(QStringLiteral(
        R"(^(\d{1,4})(?:\s*[./-]\s*|\s+)(\d{1,4})(?:\s*[./-]\s*|\s+)(\d{1,4})\.?$)"));
    const QRegularExpressionMatch m = triCisla.match(t);
    if (!m.hasMatch()) {
        // Month names and the like: only exactly as the format shows them.
        const QDate d = f.jazyk.toDate(t, f.kratkeDatum);
        return d.isValid() && f.jazyk.toString(d, f.kratkeDatum) == t ? d : QDate();
    }
    // The order of day, month and year in the short format (letters between quotes are text).
    QString vzor;
    bool vUvozovkach = false;
    for (const QChar c : f.kratkeDatum) {
        if (c == QLatin1Char('\'')) vUvozovkach = !vUvozovkach;
        if (vUvozovkach) continue;
        if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
            !vzor.contains(c))
            vzor += c;
    }
    if (vzor.size() != 3) vzor = QStringLiteral("dMy");
    int den = 0, mesic = 0, rok = 0;
    for (int i = 0; i < 3; ++i) {
        const QString cislo = m.captured(i + 1);
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
    return f.jazyk.toString(t, f.dlouhyCas);
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
