// Measures the data grid on 100,000 generated rows: a search keystroke (filter, count and
// repaint) and title sorts, each through the grid as the user drives it.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>

#include "DBGridNew.h"
#include "Databaze.h"

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

template <typename F>
double zmer(F&& krok) {
    QElapsedTimer t;
    t.start();
    krok();
    return t.nsecsElapsed() / 1e6;
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

    std::printf("rows: %d\n", kRadku);
    std::printf("open:                          %8.1f ms\n", zmer([&] {
                    q.open();
                    grid.repaint();
                }));

    auto hledej = [&](const QString& text) {
        return zmer([&] {
            grid.RunSearch(text);
            grid.repaint();
        });
    };
    std::printf("search 'x' (first, fills cache) %7.1f ms\n", hledej(QStringLiteral("x")));
    std::printf("search 'n'                     %7.1f ms\n", hledej(QStringLiteral("n")));
    std::printf("search 'no'                     %7.1f ms\n", hledej(QStringLiteral("no")));
    std::printf("search 'nov'                    %7.1f ms\n", hledej(QStringLiteral("nov")));
    std::printf("  rows found: %d\n", grid.FilteredCount());
    std::printf("search 'novák12'                %7.1f ms\n", hledej(QStringLiteral("novák12")));
    std::printf("search '' (all rows)            %7.1f ms\n", hledej(QString()));

    auto tridit = [&](const QString& sloupec, TSmerTrideni smer, bool pridat) {
        return zmer([&] {
            if (!pridat) grid.Trideni()->Clear();
            grid.Trideni()->Add(sloupec, smer);
            grid.SpustitTrideni(true, true);
            grid.repaint();
        });
    };
    std::printf("sort prijmeni (first, ranks)    %7.1f ms\n",
                tridit(QStringLiteral("prijmeni"), stASC, false));
    std::printf("sort prijmeni DESC              %7.1f ms\n",
                tridit(QStringLiteral("prijmeni"), stDESC, false));
    std::printf("sort prijmeni, jmeno DESC       %7.1f ms\n",
                tridit(QStringLiteral("jmeno"), stDESC, true));
    std::printf("sort dat_nar (first, ranks)     %7.1f ms\n",
                tridit(QStringLiteral("dat_nar"), stASC, false));
    std::printf("sort castka                     %7.1f ms\n",
                tridit(QStringLiteral("castka"), stASC, false));
    std::printf("search 'nov' while sorted       %7.1f ms\n", hledej(QStringLiteral("nov")));
    std::printf("sort mesto while filtered       %7.1f ms\n",
                tridit(QStringLiteral("mesto"), stASC, false));
    return 0;
}
