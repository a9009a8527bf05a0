// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "Databaze.h"
#include "Platba.h"
#include "uAllYouNeed.h"

class Relace;

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;
class TStringGridNew;

// The new-payment dialog: a payment for one member of the evidence year, composed from the
// code lists through the pickers (membership, brigades, three permits), with the payments the
// code lists link to them and the year's handling fee; "Uložit" has the core store it (see
// Platba.h) and shows the transfer data. It works in the context it is given, the main window's
// unless told otherwise.
class TNovaPlatba : public QDialog {
    Q_OBJECT
public:
    explicit TNovaPlatba(QWidget* owner, Relace& relace = RelaceProgramu());

    // One permit slot's boxes and hidden fields.
    struct TSlotPovolenky {
        QLineEdit* Nazev;
        QLineEdit* Cena;
        QComboBox* typ;
        QString* Id;
        QString* e_index;
        QString* kodOznaceni;
        QString* kategorie;
    };
    TSlotPovolenky slotPovolenky(int cislo);

    QLabel* LabelRokEvidence;
    QComboBox* ecislo;
    QLineEdit* jmeno;
    QLineEdit* prijmeni;
    QLineEdit* dat_nar;

    QGroupBox* Platby;
    QLineEdit* NazevClenstvi;
    QLineEdit* CenaClenstvi;
    QLineEdit* NazevBrigad;
    QLineEdit* CenaBrigad;
    QLineEdit* NazevPovolenka1;
    QLineEdit* CenaPovolenka1;
    QLineEdit* NazevPovolenka2;
    QLineEdit* CenaPovolenka2;
    QLineEdit* NazevPovolenka3;
    QLineEdit* CenaPovolenka3;
    QComboBox* typ1;
    QComboBox* typ2;
    QComboBox* typ3;
    QLineEdit* CenaManipulPopl;
    QLineEdit* Celkem;
    QFrame* PanelWarnMaipulPopl;
    QLabel* LabelVarovani;
    TStringGridNew* NavazanePlatby;
    QPushButton* Ulozit;
    QPushButton* Konec;

    // Hidden fields the pickers fill and the save reads.
    QString IdClenstvi, e_indexClenstvi;
    QString IdBrigady, e_indexBrigady;
    QString IdPovolenky1, e_indexPovolenky1, kodOznaceni1, kategorie1;
    QString IdPovolenky2, e_indexPovolenky2, kodOznaceni2, kategorie2;
    QString IdPovolenky3, e_indexPovolenky3, kodOznaceni3, kategorie3;

    // The payment as the dialog's boxes, hidden fields and linked payments hold it now.
    TPlatba Platba() const;

    void NactiInfoUzivatele();
    void VyberPovolenku(QComboBox* typ, int cislo);
    void OdeberNavazanePlatby(const QString& TypPovolenky);
    void DopoctiCelkovouCastku();
    QString VratSS();

public slots:
    void ecisloChange();
    void VyberClenstviClick();
    void VyberBrigaduClick();
    void ZrusClenstviClick();
    void ZrusBrigaduClick();
    void ZrusPovolenkuClick(int cislo);
    void UlozitClick();

private:
    void FormCreate();
    void pridejNavazanePlatby(const QVector<TNavazanaPlatba>& radky);
    QString tabulkaTypu(QComboBox* typ);

    Relace& m_relace;
    db::Query ADOQuery1;
};
