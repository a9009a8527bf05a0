// SPDX-License-Identifier: GPL-3.0-or-later
#include "VzorovaData.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

#include "Chyba.h"
#include "Databaze.h"
#include "Schema.h"
#include "Spolecne.h"

// The empty database file is an embedded file of this library; a static library needs it
// registered explicitly.
static void nactiSablonu() {
    Q_INIT_RESOURCE(parmex);
}

namespace VzorovaData {

// 190-2718281824: both the prefix and the number pass the weighted modulo-11 check of Czech
// account numbers; the bank code is that of a large Czech bank.
const char* const kUcet = "190-2718281824/0800";
const char* const kMesto = "Varnov";

namespace {

using Cislo = std::optional<double>;
const Cislo nic = std::nullopt;

using db::Hodnota;

Hodnota cislo(const Cislo& c) {
    return c ? Hodnota::cislo(*c) : Hodnota::null();
}

Hodnota cislo(int c) {
    return Hodnota::cislo(static_cast<qint64>(c));
}

Hodnota text(const char* t) {
    return Hodnota::text(QString::fromUtf8(t));
}

Hodnota textNeboNull(const char* t) {
    return t ? text(t) : Hodnota::null();
}

struct Clenstvi {
    int id;
    const char* nazev;
    double castka;
    int aktivita;
    Cislo kodVeku;
    Cislo eIndex;
};

struct Brigada {
    int id;
    const char* nazev;
    double castka;
    Cislo eIndex;
};

struct TypPovolenky {
    int idPov;
    const char* nazev;
    const char* tabulka;
};

struct CenaPovolenky {
    const char* tabulka;
    int id;
    const char* nazev;
    const char* kodOznaceni;
    const char* kategorie;
    double castka;
    int aktivita;
    Cislo eIndex;
};

struct JinaPlatba {
    int id;
    const char* nazev;
    double castka;
    int aktivita;
    const char* manipulacniPoplatek;
};

struct Vazba {
    int idP;
    int idJp;
    const char* typPovolenky;
    int aktivita;
    int typPlatby;
};

// Prices of the evidence year. Rows with aktivita 900 or without e_index are the kind of row an
// organisation keeps in its file but does not offer.
const Clenstvi kClenstvi[] = {
    {1, "Členský příspěvek – dospělí", 1200, 100, 1, 1},
    {2, "Členský příspěvek – mládež 15–18 let", 600, 100, 2, 2},
    {3, "Členský příspěvek – děti do 15 let", 300, 100, 3, 3},
    {4, "Členský příspěvek – ZTP/P", 600, 100, 4, 4},
    {5, "Zápisné – nový člen", 500, 100, nic, 5},
    {6, "Členský příspěvek – čestný člen", 0, 900, 1, 6},
    {7, "Přestup z jiné MO", 200, 100, nic, nic},
};

const Brigada kBrigady[] = {
    {1, "Náhrada za neodpracovanou brigádu – dospělí", 1000, 1},
    {2, "Náhrada za neodpracovanou brigádu – mládež", 500, 2},
};

const TypPovolenky kTypyPovolenek[] = {
    {1, "Kaprová krajská", "C_povolKKnaTVZ"},     {2, "Pstruhová krajská", "C_povolKPnaTVZ"},
    {3, "Kaprová celosvazová", "C_povolCKnaTVZ"}, {4, "Pstruhová celosvazová", "C_povolCPnaTVZ"},
    {5, "Kaprová republiková", "C_povolRKnaTVZ"}, {6, "Pstruhová republiková", "C_povolRPnaTVZ"},
    {11, "Kaprová pro cizince", "C_povolCizK"},   {12, "Pstruhová pro cizince", "C_povolCizP"},
    {13, "Kaprová krátkodobá", "C_povolKO"},      {14, "Pstruhová krátkodobá", "C_povolPO"},
};

const CenaPovolenky kCenyPovolenek[] = {
    {"C_povolKKnaTVZ", 1, "Kaprová krajská – dospělí", "MRK-D", "dospělí", 1900, 100, 1},
    {"C_povolKKnaTVZ", 2, "Kaprová krajská – mládež", "MRK-M", "mládež", 950, 100, 2},
    {"C_povolKKnaTVZ", 3, "Kaprová krajská – děti", "MRK-DE", "děti", 300, 100, 3},
    {"C_povolKKnaTVZ", 4, "Kaprová krajská – ZTP", "MRK-Z", "ZTP", 950, 900, 4},
    {"C_povolKPnaTVZ", 1, "Pstruhová krajská – dospělí", "PRK-D", "dospělí", 2500, 100, 1},
    {"C_povolKPnaTVZ", 2, "Pstruhová krajská – mládež", "PRK-M", "mládež", 1250, 100, 2},
    {"C_povolCKnaTVZ", 1, "Kaprová celosvazová – dospělí", "MRC-D", "dospělí", 3100, 100, 1},
    {"C_povolCKnaTVZ", 2, "Kaprová celosvazová – mládež", nullptr, nullptr, 1550, 100, 2},
    {"C_povolCizK", 1, "Kaprová pro cizince – roční", "CIZ-R", nullptr, 4200, 100, 1},
    {"C_povolCizK", 2, "Kaprová pro cizince – týdenní", "CIZ-T", nullptr, 1200, 100, 2},
    {"C_povolKO", 1, "Krátkodobá kaprová – 1 den", "KO-1", "dospělí", 250, 100, 1},
    {"C_povolKO", 2, "Krátkodobá kaprová – 7 dní", "KO-7", "dospělí", 1100, 100, 2},
    {"C_povolKO", 3, "Krátkodobá – revír 'U Jezu' (1 den)", "KO-J", "dospělí", 180, 100, 3},
    {"C_povolPO", 1, "Krátkodobá pstruhová – 1 den", "PO-1", "dospělí", 400, 100, 1},
};

const JinaPlatba kJinePlatby[] = {
    {1, "Příspěvek na zarybnění", 312.50, 100, "NE"},
    {2, "Úlovkový záznam (sumář)", 20, 100, "NE"},
    {3, "Rybářský řád MO", 30, 100, "NE"},
    {4, "Příspěvek na ostrahu revírů", 150, 100, "NE"},
    {5, "Přirážka za pozdní úhradu", 100, 900, "ANO"},
};

const Vazba kVazby[] = {
    {1, 4, "C_clenske_prisp", 100, 1}, {2, 4, "C_clenske_prisp", 100, 1},
    {5, 3, "C_clenske_prisp", 100, 1}, {1, 1, "C_povolKKnaTVZ", 100, 3},
    {1, 2, "C_povolKKnaTVZ", 100, 3},  {2, 2, "C_povolKKnaTVZ", 100, 3},
    {1, 2, "C_povolKPnaTVZ", 100, 3},  {1, 2, "C_povolCKnaTVZ", 100, 3},
    {1, 5, "C_povolKO", 900, 3},
};

// The previous year's price: ten percent lower, rounded to whole crowns.
double loni(double castka) {
    return static_cast<double>(static_cast<qint64>(castka * 0.9 + 0.5));
}

class Zapis {
public:
    explicit Zapis(db::Connection& spojeni) : m_spojeni(spojeni) {}
    void operator()(const QString& sql, const QVector<Hodnota>& hodnoty) {
        m_spojeni.execute(db::Prikaz(sql, hodnoty));
    }

    void rok(int r) {
        (*this)(QStringLiteral("insert into RokEvidence (rok, stav) values (?, 0)"), {cislo(r)});
    }
    void clenstvi(int r, const Clenstvi& c, double castka) {
        (*this)(QStringLiteral("insert into ClenskePrispevky (id, rok, nazev, castka, aktivita, "
                               "kod_veku, e_index) values (?, ?, ?, ?, ?, ?, ?)"),
                {cislo(c.id), cislo(r), text(c.nazev), Hodnota::cislo(castka), cislo(c.aktivita),
                 cislo(c.kodVeku), cislo(c.eIndex)});
    }
    void brigada(int r, const Brigada& b, double castka) {
        (*this)(QStringLiteral("insert into Brigady (id, rok, nazev, castka, aktivita, e_index) "
                               "values (?, ?, ?, ?, 100, ?)"),
                {cislo(b.id), cislo(r), text(b.nazev), Hodnota::cislo(castka), cislo(b.eIndex)});
    }
    void cenaPovolenky(int r, const CenaPovolenky& c, double castka) {
        // The table names are the sample's own constants.
        (*this)(QStringLiteral("insert into %1 (id, rok, nazev, kodOznaceni, kategorie, castka, "
                               "aktivita, e_index) values (?, ?, ?, ?, ?, ?, ?, ?)")
                    .arg(QLatin1String(c.tabulka)),
                {cislo(c.id), cislo(r), text(c.nazev), textNeboNull(c.kodOznaceni),
                 textNeboNull(c.kategorie), Hodnota::cislo(castka), cislo(c.aktivita),
                 cislo(c.eIndex)});
    }
    void jinaPlatba(int r, const JinaPlatba& j, double castka) {
        (*this)(QStringLiteral("insert into C_jinePlatby (id, nazev, castka, aktivita, rok, "
                               "manipulacni_poplatek) values (?, ?, ?, ?, ?, ?)"),
                {cislo(j.id), text(j.nazev), Hodnota::cislo(castka), cislo(j.aktivita), cislo(r),
                 text(j.manipulacniPoplatek)});
    }
    void vazba(int r, const Vazba& v) {
        (*this)(QStringLiteral("insert into C_povol_v_jp (id_p, id_jp, rok, typ_povolenky, "
                               "aktivita, typ_platby) values (?, ?, ?, ?, ?, ?)"),
                {cislo(v.idP), cislo(v.idJp), cislo(r), text(v.typPovolenky), cislo(v.aktivita),
                 cislo(v.typPlatby)});
    }

private:
    db::Connection& m_spojeni;
};

void naplnRok(Zapis& z, int r, bool letos) {
    auto cena = [letos](double c) { return letos ? c : loni(c); };
    z.rok(r);
    z(QStringLiteral("insert into ManipulacniPopl (nazev, castka, rok) values (?, ?, ?)"),
      {Hodnota::text(QStringLiteral("Manipulační poplatek")), Hodnota::cislo(cena(50)), cislo(r)});
    for (const Clenstvi& c : kClenstvi) z.clenstvi(r, c, cena(c.castka));
    for (const Brigada& b : kBrigady) z.brigada(r, b, cena(b.castka));
    for (const CenaPovolenky& c : kCenyPovolenek) z.cenaPovolenky(r, c, cena(c.castka));
    for (const JinaPlatba& j : kJinePlatby) z.jinaPlatba(r, j, letos ? j.castka : loni(j.castka));
    for (const Vazba& v : kVazby) z.vazba(r, v);
}

void pridejRadky(Zapis& z, int r, int pocet) {
    for (int i = 0; i < pocet; ++i) {
        const int id = 1000 + i;
        const double castka = 100 + (i % 400) * 12.5;
        const Cislo eIndex = 100 + i % 900;
        z.clenstvi(r, {id, "Členský příspěvek – skupina", castka, 100, Cislo(1 + i % 4), eIndex},
                   castka);
        for (const TypPovolenky& t : kTypyPovolenek)
            z.cenaPovolenky(
                r, {t.tabulka, id, "Povolenka – revír", "R-X", "dospělí", castka, 100, eIndex},
                castka);
        z.jinaPlatba(r, {id, "Příspěvek na revír", castka, 100, "NE"}, castka);
        const TypPovolenky& t = kTypyPovolenek[i % 10];
        z.vazba(r, {id, 1000 + (i * 7) % pocet, t.tabulka, 100, 3});
    }
}

}  // namespace

void vytvor(const QString& soubor, int rok, int radkyNavic) {
    nactiSablonu();
    if (QFileInfo::exists(soubor) && !QFile::remove(soubor))
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze nahradit.").arg(soubor));
    UlozZdrojDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("dataDB"), soubor);

    db::Connection spojeni;
    spojeni.open(soubor, db::Connection::Rezim::Vyhradni);
    // A code-list file has the tables of the local database.
    for (int krok = 1; krok <= 3; ++krok)
        for (const QString& prikaz : PrikazyUpravy(krok)) spojeni.execute(prikaz);

    Zapis z(spojeni);
    spojeni.beginTransaction();
    z(QStringLiteral("insert into Nastaveni (ucet, mesto) values (?, ?)"),
      {text(kUcet), text(kMesto)});
    for (const TypPovolenky& t : kTypyPovolenek)
        z(QStringLiteral("insert into C_povolenky_txt (id_pov, nazev, tabulka) values (?, ?, ?)"),
          {cislo(t.idPov), text(t.nazev), text(t.tabulka)});
    naplnRok(z, rok - 1, false);
    naplnRok(z, rok, true);
    pridejRadky(z, rok, radkyNavic);
    spojeni.commit();
    spojeni.close();
}

}  // namespace VzorovaData
