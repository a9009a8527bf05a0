// SPDX-License-Identifier: GPL-3.0-or-later
// The publishing command of the organisation's administrator: writes the program and/or new
// code lists into the folder the organisation's web server serves, and the announcement that
// every member's program reads at its start (see core/Vydani.h).
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

#include "Chyba.h"
#include "JetSoubor.h"
#include "Vydani.h"

namespace {
// Only what went wrong reaches the administrator's terminal, not the toolkit's notes about the
// display it does not use.
void zpravaKnihovny(QtMsgType typ, const QMessageLogContext&, const QString& text) {
    if (typ == QtCriticalMsg || typ == QtFatalMsg) QTextStream(stderr) << text << Qt::endl;
}
}  // namespace

int main(int argc, char* argv[]) {
    // Started again by itself only to read a Jet file of code lists, as the program reads them.
    if (argc >= 2 && std::strcmp(argv[1], jet::kPrepinacCteni) == 0)
        return jet::hlavniCteni(argc, argv);
    qInstallMessageHandler(zpravaKnihovny);
    // The check of the code lists runs the program's core, which needs no window: the command
    // also runs on a server without a display.
    QCoreApplication aplikace(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vydani"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Vydá nový program nebo nové číselníky organizace do složky webového serveru\n"
        "a zapíše oznámení verze.ini, které programy členů čtou při startu."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("SLOZKA_SERVERU"),
                                 QStringLiteral("Kořenová složka webového serveru organizace."));
    const QCommandLineOption program(
        QStringLiteral("program"),
        QStringLiteral("Program k vydání: soubor ParmexRozu nebo složka sestavení."),
        QStringLiteral("soubor"));
    const QCommandLineOption ciselniky(QStringLiteral("ciselniky"),
                                       QStringLiteral("Soubor číselníků (dataCis.mdb) k vydání."),
                                       QStringLiteral("soubor"));
    const QCommandLineOption organizace(
        QStringLiteral("organizace"),
        QStringLiteral("Organizace (Varnov, Kelmina); výchozí je ta, pro kterou je sestaveno "
                       "(%1).")
            .arg(QStringLiteral(PARMEX_ORGANIZACE)),
        QStringLiteral("nazev"), QStringLiteral(PARMEX_ORGANIZACE));
    parser.addOptions({program, ciselniky, organizace});
    parser.process(aplikace);

    QTextStream vystup(stdout);
    QTextStream chyby(stderr);
    if (parser.positionalArguments().size() != 1) {
        chyby << "Zadejte jednu složku serveru (--help vypíše nápovědu)." << Qt::endl;
        return 2;
    }
    Vydani::Zadani zadani;
    zadani.slozkaServeru = parser.positionalArguments().constFirst();
    zadani.organizace = parser.value(organizace);
    zadani.program = parser.value(program);
    zadani.ciselniky = parser.value(ciselniky);
    try {
        for (const QString& radek : Vydani::vydej(zadani)) vystup << radek << Qt::endl;
    } catch (const Chyba& e) {
        chyby << "Nevydáno: " << e.zprava() << Qt::endl;
        return 1;
    }
    return 0;
}
