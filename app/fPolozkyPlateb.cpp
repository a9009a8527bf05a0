// SPDX-License-Identifier: GPL-3.0-or-later
#include "fPolozkyPlateb.h"

#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "DBGridNew.h"
#include "Rozmery.h"
#include "SearchPanel.h"
#include "SqlHodnoty.h"
#include "fHistoriePlateb.h"
#include "fMain.h"
#include "uAllYouNeed.h"

void NastavGridPlateb(TSearchPanel* panel, TDBGridNew* grid, const QString& klic) {
    panel->setSearchBoxWidth(200);
    panel->setSearchPanelVisible(false);
    grid->setAutoAdoSort(true);
    grid->setAutoImageSort(true);
    grid->setAutoShowSearchBox(true);
    grid->setEnableTitleDblClick(false);
    grid->setImmediateScroll(true);
    grid->setPamatovatTrideni(false);
    grid->setSearchTextColor(Qt::red);
    grid->setSearchTextHighlight(true);
    grid->setZachovatOznacenyRadekPoReload(true);
    grid->setZachovatOznacenyRadekPoTrideni(true);
    // Keeping the marked row needs a column that identifies it.
    grid->setKlicoveAtributyDeleneStrednikem(klic);
    grid->setAlternatingRowColors(false);
    grid->setShowGrid(true);
    // The marked row looks the same whether the grid has the focus or not.
    QPalette paleta = grid->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        paleta.setColor(QPalette::Inactive, role, paleta.color(QPalette::Active, role));
    grid->setPalette(paleta);
}

TPolozkyPlateb::TPolozkyPlateb(THistoriePlateb* owner)
    : QDialog(owner), ADOQuery1(&Main->ADOConnection1), m_historie(owner) {
    setObjectName(QStringLiteral("PolozkyPlateb"));
    setWindowTitle(QStringLiteral("Položky platby"));

    SearchPanel1 = new TSearchPanel(this);
    SearchPanel1->setObjectName(QStringLiteral("SearchPanel1"));
    DBGrid1 = new TDBGridNew(SearchPanel1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSet(&ADOQuery1);
    DBGrid1->setSloupce({{QStringLiteral("rok"), QStringLiteral("Rok"), 50},
                         {QStringLiteral("cislo_platby"), QStringLiteral("Číslo platby"), 80},
                         {QStringLiteral("typ_platby_txt"), QStringLiteral("Typ platby"), 80},
                         {QStringLiteral("nazev"), QStringLiteral("Název"), 200},
                         {QStringLiteral("castka"), QStringLiteral("Částka"), 80}});
    NastavGridPlateb(SearchPanel1, DBGrid1, QStringLiteral("id_platby"));

    Konec = new QPushButton(QStringLiteral("Konec"), this);
    Konec->setObjectName(QStringLiteral("Konec"));
    Konec->setAutoDefault(false);
    connect(Konec, &QPushButton::clicked, this, &TPolozkyPlateb::KonecClick);
    RozlozOkno(this, SearchPanel1, {}, {Konec});
    resize(600, Rozmery::vyska(320));
    Rozmery::drzOknoNaSirceSloupcu(DBGrid1);
    EnterStiskneTlacitko(this);
}

void TPolozkyPlateb::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TPolozkyPlateb::FormShow() {
    const QString cisloPlatby =
        m_historie->ADOQueryHist.fieldByName(QStringLiteral("cislo_platby")).asString();
    Main->Gosql(QStringLiteral("select h.*, p.nazev as typ_platby_txt from HistoriePlateb h, "
                               "TypPlatby p where h.cislo_platby = ") +
                    Sql::number(cisloPlatby) +
                    QStringLiteral(" and h.typ_platby = p.typ_platby order by h.id"),
                1, ADOQuery1, false);
    DBGrid1->setFocus(Qt::OtherFocusReason);
}

void TPolozkyPlateb::KonecClick() {
    reject();
}
