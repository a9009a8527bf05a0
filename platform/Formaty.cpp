#include "Formaty.h"

#include <QLocale>

namespace {
QLocale uzivatelskeCislo() {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return l;
}
}  // namespace

QString Formaty::formatKratkehoData() {
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("yyyy"))) f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return f;
}

QString Formaty::formatDlouhehoCasu() {
    QString f = QLocale().timeFormat(QLocale::LongFormat);
    f.remove(QLatin1Char('t'));
    return f.trimmed();
}

QString Formaty::datum(const QDate& d) {
    return QLocale().toString(d, formatKratkehoData());
}

QString Formaty::cas(const QTime& t) {
    return QLocale().toString(t, formatDlouhehoCasu());
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
