// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside the program: a folder where nothing can be written, a log that cannot
// be written, a data.mdb that cannot be created or is cut short, a zero character in a text.
// Each ends with a clear message, and nothing the user had is lost or overwritten.
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include "Databaze.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "SqlHodnoty.h"
#include "StringGridNew.h"
#include "VzorovaData.h"
#include "Zpravy.h"
#include "fFormularPlateb.h"
#include "fMain.h"
#include "fNovaPlatba.h"
#include "uAllYouNeed.h"

namespace {

QString jedna(db::Connection& c, const QString& sql) {
    db::Query q(&c);
    q.setSql(sql);
    q.open();
    return q.field(0).asString();
}

QByteArray obsah(const QString& soubor) {
    QFile f(soubor);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList texty() {
    QStringList r;
    for (const auto& z : Zpravy::zaznamy()) r << z.text;
    return r;
}

}  // namespace

class TestOdolnost : public QObject {
    Q_OBJECT

    // The program with the sample code lists and one member.
    static void pripravDatabazi() {
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        TMain w;
        VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
        w.ImportCiselniku(QStringLiteral("1"));
        w.ADOConnection1.execute(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                           "values (1, 'Jan', 'Novák', '123', '1980-02-01', 100)"));
        QFile::remove(QStringLiteral("dataCis.mdb"));
        Zpravy::vymazZaznamy();
    }

    // Saves a payment of one membership through the dialog; the payment form is closed.
    static void ulozPlatbu(TMain& w) {
        TNovaPlatba d(&w);
        d.ecislo->addItem(QStringLiteral("123"), qlonglong(1));
        d.ecislo->setCurrentIndex(0);
        d.NazevClenstvi->setText(QStringLiteral("Členský příspěvek – dospělí"));
        d.CenaClenstvi->setText(QStringLiteral("1200"));
        d.IdClenstvi = d.e_indexClenstvi = QStringLiteral("1");
        d.DopoctiCelkovouCastku();
        QTimer zavri;
        QObject::connect(&zavri, &QTimer::timeout, [] {
            if (auto* f = qobject_cast<TFormularPlateb*>(QApplication::activeModalWidget()))
                f->reject();
        });
        zavri.start(0);
        Zpravy::pridejOdpoved(0);
        d.UlozitClick();
    }

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    // data.mdb cannot be created where the program lies: a clear message and the program ends.
    void databazeNelzeVytvorit() {
        Pomocnik::PracovniSlozka s;
        QVERIFY(QDir().mkdir(QStringLiteral("data.mdb")));
        TMain w;
        QVERIFY(ProgramKonci());
        const QStringList z = texty();
        QCOMPARE(z.size(), 1);
        QVERIFY2(z[0].startsWith(QStringLiteral("Nastala chyba při otevření DB: ")),
                 qPrintable(z[0]));
        QVERIFY(QFileInfo(QStringLiteral("data.mdb")).isDir());
    }

    // Nothing can be written beside data.mdb (its journal cannot be created): saving a payment
    // and importing code lists fail with their own messages and change nothing; once the folder
    // is writable again the same save succeeds. With Error.log unwritable too the user still
    // sees the save's message.
    void slozkaBezZapisu_data() {
        QTest::addColumn<bool>("logBlokovan");
        QTest::newRow("log writable") << false;
        QTest::newRow("log blocked") << true;
    }
    void slozkaBezZapisu() {
        QFETCH(bool, logBlokovan);
        Pomocnik::PracovniSlozka s;
        pripravDatabazi();
        TMain w;
        QVERIFY(!ProgramKonci());
        w.rok = QStringLiteral("2027");  // as the first activation sets it
        const QString platebPred =
            jedna(w.ADOConnection1, QStringLiteral("select count(*) from HistoriePlateb"));
        QVERIFY(QDir().mkdir(QStringLiteral("data.mdb-journal")));
        if (logBlokovan) QVERIFY(QDir().mkdir(QStringLiteral("Error.log")));

        ulozPlatbu(w);
        QStringList z = texty();
        QCOMPARE(z.size(), 2);  // the question, then the failure
        QVERIFY2(z[1].startsWith(QStringLiteral("Došlo k neočekávané výjimce. [")),
                 qPrintable(z[1]));
        QCOMPARE(jedna(w.ADOConnection1, QStringLiteral("select count(*) from HistoriePlateb")),
                 platebPred);
        QCOMPARE(jedna(w.ADOConnection1, QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("0"));
        if (!logBlokovan) QVERIFY2(!s.log().isEmpty(), "the failure was not logged");

        Zpravy::vymazZaznamy();
        VzorovaData::vytvor(QStringLiteral("dataCis.mdb"), 2027, 5);
        const QString radkuPred =
            jedna(w.ADOConnection1, QStringLiteral("select count(*) from ClenskePrispevky"));
        w.ImportCiselniku(QStringLiteral("2"));
        z = texty();
        QCOMPARE(z.size(), 1);
        QVERIFY2(z[0].startsWith(QStringLiteral("Při importu nových číselníků došlo k")),
                 qPrintable(z[0]));
        QCOMPARE(jedna(w.ADOConnection1, QStringLiteral("select count(*) from ClenskePrispevky")),
                 radkuPred);
        QCOMPARE(jedna(w.ADOConnection1, QStringLiteral("select verzecis from Nastaveni")),
                 QStringLiteral("1"));

        QVERIFY(QDir().rmdir(QStringLiteral("data.mdb-journal")));
        Zpravy::vymazZaznamy();
        ulozPlatbu(w);
        QVERIFY2(texty().size() == 1,
                 qPrintable(texty().join(QLatin1Char('\n'))));  // the question only
        QCOMPARE(jedna(w.ADOConnection1, QStringLiteral("select count(*) from HistoriePlatebHead")),
                 QStringLiteral("1"));
    }

    // A data.mdb that is cut short (a copy broken off while written, a full disk): a clear
    // message, the program ends, and the file keeps every byte it had.
    void zkracenaDatabaze_data() {
        QTest::addColumn<double>("podil");
        QTest::newRow("first page only") << 0.0;
        QTest::newRow("half") << 0.5;
        QTest::newRow("one page missing") << 1.0;
    }
    void zkracenaDatabaze() {
        QFETCH(double, podil);
        Pomocnik::PracovniSlozka s;
        pripravDatabazi();
        QByteArray cela = obsah(QStringLiteral("data.mdb"));
        QVERIFY(cela.size() > 8 * 4096);
        const int strana = 4096;
        int delka = podil == 0.0   ? strana
                    : podil == 1.0 ? cela.size() - strana
                                   : int(cela.size() * podil) / strana * strana;
        const QByteArray zkracena = cela.left(delka);
        {
            QFile f(QStringLiteral("data.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(zkracena);
        }
        TMain w;
        QVERIFY(ProgramKonci());
        const QStringList z = texty();
        QVERIFY(!z.isEmpty());
        QVERIFY2(z.last().contains(QStringLiteral("malformed")) ||
                     z.last().contains(QStringLiteral("poškozen")),
                 qPrintable(z.join(QLatin1Char('\n'))));
        QCOMPARE(obsah(QStringLiteral("data.mdb")), zkracena);
    }

    // A zero character would end the statement inside its literal: the quoting helpers refuse
    // it, and an import meeting one in the code-list file stores nothing.
    void nulovyZnak() {
        const QString sNulou = QStringLiteral("Rybářský řád") + QChar(0) + QStringLiteral("'; x");
        QVERIFY_THROWS_EXCEPTION(Chyba, Sql::text(sNulou));
        QVERIFY_THROWS_EXCEPTION(Chyba, Sql::textNeboNull(sNulou));
        QVERIFY_THROWS_EXCEPTION(Chyba, Sql::identifikator(sNulou));

        Pomocnik::PracovniSlozka s;
        pripravDatabazi();
        TMain w;
        const QString pred =
            jedna(w.ADOConnection1, QStringLiteral("select group_concat(nazev) from C_jinePlatby"));
        VzorovaData::vytvor(QStringLiteral("dataCis.mdb"));
        {
            db::Connection c;
            c.open(QStringLiteral("dataCis.mdb"), db::Connection::Rezim::Vyhradni);
            c.execute(QStringLiteral("update C_jinePlatby set nazev = nazev || char(0) || 'x'"));
        }
        w.ImportCiselniku(QStringLiteral("2"));
        const QStringList z = texty();
        QCOMPARE(z.size(), 1);
        QVERIFY2(z[0].contains(QStringLiteral("nulový znak")), qPrintable(z[0]));
        QCOMPARE(
            jedna(w.ADOConnection1, QStringLiteral("select group_concat(nazev) from C_jinePlatby")),
            pred);
    }
};

QTEST_MAIN(TestOdolnost)
#include "tst_odolnost.moc"
