// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The plain rules of composing and numbering a payment.

// Whether new payments of the evidence year are refused: the year is closed (stav 1), or it is
// earlier than the calendar year, or it is the calendar year and today is 1 December or later.
// A year that is not a whole number counts as 2015.
bool RokEvidenceUzavren(int stav, const QString& rokEvidence, const QDate& dnes);
// The evidence year as a whole number (2015 when it is not one).
int RokJakoCislo(const QString& rokEvidence);
// The refusal message for the evidence year.
QString ZpravaUzavrenehoRoku(const QString& rokEvidence);

// KS: the payment number padded to two digits, then the third and fourth character of the year.
QString KonstantniSymbol(const QString& cisloPlatby, const QString& rokEvidence);
// SS: the e_index of every filled slot, each padded to two digits ("00" for an empty one).
QString SpecifickySymbol(const QStringList& eIndexyVyplnenychPolozek);

// The total: every amount text read with the user's decimal separator (0 when empty or not a
// number), shown in the general number format.
double SoucetCastek(const QStringList& castky);
QString TextCastky(double castka);

// ---- a payment as a value

class Relace;

// One item slot of a payment (membership, brigades, permit 1 to 3), as the payment dialog holds
// it: the texts it shows and the hidden fields the pickers fill. A slot is filled when its price
// text is not empty.
struct TPolozkaPlatby {
    QString nazev;        // the name as shown
    QString cena;         // the price as shown (the user's decimal separator); empty: not filled
    QString id;           // the code-list entry's id
    QString e_index;      // its index for the specific symbol
    QString kodOznaceni;  // permits: the designation code
    QString kategorie;    // permits: the category
    qint64 idPov = 0;     // permits: the chosen permit type (C_povolenky_txt.id_pov)

    bool vyplnena() const { return !cena.isEmpty(); }
};

// A payment the code lists link to a chosen entry (one row of the dialog's linked payments).
struct TNavazanaPlatba {
    QString nazev;
    QString castka;        // as shown
    QString idP;           // the entry it is linked to
    QString idJp;          // its id in C_jinePlatby
    QString typPovolenky;  // the entry's table ("C_povolKO", "C_clenske_prisp")

    // All texts empty: the row stands for no linked payment.
    bool prazdna() const;
    // Whether the row was brought by an entry of the table TypPovolenky; table names compare
    // without regard to letter case, as the lookup of the linked payments compares them. An
    // empty row belongs to no table.
    bool patriK(const QString& TypPovolenky) const;
};

// Why a member's evidence number, as the user typed it with blanks around it trimmed, cannot be
// stored: it is the variable symbol of his payments, which a Czech bank takes only as 1 to 10
// digits. Empty when it can.
QString ChybaEvidencnihoCisla(const QString& ecislo);

// The key under which a membership's linked payments are kept.
extern const char* const kKlicClenstvi;

// A payment for one member of the evidence year as the dialog composed it.
struct TPlatba {
    bool uzivatelVybran = false;
    qint64 idUzivatele = 0;  // Uzivatele.id
    QString ecislo;          // the member's evidence number, which is the variable symbol
    TPolozkaPlatby clenstvi;
    TPolozkaPlatby brigady;
    TPolozkaPlatby povolenky[3];
    // The linked payments in their order. When the first has an amount every one is an item of
    // the payment; a single row without one stands for none.
    QVector<TNavazanaPlatba> navazane;
    QString manipulacniPoplatek;  // the year's handling fee as shown ("0" when it has none)
    QString celkem;               // the total as shown, which is the amount paid

    // The five slots in their order: membership, brigades, permit 1 to 3.
    QVector<const TPolozkaPlatby*> sloty() const;
    // The amounts that make the total, in the dialog's order: the five slots' prices, the
    // handling fee, the linked payments' amounts.
    QStringList castky() const;
    // The total of castky() as the dialog shows it.
    QString soucet() const;
    // SS: the e_index of every filled slot, each padded to two digits.
    QString ss() const;
    // Why the payment cannot be saved, as the dialog says it: no member chosen, an evidence
    // number the bank cannot take as the variable symbol, no item with a price beside the
    // handling fee, a specific symbol longer than its ten characters. Empty when it can be
    // saved.
    QString duvodOdmitnuti() const;
};

// The linked payments of one code-list entry (its id and its table's name, kKlicClenstvi for a
// membership) in the context's evidence year, in the order the database gives them. A failed
// lookup has been reported through the context's query helper and gives none.
QVector<TNavazanaPlatba> NactiNavazanePlatby(Relace& relace, const QString& idP,
                                             const QString& klic);

// What saving gave the payment.
struct TUlozenaPlatba {
    QString cisloPlatby;  // its number, the largest before plus one
    QString ucet;         // the organisation's account it is paid to
};

// Saves the payment in one transaction on relace.spojeni: numbers it, writes the header row
// (account, VS, KS, SS, total, member) and one item row per filled slot, per linked payment and
// for the year's handling fee when the year has one, all in the context's evidence year. On a
// failure everything is rolled back, the message is written to the log and shown ("Došlo k
// neočekávané výjimce. [...]") through relace.hlaseni, and the result is empty.
std::optional<TUlozenaPlatba> UlozPlatbu(Relace& relace, const TPlatba& platba);
