// Measures the code-list import on the large sample file: a fresh local database, a code-list
// file with N generated rows in each code list (argument, default 5000), one import.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include "Databaze.h"
#include "VerzniBlok.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fMain.h"
#include "uAllYouNeed.h"

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication aplikace(argc, argv);
    const int radky = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5000;
    QTextStream vystup(stdout);

    QTemporaryDir slozka;
    QDir::setCurrent(slozka.path());
    // The main window recognises its organisation from the program file's version block.
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

    QElapsedTimer cas;
    cas.start();
    VzorovaData::vytvor(QStringLiteral("dataCis.mdb"), 2027, radky);
    const qint64 tvorba = cas.restart();

    TMain okno;
    cas.restart();
    okno.ImportCiselniku(QStringLiteral("1"));
    const qint64 import = cas.elapsed();

    db::Query q(&okno.ADOConnection1);
    q.setSql(QStringLiteral("select count(*) as pocet from C_povolKO where rok = 2027"));
    q.open();
    vystup << "rows per code list: " << radky << ", file built in " << tvorba << " ms, import took "
           << import
           << " ms, C_povolKO rows: " << q.fieldByName(QStringLiteral("pocet")).asInteger()
           << ", messages: " << Zpravy::zaznamy().size() << Qt::endl;
    return Zpravy::zaznamy().isEmpty() ? 0 : 1;
}
