// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the work on a history of 100,000 payments (three items each):
//   bench_historie grid     open the history window, two search keystrokes (filter, count and
//                           paint) beside a plain scan of the same texts, one title sort, one
//                           reload that keeps the current row
//   bench_historie ulozeni  saving one payment with five items and three linked payments
//   bench_historie priprav DIR   makes DIR a program folder holding that history
//   bench_historie pamet DIR     in such a folder: the main window with the history window open,
//                                then the program ends (the runner reads its peak memory)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <vector>

#include "DBGridNew.h"
#include "Databaze.h"
#include "Hodiny.h"
#include "Mereni.h"
#include "PlnaPlatba.h"
#include "SouborDatabaze.h"
#include "StringGridNew.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fFormularPlateb.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "fNovaPlatba.h"

namespace {

const int kPlateb = 100000;

// The history: kPlateb payments of member 1, each with a membership, a linked payment and the
// handling fee, written in one transaction by prepared-free plain statements. Each payment is
// stamped with the moment it was saved, 20 minutes and 1 second after the one before, as a
// real history's payments are.
void naplnHistorii(db::Connection& c) {
    c.execute(
        QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                       "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
    c.beginTransaction();
    c.execute(QStringLiteral(
                  "with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                  "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
                  "castka, "
                  "id_usr) select i, datetime('2020-01-01 08:00:00', '+' || (i * 1201) || ' "
                  "seconds'), 2020 + i % 8, "
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

// The history window as the user opens it from the main window: created, shown, its first
// activation reads the 100,000 payments, and the grid is painted.
std::unique_ptr<THistoriePlateb> otevriHistorii() {
    auto okno = std::make_unique<THistoriePlateb>(Main);
    okno->show();
    okno->FormActivate();
    okno->DBGrid1->repaint();
    return okno;
}

// The least a search keystroke can cost: every field of every row as the grid shows it, in
// upper case, made beforehand; the scan only tests which rows hold the text and counts them.
struct PlnyPruchod {
    int sloupcu = 0;
    std::vector<QString> texty;
    explicit PlnyPruchod(const db::Query& q) : sloupcu(q.fieldCount()) {
        for (int r = 0; r < q.recordCount(); ++r)
            for (int c = 0; c < sloupcu; ++c) texty.push_back(QLocale().toUpper(q.text(r, c)));
    }
    int spocitej(const QString& hledany) const {
        const QString velky = QLocale().toUpper(hledany);
        int pocet = 0;
        for (size_t i = 0; i < texty.size(); i += sloupcu)
            for (int c = 0; c < sloupcu; ++c)
                if (texty[i + c].contains(velky)) {
                    ++pocet;
                    break;
                }
        return pocet;
    }
};

void mrizka() {
    // What the first activation of a later start adds with this history: the register's check
    // (the window is already shown meanwhile).
    QString nalez;
    mereni::vypis("register check",
                  mereni::zmer([&] { nalez = SouborDatabaze::zkontroluj(Main->ADOConnection1); }));
    if (!nalez.isEmpty()) {
        std::fprintf(stderr, "the register is damaged: %s\n", qPrintable(nalez));
        std::exit(1);
    }
    std::unique_ptr<THistoriePlateb> okno;
    mereni::vypis("history grid: open", mereni::zmer([&] { okno = otevriHistorii(); }));
    TDBGridNew& grid = *okno->DBGrid1;
    db::Query& q = okno->ADOQueryHist;
    const PlnyPruchod pruchod(q);
    // The search box's timer runs the grid's search; each keystroke is measured from there to
    // the repainted grid. The first one also prepares whatever the search keeps between
    // keystrokes; the second narrows the first.
    auto klaves = [&](const char* nazev, const char* nazevPruchodu, const QString& text) {
        int nalezeno = 0;
        mereni::vypis(nazev, mereni::zmer([&] {
                          grid.RunSearch(text);
                          grid.repaint();
                      }));
        mereni::vypis(nazevPruchodu, mereni::zmer([&] { nalezeno = pruchod.spocitej(text); }));
        if (nalezeno != grid.FilteredCount()) {
            std::fprintf(stderr, "'%s': the grid found %d rows, the plain scan %d\n",
                         qPrintable(text), grid.FilteredCount(), nalezeno);
            std::exit(1);
        }
    };
    klaves("history grid: first search keystroke", "history grid: plain scan, first keystroke",
           QStringLiteral("1"));
    klaves("history grid: search keystroke", "history grid: plain scan, keystroke",
           QStringLiteral("14"));
    std::fprintf(stderr, "rows found: %d\n", grid.FilteredCount());
    grid.RunSearch(QString());
    mereni::vypis("history grid: sort", mereni::zmer([&] {
                      grid.Trideni()->Clear();
                      grid.Trideni()->Add(QStringLiteral("castka"), stDESC);
                      grid.SpustitTrideni(true, true);
                      grid.repaint();
                  }));
    q.setRecNo(q.recordCount() / 2);
    const QString radek = q.fieldByName(QStringLiteral("cislo_platby")).asString();
    mereni::vypis("history grid: reload keeping the row", mereni::zmer([&] {
                      grid.Reload();
                      grid.repaint();
                  }));
    if (q.fieldByName(QStringLiteral("cislo_platby")).asString() != radek) {
        std::fprintf(stderr, "the reload lost the row %s\n", qPrintable(radek));
        std::exit(1);
    }
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
    Main->show();
    const auto okno = otevriHistorii();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    qApp->exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikace(argc, argv);
    // The formats the program's users have: dates, times and amounts as the grid shows them.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    const QString rezim = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("grid");
    // "priprav" and "pamet" work in the folder given, the others in a folder of their own.
    QTemporaryDir docasna;
    const QString slozka = argc > 2 ? QString::fromLocal8Bit(argv[2]) : docasna.path();
    QDir::setCurrent(slozka);
    Zpravy::nastavAutomat(true);
    Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
    if (rezim == QLatin1String("pamet")) {
        NastavSouborProgramu(QDir(slozka).filePath(QStringLiteral("ParmexRozu")));
        TMain okno;
        pamet();
        return 0;
    }
    mereni::pripravProgram(slozka);
    VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
    TMain okno;
    naplnHistorii(okno.ADOConnection1);
    if (rezim == QLatin1String("priprav"))
        return 0;
    else if (rezim == QLatin1String("ulozeni"))
        ulozeni();
    else
        mrizka();
    return 0;
}
