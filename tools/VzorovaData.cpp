// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a sample code-list file "dataCis.mdb" of a local organisation: the file the program
// imports when the organisation publishes new prices. With --radky it also makes the large
// variant used for measuring the import.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include "Chyba.h"
#include "VzorovaData.h"

int main(int argc, char* argv[]) {
    QCoreApplication aplikace(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VzorovaData"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Vytvoří vzorový soubor číselníků místní organizace."));
    parser.addHelpOption();
    const QCommandLineOption vystup({QStringLiteral("o"), QStringLiteral("vystup")},
                                    QStringLiteral("Cílový soubor (výchozí dataCis.mdb)."),
                                    QStringLiteral("soubor"), QStringLiteral("dataCis.mdb"));
    const QCommandLineOption rok(QStringLiteral("rok"),
                                 QStringLiteral("Rok evidence (výchozí 2027)."),
                                 QStringLiteral("rok"), QStringLiteral("2027"));
    const QCommandLineOption radky(
        QStringLiteral("radky"),
        QStringLiteral("Počet vygenerovaných řádků navíc v každém číselníku (výchozí 0)."),
        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({vystup, rok, radky});
    parser.process(aplikace);

    QTextStream chyby(stderr);
    bool okRok = false;
    bool okRadky = false;
    const int hodnotaRok = parser.value(rok).toInt(&okRok);
    const int hodnotaRadky = parser.value(radky).toInt(&okRadky);
    if (!okRok || hodnotaRok < 1901 || hodnotaRok > 9999) {
        chyby << "Neplatný rok: " << parser.value(rok) << Qt::endl;
        return 2;
    }
    if (!okRadky || hodnotaRadky < 0 || hodnotaRadky > 98000) {
        chyby << "Neplatný počet řádků: " << parser.value(radky) << Qt::endl;
        return 2;
    }
    try {
        VzorovaData::vytvor(parser.value(vystup), hodnotaRok, hodnotaRadky);
    } catch (const Chyba& e) {
        chyby << e.zprava() << Qt::endl;
        return 1;
    }
    return 0;
}
