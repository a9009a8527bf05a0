// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqlHodnoty.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

#include "Chyba.h"

namespace {
// The engine reads a statement only up to its first zero character, so a value holding one
// would cut the statement short: such a value is refused.
void bezNuly(const QString& hodnota) {
    if (hodnota.contains(QChar(0)))
        throw Chyba(QStringLiteral("Hodnota obsahuje nulový znak a nelze ji uložit."));
}
}  // namespace

QString Sql::text(const QString& hodnota) {
    bezNuly(hodnota);
    QString s = hodnota;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString Sql::textNeboNull(const QString& hodnota) {
    return hodnota.isEmpty() ? null() : text(hodnota);
}

Sql::Cislo Sql::prectiCislo(const QString& hodnota) {
    Cislo c;
    const QString t = hodnota.trimmed();
    if (t.isEmpty()) return c;
    // Whole numbers stay as their digits so that large ids keep every digit.
    static const QRegularExpression cele(QStringLiteral("^[+-]?\\d{1,18}$"));
    if (cele.match(t).hasMatch()) {
        c.druh = Cislo::Druh::Cele;
        c.cele = t.toLongLong();
        return c;
    }
    QLocale uzivatel;
    uzivatel.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double d = uzivatel.toDouble(t, &ok);
    if (!ok) d = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(d))
        throw Chyba(QStringLiteral("Hodnota \"%1\" není číslo.").arg(hodnota));
    c.druh = Cislo::Druh::Desetinne;
    c.desetinne = d;
    return c;
}

QString Sql::number(const QString& hodnota) {
    const Cislo c = prectiCislo(hodnota);
    switch (c.druh) {
        case Cislo::Druh::Prazdne:
            return null();
        case Cislo::Druh::Cele:
            return QString::number(c.cele);
        case Cislo::Druh::Desetinne:
            break;
    }
    return number(c.desetinne);
}

QString Sql::number(qint64 hodnota) {
    return QString::number(hodnota);
}

QString Sql::number(double hodnota) {
    if (!std::isfinite(hodnota)) throw Chyba(QStringLiteral("Hodnota není konečné číslo."));
    // 15 significant digits give back exactly the decimal text an amount was typed or
    // imported with (312.55 stays 312.55); an exponent is a valid SQL literal too.
    return QString::number(hodnota, 'g', 15);
}

QString Sql::date(const QDate& datum) {
    if (!datum.isValid()) return null();
    return QLatin1Char('\'') + datum.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
}

QString Sql::dateTime(const QDateTime& cas) {
    if (!cas.isValid()) return null();
    return QLatin1Char('\'') + cas.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QLatin1Char('\'');
}

QString Sql::null() {
    return QStringLiteral("null");
}

QString Sql::identifikator(const QString& jmeno) {
    bezNuly(jmeno);
    QString s = jmeno;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

void Sql::zkontrolujText(const QString& hodnota) {
    bezNuly(hodnota);
}
