// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QLineEdit>

#include "StringGridNew.h"
#include "fNovaPlatba.h"

// A payment of five items (membership, brigade, three permits) and three linked payments: nine
// item rows with the handling fee.
inline void VyplnPlnouPlatbu(TNovaPlatba& d) {
    d.ecislo->addItem(QStringLiteral("123"), qlonglong(1));
    d.ecislo->setCurrentIndex(0);
    d.NazevClenstvi->setText(QStringLiteral("Členský příspěvek – dospělí"));
    d.CenaClenstvi->setText(QStringLiteral("1200"));
    d.IdClenstvi = d.e_indexClenstvi = QStringLiteral("1");
    d.NazevBrigad->setText(QStringLiteral("Brigáda"));
    d.CenaBrigad->setText(QStringLiteral("1000"));
    d.IdBrigady = d.e_indexBrigady = QStringLiteral("1");
    for (int i = 1; i <= 3; ++i) {
        const TNovaPlatba::TSlotPovolenky s = d.slotPovolenky(i);
        s.typ->setCurrentIndex(i);
        s.Nazev->setText(QStringLiteral("Povolenka %1").arg(i));
        s.Cena->setText(QStringLiteral("1900"));
        *s.Id = QStringLiteral("1");
        *s.e_index = QString::number(i + 1);
        *s.kodOznaceni = QStringLiteral("MRK");
        *s.kategorie = QStringLiteral("dospělí");
    }
    d.NavazanePlatby->setRowCount(4);
    for (int r = 1; r <= 3; ++r) {
        d.NavazanePlatby->setCells(0, r, QStringLiteral("Navázaná platba %1").arg(r));
        d.NavazanePlatby->setCells(1, r, QStringLiteral("150"));
        d.NavazanePlatby->setCells(2, r, QString::number(r));
    }
    d.DopoctiCelkovouCastku();
}
