// SPDX-License-Identifier: GPL-3.0-or-later
#include "VyberZCiselniku.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

#include "Rozmery.h"
#include "fMain.h"
#include "fNovaPlatba.h"
#include "uAllYouNeed.h"

TVyberZCiselniku::TVyberZCiselniku(TNovaPlatba* platba, const QString& jmeno,
                                   const QString& titulek,
                                   const QVector<TQueryModel::Sloupec>& sloupce)
    : QDialog(platba),
      ADOQuery1(&Main->ADOConnection1),
      m_platba(platba),
      m_model(new TQueryModel(this)) {
    setObjectName(jmeno);
    setWindowTitle(titulek);
    setMinimumSize(Rozmery::velikost(QSize(400, 300)));

    m_model->setQuery(&ADOQuery1);
    m_model->setSloupce(sloupce);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setModel(m_model);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->verticalHeader()->setDefaultSectionSize(Rozmery::vyska(20, DBGrid1->font()));
    QFont tucne = DBGrid1->horizontalHeader()->font();
    tucne.setBold(true);
    DBGrid1->horizontalHeader()->setFont(tucne);
    // The drawn widths in proportion to the font in use (a column without one gets the grid's
    // default width of 64), widened to show the titles and every value whole.
    auto nastavSirky = [this, sloupce] {
        for (int i = 0; i < sloupce.size(); ++i)
            DBGrid1->setColumnWidth(
                i, Rozmery::sirka(sloupce.at(i).sirka >= 0 ? sloupce.at(i).sirka : 64,
                                  DBGrid1->font()));
        Rozmery::rozsirSloupce(DBGrid1);
        if (m_model->rowCount() > 0) DBGrid1->setCurrentIndex(m_model->index(0, 0));
    };
    connect(m_model, &QAbstractItemModel::modelReset, this, nastavSirky);
    nastavSirky();
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TVyberZCiselniku::VlozitClick);

    auto* vlozit = new QPushButton(QStringLiteral("Vložit"), this);
    vlozit->setObjectName(QStringLiteral("Vlozit"));
    vlozit->setDefault(true);
    auto* konec = new QPushButton(QStringLiteral("Konec"), this);
    konec->setObjectName(QStringLiteral("Konec"));
    connect(vlozit, &QPushButton::clicked, this, &TVyberZCiselniku::VlozitClick);
    connect(konec, &QPushButton::clicked, this, &QDialog::reject);
    RozlozOkno(this, DBGrid1, {vlozit}, {konec});
    resize(Rozmery::velikost(QSize(560, 360)));
    Rozmery::drzOknoNaSirceSloupcu(DBGrid1);
    EnterStiskneTlacitko(this);
}

QString TVyberZCiselniku::pole(const QString& nazev) const {
    return ADOQuery1.fieldByName(nazev).asString();
}

void TVyberZCiselniku::VlozitClick() {
    if (!ADOQuery1.isOpen() || ADOQuery1.recordCount() == 0) return;
    const QModelIndex aktualni = DBGrid1->currentIndex();
    ADOQuery1.setRecNo(aktualni.isValid() ? aktualni.row() + 1 : 1);
    prevezmiRadek();
    accept();
}
