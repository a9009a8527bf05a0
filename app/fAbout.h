// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QTimer;

// The about box: the product title with its shadow and the program's version. It fades in
// after it appears and fades out before it closes; both fades hold the user-interface thread.
class Tabout : public QDialog {
    Q_OBJECT
public:
    explicit Tabout(QWidget* owner);

    QLabel* Logo;
    QFrame* BevelRamObrazku;
    QLabel* popisS;
    QLabel* popisP;
    QFrame* BevelCara;
    QLabel* LabelVerzeText;
    QLabel* verze;
    QPushButton* Cancel;
    QTimer* Timer1;

    // The picture shown in Logo.
    static QPixmap obrazekLoga(const QSize& velikost);

public slots:
    void CancelClick();
    void Timer1Timer();
    void done(int r) override;

signals:
    // Each opacity (0 to 255) the fades set, in order.
    void pruhlednostNastavena(int alfa);

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void nastavPruhlednost(int alfa);

    bool m_zatmivaSe = false;       // the fade-in is running
    bool m_zavritPoNabehu = false;  // a close waits for the fade-in
    int m_vysledekZavreni = 0;
    bool m_zaviraSe = false;  // the fade-out is running
};
