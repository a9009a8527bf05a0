// Measures the work on a history of 100,000 payments (three items each):
//   bench_historie grid     open the history grid, one title sort, one search keystroke
//                           (filter and count), one reload that keeps the current row
//   bench_historie ulozeni  saving one payment with five items and three linked payments
//   bench_historie pamet    the main window with the history grid open, then the program ends
//                           (the runner reads its peak memory)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "DBGridNew.h"
#include "Databaze.h"
#include "Hodiny.h"
#include "Mereni.h"
#include "PlnaPlatba.h"
#include "StringGridNew.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fFormularPlateb.h"
#include "fMain.h"
#include "fNovaPlatba.h"

namespace {

const int kPlateb = 100000;

// The history: kPlateb payments of member 1, each with a membership, a linked payment and the
// handling fee, written in one transaction by prepared-free plain statements.
void naplnHistorii(db::Connection& c) {
    c.execute(
        QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                       "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
    c.beginTransaction();
    c.execute(
        QStringLiteral(
            "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
            "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
            "castka, "
            "id_usr) select i, datetime('2020-01-01', '+' || (i / 40) || ' days'), 2020 + i % 8, "
            "'190-2718281824/0800', '123', printf('%02d%02d', i % 100, 20 + i % 8), "
            "printf('%02d', i % 12), 1400 + i % 300, 1 from n")
            .arg(kPlateb));
    c.execute(
        QStringLiteral(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i < %1 * 3 - 1) "
            "insert into HistoriePlateb (id_platby, rok, typ_platby, id, nazev, castka, "
            "cislo_platby, "
            "dat_zmena) select i + 1, 2020 + (i / 3 + 1) % 8, case i % 3 when 0 then 1 else 4 end, "
            "case i % 3 when 0 then 1 when 1 then 1 else 0 end, "
            "case i % 3 when 0 then 'Členský příspěvek' when 1 then 'Příspěvek na ostrahu revírů' "
            "else 'Manipulační poplatek' end, case i % 3 when 0 then 1200 when 1 then 150 else 50 "
            "end, i / 3 + 1, '2020-01-01 10:00:00' from n")
            .arg(kPlateb));
    c.commit();
}

// The history grid as the history window sets it up.
void nastavMrizku(TDBGridNew& grid, db::Query& q) {
    q.setSql(QStringLiteral("select * from HistoriePlatebHead order by cislo_platby desc"));
    grid.resize(900, 600);
    grid.setDataSet(&q);
    grid.setSloupce({{QStringLiteral("cislo_platby"), QStringLiteral("Číslo platby"), 80},
                     {QStringLiteral("dat_zmena"), QStringLiteral("Datum"), 140},
                     {QStringLiteral("vs"), QStringLiteral("VS"), 70},
                     {QStringLiteral("ks"), QStringLiteral("KS"), 60},
                     {QStringLiteral("ss"), QStringLiteral("SS"), 90},
                     {QStringLiteral("castka"), QStringLiteral("Částka"), 90}});
    grid.setKlicoveAtributyDeleneStrednikem(QStringLiteral("cislo_platby"));
    grid.setZachovatOznacenyRadekPoReload(true);
}

void mrizka() {
    db::Query q(&Main->ADOConnection1);
    TDBGridNew grid;
    nastavMrizku(grid, q);
    grid.show();
    mereni::vypis("history grid: open", mereni::zmer([&] {
                      q.open();
                      grid.repaint();
                  }));
    mereni::vypis("history grid: sort", mereni::zmer([&] {
                      grid.Trideni()->Clear();
                      grid.Trideni()->Add(QStringLiteral("castka"), stDESC);
                      grid.SpustitTrideni(true, true);
                      grid.repaint();
                  }));
    mereni::vypis("history grid: search keystroke", mereni::zmer([&] {
                      grid.RunSearch(QStringLiteral("14"));
                      grid.repaint();
                  }));
    std::fprintf(stderr, "rows found: %d\n", grid.FilteredCount());
    q.setRecNo(q.recordCount() / 2);
    mereni::vypis("history grid: reload keeping the row", mereni::zmer([&] {
                      grid.Reload();
                      grid.repaint();
                  }));
}

// One payment of five items (membership, brigade, three permits) and three linked payments.
void ulozeni() {
    Main->ImportCiselniku(QStringLiteral("1"));
    TNovaPlatba d(Main);
    VyplnPlnouPlatbu(d);
    // The payment form that follows the save is closed at once.
    QTimer zavri;
    QObject::connect(&zavri, &QTimer::timeout, [] {
        if (auto* f = qobject_cast<TFormularPlateb*>(QApplication::activeModalWidget()))
            f->reject();
    });
    zavri.start(0);
    const qint64 pred = kPlateb * 3;
    Zpravy::pridejOdpoved(0);
    const mereni::Cas ms = mereni::zmer([&] { d.UlozitClick(); });
    db::Query q(&Main->ADOConnection1);
    q.setSql(QStringLiteral("select count(*) from HistoriePlateb"));
    q.open();
    const qint64 polozek = q.field(0).asInteger() - pred;
    std::fprintf(stderr, "items stored: %lld, messages: %lld\n", static_cast<long long>(polozek),
                 static_cast<long long>(Zpravy::zaznamy().size()));
    for (const auto& z : Zpravy::zaznamy()) std::fprintf(stderr, "%s\n", qPrintable(z.text));
    if (polozek != 9) std::exit(1);
    mereni::vypis("save one payment (5 items, 3 linked)", ms);
}

void pamet() {
    db::Query q(&Main->ADOConnection1);
    TDBGridNew grid;
    nastavMrizku(grid, q);
    Main->show();
    grid.show();
    q.open();
    grid.repaint();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    qApp->exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikace(argc, argv);
    const QString rezim = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("grid");
    QTemporaryDir slozka;
    QDir::setCurrent(slozka.path());
    mereni::pripravProgram(slozka.path());
    Zpravy::nastavAutomat(true);
    Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
    VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));

    TMain okno;
    naplnHistorii(okno.ADOConnection1);
    if (rezim == QLatin1String("ulozeni"))
        ulozeni();
    else if (rezim == QLatin1String("pamet"))
        pamet();
    else
        mrizka();
    return 0;
}
