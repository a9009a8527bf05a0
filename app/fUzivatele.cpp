// SPDX-License-Identifier: GPL-3.0-or-later
#include "fUzivatele.h"

#include <QColor>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "DBGridNew.h"
#include "Rozmery.h"
#include "SearchPanel.h"
#include "SqlHodnoty.h"
#include "fMain.h"
#include "fUzivateleDetNew.h"
#include "uAllYouNeed.h"

TUzivatele* Uzivatele = nullptr;

TUzivatele::TUzivatele(QWidget* AOwner)
    : QDialog(AOwner), ADOQueryUziv(&Main->ADOConnection1), ADOQuery1(&Main->ADOConnection1) {
    setObjectName(QStringLiteral("Uzivatele"));
    setWindowTitle(QStringLiteral("Uživatelé"));
    setMinimumSize(Rozmery::velikost(QSize(580, 340)));

    SearchPanel1 = new TSearchPanel(this);
    SearchPanel1->setObjectName(QStringLiteral("SearchPanel1"));
    SearchPanel1->setSearchBoxWidth(200);
    SearchPanel1->setSearchPanelVisible(false);

    DBGrid1 = new TDBGridNew(SearchPanel1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setVisible(true);
    DBGrid1->horizontalHeader()->setVisible(true);
    DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBGrid1->setShowGrid(true);
    // The selected row stays marked when the focus moves to the buttons.
    QPalette paleta = DBGrid1->palette();
    paleta.setBrush(QPalette::Inactive, QPalette::Highlight,
                    paleta.brush(QPalette::Active, QPalette::Highlight));
    paleta.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                    paleta.brush(QPalette::Active, QPalette::HighlightedText));
    DBGrid1->setPalette(paleta);
    DBGrid1->setAutoAdoSort(true);
    DBGrid1->setAutoImageSort(true);
    DBGrid1->setAutoShowSearchBox(true);
    DBGrid1->setImmediateScroll(true);
    DBGrid1->setSearchTextHighlight(true);
    DBGrid1->setZachovatOznacenyRadekPoReload(true);
    DBGrid1->setZachovatOznacenyRadekPoTrideni(true);
    DBGrid1->setEnableTitleDblClick(false);
    DBGrid1->setPamatovatTrideni(false);
    DBGrid1->setSearchTextColor(Qt::red);
    DBGrid1->setKlicoveAtributyDeleneStrednikem(QString());
    DBGrid1->setDataSet(&ADOQueryUziv);
    DBGrid1->setSloupce({{QStringLiteral("ecislo"), QStringLiteral("Evidenční číslo"), 100},
                         {QStringLiteral("jmeno"), QStringLiteral("Jméno"), 120},
                         {QStringLiteral("prijmeni"), QStringLiteral("Příjmení"), 120},
                         {QStringLiteral("dat_nar"), QStringLiteral("Datum narození"), 110}});
    connect(DBGrid1, &TDBGridNew::DblClick, this, &TUzivatele::DBGrid1DblClick);
    connect(DBGrid1, &TDBGridNew::KeyUp, this, &TUzivatele::DBGrid1KeyUp);

    PanelRight = new QWidget(this);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    PanelRight->setFixedWidth(Rozmery::sirka(85));
    auto tlacitko = [this](const QString& jmeno, const QString& titulek) {
        auto* t = new QPushButton(titulek, PanelRight);
        t->setObjectName(jmeno);
        t->setAutoDefault(false);
        return t;
    };
    Novy = tlacitko(QStringLiteral("Novy"), QStringLiteral("Nový"));
    Detail = tlacitko(QStringLiteral("Detail"), QStringLiteral("Detail"));
    Odstranit = tlacitko(QStringLiteral("Odstranit"), QStringLiteral("Odstranit"));
    Konec = tlacitko(QStringLiteral("Konec"), QStringLiteral("Konec"));
    connect(Novy, &QPushButton::clicked, this, &TUzivatele::NovyClick);
    connect(Detail, &QPushButton::clicked, this, &TUzivatele::DetailClick);
    connect(Odstranit, &QPushButton::clicked, this, &TUzivatele::OdstranitClick);
    connect(Konec, &QPushButton::clicked, this, &TUzivatele::KonecClick);
    auto* sloupecTlacitek = new QVBoxLayout(PanelRight);
    sloupecTlacitek->setContentsMargins(4, 0, 0, 0);
    sloupecTlacitek->addWidget(Novy);
    sloupecTlacitek->addWidget(Detail);
    sloupecTlacitek->addWidget(Odstranit);
    sloupecTlacitek->addStretch(1);
    sloupecTlacitek->addWidget(Konec);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    auto* obsah = new QHBoxLayout();
    obsah->addWidget(SearchPanel1, 1);
    obsah->addWidget(PanelRight);
    auto* vrstva = new QVBoxLayout(this);
    vrstva->addLayout(obsah, 1);
    vrstva->addWidget(StatusBar1);
    resize(Rozmery::velikost(QSize(580, 340)));
    Rozmery::drzOknoNaSirceSloupcu(DBGrid1);
    EnterStiskneTlacitko(this);

    FormCreate();
}

void TUzivatele::FormCreate() {
    m_nacteno = false;
}

bool TUzivatele::event(QEvent* e) {
    const bool vysledek = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return vysledek;
}

void TUzivatele::FormActivate() {
    if (m_nacteno) return;
    m_nacteno = true;
    Main->Gosql(QStringLiteral("select * from Uzivatele where aktivita = 100"), 1, ADOQueryUziv,
                false);
    // The grid follows the reopened query.
    DBGrid1->odpojit();
    DBGrid1->pripojit();
}

bool TUzivatele::maRadek() const {
    return ADOQueryUziv.isOpen() && ADOQueryUziv.recordCount() > 0;
}

void TUzivatele::NovyClick() {
    TUzivateleDetNew detail(this);
    detail.SpustenJako = sj_novy;
    detail.exec();
}

void TUzivatele::DetailClick() {
    if (!maRadek()) return;
    TUzivateleDetNew detail(this);
    detail.SpustenJako = sj_detail;
    detail.zamkniEvidencniCislo();
    detail.id->setText(ADOQueryUziv.fieldByName(QStringLiteral("id")).asString());
    detail.ecislo->setText(ADOQueryUziv.fieldByName(QStringLiteral("ecislo")).asString());
    detail.jmeno->setText(ADOQueryUziv.fieldByName(QStringLiteral("jmeno")).asString());
    detail.prijmeni->setText(ADOQueryUziv.fieldByName(QStringLiteral("prijmeni")).asString());
    const db::Field narozeni = ADOQueryUziv.fieldByName(QStringLiteral("dat_nar"));
    // A member without a birth date stands on the zero of the date scale.
    detail.dat_nar->setDate(narozeni.isNull() ? NulaDatumoveStupnice()
                                              : narozeni.asDateTime().date());
    detail.exec();
}

void TUzivatele::OdstranitClick() {
    if (!maRadek()) return;
    const QString otazka =
        QStringLiteral("Opravdu odstranit uživatele \"") +
        ADOQueryUziv.fieldByName(QStringLiteral("jmeno")).asString() + QLatin1Char(' ') +
        ADOQueryUziv.fieldByName(QStringLiteral("prijmeni")).asString() + QStringLiteral("\" (") +
        ADOQueryUziv.fieldByName(QStringLiteral("ecislo")).asString() + QStringLiteral(") ?");
    if (ZobrazDialog(otazka, 1, 1) != 0) return;
    Main->Gosqlexec(QStringLiteral("update Uzivatele set aktivita = 900 where id = ") +
                        Sql::number(ADOQueryUziv.fieldByName(QStringLiteral("id")).asInteger()),
                    ADOQuery1, false);
    Main->RefreshDBGridu(DBGrid1, 0);
}

void TUzivatele::KonecClick() {
    reject();
}

void TUzivatele::DBGrid1DblClick() {
    DetailClick();
}

void TUzivatele::DBGrid1KeyUp(int Key) {
    if (Key == Qt::Key_Delete) OdstranitClick();
}
