// Faults from outside the program: a folder where nothing can be written, a log that cannot
// be written, a data.mdb that is no database or is cut short, and a server that answers slowly.
// Each ends with a clear message, and nothing the user had is lost or overwritten.
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include "Databaze.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "SqlHodnoty.h"
#include "Stahovani.h"
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

// A server in this thread that sends its answer in pieces: the headers at once, then one
// piece of the body every intervalMs. With zastavitPo >= 0 it goes silent after that many
// pieces and never finishes.
class PomalyServer : public QObject {
public:
    PomalyServer(const QByteArray& telo, int kusu, int intervalMs, int zastavitPo = -1)
        : m_telo(telo), m_kusu(kusu), m_interval(intervalMs), m_zastavitPo(zastavitPo) {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, &PomalyServer::prijmi);
    }
    QString adresa() const {
        return QStringLiteral("http://127.0.0.1:%1/c.zip").arg(m_server.serverPort());
    }

private:
    void prijmi() {
        QTcpSocket* s = m_server.nextPendingConnection();
        connect(s, &QTcpSocket::readyRead, s, [this, s] {
            if (!s->readAll().contains("\r\n\r\n") || s->property("odpovida").toBool()) return;
            s->setProperty("odpovida", true);
            s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(m_telo.size()) +
                     "\r\nConnection: close\r\n\r\n");
            auto* casovac = new QTimer(s);
            auto kus = std::make_shared<int>(0);
            const int velikost = (m_telo.size() + m_kusu - 1) / m_kusu;
            connect(casovac, &QTimer::timeout, s, [=] {
                if (*kus == m_zastavitPo) {
                    casovac->stop();
                    return;
                }
                s->write(m_telo.mid(*kus * velikost, velikost));
                if (++*kus == m_kusu) {
                    casovac->stop();
                    s->disconnectFromHost();
                }
            });
            casovac->start(m_interval);
        });
    }

    QTcpServer m_server;
    QByteArray m_telo;
    int m_kusu, m_interval, m_zastavitPo;
};

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
        QCOMPARE(texty().size(), 1);  // the question only
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
        const QString pred = jedna(w.ADOConnection1,
                                   QStringLiteral("select group_concat(nazev) from C_jinePlatby"));
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
        QCOMPARE(jedna(w.ADOConnection1,
                       QStringLiteral("select group_concat(nazev) from C_jinePlatby")),
                 pred);
    }

    // A server that sends the archive slowly but steadily is waited for to the end; one that
    // stops in the middle is given up after the time-out, and the older file stays.
    void pomalyServer_data() {
        QTest::addColumn<int>("zastavitPo");
        QTest::addColumn<bool>("uspech");
        QTest::newRow("slow, steady") << -1 << true;
        QTest::newRow("stops halfway") << 5 << false;
    }
    void pomalyServer() {
        QFETCH(int, zastavitPo);
        QFETCH(bool, uspech);
        Pomocnik::PracovniSlozka s;
        {
            QFile f(QStringLiteral("c.zip"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("starsi");
        }
        QByteArray telo;
        for (int i = 0; i < 2000; ++i) telo += QByteArray::number(i) + ' ';
        // Ten pieces 150 ms apart: 1.5 s in all, each gap well inside the 600 ms time-out.
        PomalyServer server(telo, 10, 150, zastavitPo);
        QElapsedTimer cas;
        cas.start();
        try {
            Stahovani::stahniSoubor(server.adresa(), QStringLiteral("c.zip"), {}, 600);
            QVERIFY(uspech);
            QVERIFY(cas.elapsed() >= 1000);
            QCOMPARE(obsah(QStringLiteral("c.zip")), telo);
        } catch (const Chyba& e) {
            QVERIFY2(!uspech, qPrintable(e.zprava()));
            QCOMPARE(obsah(QStringLiteral("c.zip")), QByteArray("starsi"));
        }
    }
};

QTEST_MAIN(TestOdolnost)
#include "tst_odolnost.moc"
