// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "QrPlatba.h"

class QLabel;

// The code on the payment form: the picture with the caption "QR platba" below it, or one
// short Czech line saying why no code can be made.
class TQrPlatba : public QWidget {
    Q_OBJECT
public:
    explicit TQrPlatba(QWidget* parent = nullptr);

    void nastav(const TQrUdaje& udaje);
    // The payment text shown as the code; empty when there is none.
    QString spd() const { return m_spd; }
    // Why there is no code; empty when there is one.
    QString duvod() const { return m_duvod; }

private:
    QLabel* m_obrazek;
    QLabel* m_popis;
    QLabel* m_duvodText;
    QString m_spd;
    QString m_duvod;
};
