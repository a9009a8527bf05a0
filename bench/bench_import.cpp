// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the code-list import into a freshly created local database, and beside it the floor:
// the sqlite3 shell copying the same rows into the same tables in one transaction.
//   bench_import [extra generated rows per code list (default 0: the sample file)]
// Prints the "import" and "import floor" lines, with the row counts on stderr.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "Databaze.h"
#include "Mereni.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fMain.h"

namespace {

const char* const kTabulkyPovolenek[] = {
    "c_povolKKnaTVZ", "c_povolKPnaTVZ", "c_povolCKnaTVZ", "c_povolCPnaTVZ", "c_povolRKnaTVZ",
    "c_povolRPnaTVZ", "c_povolCizK",    "c_povolCizP",    "c_povolKO",      "c_povolPO"};

// The rows the import takes, copied by plain SQL: the same tables, the same filters.
QString kopieVJedneTransakci(int rok) {
    const QString Y = QString::number(rok);
    QString s =
        QStringLiteral(
            "attach 'dataCis.mdb' as c;\n"
            "begin;\n"
            "insert into RokEvidence (rok) values (%1);\n"
            "insert into Nastaveni (ucet, mesto) select ucet, mesto from c.Nastaveni;\n"
            "insert into ManipulacniPopl (nazev, castka, rok) select nazev, castka, rok "
            "from c.ManipulacniPopl where rok = %1;\n"
            "insert into ClenskePrispevky (id, rok, nazev, castka, aktivita, kod_veku, e_index) "
            "select id, rok, nazev, castka, 100, kod_veku, e_index from c.ClenskePrispevky "
            "where rok = %1 and aktivita = 100 and e_index is not null order by e_index;\n"
            "insert into Brigady (id, rok, nazev, castka, aktivita, e_index) "
            "select id, rok, nazev, castka, 100, e_index from c.Brigady "
            "where rok = %1 and aktivita = 100 and e_index is not null order by e_index;\n")
            .arg(Y);
    for (const char* t : kTabulkyPovolenek)
        s += QStringLiteral(
                 "insert into %1 (id, rok, nazev, kodOznaceni, kategorie, castka, aktivita, "
                 "e_index) select id, rok, nazev, ifnull(kodOznaceni, ''), ifnull(kategorie, ''), "
                 "castka, 100, e_index from c.%1 where rok = %2 and aktivita = 100 and e_index "
                 "is not null order by e_index;\n")
                 .arg(QLatin1String(t), Y);
    s += QStringLiteral(
             "insert into C_povolenky_txt (id_pov, nazev, tabulka) select id_pov, nazev, tabulka "
             "from c.C_povolenky_txt;\n"
             "insert into C_povol_v_jp (id_p, id_jp, rok, typ_povolenky, aktivita, typ_platby) "
             "select id_p, id_jp, rok, typ_povolenky, 100, typ_platby from c.C_povol_v_jp "
             "where rok = %1;\n"
             "insert into C_jinePlatby (id, nazev, castka, aktivita, rok, manipulacni_poplatek) "
             "select id, nazev, castka, 100, rok, manipulacni_poplatek from c.C_jinePlatby "
             "where rok = %1;\n"
             "update Nastaveni set aktualizovano = '2027-03-01', verzecis = 1;\n"
             "commit;\n")
             .arg(Y);
    return s;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikace(argc, argv);
    const int radky = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    const int rok = 2027;

    QTemporaryDir slozka;
    QDir::setCurrent(slozka.path());
    mereni::pripravProgram(slozka.path());
    Zpravy::nastavAutomat(true);
    VzorovaData::vytvor(QStringLiteral("dataCis.mdb"), rok, radky);

    // The floor first, on a fresh local database of its own.
    {
        TMain okno;  // writes and upgrades data.mdb
    }
    QFile::rename(QStringLiteral("data.mdb"), QStringLiteral("podlaha.mdb"));
    QProcess shell;
    const mereni::Cas podlaha = mereni::zmer([&] {
        shell.start(QStringLiteral("sqlite3"), {QStringLiteral("podlaha.mdb")});
        shell.write(kopieVJedneTransakci(rok).toUtf8());
        shell.closeWriteChannel();
        shell.waitForFinished(-1);
    });
    if (shell.exitCode() != 0 || !shell.readAllStandardError().isEmpty()) {
        std::fprintf(stderr, "sqlite3 shell failed\n");
        return 1;
    }

    TMain okno;
    const mereni::Cas import = mereni::zmer([&] { okno.ImportCiselniku(QStringLiteral("1")); });

    // Both databases must now hold the same code-list rows.
    auto pocet = [](db::Connection& c) {
        db::Query q(&c);
        QString sql = QStringLiteral(
            "select (select count(*) from ClenskePrispevky) + (select count(*) from Brigady) + "
            "(select count(*) from C_povol_v_jp) + (select count(*) from C_jinePlatby)");
        for (const char* t : kTabulkyPovolenek)
            sql += QStringLiteral(" + (select count(*) from %1)").arg(QLatin1String(t));
        q.setSql(sql);
        q.open();
        return q.field(0).asInteger();
    };
    db::Connection podlahaDb;
    podlahaDb.open(QStringLiteral("podlaha.mdb"), db::Connection::Rezim::JenCteni);
    const qint64 importovano = pocet(okno.ADOConnection1);
    const qint64 zkopirovano = pocet(podlahaDb);
    std::fprintf(stderr, "rows imported: %lld, copied by the shell: %lld, messages: %lld\n",
                 static_cast<long long>(importovano), static_cast<long long>(zkopirovano),
                 static_cast<long long>(Zpravy::zaznamy().size()));
    if (importovano != zkopirovano || !Zpravy::zaznamy().isEmpty()) return 1;

    mereni::vypis(radky ? "import large" : "import sample", import);
    mereni::vypis(radky ? "import large floor" : "import sample floor", podlaha);
    return 0;
}
