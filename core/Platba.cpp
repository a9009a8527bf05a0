// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platba.h"

#include "Chyba.h"
#include "Formaty.h"
#include "QrPlatba.h"
#include "Relace.h"
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

// ---- a payment as a value

const char* const kKlicClenstvi = "C_clenske_prisp";

bool TNavazanaPlatba::prazdna() const {
    return nazev.isEmpty() && castka.isEmpty() && idP.isEmpty() && idJp.isEmpty() &&
           typPovolenky.isEmpty();
}

bool TNavazanaPlatba::patriK(const QString& TypPovolenky) const {
    return !prazdna() && typPovolenky.compare(TypPovolenky, Qt::CaseInsensitive) == 0;
}

QVector<const TPolozkaPlatby*> TPlatba::sloty() const {
    return {&clenstvi, &brigady, &povolenky[0], &povolenky[1], &povolenky[2]};
}

QStringList TPlatba::castky() const {
    QStringList c;
    for (const TPolozkaPlatby* p : sloty()) c << p->cena;
    c << manipulacniPoplatek;
    for (const TNavazanaPlatba& n : navazane) c << n.castka;
    return c;
}

QString TPlatba::soucet() const {
    return TextCastky(SoucetCastek(castky()));
}

QString TPlatba::ss() const {
    QStringList eIndexy;
    for (const TPolozkaPlatby* p : sloty())
        if (p->vyplnena()) eIndexy << p->e_index;
    return SpecifickySymbol(eIndexy);
}

QString ChybaEvidencnihoCisla(const QString& ecislo) {
    if (JeSymbolPlatby(ecislo)) return QString();
    return QStringLiteral("Evidenční číslo „") + ecislo +
           QStringLiteral(
               "“ musí být tvořeno 1 až 10 číslicemi, bez mezer a jiných znaků: "
               "banka ho přebírá jako variabilní symbol platby !");
}

QString TPlatba::duvodOdmitnuti() const {
    if (!uzivatelVybran) return QStringLiteral("Musí být vybrán uživatel !");
    // A member stored by an earlier build may carry a number no bank takes as the variable
    // symbol; the payment would be numbered and stored without a usable transfer.
    if (!JeSymbolPlatby(ecislo))
        return QStringLiteral("Evidenční číslo „") + ecislo +
               QStringLiteral(
                   "“ nemůže být variabilním symbolem platby (banka přijme jen 1 až "
                   "10 číslic), platbu nelze uložit. Zadejte prosím uživatele se "
                   "správným evidenčním číslem.");
    // The total includes the fee, so at least one item with a price must have been chosen.
    // Both are compared as amounts: a total with hellers is as valid as a whole one.
    if (!(Formaty::naCislo(celkem) > Formaty::naCislo(manipulacniPoplatek)))
        return QStringLiteral("Musí být zadána alespoň jedna položka platby !");
    // The specific symbol column holds ten characters; a longer symbol is refused before
    // anything is written rather than stored cut.
    const QString symbol = ss();
    if (symbol.size() > 10)
        return QStringLiteral("Specifický symbol ") + symbol +
               QStringLiteral(
                   " je delší než 10 znaků, platbu nelze uložit. Odeberte některou z položek "
                   "platby a platbu zadejte zvlášť.");
    return QString();
}

// The linked payments of one code-list entry in the evidence year. The code lists name their
// tables in any letter case ("C_povolKO", "c_povolKO"), so the key is compared without regard to
// it.
QVector<TNavazanaPlatba> NactiNavazanePlatby(Relace& relace, const QString& idP,
                                             const QString& klic) {
    using db::Hodnota;
    const Hodnota Y = Hodnota::cislo(relace.rok);
    const db::Prikaz dotaz(
        QStringLiteral("select v.*, j.nazev, j.castka from C_povol_v_jp v, C_jinePlatby j where "
                       "v.id_p = ? and v.typ_povolenky = ? collate nocase and v.rok = ? and "
                       "v.aktivita = 100 and j.id = v.id_jp and j.rok = ?"),
        {Hodnota::cislo(idP), Hodnota::text(klic), Y, Y});
    db::Query q(&relace.spojeni);
    relace.gosql(dotaz, 1, q, false);
    QVector<TNavazanaPlatba> radky;
    if (!q.isOpen()) return radky;
    for (q.first(); !q.eof(); q.next())
        radky.append({q.fieldByName(QStringLiteral("nazev")).asString(),
                      q.fieldByName(QStringLiteral("castka")).asString(),
                      q.fieldByName(QStringLiteral("id_p")).asString(),
                      q.fieldByName(QStringLiteral("id_jp")).asString(),
                      q.fieldByName(QStringLiteral("typ_povolenky")).asString()});
    return radky;
}

std::optional<TUlozenaPlatba> UlozPlatbu(Relace& relace, const TPlatba& platba) {
    using db::Hodnota;
    db::Connection& spojeni = relace.spojeni;
    db::Query q(&spojeni);
    try {
        spojeni.beginTransaction();
        const Hodnota Y = Hodnota::cislo(relace.rok);
        relace.gosql(
            QStringLiteral("select max(cislo_platby) as cislo_platby from HistoriePlatebHead"), 1,
            q, true);
        const qint64 cislo = q.fieldByName(QStringLiteral("cislo_platby")).asInteger() + 1;
        const QString P = QString::number(cislo);
        const Hodnota hP = Hodnota::cislo(cislo);
        relace.gosql(QStringLiteral("select * from Nastaveni"), 1, q, true);
        const QString U = q.fieldByName(QStringLiteral("ucet")).asString();
        relace.gosqlexec(
            {QStringLiteral("insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, "
                            "vs, ks, ss, castka, id_usr) values (?, now(), ?, ?, ?, ?, ?, ?, ?)"),
             {hP, Y, Hodnota::text(U), Hodnota::text(platba.ecislo),
              Hodnota::text(KonstantniSymbol(P, relace.rok)), Hodnota::text(platba.ss()),
              Hodnota::cislo(platba.celkem), Hodnota::cislo(platba.idUzivatele)}},
            q, true);
        relace.gosql(QStringLiteral("select max(id_platby) as id_platby from HistoriePlateb"), 1, q,
                     true);
        qint64 idPlatby = q.fieldByName(QStringLiteral("id_platby")).asInteger();
        // Every item row: its number and the year, then the rest of its values.
        const QString hlava = QStringLiteral(
            "insert into HistoriePlateb (id_platby, rok, typ_platby, id, id_pov, nazev, castka, "
            "cislo_platby, e_index, kod_veku, kodOznaceni, kategorie, dat_zmena) values (?, ?, ");
        auto polozka = [&](const QString& zbytek, const QVector<Hodnota>& hodnoty) {
            relace.gosqlexec(
                {hlava + zbytek, QVector<Hodnota>{Hodnota::cislo(++idPlatby), Y} + hodnoty}, q,
                true);
        };
        const TPolozkaPlatby& c = platba.clenstvi;
        if (c.vyplnena()) {
            relace.gosql({QStringLiteral("select * from ClenskePrispevky where id = ? and rok = ?"),
                          {Hodnota::cislo(c.id), Y}},
                         1, q, true);
            const QString kodVeku = q.fieldByName(QStringLiteral("kod_veku")).asString();
            polozka(QStringLiteral("1, ?, null, ?, ?, ?, ?, ?, null, null, now())"),
                    {Hodnota::cislo(c.id), Hodnota::text(c.nazev), Hodnota::cislo(c.cena), hP,
                     Hodnota::cislo(c.e_index), Hodnota::cislo(kodVeku)});
        }
        const TPolozkaPlatby& b = platba.brigady;
        if (b.vyplnena()) {
            polozka(QStringLiteral("2, ?, null, ?, ?, ?, ?, null, null, null, now())"),
                    {Hodnota::cislo(b.id), Hodnota::text(b.nazev), Hodnota::cislo(b.cena), hP,
                     Hodnota::cislo(b.e_index)});
        }
        for (const TPolozkaPlatby& p : platba.povolenky) {
            if (!p.vyplnena()) continue;
            polozka(QStringLiteral("3, ?, ?, ?, ?, ?, ?, null, ?, ?, now())"),
                    {Hodnota::cislo(p.id), Hodnota::cislo(p.idPov), Hodnota::text(p.nazev),
                     Hodnota::cislo(p.cena), hP, Hodnota::cislo(p.e_index),
                     Hodnota::text(p.kodOznaceni), Hodnota::text(p.kategorie)});
        }
        if (!platba.navazane.isEmpty() && !platba.navazane.first().castka.isEmpty()) {
            for (const TNavazanaPlatba& n : platba.navazane) {
                polozka(
                    QStringLiteral("4, ?, null, ?, ?, ?, null, null, null, null, now())"),
                    {Hodnota::cislo(n.idP), Hodnota::text(n.nazev), Hodnota::cislo(n.castka), hP});
            }
        }
        relace.gosql({QStringLiteral("select * from ManipulacniPopl where rok = ?"), {Y}}, 1, q,
                     true);
        if (q.recordCount() > 0) {
            polozka(QStringLiteral(
                        "4, 0, null, 'Manipulační poplatek', ?, ?, null, null, null, null, now())"),
                    {Hodnota::cislo(platba.manipulacniPoplatek), hP});
        }
        spojeni.commit();
        return TUlozenaPlatba{P, U};
    } catch (const Chyba& e) {
        spojeni.rollback();
        try {
            relace.hlaseni.log(e.zprava());
        } catch (const Chyba&) {
            // An unwritable log must not hide the failed save from the user.
        }
        relace.hlaseni.zprava(
            QStringLiteral("Došlo k neočekávané výjimce. [") + e.zprava() + QStringLiteral("]"), 2);
        return std::nullopt;
    }
}
