// SPDX-License-Identifier: GPL-3.0-or-later
#include "Spolecne.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

#include "Chyba.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "VerzniBlok.h"
#include "Zdroje.h"

namespace {
QString g_souborProgramu;
}  // namespace

QString SouborProgramu() {
    return g_souborProgramu.isEmpty() ? QCoreApplication::applicationFilePath() : g_souborProgramu;
}

QString SlozkaProgramu() {
    return QDir::toNativeSeparators(QFileInfo(SouborProgramu()).absolutePath() + QLatin1Char('/'));
}

void NastavSouborProgramu(const QString& soubor) {
    g_souborProgramu = soubor;
}

void ZapisDoLogu(const QString& text) {
    const QString slozka = SlozkaProgramu();
    QFile log(slozka + QStringLiteral("Error.log"));
    bool otevreno = false;
    if (log.open(QIODevice::ReadOnly)) {
        log.close();
        otevreno = log.open(QIODevice::WriteOnly | QIODevice::Append);
        if (!otevreno) throw Chyba(log.errorString());
    } else {
        otevreno = log.open(QIODevice::WriteOnly);
        if (!otevreno)
            throw Chyba(QStringLiteral("Soubor \"%1Error.log\" nelze vytvořit, \r"
                                       "pravděpodobně nemáte právo zápisu do složky, kde je "
                                       "program instalován.")
                            .arg(slozka));
    }
    // One line per entry: a message's own line breaks become blanks, so that its lines neither
    // run together nor split the entry.
    QString jedenRadek = text;
    jedenRadek.replace(QLatin1String("\r\n"), QLatin1String(" "))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray radek = (Formaty::datumCas(Hodiny::ted()) + QStringLiteral(": ") + jedenRadek +
                              QStringLiteral("\r\n"))
                                 .toLocal8Bit();
    if (log.write(radek) != radek.size() || !log.flush()) throw Chyba(log.errorString());
    log.close();
}

QString VerzeSouboru(const QString& soubor) {
    return VerzniBlok::verzeSouboru(soubor);
}

void NactiVerziExe(const QString& soubor, TExeVersionData& data) {
    QMap<QString, QString> p;
    switch (VerzniBlok::nacti(soubor, &p)) {
        case VerzniBlok::Vysledek::Nacteno:
            break;
        case VerzniBlok::Vysledek::SouborNenalezen:
            throw Chyba(QStringLiteral("Systém nemůže nalézt uvedený soubor."));
        case VerzniBlok::Vysledek::NelzeCist:
            throw Chyba(QStringLiteral("Přístup byl odepřen."));
        case VerzniBlok::Vysledek::BezBloku:
            throw Chyba(QStringLiteral("Zadaný typ prostředku nelze v souboru obrazu nalézt."));
    }
    if (!p.contains(QStringLiteral("Translation")))
        throw Chyba(QStringLiteral("Zadaný typ prostředku nelze v souboru obrazu nalézt."));
    const struct {
        const char* jmeno;
        QString TExeVersionData::*pole;
    } polozky[] = {
        {"CompanyName", &TExeVersionData::CompanyName},
        {"FileDescription", &TExeVersionData::FileDescription},
        {"FileVersion", &TExeVersionData::FileVersion},
        {"InternalName", &TExeVersionData::InternalName},
        {"LegalCopyright", &TExeVersionData::LegalCopyright},
        {"LegalTrademarks", &TExeVersionData::LegalTrademarks},
        {"OriginalFileName", &TExeVersionData::OriginalFileName},
        {"ProductName", &TExeVersionData::ProductName},
        {"ProductVersion", &TExeVersionData::ProductVersion},
        {"Comments", &TExeVersionData::Comments},
        {"PrivateBuild", &TExeVersionData::PrivateBuild},
        {"SpecialBuild", &TExeVersionData::SpecialBuild},
    };
    for (const auto& pol : polozky) {
        const QString klic = QString::fromLatin1(pol.jmeno);
        if (p.contains(klic)) data.*(pol.pole) = p.value(klic);
    }
}

QString DoplnNuly(const QString& text, quint8 delka, bool zleva) {
    QString s = text;
    while (s.size() < delka) s = zleva ? QLatin1Char('0') + s : s + QLatin1Char('0');
    return s;
}

Tdatum RozlozDatum(const QDateTime& datum) {
    Tdatum d;
    const QDate dd = datum.date();
    const QTime t = datum.time();
    d.year = QString::number(dd.year());
    d.month = QString::number(dd.month());
    d.day = QString::number(dd.day());
    d.hour = QString::number(t.hour());
    d.min = QString::number(t.minute());
    d.sec = QString::number(t.second());
    d.msec = QString::number(t.msec());
    // The user's time separator: the first character of the long time format that is not a
    // letter of the pattern.
    QString oddelovac = QStringLiteral(":");
    static const QRegularExpression znak(QStringLiteral("[^HhmsAaPpzt ]"));
    const auto m = znak.match(Formaty::formatDlouhehoCasu());
    if (m.hasMatch()) oddelovac = m.captured(0);
    d.cas = d.hour + oddelovac + d.min + oddelovac + d.sec;
    return d;
}

void UlozZdrojDoSouboru(const QString& typ, const QString& jmeno, const QString& soubor) {
    Zdroje::ulozDoSouboru(typ, jmeno, soubor);
}
