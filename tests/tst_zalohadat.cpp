// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QtTest>

#include "Okna.h"
#include "Pomocnik.h"
#include "Zpravy.h"
#include "fMain.h"

// The "Soubor" menu's backup and restore: the member picks a folder or a file, confirms a
// restore, and the main window works on the restored register.
namespace {

QStringList polozkyMenu(TMain& w) {
    QStringList r;
    for (QAction* a : w.menuBar()->actions().first()->menu()->actions())
        r << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return r;
}

// Picks the path in the file dialog that opens next, or cancels it when cesta is empty.
void vyberVDialogu(const QString& cesta) {
    priOtevreni<QFileDialog>([cesta](QFileDialog* d) {
        if (cesta.isEmpty()) {
            d->reject();
            return;
        }
        d->selectFile(cesta);
        QMetaObject::invokeMethod(d, "accept");
    });
}

void spust(TMain& w, const char* akce) {
    w.findChild<QAction*>(QString::fromLatin1(akce))->trigger();
}

}  // namespace

class TestZalohaDat : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;
    QTemporaryDir* zalohy = nullptr;

    void clen(int id) {
        w->ADOConnection1.execute(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, aktivita) values "
                           "(%1, 'Jan', 'Novák', '%1', 100)")
                .arg(id));
    }

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }
    void init() {
        slozka = new Pomocnik::PracovniSlozka;
        w = Pomocnik::hlavniOknoSeVzorovymiCiselniky();
        w->AktualizaceZkontrolovana = true;
        zalohy = new QTemporaryDir;
        clen(1);
        Zpravy::vymazZaznamy();
    }
    void cleanup() {
        delete w;
        delete slozka;
        delete zalohy;
    }

    // The two commands follow the menu's own item.
    void polozkyVMenu() {
        QCOMPARE(polozkyMenu(*w),
                 (QStringList{"&Konec", "-", "&Zálohovat data...", "O&bnovit data ze zálohy..."}));
    }

    // A backup into the picked folder, named with the day, and the member is told where.
    void zalohovani() {
        vyberVDialogu(zalohy->path());
        spust(*w, "ZalohovatData");
        const QString zaloha = zalohy->filePath(QStringLiteral("data-zaloha-2027-03-01.mdb"));
        QVERIFY(QFileInfo::exists(zaloha));
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QCOMPARE(Zpravy::zaznamy().first().text,
                 QStringLiteral("Data byla zálohována do souboru:\r") +
                     QDir::toNativeSeparators(zaloha));
        // Cancelled: nothing made, nothing said.
        Zpravy::vymazZaznamy();
        vyberVDialogu(QString());
        spust(*w, "ZalohovatData");
        QCOMPARE(QDir(zalohy->path()).entryList(QDir::Files).size(), 1);
        QCOMPARE(Zpravy::zaznamy().size(), 0);
    }

    // Restoring asks first; "Ne" changes nothing, "Ano" brings the backup's data, keeps the
    // replaced register beside it and shows the restored counts.
    void obnoveni() {
        vyberVDialogu(zalohy->path());
        spust(*w, "ZalohovatData");
        const QString zaloha = zalohy->filePath(QStringLiteral("data-zaloha-2027-03-01.mdb"));
        clen(2);
        w->ADOConnection1.execute(QStringLiteral(
            "insert into HistoriePlatebHead (cislo_platby, dat_zmena, rok, ucet, vs, ks, ss, "
            "castka, id_usr) values (1, now(), 2027, 'u', '2', '0127', '01', 10, 2)"));
        w->InfoRefresh();
        QCOMPARE(w->LabelPlatby->text(), QStringLiteral("1"));

        Zpravy::vymazZaznamy();
        Zpravy::pridejOdpoved(1);
        vyberVDialogu(zaloha);
        spust(*w, "ObnovitData");
        QCOMPARE(Zpravy::zaznamy().size(), 1);
        QCOMPARE(Zpravy::zaznamy().first().typTlacitek, 1);
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select count(*) from Uzivatele")),
                 QStringLiteral("2"));

        Zpravy::vymazZaznamy();
        Zpravy::pridejOdpoved(0);
        Zpravy::pridejOdpoved(0);
        vyberVDialogu(zaloha);
        spust(*w, "ObnovitData");
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 2);
        QVERIFY(z[0].text.startsWith(QStringLiteral(
            "Opravdu nahradit všechna současná data (uživatele a historii plateb)")));
        const QString puvodni = slozka->cesta(QStringLiteral("data.mdb.pred-obnovou-2027-03-01"));
        QCOMPARE(z[1].text, QStringLiteral("Data byla obnovena ze zálohy. Původní data jsou "
                                           "uložena v souboru:\r") +
                                QDir::toNativeSeparators(puvodni));
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select count(*) from Uzivatele")),
                 QStringLiteral("1"));
        QCOMPARE(w->LabelPlatby->text(), QStringLiteral("0"));
        QVERIFY(QFileInfo(puvodni).isFile());
        // The program goes on working on the restored register.
        clen(3);
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select count(*) from Uzivatele")),
                 QStringLiteral("2"));
    }

    // A file that is no backup of the program is refused before anything is asked.
    void ciziSouborOdmitnut() {
        const QString cizi = zalohy->filePath(QStringLiteral("dopis.mdb"));
        QFile f(cizi);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Toto není databáze.\n");
        f.close();
        vyberVDialogu(cizi);
        spust(*w, "ObnovitData");
        const auto z = Zpravy::zaznamy();
        QCOMPARE(z.size(), 1);
        QCOMPARE(z[0].typZpravy, 2);
        QCOMPARE(z[0].text, QStringLiteral("Ze souboru \"") + QDir::toNativeSeparators(cizi) +
                                QStringLiteral("\" nelze data obnovit:\rSoubor není databází "
                                               "programu (nelze ho otevřít)."));
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select count(*) from Uzivatele")),
                 QStringLiteral("1"));
    }
};

QTEST_MAIN(TestZalohaDat)
#include "tst_zalohadat.moc"
