// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QLineEdit>

#include "Databaze.h"

class QPushButton;
class TQrPlatba;
struct TQrUdaje;

// A read-only field of the payment form that copies its value to the clipboard when the user
// enters it and highlights what it copied.
class TPoleSchranky : public QLineEdit {
    Q_OBJECT
public:
    // The account field copies only the number before "/".
    TPoleSchranky(const QString& jmeno, bool jenCisloUctu, QWidget* parent);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void zvyrazni();
    bool m_jenCisloUctu;
};

// The transfer data of one payment for the user's e-banking, and the printed payment sheet.
class TFormularPlateb : public QDialog {
    Q_OBJECT
public:
    explicit TFormularPlateb(QWidget* owner);

    TPoleSchranky* CisloUctu;
    TPoleSchranky* VS;
    TPoleSchranky* KS;
    TPoleSchranky* SS;
    TPoleSchranky* Castka;
    // Hidden fields used only by the printout.
    QLineEdit* ecislo;
    QLineEdit* jmeno;
    QLineEdit* prijmeni;
    QLineEdit* dat_nar;

    QPushButton* Tisk;
    QPushButton* Konec;
    // The payment as a QR code for banking apps, beside the fields.
    TQrPlatba* QrPlatba;

public slots:
    void TiskClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TQrUdaje udajeQr() const;

    db::Query ADOQuery1;
};
