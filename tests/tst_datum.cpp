// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCalendarWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "DBGridNew.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "Pomocnik.h"
#include "Zpravy.h"
#include "fMain.h"
#include "fUzivatele.h"
#include "fUzivateleDetNew.h"

// Dates as users type them: reading a typed date in the system's formats (the Czech ones where
// the system has none), and the member dialog's birth date typed, picked from the calendar and
// refused when it cannot be a birth date.
namespace {

const QDate kPrvniUnor(1980, 2, 1);

QString ulozeneNarozeni(const QString& ecislo) {
    db::Query q(&Main->ADOConnection1);
    q.setSql(QStringLiteral("select dat_nar from Uzivatele where ecislo = '%1'").arg(ecislo));
    q.open();
    if (q.recordCount() == 0) return QStringLiteral("<none>");
    return q.field(0).isNull() ? QStringLiteral("<null>")
                               : q.field(0).asDateTime().date().toString(Qt::ISODate);
}

QStringList texty() {
    QStringList r;
    for (const Zpravy::Zaznam& z : Zpravy::zaznamy()) r << z.text;
    return r;
}

}  // namespace

class TestDatum : public QObject {
    Q_OBJECT
    Pomocnik::PracovniSlozka* slozka = nullptr;
    TMain* w = nullptr;
    TUzivatele* seznam = nullptr;

    // The member dialog for a new member, shown and active, with the names filled in.
    TUzivateleDetNew* novyClen() {
        auto* d = new TUzivateleDetNew(seznam);
        d->SpustenJako = sj_novy;
        d->ecislo->setText(QStringLiteral("777"));
        d->jmeno->setText(QStringLiteral("Petr"));
        d->prijmeni->setText(QStringLiteral("Malý"));
        d->show();
        // The list activates when it is first shown; the dialog comes on top of it.
        QTest::qWait(20);
        d->activateWindow();
        if (!QTest::qWaitFor([d] { return QApplication::activeWindow() == d; }))
            qWarning("the member dialog did not activate");
        return d;
    }

private slots:
    void initTestCase() { Pomocnik::pripravProstredi(); }

    void init() {
        slozka = new Pomocnik::PracovniSlozka;
        Hodiny::nastav(QDateTime(QDate(2027, 3, 1), QTime(10, 0)));
        w = new TMain;
        seznam = new TUzivatele(Main);
        seznam->show();
        seznam->activateWindow();
        QVERIFY(QTest::qWaitFor([&] { return seznam->ADOQueryUziv.isOpen(); }));
        Zpravy::vymazZaznamy();
    }
    void cleanup() {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
        delete seznam;
        delete w;
        delete slozka;
    }

    // ------------------------------------------------------------ reading a typed date

    void naDatum_data() {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("datum");
        const QDate zadne;
        QTest::newRow("cs: as shown") << "cs_CZ" << Formaty::datum(kPrvniUnor) << kPrvniUnor;
        QTest::newRow("cs: no leading zeros") << "cs_CZ"
                                              << "1.2.1980" << kPrvniUnor;
        QTest::newRow("cs: leading zeros") << "cs_CZ"
                                           << "01.02.1980" << kPrvniUnor;
        QTest::newRow("cs: mixed") << "cs_CZ"
                                   << "15.6.1990" << QDate(1990, 6, 15);
        QTest::newRow("cs: blanks after dots") << "cs_CZ"
                                               << " 1. 2. 1980 " << kPrvniUnor;
        QTest::newRow("cs: slashes") << "cs_CZ"
                                     << "1/2/1980" << kPrvniUnor;
        QTest::newRow("cs: blanks") << "cs_CZ"
                                    << "1 2 1980" << kPrvniUnor;
        QTest::newRow("cs: 31 February") << "cs_CZ"
                                         << "31.2.1980" << zadne;
        QTest::newRow("cs: month 13") << "cs_CZ"
                                      << "1.13.1980" << zadne;
        QTest::newRow("cs: two-digit year") << "cs_CZ"
                                            << "1.2.80" << zadne;
        QTest::newRow("cs: five-digit year") << "cs_CZ"
                                             << "1.2.19800" << zadne;
        QTest::newRow("cs: three-digit day") << "cs_CZ"
                                             << "001.2.1980" << zadne;
        QTest::newRow("cs: two numbers") << "cs_CZ"
                                         << "1.2" << zadne;
        QTest::newRow("cs: text") << "cs_CZ"
                                  << "včera" << zadne;
        QTest::newRow("cs: empty") << "cs_CZ"
                                   << "" << zadne;
        QTest::newRow("cs: year 0219 is a date") << "cs_CZ"
                                                 << "1.2.0219" << QDate(219, 2, 1);
        // A short format with month names still takes numbers, in its own order.
        QTest::newRow("C: numbers") << "C"
                                    << "1.2.1980" << kPrvniUnor;
        QTest::newRow("C: as shown") << "C"
                                     << "1 Feb 1980" << kPrvniUnor;
        QTest::newRow("C: month name, short year") << "C"
                                                   << "1 Feb 80" << zadne;
        QTest::newRow("en_US: slashes month first") << "en_US"
                                                    << "2/1/1980" << kPrvniUnor;
        QTest::newRow("sv_SE: year first") << "sv_SE"
                                           << "1980-02-01" << kPrvniUnor;
        // A date written with dots is day.month.year in every locale.
        QTest::newRow("en_US: dots") << "en_US"
                                     << "1.2.1980" << kPrvniUnor;
        QTest::newRow("en_US: dots, leading zeros") << "en_US"
                                                    << "01.02.1980" << kPrvniUnor;
        QTest::newRow("en_US: as shown") << "en_US" << Formaty::datum(kPrvniUnor) << kPrvniUnor;
        QTest::newRow("en_US: 13th month with dots") << "en_US"
                                                     << "13.1.1980" << QDate(1980, 1, 13);
        QTest::newRow("en_US: year first") << "en_US"
                                           << "1980-02-01" << kPrvniUnor;
        QTest::newRow("sv_SE: dots") << "sv_SE"
                                     << "1.2.1980" << kPrvniUnor;
        QTest::newRow("cs: year first") << "cs_CZ"
                                        << "1980-02-01" << kPrvniUnor;
    }

    // Dates and times are shown in the Czech form whatever the locale; numbers keep the
    // locale's decimal separator.
    void zobrazeniVeKazdemJazyce_data() {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<QString>("cislo");
        QTest::newRow("cs_CZ") << "cs_CZ"
                               << "312,5";
        QTest::newRow("en_US") << "en_US"
                               << "312.5";
        QTest::newRow("de_DE") << "de_DE"
                               << "312,5";
        QTest::newRow("C") << "C"
                           << "312,5";
    }
    void zobrazeniVeKazdemJazyce() {
        QFETCH(QString, jazyk);
        QFETCH(QString, cislo);
        QLocale::setDefault(Formaty::jazykProgramu(QLocale(jazyk)));
        QCOMPARE(Formaty::datum(kPrvniUnor), QStringLiteral("01.02.1980"));
        QCOMPARE(Formaty::datumCas(QDateTime(QDate(2027, 3, 1), QTime(14, 5, 9))),
                 QStringLiteral("01.03.2027 14:05:09"));
        QCOMPARE(Formaty::cislo(312.5), cislo);
    }
    void naDatum() {
        QFETCH(QString, jazyk);
        QFETCH(QString, text);
        QFETCH(QDate, datum);
        QLocale::setDefault(QLocale(jazyk));
        QCOMPARE(Formaty::naDatum(text), datum);
    }

    void jazykProgramu_data() {
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("program");
        QTest::newRow("C") << "C"
                           << "cs_CZ";
        QTest::newRow("POSIX") << "POSIX"
                               << "cs_CZ";
        QTest::newRow("Czech") << "cs_CZ"
                               << "cs_CZ";
        QTest::newRow("German") << "de_DE"
                                << "de_DE";
        QTest::newRow("English") << "en_US"
                                 << "en_US";
    }
    void jazykProgramu() {
        QFETCH(QString, system);
        QFETCH(QString, program);
        QCOMPARE(Formaty::jazykProgramu(QLocale(system)).name(), program);
    }

    // ------------------------------------------------------------ the member dialog

    // The user reaches the field by Tab (or clicks into it and selects all with Ctrl+A) and
    // types; "Uložit" stores the date typed or says why it cannot.
    void napsaneDatumNarozeni_data() {
        QTest::addColumn<QString>("jazyk");
        QTest::addColumn<bool>("ctrlA");
        QTest::addColumn<QString>("napsano");
        QTest::addColumn<QString>("ulozeno");
        QTest::addColumn<QString>("zprava");
        QTest::newRow("1.2.1980") << "cs_CZ" << false << "1.2.1980"
                                  << "1980-02-01"
                                  << "";
        QTest::newRow("01.02.1980") << "cs_CZ" << false << "01.02.1980"
                                    << "1980-02-01"
                                    << "";
        QTest::newRow("15.06.1990") << "cs_CZ" << false << "15.06.1990"
                                    << "1990-06-15"
                                    << "";
        QTest::newRow("15.6.1990") << "cs_CZ" << false << "15.6.1990"
                                   << "1990-06-15"
                                   << "";
        QTest::newRow("Ctrl+A, 01.02.1980") << "cs_CZ" << true << "01.02.1980"
                                            << "1980-02-01"
                                            << "";
        QTest::newRow("C locale, 1.2.1980") << "C" << false << "1.2.1980"
                                            << "1980-02-01"
                                            << "";
        QTest::newRow("31.2.1980")
            << "cs_CZ" << false << "31.2.1980"
            << "<none>"
            << "Datum narození \"31.2.1980\" není platné datum, zadejte ho prosím ve tvaru "
               "01.02.1980 !";
        QTest::newRow("year 0219") << "cs_CZ" << false << "1.2.0219"
                                   << "<none>"
                                   << "Datum narození musí ležet mezi 01.01.1900 a 01.03.2027 !";
        QTest::newRow("before 1900") << "cs_CZ" << false << "31.12.1899"
                                     << "<none>"
                                     << "Datum narození musí ležet mezi 01.01.1900 a 01.03.2027 !";
        QTest::newRow("tomorrow") << "cs_CZ" << false << "2.3.2027"
                                  << "<none>"
                                  << "Datum narození musí ležet mezi 01.01.1900 a 01.03.2027 !";
        QTest::newRow("today") << "cs_CZ" << false << "1.3.2027"
                               << "2027-03-01"
                               << "";
        QTest::newRow("1.1.1900") << "cs_CZ" << false << "1.1.1900"
                                  << "1900-01-01"
                                  << "";
        QTest::newRow("nothing typed") << "cs_CZ" << false << ""
                                       << "<none>"
                                       << "Datum narození musí být vyplněno !";
    }
    void napsaneDatumNarozeni() {
        QFETCH(QString, jazyk);
        QFETCH(bool, ctrlA);
        QFETCH(QString, napsano);
        QFETCH(QString, ulozeno);
        QFETCH(QString, zprava);
        QLocale::setDefault(QLocale(jazyk));
        TUzivateleDetNew* d = novyClen();
        auto* pole = d->findChild<QWidget*>(QStringLiteral("dat_nar"));
        if (ctrlA) {
            pole->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        } else {
            d->prijmeni->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(d->prijmeni, Qt::Key_Tab);
        }
        QVERIFY(pole->hasFocus());
        if (napsano.isEmpty())
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
        else
            QTest::keyClicks(QApplication::focusWidget(), napsano);
        QTest::mouseClick(d->Ulozit, Qt::LeftButton);
        QCOMPARE(ulozeneNarozeni(QStringLiteral("777")), ulozeno);
        QCOMPARE(texty(), zprava.isEmpty() ? QStringList() : QStringList{zprava});
        // A refused date keeps the dialog open with what was typed: a text that is no date as
        // it stands, a date shown the way the field shows dates.
        QCOMPARE(d->isVisible(), !zprava.isEmpty());
        const QDate precteno = Formaty::naDatum(napsano);
        if (!zprava.isEmpty())
            QCOMPARE(d->dat_nar->text(), precteno.isValid() ? Formaty::datum(precteno) : napsano);
        delete d;
    }

    // The same typed dates store the same days under every locale the program meets, and the
    // list shows them in the Czech form.
    void stejneDnyVeKazdemJazyce_data() {
        QTest::addColumn<QString>("jazyk");
        for (const char* j : {"cs_CZ", "en_US", "de_DE", "C"}) QTest::newRow(j) << j;
    }
    void stejneDnyVeKazdemJazyce() {
        QFETCH(QString, jazyk);
        QLocale::setDefault(Formaty::jazykProgramu(QLocale(jazyk)));
        const struct {
            const char* ecislo;
            const char* napsano;
        } clenove[] = {{"701", "1.2.1980"},
                       {"702", "01.02.1980"},
                       {"703", "1. 2. 1980"},
                       {"704", "13.1.1980"},
                       {"705", "1980-02-01"}};
        for (const auto& c : clenove) {
            TUzivateleDetNew* d = novyClen();
            d->ecislo->setText(QString::fromLatin1(c.ecislo));
            d->dat_nar->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(d->dat_nar, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(d->dat_nar, QString::fromLatin1(c.napsano));
            QTest::mouseClick(d->Ulozit, Qt::LeftButton);
            QVERIFY2(!d->isVisible(), c.napsano);
            delete d;
        }
        QCOMPARE(texty(), QStringList());
        QStringList ulozeno;
        for (const auto& c : clenove) ulozeno << ulozeneNarozeni(QString::fromLatin1(c.ecislo));
        QCOMPARE(ulozeno, (QStringList{"1980-02-01", "1980-02-01", "1980-02-01", "1980-01-13",
                                       "1980-02-01"}));
        Main->RefreshDBGridu(seznam->DBGrid1, 0);
        QAbstractItemModel* m = seznam->DBGrid1->model();
        QStringList ukazano;
        for (int r = 0; r < m->rowCount(); ++r)
            for (int s = 0; s < m->columnCount(); ++s)
                if (m->data(m->index(r, s)).toString().contains(QLatin1String("1980")))
                    ukazano << m->data(m->index(r, s)).toString();
        QCOMPARE(ukazano, (QStringList{"01.02.1980", "01.02.1980", "01.02.1980", "13.01.1980",
                                       "01.02.1980"}));
    }

    // Alt+Down opens the calendar; Enter on a day takes it.
    void datumZKalendare() {
        TUzivateleDetNew* d = novyClen();
        d->dat_nar->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(d->dat_nar, Qt::Key_Down, Qt::AltModifier);
        QWidget* okno = QApplication::activePopupWidget();
        QVERIFY(okno);
        auto* kalendar = okno->findChild<QCalendarWidget*>();
        QVERIFY(kalendar);
        // It opens on the field's date and offers no day after today.
        QCOMPARE(kalendar->selectedDate(), QDate(2027, 3, 1));
        QCOMPARE(kalendar->maximumDate(), QDate(2027, 3, 1));
        kalendar->setSelectedDate(QDate(1975, 6, 30));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(d->dat_nar->text(), Formaty::datum(QDate(1975, 6, 30)));
        QTest::mouseClick(d->Ulozit, Qt::LeftButton);
        QCOMPARE(ulozeneNarozeni(QStringLiteral("777")), QStringLiteral("1975-06-30"));
        delete d;
    }

    // A member stored without a birth date opens on the zero of the date scale; that day is
    // no birth date, so saving asks for one instead of storing it.
    void clenBezDataNarozeni() {
        Main->ADOConnection1.execute(
            QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, dat_nar, aktivita) "
                           "values (1, 'Eva', 'Nováková', '124', null, 100)"));
        Main->RefreshDBGridu(seznam->DBGrid1, 0);
        QString ukazano;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TUzivateleDetNew*>(QApplication::activeModalWidget());
            QVERIFY(d);
            ukazano = d->dat_nar->text();
            d->jmeno->setText(QStringLiteral("Jana"));
            d->Ulozit->click();
            d->reject();
        });
        seznam->DetailClick();
        QCOMPARE(ukazano, Formaty::datum(NulaDatumoveStupnice()));
        QCOMPARE(texty(), QStringList{"Datum narození musí ležet mezi 01.01.1900 a 01.03.2027 !"});
        QCOMPARE(Pomocnik::jedna(QStringLiteral("select jmeno from Uzivatele where id = 1")),
                 QStringLiteral("Eva"));
        QCOMPARE(ulozeneNarozeni(QStringLiteral("124")), QStringLiteral("<null>"));
    }
};

QTEST_MAIN(TestDatum)
#include "tst_datum.moc"
