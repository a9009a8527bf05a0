#include "ImportCiselniku.h"

#include <QFile>

#include "Chyba.h"
#include "Databaze.h"
#include "JetSoubor.h"
#include "Relace.h"
#include "SqlHodnoty.h"

namespace {

// No statement on the code-list file may run longer than this.
constexpr int kLimitPrikazuMs = 30000;

// The ten permit price tables, each name followed by "|", taken from the front one by one.
const QString kTabulkyPovolenek = QStringLiteral(
    "c_povolKKnaTVZ|c_povolKPnaTVZ|c_povolCKnaTVZ|c_povolCPnaTVZ|c_povolRKnaTVZ|c_povolRPnaTVZ|"
    "c_povolCizK|c_povolCizP|c_povolKO|c_povolPO|");

// The tables the import reads; of a Jet file only these are taken into memory.
const QStringList kTabulkySouboru = {
    QStringLiteral("RokEvidence"),     QStringLiteral("Nastaveni"),
    QStringLiteral("ManipulacniPopl"), QStringLiteral("ClenskePrispevky"),
    QStringLiteral("Brigady"),         QStringLiteral("C_povolKKnaTVZ"),
    QStringLiteral("C_povolKPnaTVZ"),  QStringLiteral("C_povolCKnaTVZ"),
    QStringLiteral("C_povolCPnaTVZ"),  QStringLiteral("C_povolRKnaTVZ"),
    QStringLiteral("C_povolRPnaTVZ"),  QStringLiteral("C_povolCizK"),
    QStringLiteral("C_povolCizP"),     QStringLiteral("C_povolKO"),
    QStringLiteral("C_povolPO"),       QStringLiteral("C_povolenky_txt"),
    QStringLiteral("C_povol_v_jp"),    QStringLiteral("C_jinePlatby")};

// ---- values of the code-list file as SQL literals

// A number as the engine stored it: whole numbers as their digits, amounts with a decimal point
// and their exact decimal digits (312.5, never "312,5"), null as null. A text that is not a
// number raises Chyba, so a broken file fails the import instead of changing a statement.
QString cislo(const db::Field& pole) {
    const QVariant v = pole.value();
    if (v.isNull()) return Sql::null();
    switch (v.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return Sql::number(static_cast<qint64>(v.toLongLong()));
        case QMetaType::Double:
            return Sql::number(v.toDouble());
        default: {
            const QString t = v.toString();
            // An empty text is no number; letting it through would store null silently.
            if (t.trimmed().isEmpty())
                throw Chyba(QStringLiteral("Hodnota \"%1\" není číslo.").arg(t));
            return Sql::number(t);
        }
    }
}

// A text, quoted with its apostrophes doubled. A null is the empty text: Jet files often hold
// null where a text is empty, and the code lists must import all the same.
QString text(const db::Field& pole) {
    return Sql::text(pole.isNull() ? QString() : pole.value().toString());
}

// The import's steps between opening the file and committing. Selects on the file run on
// relace.dotazCis, everything local on relace.dotaz; every call hands its error back.
class Import {
public:
    explicit Import(Relace& relace) : m(relace), cis(relace.dotazCis), loc(relace.dotaz) {}

    void jenTabulky();
    void rokImportu();
    void nastaveni();
    void manipulacniPoplatek();
    void clenskePrispevky();
    void brigady();
    void cenyPovolenek();
    void typyPovolenek();
    void vazbyNaJinePlatby();
    void jinePlatby();
    void aktualniRok();
    void razitkoVerze(const QString& VerzeCiselniku);

private:
    void zeSouboru(const QString& sql) { m.gosql(sql, 1, cis, true); }
    void mistne(const QString& sql) { m.gosql(sql, 1, loc, true); }
    void proved(const QString& sql) { m.gosqlexec(sql, loc, true); }
    db::Field pole(const QString& nazev) const { return cis.fieldByName(nazev); }
    bool mistneBezRadku() const { return loc.recordCount() == 0; }

    Relace& m;
    db::Query& cis;
    db::Query& loc;
    QString Y;  // the import year as an SQL literal
};

void Import::jenTabulky() {
    zeSouboru(QStringLiteral(
        "select 'pohled' as druh, name as nazev from sqlite_master where type = 'view' "
        "union all select 'spoušť', name from sqlite_master where type = 'trigger' "
        "union all select 'počítaný sloupec', m.name || '.' || x.name from sqlite_master m "
        "join pragma_table_xinfo(m.name) x where m.type = 'table' and x.hidden in (2, 3)"));
    if (cis.recordCount() > 0)
        throw Chyba(QStringLiteral("Soubor číselníků obsahuje %1 \"%2\"; číselníky obsahují jen "
                                   "tabulky s hodnotami.")
                        .arg(pole(QStringLiteral("druh")).asString(),
                             pole(QStringLiteral("nazev")).asString()));
}

void Import::rokImportu() {
    zeSouboru(QStringLiteral("select max(rok) as rok from RokEvidence"));
    const db::Field rok = pole(QStringLiteral("rok"));
    // Without a year every later statement would name no year at all: refuse the file.
    if (rok.isNull())
        throw Chyba(QStringLiteral("Soubor číselníků neobsahuje žádný rok evidence."));
    Y = cislo(rok);
    mistne(QStringLiteral("select * from RokEvidence where rok = ") + Y);
    if (mistneBezRadku())
        proved(QStringLiteral("insert into RokEvidence (rok) values (") + Y + QStringLiteral(")"));
}

void Import::nastaveni() {
    zeSouboru(QStringLiteral("select * from Nastaveni"));
    QString ucet = Sql::text(QString());
    QString mesto = Sql::text(QString());
    if (cis.recordCount() > 0) {
        ucet = text(pole(QStringLiteral("ucet")));
        mesto = text(pole(QStringLiteral("mesto")));
    }
    mistne(QStringLiteral("select * from Nastaveni"));
    if (mistneBezRadku())
        proved(QStringLiteral("insert into Nastaveni (ucet, mesto) values (") + ucet +
               QStringLiteral(", ") + mesto + QStringLiteral(")"));
    else
        proved(QStringLiteral("update Nastaveni set ucet = ") + ucet +
               QStringLiteral(", mesto = ") + mesto);
}

void Import::manipulacniPoplatek() {
    zeSouboru(QStringLiteral("select * from ManipulacniPopl where rok = ") + Y);
    if (cis.recordCount() == 1) {
        const QString nazev = text(pole(QStringLiteral("nazev")));
        const QString castka = cislo(pole(QStringLiteral("castka")));
        mistne(QStringLiteral("select * from ManipulacniPopl where rok = ") + Y);
        if (mistneBezRadku())
            proved(QStringLiteral("insert into ManipulacniPopl (nazev, castka, rok) values (") +
                   nazev + QStringLiteral(", ") + castka + QStringLiteral(", ") + Y +
                   QStringLiteral(")"));
        else
            proved(QStringLiteral("update ManipulacniPopl set nazev = ") + nazev +
                   QStringLiteral(", castka = ") + castka + QStringLiteral(" where rok = ") + Y);
    } else {
        // None or an ambiguous pair: the year has no handling fee.
        proved(QStringLiteral("delete from ManipulacniPopl where rok = ") + Y);
    }
}

void Import::clenskePrispevky() {
    proved(QStringLiteral("delete from ClenskePrispevky where rok = ") + Y);
    zeSouboru(QStringLiteral("select * from ClenskePrispevky where rok = ") + Y +
              QStringLiteral(" and aktivita = 100 and e_index is not null order by e_index"));
    for (cis.first(); !cis.eof(); cis.next())
        proved(QStringLiteral("insert into ClenskePrispevky (id, rok, nazev, castka, aktivita, "
                              "kod_veku, e_index) values (") +
               cislo(pole(QStringLiteral("id"))) + QStringLiteral(", ") + Y + QStringLiteral(", ") +
               text(pole(QStringLiteral("nazev"))) + QStringLiteral(", ") +
               cislo(pole(QStringLiteral("castka"))) + QStringLiteral(", 100, ") +
               cislo(pole(QStringLiteral("kod_veku"))) + QStringLiteral(", ") +
               cislo(pole(QStringLiteral("e_index"))) + QStringLiteral(")"));
}

void Import::brigady() {
    proved(QStringLiteral("delete from Brigady where rok = ") + Y);
    zeSouboru(QStringLiteral("select * from Brigady where rok = ") + Y +
              QStringLiteral(" and e_index is not null and aktivita = 100 order by e_index"));
    for (cis.first(); !cis.eof(); cis.next())
        proved(QStringLiteral(
                   "insert into Brigady (id, rok, nazev, castka, aktivita, e_index) values (") +
               cislo(pole(QStringLiteral("id"))) + QStringLiteral(", ") + Y + QStringLiteral(", ") +
               text(pole(QStringLiteral("nazev"))) + QStringLiteral(", ") +
               cislo(pole(QStringLiteral("castka"))) + QStringLiteral(", 100, ") +
               cislo(pole(QStringLiteral("e_index"))) + QStringLiteral(")"));
}

void Import::cenyPovolenek() {
    QString seznam = kTabulkyPovolenek;
    for (int konec = seznam.indexOf(QLatin1Char('|')); konec >= 0;
         konec = seznam.indexOf(QLatin1Char('|'))) {
        // The table names are the program's own constants, never values from the file.
        const QString T = seznam.left(konec);
        seznam.remove(0, konec + 1);
        proved(QStringLiteral("delete from ") + T + QStringLiteral(" where rok = ") + Y);
        zeSouboru(QStringLiteral("select id, rok, nazev, kodOznaceni, kategorie, castka, e_index "
                                 "from ") +
                  T + QStringLiteral(" where rok = ") + Y +
                  QStringLiteral(" and aktivita = 100 and e_index is not null order by e_index"));
        for (cis.first(); !cis.eof(); cis.next())
            proved(QStringLiteral("insert into ") + T +
                   QStringLiteral(" (id, rok, nazev, kodOznaceni, kategorie, castka, aktivita, "
                                  "e_index) values (") +
                   cislo(pole(QStringLiteral("id"))) + QStringLiteral(", ") + Y +
                   QStringLiteral(", ") + text(pole(QStringLiteral("nazev"))) +
                   QStringLiteral(", ") + text(pole(QStringLiteral("kodOznaceni"))) +
                   QStringLiteral(", ") + text(pole(QStringLiteral("kategorie"))) +
                   QStringLiteral(", ") + cislo(pole(QStringLiteral("castka"))) +
                   QStringLiteral(", 100, ") + cislo(pole(QStringLiteral("e_index"))) +
                   QStringLiteral(")"));
    }
}

void Import::typyPovolenek() {
    zeSouboru(QStringLiteral("select * from C_povolenky_txt"));
    for (cis.first(); !cis.eof(); cis.next()) {
        const QString idPov = cislo(pole(QStringLiteral("id_pov")));
        const QString nazev = text(pole(QStringLiteral("nazev")));
        const QString tabulka = text(pole(QStringLiteral("tabulka")));
        mistne(QStringLiteral("select * from C_povolenky_txt where id_pov = ") + idPov);
        if (mistneBezRadku())
            proved(QStringLiteral("insert into C_povolenky_txt (id_pov, nazev, tabulka) values (") +
                   idPov + QStringLiteral(", ") + nazev + QStringLiteral(", ") + tabulka +
                   QStringLiteral(")"));
        else
            proved(QStringLiteral("update C_povolenky_txt set nazev = ") + nazev +
                   QStringLiteral(", tabulka = ") + tabulka + QStringLiteral(" where id_pov = ") +
                   idPov);
    }
}

void Import::vazbyNaJinePlatby() {
    zeSouboru(QStringLiteral("select * from C_povol_v_jp where rok = ") + Y);
    for (cis.first(); !cis.eof(); cis.next()) {
        const QString idP = cislo(pole(QStringLiteral("id_p")));
        const QString idJp = cislo(pole(QStringLiteral("id_jp")));
        const QString typPovolenky = text(pole(QStringLiteral("typ_povolenky")));
        const QString typPlatby = cislo(pole(QStringLiteral("typ_platby")));
        const QString klic =
            QStringLiteral(" where id_p = ") + idP + QStringLiteral(" and id_jp = ") + idJp +
            QStringLiteral(" and rok = ") + Y + QStringLiteral(" and typ_povolenky = ") +
            typPovolenky + QStringLiteral(" collate nocase");
        // Table names compare without regard to letter case, as everywhere they are looked up:
        // the same link spelt otherwise in a later file is the link already stored.
        mistne(QStringLiteral("select * from C_povol_v_jp") + klic);
        // A new link is always active; an existing one takes over the file's state.
        if (mistneBezRadku())
            proved(QStringLiteral("insert into C_povol_v_jp (id_p, id_jp, rok, typ_povolenky, "
                                  "aktivita, typ_platby) values (") +
                   idP + QStringLiteral(", ") + idJp + QStringLiteral(", ") + Y +
                   QStringLiteral(", ") + typPovolenky + QStringLiteral(", 100, ") + typPlatby +
                   QStringLiteral(")"));
        else
            proved(QStringLiteral("update C_povol_v_jp set aktivita = ") +
                   cislo(pole(QStringLiteral("aktivita"))) + QStringLiteral(", typ_platby = ") +
                   typPlatby + klic);
    }
}

void Import::jinePlatby() {
    zeSouboru(QStringLiteral("select * from C_jinePlatby where rok = ") + Y);
    for (cis.first(); !cis.eof(); cis.next()) {
        const QString id = cislo(pole(QStringLiteral("id")));
        const QString nazev = text(pole(QStringLiteral("nazev")));
        const QString castka = cislo(pole(QStringLiteral("castka")));
        const QString manipulacni = text(pole(QStringLiteral("manipulacni_poplatek")));
        mistne(QStringLiteral("select * from C_jinePlatby where id = ") + id +
               QStringLiteral(" and rok = ") + Y);
        if (mistneBezRadku())
            proved(QStringLiteral("insert into C_jinePlatby (id, nazev, castka, aktivita, rok, "
                                  "manipulacni_poplatek) values (") +
                   id + QStringLiteral(", ") + nazev + QStringLiteral(", ") + castka +
                   QStringLiteral(", 100, ") + Y + QStringLiteral(", ") + manipulacni +
                   QStringLiteral(")"));
        else
            proved(QStringLiteral("update C_jinePlatby set nazev = ") + nazev +
                   QStringLiteral(", castka = ") + castka + QStringLiteral(", aktivita = ") +
                   cislo(pole(QStringLiteral("aktivita"))) +
                   QStringLiteral(", manipulacni_poplatek = ") + manipulacni +
                   QStringLiteral(" where id = ") + id + QStringLiteral(" and rok = ") + Y);
    }
}

void Import::aktualniRok() {
    mistne(QStringLiteral("select max(rok) as rok from RokEvidence"));
    m.rok = loc.fieldByName(QStringLiteral("rok")).asString();
}

void Import::razitkoVerze(const QString& VerzeCiselniku) {
    const QString zacatek =
        QStringLiteral("update Nastaveni set aktualizovano = date(), verzecis = ");
    QString verze;
    try {
        // An empty version would store null and pass for a successful stamp.
        if (VerzeCiselniku.trimmed().isEmpty())
            throw Chyba(QStringLiteral("Hodnota \"%1\" není číslo.").arg(VerzeCiselniku));
        verze = Sql::number(VerzeCiselniku);
    } catch (const Chyba& e) {
        // Reported the way the query helper reports a rejected statement; the code lists are
        // kept without the stamp, so the caller's re-check sees the old version.
        m.hlaseni.log(zacatek + VerzeCiselniku);
        m.hlaseni.zprava(QStringLiteral("Došlo k chybě! (kontaktuje prosím správce)\r{") +
                             e.zprava() + QStringLiteral("}"),
                         0, 0);
        return;
    }
    m.gosqlexec(zacatek + verze, loc, false);
}

}  // namespace

void ImportCiselniku(Relace& relace, const QString& VerzeCiselniku, const QString& soubor) {
    // 1. Nothing to import.
    if (!QFile::exists(soubor)) return;

    const QString puvodniRok = relace.rok;
    bool transakce = false;
    try {
        // 2. The code-list file, read only.
        relace.dotazCis.close();
        relace.spojeniCis.close();
        jet::otevriKeCteni(relace.spojeniCis, soubor, kTabulkySouboru);
        relace.spojeniCis.nastavLimitPrikazu(kLimitPrikazuMs);
        // 3.-14. One transaction on the local database.
        relace.spojeni.beginTransaction();
        transakce = true;
        Import import(relace);
        import.jenTabulky();
        import.rokImportu();
        import.nastaveni();
        import.manipulacniPoplatek();
        import.clenskePrispevky();
        import.brigady();
        import.cenyPovolenek();
        import.typyPovolenek();
        import.vazbyNaJinePlatby();
        import.jinePlatby();
        import.aktualniRok();
        import.razitkoVerze(VerzeCiselniku);
        // 15.
        relace.spojeni.commit();
        transakce = false;
        relace.dotazCis.close();
        relace.spojeniCis.close();
    } catch (const Chyba& e) {
        if (transakce) {
            try {
                relace.spojeni.rollback();
            } catch (const Chyba&) {
                // The message below reports the original failure.
            }
        }
        relace.dotazCis.close();
        relace.spojeniCis.close();
        relace.rok = puvodniRok;
        try {
            relace.hlaseni.log(e.zprava());
        } catch (const Chyba&) {
            // An unwritable log must not hide the failure from the user.
        }
        relace.hlaseni.zprava(
            QStringLiteral("Při importu nových číselníků došlo k neočekávané výjimce. (") +
                e.zprava() + QStringLiteral(")"),
            0, 0);
    }
}
