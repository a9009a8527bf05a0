#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

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
