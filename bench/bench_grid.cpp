// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the data grid on 100,000 generated member rows: a search keystroke (filter, count and
// repaint) and title sorts, each through the grid as the user drives it.
#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "DBGridNew.h"
#include "Databaze.h"
#include "Mereni.h"

namespace {

const int kRadku = 100000;

void vytvorData(db::Connection& c) {
    c.execute(QStringLiteral(
        "create table clen (id integer primary key, prijmeni varchar(40), jmeno varchar(30), "
        "dat_nar datetime, mesto varchar(40), castka real, aktivita integer)"));
    static const char* prijmeni[] = {"Novák",  "Svoboda", "Dvořák", "Černý", "Procházka",
                                     "Kučera", "Veselý",  "Horák",  "Němec", "Pokorný"};
    static const char* jmena[] = {"Jan",   "Petr", "Josef", "Pavel", "Martin",
                                  "Tomáš", "Jiří", "Eva",   "Jana",  "Marie"};
    static const char* mesta[] = {"Varnov", "Kelmina", "Lhota", "Ves", "Brod"};
    c.beginTransaction();
    for (int i = 1; i <= kRadku; ++i) {
        const QString sql =
            QStringLiteral("insert into clen values (%1, '%2%3', '%4', '%5', '%6', %7, %8)")
                .arg(i)
                .arg(QString::fromUtf8(prijmeni[i % 10]))
                .arg(i % 997)
                .arg(QString::fromUtf8(jmena[(i / 10) % 10]))
                .arg(QDate(1940, 1, 1).addDays(i % 25000).toString(Qt::ISODate))
                .arg(QString::fromUtf8(mesta[i % 5]))
                .arg(i % 5000 / 4.0)
                .arg(i % 50 == 0 ? 900 : 100);
        c.execute(sql);
    }
    c.commit();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));

    QTemporaryDir slozka;
    const QString soubor = slozka.filePath(QStringLiteral("bench.db"));
    QFile(soubor).open(QIODevice::WriteOnly);
    db::Connection c;
    c.open(soubor, db::Connection::Rezim::Vyhradni);
    vytvorData(c);

    db::Query q(&c);
    q.setSql(QStringLiteral("select * from clen"));
    TDBGridNew grid;
    grid.resize(900, 600);
    grid.setDataSet(&q);
    grid.setSloupce({{QStringLiteral("prijmeni"), QStringLiteral("Příjmení"), 150},
                     {QStringLiteral("jmeno"), QStringLiteral("Jméno"), 100},
                     {QStringLiteral("dat_nar"), QStringLiteral("Datum narození"), 110},
                     {QStringLiteral("mesto"), QStringLiteral("Obec"), 120}});
    grid.setKlicoveAtributyDeleneStrednikem(QStringLiteral("id"));
    grid.show();

    mereni::vypis("member grid: open", mereni::zmer([&] {
                      q.open();
                      grid.repaint();
                  }));

    auto hledej = [&](const QString& text) {
        return mereni::zmer([&] {
            grid.RunSearch(text);
            grid.repaint();
        });
    };
    mereni::vypis("member grid: search 'x' (first, fills cache)", hledej(QStringLiteral("x")));
    mereni::vypis("member grid: search 'n'", hledej(QStringLiteral("n")));
    mereni::vypis("member grid: search 'no'", hledej(QStringLiteral("no")));
    mereni::vypis("member grid: search 'nov'", hledej(QStringLiteral("nov")));
    std::fprintf(stderr, "rows found: %d\n", grid.FilteredCount());
    mereni::vypis("member grid: search 'novák12'", hledej(QStringLiteral("novák12")));
    mereni::vypis("member grid: search '' (all rows)", hledej(QString()));

    auto tridit = [&](const QString& sloupec, TSmerTrideni smer, bool pridat) {
        return mereni::zmer([&] {
            if (!pridat) grid.Trideni()->Clear();
            grid.Trideni()->Add(sloupec, smer);
            grid.SpustitTrideni(true, true);
            grid.repaint();
        });
    };
    mereni::vypis("member grid: sort prijmeni (first, ranks)",
                  tridit(QStringLiteral("prijmeni"), stASC, false));
    mereni::vypis("member grid: sort prijmeni DESC",
                  tridit(QStringLiteral("prijmeni"), stDESC, false));
    mereni::vypis("member grid: sort prijmeni, jmeno DESC",
                  tridit(QStringLiteral("jmeno"), stDESC, true));
    mereni::vypis("member grid: sort dat_nar (first, ranks)",
                  tridit(QStringLiteral("dat_nar"), stASC, false));
    mereni::vypis("member grid: sort castka", tridit(QStringLiteral("castka"), stASC, false));
    mereni::vypis("member grid: search 'nov' while sorted", hledej(QStringLiteral("nov")));
    mereni::vypis("member grid: sort mesto while filtered",
                  tridit(QStringLiteral("mesto"), stASC, false));
    return 0;
}
