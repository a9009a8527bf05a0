#include <QtTest>

#include "Databaze.h"
#include "Pomocnik.h"

class TestDatabaze : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The database template is embedded in the static application library, which
        // registers it only when the main window is made; this test makes none.
        Q_INIT_RESOURCE(parmex);
        Pomocnik::pripravProstredi();
    }
    void zaklad() {
        Pomocnik::PracovniSlozka s;
        QFile::copy(QStringLiteral(":/EXEFILE/dataDB"), QStringLiteral("data.mdb"));
        QFile(QStringLiteral("data.mdb")).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        db::Connection c;
        c.open(QStringLiteral("data.mdb"), db::Connection::Rezim::Vyhradni);
        c.execute(QStringLiteral("create table t (a numeric(5), b varchar(10))"));
        c.execute(QStringLiteral("insert into t values (1, 'x')"));
        db::Query q(&c);
        q.setSql(QStringLiteral("select * from t"));
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.fieldByName(QStringLiteral("B")).asString(), QStringLiteral("x"));
    }
};

QTEST_MAIN(TestDatabaze)
#include "tst_databaze.moc"
