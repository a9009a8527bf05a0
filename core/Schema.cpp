// SPDX-License-Identifier: GPL-3.0-or-later
#include "Schema.h"

#include <QFile>
#include <QFileInfo>

#include "Chyba.h"
#include "Disk.h"
#include "Relace.h"
#include "SouborDatabaze.h"
#include "Spolecne.h"

// The empty database file is an embedded file of this library; a static library needs it
// registered explicitly.
static void nactiSablonu() {
    Q_INIT_RESOURCE(parmex);
}

namespace {

const char* const kSloupcePovolenek =
    "(id numeric (5) NOT NULL, rok numeric (4) NOT NULL, nazev varchar (50) NOT NULL, kodOznaceni "
    "varchar (10) NULL, kategorie varchar (10) NULL, castka numeric (12,2) NOT NULL, aktivita "
    "numeric (3) NOT NULL, e_index numeric (3) NULL, PRIMARY KEY(id, rok))";

QStringList krok1() {
    QStringList p;
    p << QStringLiteral("create table verze (DB numeric, dat_zmena datetime)")
      << QStringLiteral(
             "CREATE TABLE Uzivatele (id numeric(5) NOT NULL, jmeno varchar (35) NOT NULL, "
             "prijmeni varchar (35) NULL, ecislo varchar (10) NOT NULL, dat_nar datetime, "
             "aktivita numeric (3) NOT NULL, dat_zmen datetime NULL, PRIMARY KEY(id))")
      << QStringLiteral(
             "create table ManipulacniPopl (nazev varchar(30) not null, castka numeric(12,2) "
             "not null, rok numeric(4) not null)")
      << QStringLiteral(
             "create table ClenskePrispevky (id numeric (5) NOT NULL, rok numeric (4) NOT NULL, "
             "nazev varchar (35) NOT NULL, castka numeric (12,2) NOT NULL, aktivita numeric (3) "
             "NOT NULL, kod_veku numeric (1) NULL, e_index numeric (3) NULL, PRIMARY KEY(id, rok))")
      << QStringLiteral(
             "create table Brigady (id numeric (5) NOT NULL, rok numeric (4) NOT NULL, nazev "
             "varchar (35) NOT NULL, castka numeric (12,2) NOT NULL, aktivita numeric (3) NOT "
             "NULL, e_index numeric (3) NULL, PRIMARY KEY(id, rok))");
    for (const char* tabulka :
         {"C_povolKKnaTVZ", "C_povolKPnaTVZ", "C_povolCKnaTVZ", "C_povolCPnaTVZ", "C_povolRKnaTVZ",
          "C_povolRPnaTVZ", "C_povolCizK", "C_povolCizP", "C_povolKO", "C_povolPO"})
        p << QStringLiteral("CREATE TABLE %1 ").arg(QLatin1String(tabulka)) +
                 QLatin1String(kSloupcePovolenek);
    p << QStringLiteral("CREATE TABLE RokEvidence (rok numeric(4), PRIMARY KEY(rok))")
      << QStringLiteral(
             "CREATE TABLE Nastaveni (ucet varchar(30), aktualizovano datetime, verzecis "
             "numeric, mesto varchar(25))")
      << QStringLiteral(
             "CREATE TABLE C_povolenky_txt (id_pov numeric (2) NOT NULL, nazev varchar (35) "
             "NULL, tabulka varchar (20) NULL, PRIMARY KEY(id_pov))")
      << QStringLiteral(
             "CREATE TABLE TypPlatby (typ_platby numeric(2), nazev varchar(35), primary key "
             "(typ_platby))")
      << QStringLiteral("insert into TypPlatby (typ_platby, nazev) values (1, 'Členství')")
      << QStringLiteral("insert into TypPlatby (typ_platby, nazev) values (2, 'Brigády')")
      << QStringLiteral("insert into TypPlatby (typ_platby, nazev) values (3, 'Povolenky')")
      << QStringLiteral("insert into TypPlatby (typ_platby, nazev) values (4, 'Jiné platby')")
      << QStringLiteral(
             "CREATE TABLE HistoriePlatebHead(cislo_platby numeric not null, dat_zmena datetime "
             "not null, rok numeric(4) not null, ucet varchar(30) not null, vs varchar(10) not "
             "null, ks varchar(10) not null, ss varchar(10) not null, castka numeric(12,2) not "
             "null, id_usr numeric(5) not null, primary key (cislo_platby))")
      << QStringLiteral(
             "CREATE TABLE HistoriePlateb(id_platby numeric not null, rok numeric(4) not null, "
             "typ_platby numeric(2) not null, id numeric(5) not null, id_pov numeric(2), nazev "
             "varchar(50), castka numeric(12,2), cislo_platby numeric not null, e_index "
             "numeric(3), kod_veku numeric(1), kodOznaceni varchar(10), kategorie varchar(10), "
             "dat_zmena datetime, primary key (id_platby))")
      << QStringLiteral(
             "alter table HistoriePlateb ADD constraint f_typ_platby foreign key (typ_platby) "
             "references TypPlatby (typ_platby)")
      << QStringLiteral(
             "alter table HistoriePlateb ADD constraint f_id_pov foreign key (id_pov) references "
             "C_povolenky_txt (id_pov)")
      << QStringLiteral(
             "alter table HistoriePlateb ADD constraint f_cislo_platby foreign key (cislo_platby) "
             "references HistoriePlatebHead (cislo_platby)")
      << QStringLiteral("insert into VERZE (DB, dat_zmena) values (2, now())");
    return p;
}

const QStringList kPrikazyKroku2 = {
    QStringLiteral("ALTER TABLE RokEvidence ADD stav numeric(1)"),
    QStringLiteral("update RokEvidence set stav = 0"),
    QStringLiteral("update VERZE set DB = 3, dat_zmena = now()"),
};

const QStringList kPrikazyKroku3 = {
    QStringLiteral(
        "CREATE TABLE C_povol_v_jp (id_p numeric (5) NOT NULL, id_jp numeric (5) NOT NULL, rok "
        "numeric (4) NOT NULL, typ_povolenky varchar (20) NOT NULL, aktivita numeric (3) NOT "
        "NULL, typ_platby numeric (1) NOT NULL, CONSTRAINT p_C_povol_v_jp PRIMARY KEY(id_p, "
        "id_jp, rok, typ_povolenky))"),
    QStringLiteral(
        "CREATE TABLE C_jinePlatby (id numeric (5) NOT NULL, nazev varchar (35) NOT NULL, castka "
        "numeric (12,2) NOT NULL, aktivita numeric (3) NOT NULL, rok numeric (4) NOT NULL, "
        "manipulacni_poplatek varchar (3) NOT NULL, CONSTRAINT p_C_jinePlatby PRIMARY KEY(id, "
        "rok))"),
    QStringLiteral("update VERZE set DB = 4, dat_zmena = now()"),
};

}  // namespace

QStringList PrikazyUpravy(int krok) {
    switch (krok) {
        case 1:
            return krok1();
        case 2:
            return kPrikazyKroku2;
        case 3:
            return kPrikazyKroku3;
        default:
            return {};
    }
}

int UlozenaVerzeSchematu(Relace& relace) {
    relace.gosql(QStringLiteral("select * from verze"), 0, relace.dotaz, false);
    try {
        relace.dotaz.open();
        return relace.dotaz.recordCount() > 0
                   ? static_cast<int>(relace.dotaz.fieldByName(QStringLiteral("DB")).asInteger())
                   : 0;
    } catch (const Chyba&) {
        return 1;
    }
}

void PovysDatabazi(Relace& relace, int DB, PrubehUpravy* prubeh) {
    PrubehUpravy zadny;
    PrubehUpravy& p = prubeh ? *prubeh : zadny;
    // The progress ends on every way out, also when a statement fails.
    struct Konec {
        PrubehUpravy& p;
        ~Konec() { p.konec(); }
    } konec{p};
    p.zacatek();
    auto krok = [&](int k) {
        p.krokZacina();
        for (const QString& prikaz : PrikazyUpravy(k)) relace.gosqlexec(prikaz, relace.dotaz, true);
        p.krokHotov();
    };
    if (DB < 2) krok(1);
    p.celkem(1);
    if (DB < 3) krok(2);
    if (DB < 4) krok(3);
    p.celkem(2);
}

void PripravNovouDatabazi(Relace& relace, const QString& novy,
                          const std::function<void()>& naplneni, PrubehUpravy* prubeh) {
    // A file of this name is what an interrupted start left behind: no program is using it
    // while this one holds the folder.
    if (QFileInfo::exists(novy) && !QFile::remove(novy))
        throw Chyba(QStringLiteral("Soubor \"%1\" nelze nahradit.").arg(novy));
    nactiSablonu();
    UlozZdrojDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("dataDB"), novy);
    db::Connection& spojeni = relace.spojeni;
    try {
        spojeni.open(novy, db::Connection::Rezim::Vyhradni);
        spojeni.execute(QStringLiteral("PRAGMA synchronous = OFF"));
        spojeni.execute(QStringLiteral("PRAGMA journal_mode = MEMORY"));
        PovysDatabazi(relace, UlozenaVerzeSchematu(relace), prubeh);
        if (naplneni) naplneni();
        relace.dotaz.close();
        spojeni.close();
        Disk::synchronizuj(novy);
    } catch (const Chyba&) {
        try {
            spojeni.rollback();
        } catch (const Chyba&) {
            // The file is removed below anyway.
        }
        relace.dotaz.close();
        spojeni.close();
        QFile::remove(novy);
        throw;
    }
}

void VytvorDatabazi(Relace& relace, const QString& soubor, PrubehUpravy* prubeh) {
    const QString novy = soubor + QStringLiteral(".novy");
    PripravNovouDatabazi(relace, novy, {}, prubeh);
    SouborDatabaze::presunNaMisto(novy, soubor);
}
