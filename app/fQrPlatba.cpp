// SPDX-License-Identifier: GPL-3.0-or-later
#include "fQrPlatba.h"

#include <QLabel>
#include <QVBoxLayout>

TQrPlatba::TQrPlatba(QWidget* parent)
    : QWidget(parent),
      m_obrazek(new QLabel(this)),
      m_popis(new QLabel(QStringLiteral("QR platba"), this)),
      m_duvodText(new QLabel(this)) {
    setObjectName(QStringLiteral("QrPlatba"));
    m_obrazek->setObjectName(QStringLiteral("QrObrazek"));
    m_obrazek->setAlignment(Qt::AlignCenter);
    m_obrazek->setAccessibleName(QStringLiteral("QR platba"));
    m_popis->setObjectName(QStringLiteral("QrPopis"));
    m_popis->setAlignment(Qt::AlignHCenter);
    m_duvodText->setObjectName(QStringLiteral("QrDuvod"));
    m_duvodText->setWordWrap(true);
    m_duvodText->setAlignment(Qt::AlignCenter);

    auto* rozvrzeni = new QVBoxLayout(this);
    rozvrzeni->addWidget(m_obrazek);
    rozvrzeni->addWidget(m_popis);
    rozvrzeni->addWidget(m_duvodText);
    rozvrzeni->addStretch();
    nastav(TQrUdaje());
}

void TQrPlatba::nastav(const TQrUdaje& udaje) {
    m_spd = SestavSpd(udaje, &m_duvod);
    const QImage obraz = m_spd.isEmpty() ? QImage() : VykresliQr(m_spd);
    if (!m_spd.isEmpty() && obraz.isNull()) {
        m_spd.clear();
        m_duvod = QStringLiteral("platební údaje se do kódu nevejdou");
    }
    const bool mameKod = !obraz.isNull();
    m_obrazek->setPixmap(mameKod ? QPixmap::fromImage(obraz) : QPixmap());
    m_obrazek->setVisible(mameKod);
    m_popis->setVisible(mameKod);
    m_duvodText->setText(mameKod ? QString() : QrChybiText(m_duvod));
    m_duvodText->setVisible(!mameKod);
}
