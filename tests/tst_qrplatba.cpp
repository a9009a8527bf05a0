// SPDX-License-Identifier: GPL-3.0-or-later
#include <QLabel>
#include <QtTest>

#include "Pomocnik.h"
#include "QrCteni.h"
#include "fQrPlatba.h"

// The QR payment code on the payment form (the payment text and the picture are the core's, see
// tests/core/tst_qrkod.cpp).
class TestQrPlatba : public QObject {
    Q_OBJECT

    QrCteni::Ctecka m_ctecka;

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void widget() {
        TQrPlatba w;
        auto* obrazek = w.findChild<QLabel*>(QStringLiteral("QrObrazek"));
        auto* popis = w.findChild<QLabel*>(QStringLiteral("QrPopis"));
        auto* duvod = w.findChild<QLabel*>(QStringLiteral("QrDuvod"));
        QVERIFY(obrazek && popis && duvod);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));

        TQrUdaje spatny = QrCteni::znamaPlatba();
        spatny.ucet = QStringLiteral("123456789/0800");
        w.nastav(spatny);
        QCOMPARE(w.spd(), QString());
        QVERIFY(obrazek->isHidden() && popis->isHidden() && !duvod->isHidden());
        QCOMPARE(duvod->text(),
                 QStringLiteral("QR kód nelze vytvořit: číslo účtu 123456789/0800 není platné."));

        w.nastav(QrCteni::znamaPlatba());
        QCOMPARE(w.spd(), QrCteni::znamySpd);
        QCOMPARE(w.duvod(), QString());
        QVERIFY(!obrazek->isHidden() && !popis->isHidden() && duvod->isHidden());
        QCOMPARE(popis->text(), QStringLiteral("QR platba"));
        QVERIFY(popis->geometry().top() >= obrazek->geometry().bottom());

        // What the member's phone sees: the form as drawn on screen.
        if (!m_ctecka.je()) QSKIP("zbarimg (zbar-tools) is not installed");
        QCOMPARE(m_ctecka.precti(w.grab().toImage(), QStringLiteral("formular.png")),
                 QrCteni::znamySpd);
    }
};

QTEST_MAIN(TestQrPlatba)
#include "tst_qrplatba.moc"
