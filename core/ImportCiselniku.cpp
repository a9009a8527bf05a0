// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportCiselniku.h"

#include <QFile>
#include <QPair>
#include <QVector>

#include "Chyba.h"
#include "Databaze.h"
#include "JetSoubor.h"
#include "Relace.h"

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

// ---- values of the code-list file as values of the statements

using db::Hodnota;
using db::Prikaz;

// A number as the engine stored it: whole numbers as their digits, amounts with a decimal point
// and their exact decimal digits (312.5, never "312,5"), null as null. A text that is not a
// number raises Chyba, so a broken file fails the import instead of changing a statement.
Hodnota cisloHodnoty(const QVariant& v) {
    if (v.isNull()) return Hodnota::null();
    switch (v.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
            return Hodnota::cislo(static_cast<qint64>(v.toLongLong()));
        case QMetaType::Double:
            return Hodnota::cislo(v.toDouble());
        default: {
            const QString t = v.toString();
            // An empty text is no number; letting it through would store null silently.
            if (t.trimmed().isEmpty())
                throw Chyba(QStringLiteral("Hodnota \"%1\" není číslo.").arg(t));
            return Hodnota::cislo(t);
        }
    }
}

Hodnota cisloPole(const db::Field& pole) {
    return cisloHodnoty(pole.value());
}

Hodnota cisloRadku(const db::Radky& radky, int sloupec) {
    switch (radky.druh(sloupec)) {
        case db::Radky::Druh::Null:
            return Hodnota::null();
        case db::Radky::Druh::Cele:
            return Hodnota::cislo(radky.cele(sloupec));
        case db::Radky::Druh::Realne:
            return Hodnota::cislo(radky.realne(sloupec));
        default:
            return cisloHodnoty(radky.value(sloupec));
    }
}

// A text, apostrophes and all. A null is the empty text: Jet files often hold null where a text
// is empty, and the code lists must import all the same.
Hodnota textPole(const db::Field& pole) {
    const QVariant v = pole.value();
    return Hodnota::text(v.isNull() ? QString() : v.toString());
}

Hodnota textRadku(const db::Radky& radky, int sloupec) {
    switch (radky.druh(sloupec)) {
        case db::Radky::Druh::Null:
            return Hodnota::text(QString());
        case db::Radky::Druh::Text:
            return Hodnota::textUtf8(radky.utf8(sloupec));
        default:
            return Hodnota::text(radky.value(sloupec).toString());
    }
}

// The import's steps between opening the file and committing. Every statement runs through the
// context's query helper and hands its error back. The code lists are read from the file row by
// row (none of their rows is kept), and the statements carry their values bound: each shape is
// prepared once and run with the values of every row. The few single rows (the year, the
// settings, the handling fee) are read on relace.dotazCis, the local ones on relace.dotaz.
class Import {
public:
    explicit Import(Relace& relace)
        : m(relace),
          cis(relace.dotazCis),
          loc(relace.dotaz),
          m_radky(&relace.spojeniCis),
          m_mistni(&relace.spojeni) {}

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
    void zeSouboru(const Prikaz& prikaz) { m.gosql(prikaz, 1, cis, true); }
    void mistne(const Prikaz& prikaz) { m.gosql(prikaz, 1, loc, true); }
    void proved(const Prikaz& prikaz) { m.gosqlexec(prikaz, loc, true); }
    db::Field pole(const QString& nazev) const { return cis.fieldByName(nazev); }
    bool mistneBezRadku() const { return loc.recordCount() == 0; }

    // Runs naRadek on every row of a select on the file, one row at a time.
    template <typename F>
    void radkyZeSouboru(const Prikaz& prikaz, F&& naRadek) {
        m_sloupce.clear();
        m.gosql(prikaz, m_radky, true);
        while (!m_radky.eof()) {
            naRadek();
            m.dalsi(m_radky, true);
        }
        m_radky.close();
    }
    // Whether a local select finds no row.
    bool mistneNenajde(const Prikaz& prikaz) {
        m.gosql(prikaz, m_mistni, true);
        const bool nic = m_mistni.eof();
        m_mistni.close();
        return nic;
    }
    // A field of the file's current row. Each name is looked up once per select (its rows are
    // many, its fields few), and found again by the very text it was asked with.
    int sloupec(const QString& nazev) {
        for (const auto& [jmeno, index] : m_sloupce)
            if (jmeno.constData() == nazev.constData() && jmeno.size() == nazev.size())
                return index;
        const int index = m_radky.fieldIndex(nazev);
        m_sloupce.append({nazev, index});
        return index;
    }
    Hodnota cislo(const QString& nazev) { return cisloRadku(m_radky, sloupec(nazev)); }
    Hodnota text(const QString& nazev) { return textRadku(m_radky, sloupec(nazev)); }

    Relace& m;
    db::Query& cis;
    db::Query& loc;
    db::Radky m_radky;   // the rows of a code list of the file
    db::Radky m_mistni;  // a local lookup
    QVector<QPair<QString, int>> m_sloupce;
    Hodnota Y;  // the import year
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
    Y = cisloPole(rok);
    mistne({QStringLiteral("select * from RokEvidence where rok = ?"), {Y}});
    if (mistneBezRadku()) proved({QStringLiteral("insert into RokEvidence (rok) values (?)"), {Y}});
}

void Import::nastaveni() {
    zeSouboru(QStringLiteral("select * from Nastaveni"));
    Hodnota ucet = Hodnota::text(QString());
    Hodnota mesto = Hodnota::text(QString());
    if (cis.recordCount() > 0) {
        ucet = textPole(pole(QStringLiteral("ucet")));
        mesto = textPole(pole(QStringLiteral("mesto")));
    }
    mistne(QStringLiteral("select * from Nastaveni"));
    if (mistneBezRadku())
        proved(
            {QStringLiteral("insert into Nastaveni (ucet, mesto) values (?, ?)"), {ucet, mesto}});
    else
        proved({QStringLiteral("update Nastaveni set ucet = ?, mesto = ?"), {ucet, mesto}});
}

void Import::manipulacniPoplatek() {
    zeSouboru({QStringLiteral("select * from ManipulacniPopl where rok = ?"), {Y}});
    if (cis.recordCount() == 1) {
        const Hodnota nazev = textPole(pole(QStringLiteral("nazev")));
        const Hodnota castka = cisloPole(pole(QStringLiteral("castka")));
        mistne({QStringLiteral("select * from ManipulacniPopl where rok = ?"), {Y}});
        if (mistneBezRadku())
            proved({QStringLiteral("insert into ManipulacniPopl (nazev, castka, rok) values (?, ?, "
                                   "?)"),
                    {nazev, castka, Y}});
        else
            proved(
                {QStringLiteral("update ManipulacniPopl set nazev = ?, castka = ? where rok = ?"),
                 {nazev, castka, Y}});
    } else {
        // None or an ambiguous pair: the year has no handling fee.
        proved({QStringLiteral("delete from ManipulacniPopl where rok = ?"), {Y}});
    }
}

void Import::clenskePrispevky() {
    proved({QStringLiteral("delete from ClenskePrispevky where rok = ?"), {Y}});
    const QString vloz = QStringLiteral(
        "insert into ClenskePrispevky (id, rok, nazev, castka, aktivita, kod_veku, e_index) values "
        "(?, ?, ?, ?, 100, ?, ?)");
    radkyZeSouboru({QStringLiteral("select * from ClenskePrispevky where rok = ? and aktivita = "
                                   "100 and e_index is not null order by e_index"),
                    {Y}},
                   [&] {
                       proved({vloz,
                               {cislo(QStringLiteral("id")), Y, text(QStringLiteral("nazev")),
                                cislo(QStringLiteral("castka")), cislo(QStringLiteral("kod_veku")),
                                cislo(QStringLiteral("e_index"))}});
                   });
}

void Import::brigady() {
    proved({QStringLiteral("delete from Brigady where rok = ?"), {Y}});
    const QString vloz = QStringLiteral(
        "insert into Brigady (id, rok, nazev, castka, aktivita, e_index) values (?, ?, ?, ?, 100, "
        "?)");
    radkyZeSouboru(
        {QStringLiteral("select * from Brigady where rok = ? and e_index is not null "
                        "and aktivita = 100 order by e_index"),
         {Y}},
        [&] {
            proved({vloz,
                    {cislo(QStringLiteral("id")), Y, text(QStringLiteral("nazev")),
                     cislo(QStringLiteral("castka")), cislo(QStringLiteral("e_index"))}});
        });
}

void Import::cenyPovolenek() {
    QString seznam = kTabulkyPovolenek;
    for (int konec = seznam.indexOf(QLatin1Char('|')); konec >= 0;
         konec = seznam.indexOf(QLatin1Char('|'))) {
        // The table names are the program's own constants, never values from the file.
        const QString T = seznam.left(konec);
        seznam.remove(0, konec + 1);
        proved({QStringLiteral("delete from ") + T + QStringLiteral(" where rok = ?"), {Y}});
        const QString vloz = QStringLiteral("insert into ") + T +
                             QStringLiteral(
                                 " (id, rok, nazev, kodOznaceni, kategorie, castka, aktivita, "
                                 "e_index) values (?, ?, ?, ?, ?, ?, 100, ?)");
        radkyZeSouboru(
            {QStringLiteral(
                 "select id, rok, nazev, kodOznaceni, kategorie, castka, e_index from ") +
                 T +
                 QStringLiteral(
                     " where rok = ? and aktivita = 100 and e_index is not null order by e_index"),
             {Y}},
            [&] {
                proved({vloz,
                        {cislo(QStringLiteral("id")), Y, text(QStringLiteral("nazev")),
                         text(QStringLiteral("kodOznaceni")), text(QStringLiteral("kategorie")),
                         cislo(QStringLiteral("castka")), cislo(QStringLiteral("e_index"))}});
            });
    }
}

void Import::typyPovolenek() {
    radkyZeSouboru(QStringLiteral("select * from C_povolenky_txt"), [&] {
        const Hodnota idPov = cislo(QStringLiteral("id_pov"));
        const Hodnota nazev = text(QStringLiteral("nazev"));
        const Hodnota tabulka = text(QStringLiteral("tabulka"));
        if (mistneNenajde(
                {QStringLiteral("select * from C_povolenky_txt where id_pov = ?"), {idPov}}))
            proved({QStringLiteral(
                        "insert into C_povolenky_txt (id_pov, nazev, tabulka) values (?, ?, ?)"),
                    {idPov, nazev, tabulka}});
        else
            proved({QStringLiteral(
                        "update C_povolenky_txt set nazev = ?, tabulka = ? where id_pov = ?"),
                    {nazev, tabulka, idPov}});
    });
}

void Import::vazbyNaJinePlatby() {
    const QString klic = QStringLiteral(
        " where id_p = ? and id_jp = ? and rok = ? and typ_povolenky = ? collate nocase");
    const QString hledej = QStringLiteral("select * from C_povol_v_jp") + klic;
    const QString vloz = QStringLiteral(
        "insert into C_povol_v_jp (id_p, id_jp, rok, typ_povolenky, aktivita, typ_platby) values "
        "(?, ?, ?, ?, 100, ?)");
    const QString zmen =
        QStringLiteral("update C_povol_v_jp set aktivita = ?, typ_platby = ?") + klic;
    radkyZeSouboru({QStringLiteral("select * from C_povol_v_jp where rok = ?"), {Y}}, [&] {
        const Hodnota idP = cislo(QStringLiteral("id_p"));
        const Hodnota idJp = cislo(QStringLiteral("id_jp"));
        const Hodnota typPovolenky = text(QStringLiteral("typ_povolenky"));
        const Hodnota typPlatby = cislo(QStringLiteral("typ_platby"));
        // Table names compare without regard to letter case, as everywhere they are looked up:
        // the same link spelt otherwise in a later file is the link already stored. A new link
        // is always active; an existing one takes over the file's state.
        if (mistneNenajde({hledej, {idP, idJp, Y, typPovolenky}}))
            proved({vloz, {idP, idJp, Y, typPovolenky, typPlatby}});
        else
            proved(
                {zmen, {cislo(QStringLiteral("aktivita")), typPlatby, idP, idJp, Y, typPovolenky}});
    });
}

void Import::jinePlatby() {
    const QString hledej = QStringLiteral("select * from C_jinePlatby where id = ? and rok = ?");
    const QString vloz = QStringLiteral(
        "insert into C_jinePlatby (id, nazev, castka, aktivita, rok, manipulacni_poplatek) values "
        "(?, ?, ?, 100, ?, ?)");
    const QString zmen = QStringLiteral(
        "update C_jinePlatby set nazev = ?, castka = ?, aktivita = ?, manipulacni_poplatek = ? "
        "where id = ? and rok = ?");
    radkyZeSouboru({QStringLiteral("select * from C_jinePlatby where rok = ?"), {Y}}, [&] {
        const Hodnota id = cislo(QStringLiteral("id"));
        const Hodnota nazev = text(QStringLiteral("nazev"));
        const Hodnota castka = cislo(QStringLiteral("castka"));
        const Hodnota manipulacni = text(QStringLiteral("manipulacni_poplatek"));
        if (mistneNenajde({hledej, {id, Y}}))
            proved({vloz, {id, nazev, castka, Y, manipulacni}});
        else
            proved({zmen, {nazev, castka, cislo(QStringLiteral("aktivita")), manipulacni, id, Y}});
    });
}

void Import::aktualniRok() {
    mistne(QStringLiteral("select max(rok) as rok from RokEvidence"));
    m.rok = loc.fieldByName(QStringLiteral("rok")).asString();
}

void Import::razitkoVerze(const QString& VerzeCiselniku) {
    const QString zacatek =
        QStringLiteral("update Nastaveni set aktualizovano = date(), verzecis = ");
    Hodnota verze;
    try {
        // An empty version would store null and pass for a successful stamp.
        if (VerzeCiselniku.trimmed().isEmpty())
            throw Chyba(QStringLiteral("Hodnota \"%1\" není číslo.").arg(VerzeCiselniku));
        verze = Hodnota::cislo(VerzeCiselniku);
    } catch (const Chyba& e) {
        // Reported the way the query helper reports a rejected statement; the code lists are
        // kept without the stamp, so the caller's re-check sees the old version.
        m.hlaseni.log(zacatek + VerzeCiselniku);
        m.hlaseni.zprava(QStringLiteral("Došlo k chybě! (kontaktuje prosím správce)\r{") +
                             e.zprava() + QStringLiteral("}"),
                         0, 0);
        return;
    }
    m.gosqlexec({zacatek + QStringLiteral("?"), {verze}}, loc, false);
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
