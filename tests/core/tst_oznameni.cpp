// SPDX-License-Identifier: GPL-3.0-or-later
#include <QRandomGenerator>
#include <QtTest>

#include "Aktualizace.h"
#include "Jadro.h"
#include "Obnovnik.h"
#include "Oznameni.h"

// The update check's plain parts: reading the announcement verze.ini, comparing versions and the
// updater's command lines.
class TestOznameni : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Jadro::pripravProstredi(); }

    // ------------------------------------------------------------ reading the announcement

    void rozeber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stav");
        QTest::addColumn<QStringList>("hodnoty");  // VerzeProg .. VerzeCis
        const QString hlavicka = QStringLiteral("[parmex-rozu]");
        QTest::newRow("seven lines, CR LF")
            << QString::fromUtf8(oznameni("1.0.3.5", "17")) << int(Aktualizace::Oznameni::Precteno)
            << QStringList{"1.0.3.5",    "01.12.2026",    "program.zip",
                           "01.12.2026", "ciselniky.zip", "17"};
        QTest::newRow("capitals lowered, LF and CR mixed")
            << "[PARMEX-ROZU]\nVerzeProg=1.0.3.5\rsouborPROG=Program.ZIP\r\nSOUBORCIS=Čís."
               "ZIP\n\n\n\n"
            << int(Aktualizace::Oznameni::Precteno)
            << QStringList{"1.0.3.5", "", "program.zip", "", "Čís.zip", ""};
        QTest::newRow("one character skipped, nothing trimmed")
            << hlavicka + "\nsouborprog: Program.ZIP\nx verzecis=17 \nverzeprog\n\n\n\n"
            << int(Aktualizace::Oznameni::Precteno)
            << QStringList{"", "", " program.zip", "", "", "17 "};
        QTest::newRow("last line wins, the header line is not read")
            << "[parmex-rozu]\nverzecis=1\nverzecis=2\n\n\n\n\n"
            << int(Aktualizace::Oznameni::Precteno) << QStringList{"", "", "", "", "", "2"};
        QTest::newRow("six lines and a final line break")
            << hlavicka + "\na\nb\nc\nd\ne\n"
            << int(Aktualizace::Oznameni::MaloRadku) << QStringList{"", "", "", "", "", ""};
        QTest::newRow("empty") << QString() << int(Aktualizace::Oznameni::MaloRadku)
                               << QStringList{"", "", "", "", "", ""};
        QTest::newRow("header followed by a blank")
            << "[parmex-rozu] \nverzecis=1\n\n\n\n\n\n"
            << int(Aktualizace::Oznameni::SpatnaHlavicka) << QStringList{"", "", "", "", "", ""};
    }
    void rozeber() {
        QFETCH(QString, text);
        QFETCH(int, stav);
        QFETCH(QStringList, hodnoty);
        TVerzeNaWebu v;
        QCOMPARE(int(Aktualizace::rozeber(text, v)), stav);
        QCOMPARE((QStringList{v.VerzeProg, v.DatumProg, v.SouborProg, v.DatumCis, v.SouborCis,
                              v.VerzeCis}),
                 hodnoty);
    }

    // Whatever the server sends, reading it ends with one of the three results.
    void rozeberLibovolnyText() {
        QRandomGenerator nahoda(20271201);
        const QString klice = QStringLiteral("verzeprogdatumsouborcis=[]-\r\n");
        for (int kolo = 0; kolo < 300; ++kolo) {
            QString t;
            const int delka = int(nahoda.bounded(kolo < 290 ? 400 : 200000));
            for (int i = 0; i < delka; ++i)
                t += nahoda.bounded(2) ? klice.at(int(nahoda.bounded(klice.size())))
                                       : QChar(char16_t(nahoda.bounded(1, 0x3000)));
            if (kolo % 2) t.prepend(QStringLiteral("[parmex-rozu]\n"));
            TVerzeNaWebu v;
            Aktualizace::rozeber(t, v);
        }
        TVerzeNaWebu v;
        QCOMPARE(Aktualizace::rozeber(QStringLiteral("[parmex-rozu]") +
                                          QString(500000, QLatin1Char('\n')) +
                                          QStringLiteral("verzecis"),
                                      v),
                 Aktualizace::Oznameni::Precteno);
        QCOMPARE(v.VerzeCis, QString());
    }

    // The announcement's bytes: UTF-8 (with or without a byte order mark), else Windows-1250 as
    // the program's other files; never Latin-1, which garbles a Czech archive name. The header
    // is still the first line after a byte order mark.
    void textOznameni_data() {
        QTest::addColumn<QByteArray>("bajty");
        QTest::addColumn<QString>("souborCis");
        const QString cesky = QStringLiteral("číselníky-říjen.zip");
        QTest::newRow("ASCII") << oznameni("1.0.4.30", "2") << QStringLiteral("ciselniky.zip");
        QTest::newRow("UTF-8") << oznameni("1.0.4.30", "2", QStringLiteral("p.zip"), cesky)
                               << cesky;
        QTest::newRow("UTF-8 with a byte order mark")
            << QByteArray("\xEF\xBB\xBF") +
                   oznameni("1.0.4.30", "2", QStringLiteral("p.zip"), cesky)
            << cesky;
        QTest::newRow("Windows-1250")
            << QByteArray(
                   "[parmex-rozu]\r\nverzeprog=1.0.4.30\r\ndatumprog=1.12.2026\r\n"
                   "souborprog=p.zip\r\ndatumcis=1.12.2026\r\nsouborcis="
                   "\xE8\xEDseln\xEDky-\xF8\xEDjen.zip\r\nverzecis=2\r\n")
            << cesky;
    }
    void textOznameni() {
        QFETCH(QByteArray, bajty);
        QFETCH(QString, souborCis);
        TVerzeNaWebu v;
        QCOMPARE(Aktualizace::rozeber(Aktualizace::textOznameni(bajty), v),
                 Aktualizace::Oznameni::Precteno);
        QCOMPARE(v.SouborCis, souborCis);
        QCOMPARE(v.VerzeCis, QStringLiteral("2"));
    }

    void celeCislo_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cislo");
        QTest::newRow("number") << "17" << 17;
        QTest::newRow("blank after") << "17 " << 0;
        QTest::newRow("blank before") << " 17" << 17;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "1a" << 0;
        QTest::newRow("too big") << "99999999999" << 0;
    }
    void celeCislo() {
        QFETCH(QString, text);
        QFETCH(int, cislo);
        QCOMPARE(Aktualizace::celeCislo(text), cislo);
    }

    // ------------------------------------------------------------ comparing versions

    void porovnej_data() {
        QTest::addColumn<QString>("v1");
        QTest::addColumn<QString>("v2");
        QTest::addColumn<int>("vysledek");
        QTest::newRow("fourth part as a number") << "1.0.3.10"
                                                 << "1.0.3.9" << 1;
        QTest::newRow("third part decides") << "1.0.3.10"
                                            << "1.0.4.0" << 2;
        QTest::newRow("same text") << "1.0.3.5"
                                   << "1.0.3.5" << 0;
        QTest::newRow("two parts are first and fourth") << "1.2"
                                                        << "1.0.0.2" << 0;
        QTest::newRow("dots after the third joined") << "1.2.3.4.5"
                                                     << "1.2.3.45" << 0;
        QTest::newRow("joined rest is higher") << "1.2.3.4.5"
                                               << "1.2.3.44" << 1;
        QTest::newRow("blanks and control characters trimmed") << " \t1.0.4.31\r"
                                                               << "1.0.4.30" << 1;
        QTest::newRow("no number counts 0") << "a.b.c.d"
                                            << "0.0.0.0" << 0;
        QTest::newRow("too big counts 0") << "99999999999.0.0.0"
                                          << "1.0.0.0" << 2;
        QTest::newRow("empty is the own version") << ""
                                                  << "1.0.4.30" << 0;
        QTest::newRow("own version against an older") << "1.0.4.29"
                                                      << "" << 2;
    }
    void porovnej() {
        QFETCH(QString, v1);
        QFETCH(QString, v2);
        QFETCH(int, vysledek);
        QCOMPARE(int(Aktualizace::porovnej(v1, v2, QStringLiteral("1.0.4.30"))), vysledek);
        // Swapped arguments give the other answer.
        QCOMPARE(int(Aktualizace::porovnej(v2, v1, QStringLiteral("1.0.4.30"))),
                 vysledek == 0 ? 0 : 3 - vysledek);
    }

    // ------------------------------------------------------------ the updater's command lines

    void prikazoveRadky() {
        const QString program = Aktualizace::parametryProgramu(QStringLiteral("http://h/parmex"),
                                                               QStringLiteral("nový program.zip"),
                                                               QStringLiteral("Platby"));
        QCOMPARE(program, QStringLiteral("\"http://h/parmex/nový program.zip\" \"tmp\\\" "
                                         "\"nový program.zip\" \"Platby\" \"Platby\""));
        // The updater reads it back whole, the backslash before the closing quote included.
        QCOMPARE(obnovnik::rozdelPrikazovouRadku(program),
                 (QStringList{"http://h/parmex/nový program.zip", "tmp\\", "nový program.zip",
                              "Platby", "Platby"}));

        const QString cis = Aktualizace::prikazCiselniku(
            QStringLiteral("Obnovnik"), QStringLiteral("http://h/parmex"),
            QStringLiteral("cis.zip"), QStringLiteral("/moje složka/dataCis.mdb"));
        QCOMPARE(cis, QStringLiteral("Obnovnik \"http://h/parmex/cis.zip\" \"tmp\\\" \"cis.zip\" "
                                     "\"/moje složka/dataCis.mdb\""));
        QCOMPARE(obnovnik::rozdelPrikazovouRadku(cis),
                 (QStringList{"Obnovnik", "http://h/parmex/cis.zip", "tmp\\", "cis.zip",
                              "/moje složka/dataCis.mdb"}));
    }

    void nazevArchivu_data() {
        QTest::addColumn<QString>("nazev");
        QTest::addColumn<bool>("platny");
        QTest::newRow("plain") << "ciselniky.zip" << true;
        QTest::newRow("with a blank") << "nový program.zip" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blank") << " " << false;
        QTest::newRow("up a folder") << "../data.mdb" << false;
        QTest::newRow("backslash") << "..\\data.mdb" << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("quote") << "a\".zip" << false;
    }
    void nazevArchivu() {
        QFETCH(QString, nazev);
        QFETCH(bool, platny);
        QCOMPARE(Aktualizace::platnyNazevArchivu(nazev), platny);
    }
};

int main(int argc, char** argv) {
    QCoreApplication aplikace(argc, argv);
    TestOznameni t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_oznameni.moc"
