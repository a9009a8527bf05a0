// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrevzetiDat.h"

#include <QFile>
#include <QFileInfo>

#include "Chyba.h"
#include "Databaze.h"
#include "JetSoubor.h"
#include "Relace.h"
#include "Schema.h"
#include "SouborDatabaze.h"
#include "SqlHodnoty.h"

namespace {

const QString kOtazka = QStringLiteral(
    "Byla nalezena databáze předchozího programu (%1). Chcete převzít její data do nové "
    "databáze? Původní soubor zůstane uložen jako %2.");
const QString kOtazkaZnovu = QStringLiteral(
    "Byla nalezena databáze předchozího programu (%1), jejíž převzetí nebylo dokončeno. Chcete "
    "převzít její data do nové databáze? Soubor %1 zůstane beze změny.");
const QString kZalohaExistuje = QStringLiteral(
    "Data předchozího programu nelze převzít: soubor %1 již existuje. Přesuňte jej prosím jinam "
    "a spusťte program znovu. Soubor %2 zůstal beze změny.");
const QString kNelzePrejmenovat = QStringLiteral(
    "Data předchozího programu nelze převzít: soubor %1 nelze přejmenovat na %2. Soubor zůstal "
    "beze změny.");
const QString kPrevzetiSelhalo = QStringLiteral(
    "Převzetí dat předchozího programu se nezdařilo, původní soubor %1 zůstal beze změny. (%2)");
const QString kNovyNelzeUlozit = QStringLiteral(
    "Převzetí dat předchozího programu se nezdařilo: novou databázi nelze uložit jako %1. Data "
    "předchozího programu jsou beze změny v souboru %2; při příštím spuštění program nabídne "
    "převzetí znovu. (%3)");

// The tables the schema knows, in an order that satisfies its foreign keys. verze and TypPlatby
// are left out: the new database has its own version and the fixed kinds of payment items.
const QStringList kTabulky = {
    QStringLiteral("Uzivatele"),        QStringLiteral("ManipulacniPopl"),
    QStringLiteral("ClenskePrispevky"), QStringLiteral("Brigady"),
    QStringLiteral("C_povolKKnaTVZ"),   QStringLiteral("C_povolKPnaTVZ"),
    QStringLiteral("C_povolCKnaTVZ"),   QStringLiteral("C_povolCPnaTVZ"),
    QStringLiteral("C_povolRKnaTVZ"),   QStringLiteral("C_povolRPnaTVZ"),
    QStringLiteral("C_povolCizK"),      QStringLiteral("C_povolCizP"),
    QStringLiteral("C_povolKO"),        QStringLiteral("C_povolPO"),
    QStringLiteral("RokEvidence"),      QStringLiteral("Nastaveni"),
    QStringLiteral("C_povolenky_txt"),  QStringLiteral("HistoriePlatebHead"),
    QStringLiteral("HistoriePlateb"),   QStringLiteral("C_povol_v_jp"),
    QStringLiteral("C_jinePlatby")};

using db::Hodnota;

// A stored date and time ("2016-03-05 09:07:03", or a date alone) as a statement value; taken
// apart by hand so that no time zone can shift a wall time that does not exist locally.
Hodnota datumCas(const QString& text) {
    const QString t = text.trimmed();
    const QDate datum = QDate::fromString(t.left(10), QStringLiteral("yyyy-MM-dd"));
    QTime cas(0, 0);
    if (t.size() > 10) {
        cas = QTime::fromString(t.mid(11, 8), QStringLiteral("HH:mm:ss"));
        if (t.at(10) != QLatin1Char(' ') && t.at(10) != QLatin1Char('T')) cas = QTime();
    }
    if (!datum.isValid() || !cas.isValid())
        throw Chyba(QStringLiteral("Hodnota \"%1\" není datum.").arg(text));
    return Hodnota::datumCas(QDateTime(datum, cas, Qt::UTC));
}

// One value of the old file as a value for the new database's column of the given type.
Hodnota hodnota(const QVariant& v, db::TypPole typ) {
    if (v.isNull()) return Hodnota::null();
    switch (typ) {
        case db::TypPole::Cele:
        case db::TypPole::Desetinne:
            if (v.typeId() == QMetaType::LongLong)
                return Hodnota::cislo(static_cast<qint64>(v.toLongLong()));
            if (v.typeId() == QMetaType::Double) return Hodnota::cislo(v.toDouble());
            return Hodnota::cislo(v.toString());
        case db::TypPole::DatumCas:
            return datumCas(v.toString());
        default:
            return Hodnota::text(v.toString());
    }
}

bool maTabulku(db::Connection& spojeni, const QString& tabulka) {
    db::Query q(&spojeni);
    q.setPrikaz({QStringLiteral("select name from sqlite_master where type = 'table' and name = ? "
                                "collate nocase"),
                 {Hodnota::text(tabulka)}});
    q.open();
    return q.recordCount() > 0;
}

// Copies the known tables of the old file into the new database, inside the caller's
// transaction.
void zkopirujTabulky(Relace& relace, db::Connection& zdroj) {
    db::Query z(&zdroj);
    db::Query& cil = relace.dotaz;
    for (const QString& tabulka : kTabulky) {
        if (!maTabulku(zdroj, tabulka)) continue;
        // The new table's columns and types, from a select without rows.
        relace.gosql(QStringLiteral("select * from ") + tabulka + QStringLiteral(" where 0 = 1"), 1,
                     cil, true);
        const QStringList sloupceCile = cil.fieldNames();
        QVector<db::TypPole> typy;
        for (int i = 0; i < cil.fieldCount(); ++i) typy << cil.fieldType(i);
        relace.gosql(QStringLiteral("select * from ") + tabulka, 1, z, true);

        QStringList sloupce;
        QVector<int> zdrojove;
        QVector<db::TypPole> typySloupcu;
        for (int i = 0; i < sloupceCile.size(); ++i) {
            const int k = z.fieldIndex(sloupceCile.at(i));
            if (k < 0) continue;
            sloupce << Sql::identifikator(sloupceCile.at(i));
            zdrojove << k;
            typySloupcu << typy.at(i);
        }
        // A register from before the years had a state: every year is open, as the schema
        // upgrade leaves it.
        const bool doplnStav =
            tabulka == QLatin1String("RokEvidence") && z.fieldIndex(QStringLiteral("stav")) < 0;
        if (doplnStav) sloupce << Sql::identifikator(QStringLiteral("stav"));
        if (sloupce.isEmpty()) continue;

        QStringList mista;
        for (int i = 0; i < sloupce.size(); ++i) mista << QStringLiteral("?");
        const QString vloz = QStringLiteral("insert into ") + tabulka + QStringLiteral(" (") +
                             sloupce.join(QStringLiteral(", ")) + QStringLiteral(") values (") +
                             mista.join(QStringLiteral(", ")) + QStringLiteral(")");
        for (z.first(); !z.eof(); z.next()) {
            QVector<Hodnota> hodnoty;
            for (int i = 0; i < zdrojove.size(); ++i)
                hodnoty << hodnota(z.field(zdrojove.at(i)).value(), typySloupcu.at(i));
            if (doplnStav) hodnoty << Hodnota::cislo(static_cast<qint64>(0));
            relace.gosqlexec({vloz, hodnoty}, cil, true);
        }
    }
}

void zapisDoLoguTise(Hlaseni& hlaseni, const QString& text) {
    try {
        hlaseni.log(text);
    } catch (const Chyba&) {
        // An unwritable log must not hide the failure from the user.
    }
}

}  // namespace

bool JeStaraDatabaze(const QString& soubor) {
    return jet::jeJetSoubor(soubor);
}

namespace {
// The old file already kept under its backup name, with no complete new database in place.
bool prevzetiNedokonceno(const QString& soubor) {
    return QFileInfo(soubor + QStringLiteral(".jet")).isFile() && SouborDatabaze::chybi(soubor);
}
}  // namespace

bool CekaNaPrevzeti(const QString& soubor) {
    return JeStaraDatabaze(soubor) || prevzetiNedokonceno(soubor);
}

Prevzeti PrevzetiDat(Relace& relace, const QString& soubor, PrubehUpravy* prubeh) {
    const QString zaloha = soubor + QStringLiteral(".jet");
    const QString novy = soubor + QStringLiteral(".novy");
    const bool znovu = prevzetiNedokonceno(soubor);
    const QString stary = znovu ? zaloha : soubor;
    if (relace.hlaseni.zprava(znovu ? kOtazkaZnovu.arg(zaloha) : kOtazka.arg(soubor, zaloha), 1,
                              1) != 0)
        return Prevzeti::Odmitnuto;

    // The backup name may be taken by anything, a folder included: never overwrite it.
    if (!znovu && (QFileInfo::exists(zaloha) || QFileInfo(zaloha).isSymLink())) {
        relace.hlaseni.zprava(kZalohaExistuje.arg(zaloha, soubor), 2);
        return Prevzeti::Selhalo;
    }

    // The new database, complete, under its temporary name; the old file is only read.
    db::Connection zdroj;
    try {
        PripravNovouDatabazi(
            relace, novy,
            [&] {
                jet::otevriKeCteni(zdroj, stary, kTabulky);
                relace.spojeni.beginTransaction();
                zkopirujTabulky(relace, zdroj);
                relace.spojeni.commit();
                zdroj.close();
            },
            prubeh);
    } catch (const Chyba& e) {
        zdroj.close();
        zapisDoLoguTise(relace.hlaseni, e.zprava());
        relace.hlaseni.zprava(kPrevzetiSelhalo.arg(stary, e.zprava()), 2);
        return Prevzeti::Selhalo;
    }

    // Then the names: the old file to its backup name (never over an existing file), the new
    // one into place. Between the two steps the old file is already kept as the backup and no
    // data.mdb exists, which the next start takes for a take-over to offer again.
    if (!znovu && !QFile::rename(soubor, zaloha)) {
        QFile::remove(novy);
        relace.hlaseni.zprava(kNelzePrejmenovat.arg(soubor, zaloha), 2);
        return Prevzeti::Selhalo;
    }
    try {
        SouborDatabaze::presunNaMisto(novy, soubor);
    } catch (const Chyba& e) {
        zapisDoLoguTise(relace.hlaseni, e.zprava());
        relace.hlaseni.zprava(kNovyNelzeUlozit.arg(soubor, zaloha, e.zprava()), 2);
        return Prevzeti::Selhalo;
    }
    return Prevzeti::Hotovo;
}
