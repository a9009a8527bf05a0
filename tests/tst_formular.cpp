// SPDX-License-Identifier: GPL-3.0-or-later
#include <QClipboard>
#include <QPushButton>
#include <QtTest>

#include "Hodiny.h"
#include "Pomocnik.h"
#include "Shell.h"
#include "TiskFormulare.h"
#include "Zpravy.h"
#include "fFormularPlateb.h"
#include "fMain.h"
#include "fQrPlatba.h"

namespace {
void vypln(TFormularPlateb& f, const QString& ucet = QStringLiteral("123456789/0800")) {
    f.CisloUctu->setText(ucet);
    f.VS->setText(QStringLiteral("123"));
    f.KS->setText(QStringLiteral("0127"));
    f.SS->setText(QStringLiteral("051207"));
    f.Castka->setText(QStringLiteral("370"));
    f.ecislo->setText(QStringLiteral("123"));
    f.jmeno->setText(QStringLiteral("Jan"));
    f.prijmeni->setText(QStringLiteral("Novák"));
    f.dat_nar->setText(QStringLiteral("01.02.1980"));
}

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
}  // namespace

class TestFormular : public QObject {
    Q_OBJECT
    QStringList otevreno;

private slots:
    void initTestCase() {
        Pomocnik::pripravProstredi();
        Shell::nastavOtevirani([this](const QString& s) { otevreno << s; });
    }
    void init() { otevreno.clear(); }

    // Entering a field copies it; the account loses its bank code; the highlight matches.
    void schranka_data() {
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("ucet");
        QTest::addColumn<QString>("zkopirovano");
        QTest::newRow("KS") << "KS"
                            << "123456789/0800"
                            << "0127";
        QTest::newRow("Castka") << "Castka"
                                << "123456789/0800"
                                << "370";
        QTest::newRow("account") << "CisloUctu"
                                 << "123456789/0800"
                                 << "123456789";
        QTest::newRow("account with prefix") << "CisloUctu"
                                             << "19-2000145399/0800"
                                             << "19-2000145399";
        QTest::newRow("account without bank") << "CisloUctu"
                                              << "123456789"
                                              << "123456789";
    }
    void schranka() {
        QFETCH(QString, pole);
        QFETCH(QString, ucet);
        QFETCH(QString, zkopirovano);
        Pomocnik::PracovniSlozka s;
        TMain w;
        TFormularPlateb f(&w);
        vypln(f, ucet);
        QGuiApplication::clipboard()->setText(QStringLiteral("před"));
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(f.focusWidget(), f.Konec);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("před"));
        auto* e = f.findChild<TPoleSchranky*>(pole);
        QVERIFY(e);
        e->setFocus(Qt::TabFocusReason);
        QCOMPARE(QGuiApplication::clipboard()->text(), zkopirovano);
        QCOMPARE(e->selectedText(), zkopirovano);
        // A click into the focused field only highlights again; the clipboard is not written.
        QGuiApplication::clipboard()->setText(QStringLiteral("jinde"));
        QTest::mouseClick(e, Qt::LeftButton, {}, QPoint(2, e->height() / 2));
        QCOMPARE(e->selectedText(), zkopirovano);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("jinde"));
    }

    // Returning to the window (from the bank's page) gives the focus back to the field it had,
    // but the clipboard keeps what the user copied there. A click into another field copies it.
    void schrankaJenPriVstupu() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        TFormularPlateb f(&w);
        vypln(f);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.KS->setFocus(Qt::TabFocusReason);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0127"));
        QWidget banka;
        banka.show();
        banka.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&banka));
        QGuiApplication::clipboard()->setText(QStringLiteral("z banky"));
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QCOMPARE(QApplication::focusWidget(), f.KS);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("z banky"));
        QTest::mouseClick(f.SS, Qt::LeftButton, {}, QPoint(2, f.SS->height() / 2));
        QCOMPARE(QApplication::focusWidget(), f.SS);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("051207"));
        QCOMPARE(f.SS->selectedText(), QStringLiteral("051207"));
    }

    void poradiTabulatoru() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        TFormularPlateb f(&w);
        vypln(f);
        f.show();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QStringList poradi;
        for (int i = 0; i < 6; ++i) {
            poradi << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(poradi, (QStringList{"Konec", "Tisk", "Castka", "CisloUctu", "KS", "SS"}));
    }

    // The printed sheet, byte for byte, and printed twice.
    void tisk() {
        Pomocnik::PracovniSlozka s;
        Hodiny::nastav(QDateTime(QDate(2026, 12, 9), QTime(10, 11, 12)));
        TMain w;
        w.ADOConnection1.execute(QStringLiteral(
            "insert into Nastaveni (ucet, mesto) values ('123456789/0800', 'Varnov')"));
        TFormularPlateb f(&w);
        vypln(f);
        f.Tisk->click();
        // The sheet's own 81 lines, and the row of the QR code above the last three lines (this
        // account fails the check, so the row says why there is no code).
        QByteArray vzor = obsah(QStringLiteral(PARMEX_TEST_DATA "/form_vzor.html"));
        QVERIFY(!vzor.isEmpty());
        const TQrUdaje udaje{"123456789/0800", "370", "123",   "0127",
                             "051207",         "Jan", "Novák", "123"};
        QVERIFY(SestavSpd(udaje).isEmpty());
        QList<QByteArray> radky = vzor.split('\n');
        radky.insert(75, DokumentFormulare({QStringLiteral("<TR>"),
                                            QStringLiteral("<TD colspan=\"13\">") +
                                                QrHtmlBlok(udaje) + QStringLiteral("</TD>"),
                                            QStringLiteral("</TR>")})
                             .chopped(1));
        vzor = radky.join('\n');
        QCOMPARE(obsah(s.cesta(QStringLiteral("form.html"))), vzor);
        QVERIFY(vzor.contains('\xE8'));  // "č" in Windows-1250
        QCOMPARE(otevreno, QStringList{QStringLiteral("form.html")});
        f.Castka->setText(QStringLiteral("400"));
        f.Tisk->click();
        QVERIFY(obsah(s.cesta(QStringLiteral("form.html"))).contains("400 K\xE8"));
        QCOMPARE(otevreno.size(), 2);
    }

    // When no program opens the sheet, a message gives its full path; a program that takes it
    // gets the full path and no message follows.
    void tiskBezProgramu_data() {
        QTest::addColumn<QByteArray>("otevirac");
        QTest::addColumn<bool>("zprava");
        QTest::newRow("no program for the file") << QByteArray("#!/bin/sh\nexit 3\n") << true;
        QTest::newRow("opener cannot run") << QByteArray("nesmysl\n") << true;
        QTest::newRow("opened")
            << QByteArray("#!/bin/sh\nprintf '%s' \"$1\" > \"$(dirname \"$0\")/otevreno.txt\"\n")
            << false;
    }
    void tiskBezProgramu() {
        QFETCH(QByteArray, otevirac);
        QFETCH(bool, zprava);
        Pomocnik::PracovniSlozka s;
        TMain w;
        const QString program = s.cesta(QStringLiteral("otevirac"));
        {
            QFile f(program);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(otevirac);
        }
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        Shell::nastavOtevirani(nullptr);
        Shell::nastavOtevirac(program);
        TFormularPlateb f(&w);
        vypln(f);
        f.Tisk->click();
        const QString cesta = s.cesta(QStringLiteral("form.html"));
        if (zprava) {
            QTRY_COMPARE_WITH_TIMEOUT(Zpravy::zaznamy().size(), 1, 20000);
            QCOMPARE(Zpravy::zaznamy()[0].typZpravy, 2);
            QCOMPARE(Zpravy::zaznamy()[0].text,
                     QStringLiteral("Formulář platby se nepodařilo otevřít, v systému není "
                                    "program, který by jej zobrazil.\rSoubor \"") +
                         cesta +
                         QStringLiteral("\" otevřete prosím v internetovém prohlížeči a "
                                        "vytiskněte z něj."));
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(obsah(s.cesta(QStringLiteral("otevreno.txt"))),
                                      cesta.toUtf8(), 20000);
            QTest::qWait(200);
            QCOMPARE(Zpravy::zaznamy().size(), 0);
        }
        Shell::nastavOtevirac(QString());
        Shell::nastavOtevirani([this](const QString& s) { otevreno << s; });
    }

    // With a valid account the form shows the code and the sheet embeds the same one.
    void qrKod() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        TFormularPlateb f(&w);
        vypln(f, QStringLiteral("19-2000145399/0800"));
        f.show();
        const TQrUdaje udaje{
            "19-2000145399/0800", "370", "123", "0127", "051207", "Jan", "Novák", "123"};
        const QString spd = SestavSpd(udaje);
        QVERIFY(spd.startsWith(
            QStringLiteral("SPD*1.0*ACC:CZ6508000000192000145399*AM:370.00*CC:CZK*")));
        QCOMPARE(f.QrPlatba->spd(), spd);
        f.Tisk->click();
        const QByteArray html = obsah(s.cesta(QStringLiteral("form.html")));
        QVERIFY(html.contains(QrPngDataUri(spd, 8).toLatin1()));
    }

    void tiskNelzeVytvorit() {
        Pomocnik::PracovniSlozka s;
        TMain w;
        QDir().mkdir(s.cesta(QStringLiteral("form.html")));
        TFormularPlateb f(&w);
        vypln(f);
        f.Tisk->click();
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].text,
                 QStringLiteral(
                     "Soubor \"form\" nebylo možno vytvořit/přepsat, pravděpodobně je otevřen "
                     "jiným programem nebo je problém s oprávněním ve složce programu!"));
        QVERIFY(otevreno.isEmpty());
    }

    // Values are printed as typed: markup characters are escaped, letters outside the code
    // page become character references.
    void hodnotyJakoText() {
        TUdajePlatby p;
        p.jmeno = QStringLiteral("<b>");
        p.prijmeni = QStringLiteral("Novák & syn");
        p.Castka = QStringLiteral("370");
        const QStringList r =
            RadkyFormulare(p, QStringLiteral("Ústí \"nad\""), QStringLiteral("x"));
        QCOMPARE(r.size(), 81);
        QVERIFY(r[36].endsWith(QStringLiteral(">&lt;b&gt; Novák &amp; syn</TD>")));
        QVERIFY(r[31].contains(QStringLiteral("MO Ústí &quot;nad&quot;</TD>")));
        const QByteArray b = DokumentFormulare({QStringLiteral("Łódź ✓"), QStringLiteral("😀 €")});
        QCOMPARE(b, QByteArray("\xA3\xF3"
                               "d\x9F &#10003;\r\n&#128512; \x80\r\n"));
    }
};

QTEST_MAIN(TestFormular)
#include "tst_formular.moc"
