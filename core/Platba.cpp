#include "Platba.h"

#include "Formaty.h"
#include "Spolecne.h"

int RokJakoCislo(const QString& rokEvidence) {
    bool ok = false;
    const qint64 rok = Formaty::naCeleCislo(rokEvidence, &ok);
    return ok ? static_cast<int>(rok) : 2015;
}

bool RokEvidenceUzavren(int stav, const QString& rokEvidence, const QDate& dnes) {
    if (stav == 1) return true;
    const int rok = RokJakoCislo(rokEvidence);
    if (rok < dnes.year()) return true;
    return rok == dnes.year() && dnes >= QDate(rok, 12, 1);
}

QString ZpravaUzavrenehoRoku(const QString& rokEvidence) {
    const int rok = RokJakoCislo(rokEvidence);
    return QStringLiteral("Ještě nebyly vystaveny nové číselníky a pro rok ") + rokEvidence +
           QStringLiteral(" již není možno od 1.12.") + QString::number(rok) +
           QStringLiteral(" zadávat elektronické platby !") + QLatin1Char('\r') +
           QStringLiteral("(vyčkejte, dokud nebudou vystaveny nové číselníky pro rok ") +
           QString::number(rok + 1) + QStringLiteral(")");
}

QString KonstantniSymbol(const QString& cisloPlatby, const QString& rokEvidence) {
    return DoplnNuly(cisloPlatby, 2) + rokEvidence.mid(2, 2);
}

QString SpecifickySymbol(const QStringList& eIndexy) {
    QString ss;
    for (const QString& e : eIndexy) ss += DoplnNuly(e, 2);
    return ss;
}

double SoucetCastek(const QStringList& castky) {
    double soucet = 0;
    for (const QString& c : castky) soucet += Formaty::naCislo(c);
    return soucet;
}

QString TextCastky(double castka) {
    return Formaty::cislo(castka);
}
