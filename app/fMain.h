// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QMainWindow>
#include <functional>

#include "Aktualizace.h"
#include "Databaze.h"
#include "Organizace.h"
#include "PrevzetiDat.h"
#include "Relace.h"

class QLabel;
class QFrame;
class QToolBar;
class QAction;
class TDBGridNew;

// The main window: holds the program's context (the database connection, the evidence year,
// the organisation's addresses; see Relace.h) for its whole life, opens and upgrades the database
// at its creation, recognises the organisation of the build, keeps the information panel, runs
// the update check at its first activation and opens the other windows. Every SQL statement of
// the windows runs through Gosql and Gosqlexec, the context's query helper.
class TMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TMain(QWidget* parent = nullptr);
    ~TMain() override;

    // ---- query helper
    // Activ 1 opens the select; any other value only prepares it. On failure the statement is
    // logged and either the error is raised to the caller (PoslatVyjimkuDal) or shown.
    void Gosql(const QString& sqltext, quint8 Activ, db::Query& ADOQuery, bool PoslatVyjimkuDal);
    void Gosqlexec(const QString& sqltext, db::Query& ADOQuery, bool PoslatVyjimkuDal);
    // The same for a statement with values bound to its placeholders.
    void Gosql(const db::Prikaz& prikaz, quint8 Activ, db::Query& ADOQuery, bool PoslatVyjimkuDal);
    void Gosqlexec(const db::Prikaz& prikaz, db::Query& ADOQuery, bool PoslatVyjimkuDal);
    // Reopens the grid's query: 0 keeps the record number, 2 goes to the last row, any other
    // value to the first.
    void RefreshDBGridu(TDBGridNew* dbgridR, int PozicePoRefreshi);
    // The date as the text the database reads (callers splice it through Sql::date).
    QString Xdat(const QDate& datVstup) const;

    // The schema upgrade (see Schema.h), with the progress window.
    bool PovyseniDB(int DB);
    // A new database of the current schema under the name novy (see Schema.h), with the
    // progress window.
    void PripravNovouDatabazi(const QString& novy, const std::function<void()>& naplneni = {});
    void InfoRefresh();
    // Takes over the code lists of dataCis.mdb in the program's folder (see ImportCiselniku.h).
    void ImportCiselniku(const QString& VerzeCiselniku);

    // ---- updates (see Aktualizace.h)
    // Downloads the address into souborTxt; empty on success, else the whole message.
    QString DownloadUrl(const QString& adresa, QString& souborTxt);
    // 1 when Verze1 is higher, 2 when Verze2 is, 0 when equal; empty means the program's own.
    quint8 PorovnejVerze(const QString& Verze1, const QString& Verze2);
    // Program update: writes out the updater, starts it and closes this window. False when the
    // updater could not be written out (logged, and kept for the failure message); nothing is
    // started then.
    bool ProvedReinstalaci(const QString& ZipNaServeru);
    // Code-list update: writes out the updater and runs it without a window until it ends;
    // it unpacks the archive's file of RozbalitJako's name to RozbalitJako. spustit is unused.
    bool ProvedReinstalaci(const QString& ZipNaServeru, const QString& RozbalitJako, int spustit);

    // ---- window events
    void FormActivate();

    // The program's context; the fields below are its parts under the names the windows use.
    Relace relace;
    QString& rok;
    TAdresyWebu& AdresyWebu;
    TOrganizace& Organizace;
    bool AktualizaceZkontrolovana = false;

    db::Connection& ADOConnection1;
    db::Query& ADOQuery1;
    // The code-list file, read only by the import.
    db::Connection& ADOConnectionCis;
    db::Query& ADOQueryCis;

    // Controls that other windows and tests read.
    QLabel* LabelDatum;
    QLabel* LabelRok;
    QLabel* LabelPlatby;
    QLabel* LabelPolozky;
    QLabel* LabelWWW;
    QFrame* PanelAktualizace;
    QLabel* ImagePozadi;
    QToolBar* ToolBar1;

    static const QString NavrhovyTitulek;

public slots:
    void TBUzivateleClick();
    void TBNovaPlatbaClick();
    void TBHistoriePlatebClick();
    void ObsahExecute();
    void ZmenyProgramExecute();
    void OAplikaciExecute();

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void FormCreate();
    void vytvorOvladaci();
    // After a window opened from the toolbar has closed: the panel's counts again, and the
    // keyboard back to the main window.
    void poZavreniOkna();
    // The update check of the first activation.
    void KontrolaAktualizaci();
    // Checks the register once a run (SouborDatabaze::zkontroluj); a damaged one is refused with
    // its message and the program ends: false then.
    bool OverRegistr();

    bool m_vAktivaci = false;
    bool m_odkazStisknut = false;  // the left button went down on LabelWWW
    // Why the last ProvedReinstalaci returned false, for its failure message.
    QString m_duvodSelhani;
    bool m_registrOveren = false;  // checked this run, or made new by it
};

extern TMain* Main;

// The take-over of the earlier program's register (see PrevzetiDat.h) in the main window's
// context, with its progress window.
Prevzeti PrevzetiDat(TMain& hlavni, const QString& soubor = QStringLiteral("data.mdb"));
