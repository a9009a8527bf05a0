// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the payment history window with stored payments (argument, default 500): opening the
// window with its first read, sorting by a column title's sort list, and a search. With a second
// argument "ukaz" the window then stays open on the display given by QT_QPA_PLATFORM, to be
// looked at and tried by hand.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "DBGridNew.h"
#include "Databaze.h"
#include "VerzniBlok.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "uAllYouNeed.h"

int main(int argc, char* argv[]) {
    const bool ukazat = argc > 2 && QByteArray(argv[2]) == "ukaz";
    if (!ukazat) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikace(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    const int platby = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 500;
    QTextStream vystup(stdout);

    QTemporaryDir slozka;
    QDir::setCurrent(slozka.path());
    const QString program = slozka.filePath(QStringLiteral("ParmexRozu"));
    QFile f(program);
    f.open(QIODevice::WriteOnly);
    QMap<QString, QString> blok;
    blok.insert(QStringLiteral("Translation"), QStringLiteral("040504e2"));
    blok.insert(QStringLiteral("FileVersion"), QStringLiteral(PARMEX_VERZE));
    blok.insert(QStringLiteral("ProductName"), QStringLiteral("Parmex Rozu - MO Varnov"));
    f.write(VerzniBlok::sestav(blok));
    f.close();
    NastavSouborProgramu(program);
    Zpravy::nastavAutomat(true);

    TMain okno;
    VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
    okno.ImportCiselniku(QStringLiteral("1"));
    db::Connection& spojeni = okno.ADOConnection1;
    spojeni.execute(
        QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                       "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
    spojeni.beginTransaction();
    for (int i = 1; i <= platby; ++i) {
        spojeni.execute(QStringLiteral("insert into HistoriePlatebHead (cislo_platby, dat_zmena, "
                                       "rok, ucet, vs, ks, ss, castka, id_usr) values (%1, "
                                       "'2027-03-01 10:%2:00', 2027, '190-2718281824/0800', "
                                       "'123', '%3', '051207', %4, 1)")
                            .arg(i)
                            .arg(i % 60, 2, 10, QLatin1Char('0'))
                            .arg(i, 8, 10, QLatin1Char('0'))
                            .arg(100 + (i * 37) % 2000 + 0.5));
        for (int p = 0; p < 4; ++p)
            spojeni.execute(
                QStringLiteral("insert into HistoriePlateb (id_platby, rok, typ_platby, "
                               "id, nazev, castka, cislo_platby) values (%1, 2027, 4, "
                               "%2, 'Položka', 10, %3)")
                    .arg(i * 4 + p)
                    .arg(p)
                    .arg(i));
    }
    spojeni.commit();

    QElapsedTimer cas;
    cas.start();
    THistoriePlateb historie(&okno);
    historie.show();
    historie.FormActivate();
    QCoreApplication::processEvents();
    const qint64 otevreni = cas.restart();

    TDBGridNew* grid = historie.DBGrid1;
    grid->Trideni()->Clear();
    grid->Trideni()->Add(QStringLiteral("castka"), stDESC);
    grid->SpustitTrideni(true);
    QCoreApplication::processEvents();
    const qint64 trideni = cas.restart();

    grid->RunSearch(QStringLiteral("0042"));
    QCoreApplication::processEvents();
    const qint64 hledani = cas.elapsed();

    vystup << "payments: " << platby << ", open " << otevreni << " ms, sort " << trideni
           << " ms, search " << hledani << " ms (" << grid->FilteredCount() << " rows found)"
           << ", messages: " << Zpravy::zaznamy().size() << Qt::endl;
    if (ukazat) {
        grid->RunSearch(QString());
        historie.exec();
    }
    return Zpravy::zaznamy().isEmpty() ? 0 : 1;
}
