// SPDX-License-Identifier: GPL-3.0-or-later
#include "fHistoriePlateb.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "DBGridNew.h"
#include "Formaty.h"
#include "Rozmery.h"
#include "SearchPanel.h"
#include "SqlHodnoty.h"
#include "fFormularPlateb.h"
#include "fMain.h"
#include "fPolozkyPlateb.h"
#include "uAllYouNeed.h"

THistoriePlateb::THistoriePlateb(QWidget* owner)
    : QDialog(owner), ADOQueryHist(&Main->ADOConnection1), ADOQuery1(&Main->ADOConnection1) {
    setObjectName(QStringLiteral("HistoriePlateb"));
    setWindowTitle(QStringLiteral("Historie plateb"));
    setMinimumSize(Rozmery::velikost(QSize(500, 300)));

    SearchPanel1 = new TSearchPanel(this);
    SearchPanel1->setObjectName(QStringLiteral("SearchPanel1"));
    DBGrid1 = new TDBGridNew(SearchPanel1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSet(&ADOQueryHist);
    DBGrid1->setSloupce({{QStringLiteral("cislo_platby"), QStringLiteral("Číslo platby"), 80},
                         {QStringLiteral("rok"), QStringLiteral("Rok"), 50},
                         {QStringLiteral("vs"), QStringLiteral("VS"), 70},
                         {QStringLiteral("ks"), QStringLiteral("KS"), 60},
                         {QStringLiteral("ss"), QStringLiteral("SS"), 70},
                         {QStringLiteral("castka"), QStringLiteral("Částka"), 60},
                         {QStringLiteral("dat_zmena"), QStringLiteral("Datum změny"), 115},
                         {QStringLiteral("ucet"), QStringLiteral("Účet"), 160}});
    NastavGridPlateb(SearchPanel1, DBGrid1, QStringLiteral("cislo_platby"));
    connect(DBGrid1, &TDBGridNew::DblClick, this, &THistoriePlateb::DBGrid1DblClick);
    connect(DBGrid1, &TDBGridNew::KeyUp, this, &THistoriePlateb::DBGrid1KeyUp);

    // No button is a default one: Enter in the grid must reach the grid, not click a button.
    auto tlacitko = [this](const QString& jmeno, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(jmeno);
        b->setAutoDefault(false);
        return b;
    };
    Detail = tlacitko(QStringLiteral("Detail"), QStringLiteral("Detail"));
    EFormular = tlacitko(QStringLiteral("EFormular"), QStringLiteral("E-Formulář"));
    Konec = tlacitko(QStringLiteral("Konec"), QStringLiteral("Konec"));
    connect(Detail, &QPushButton::clicked, this, &THistoriePlateb::DetailClick);
    connect(EFormular, &QPushButton::clicked, this, &THistoriePlateb::EFormularClick);
    connect(Konec, &QPushButton::clicked, this, &THistoriePlateb::KonecClick);
    RozlozOkno(this, SearchPanel1, {Detail, EFormular}, {Konec});
    resize(820, Rozmery::vyska(420));
    Rozmery::drzOknoNaSirceSloupcu(DBGrid1);
    EnterStiskneTlacitko(this);

    FormCreate();
}

void THistoriePlateb::FormCreate() {
    m_prvniAktivace = true;
}

bool THistoriePlateb::event(QEvent* e) {
    const bool vysledek = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return vysledek;
}

void THistoriePlateb::FormActivate() {
    // Later activations (after the items or the payment form close) keep the list as it is.
    if (!m_prvniAktivace) return;
    m_prvniAktivace = false;
    Main->Gosql(QStringLiteral("select * from HistoriePlatebHead order by cislo_platby desc"), 1,
                ADOQueryHist, false);
    DBGrid1->setFocus(Qt::OtherFocusReason);
}

bool THistoriePlateb::maRadek() const {
    return ADOQueryHist.isOpen() && ADOQueryHist.recordCount() > 0;
}

void THistoriePlateb::DetailClick() {
    if (!maRadek()) return;
    TPolozkyPlateb polozky(this);
    polozky.exec();
}

void THistoriePlateb::EFormularClick() {
    if (!maRadek()) return;
    TFormularPlateb formular(this);
    auto hlavicka = [this](const QString& pole) {
        return ADOQueryHist.fieldByName(pole).asString();
    };
    formular.CisloUctu->setText(hlavicka(QStringLiteral("ucet")));
    formular.VS->setText(hlavicka(QStringLiteral("vs")));
    formular.KS->setText(hlavicka(QStringLiteral("ks")));
    formular.SS->setText(hlavicka(QStringLiteral("ss")));
    formular.Castka->setText(hlavicka(QStringLiteral("castka")));
    // The member as stored now, removed or not: the payment stays his.
    Main->Gosql(QStringLiteral("select * from Uzivatele where id = ") +
                    Sql::number(hlavicka(QStringLiteral("id_usr"))),
                1, ADOQuery1, false);
    if (ADOQuery1.isOpen() && ADOQuery1.recordCount() > 0) {
        auto clen = [this](const QString& pole) { return ADOQuery1.fieldByName(pole); };
        formular.ecislo->setText(clen(QStringLiteral("ecislo")).asString());
        formular.jmeno->setText(clen(QStringLiteral("jmeno")).asString());
        formular.prijmeni->setText(clen(QStringLiteral("prijmeni")).asString());
        const QDateTime narozen = clen(QStringLiteral("dat_nar")).asDateTime();
        formular.dat_nar->setText(narozen.isValid() ? Formaty::datum(narozen.date()) : QString());
    }
    formular.exec();
}

void THistoriePlateb::KonecClick() {
    reject();
}

void THistoriePlateb::DBGrid1DblClick() {
    DetailClick();
}

void THistoriePlateb::DBGrid1KeyUp(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) DetailClick();
}
