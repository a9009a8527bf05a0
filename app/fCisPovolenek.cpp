// SPDX-License-Identifier: GPL-3.0-or-later
#include "fCisPovolenek.h"

#include <QComboBox>
#include <QLineEdit>

#include "SqlHodnoty.h"
#include "fMain.h"
#include "fNovaPlatba.h"

TCisPovolenek::TCisPovolenek(TNovaPlatba* platba)
    : TVyberZCiselniku(platba, QStringLiteral("CisPovolenek"), QStringLiteral("Číselník povolenek"),
                       {{QStringLiteral("rok"), QStringLiteral("Rok"), 40},
                        {QStringLiteral("nazev"), QStringLiteral("Název"), 190},
                        {QStringLiteral("castka"), QStringLiteral("Částka"), 50},
                        {QStringLiteral("kategorie"), QStringLiteral("Kategorie")},
                        {QStringLiteral("kodOznaceni"), QStringLiteral("Kód. označení"), 90}}) {}

void TCisPovolenek::showEvent(QShowEvent* e) {
    TVyberZCiselniku::showEvent(e);
    if (m_nacteno) return;
    m_nacteno = true;
    // The permit type names the table of its prices.
    Main->Gosql(
        QStringLiteral("select * from C_povolenky_txt where id_pov = ") + Sql::number(id_pov), 1,
        ADOQuery1, false);
    if (!ADOQuery1.isOpen()) return;
    const QString tabulka = ADOQuery1.fieldByName(QStringLiteral("tabulka")).asString();
    Main->Gosql(QStringLiteral("select * from ") + Sql::identifikator(tabulka) +
                    QStringLiteral(" where rok = ") + Sql::number(Main->rok) +
                    QStringLiteral(" and aktivita = 100"),
                1, ADOQuery1, false);
}

void TCisPovolenek::prevezmiRadek() {
    const TNovaPlatba::TSlotPovolenky slot = m_platba->slotPovolenky(PovolenkaCislo);
    slot.Nazev->setText(pole(QStringLiteral("nazev")));
    slot.Cena->setText(pole(QStringLiteral("castka")));
    *slot.Id = pole(QStringLiteral("id"));
    *slot.e_index = pole(QStringLiteral("e_index"));
    slot.typ->setEnabled(false);
    *slot.kodOznaceni = pole(QStringLiteral("kodOznaceni"));
    *slot.kategorie = pole(QStringLiteral("kategorie"));
}
