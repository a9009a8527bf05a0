#pragma once

#include <QDate>
#include <QMainWindow>
#include <functional>

#include "Databaze.h"

class QLabel;
class QFrame;
class QToolBar;
class QAction;
class TDBGridNew;

struct TAdresyWebu {
    QString HlavniStranka;    // scheme and host of the organisation's server
    QString StrankaAplikace;  // the organisation's page about paying by transfer
    QString AdresaIni;        // the update announcement verze.ini
    QString AdresaZip;        // the folder of the update archives
};

enum TOrganizace { o_Neurceno, o_Varnov, o_Kelmina };

// Name of the updater program that the main window writes beside itself and removes again.
QString SouborObnovniku();

// The main window: owns the database connection, upgrades the schema, recognises the
// organisation of the build, keeps the information panel, and runs every SQL statement of the
// program through Gosql and Gosqlexec.
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
    // Reopens the grid's query: 0 keeps the record number, 2 goes to the last row, any other
    // value to the first.
    void RefreshDBGridu(TDBGridNew* dbgridR, int PozicePoRefreshi);
    // The date as the text the database reads (callers splice it through Sql::date).
    QString Xdat(const QDate& datVstup) const;

    bool PovyseniDB(int DB);
    // Writes a new database under the name novy: the template upgraded to the current schema,
    // then filled by naplneni while it is open on ADOConnection1, closed again and written
    // through to the disk. Raises Chyba; novy is then removed.
    void PripravNovouDatabazi(const QString& novy, const std::function<void()>& naplneni = {});
    void InfoRefresh();
    // Takes over the code lists of dataCis.mdb in the program's folder (see ImportCiselniku.h).
    void ImportCiselniku(const QString& VerzeCiselniku);

    // ---- updates (Aktualizace.cpp)
    // Downloads the address into souborTxt; empty on success, else the whole message.
    QString DownloadUrl(const QString& adresa, QString& souborTxt);
    // 1 when Verze1 is higher, 2 when Verze2 is, 0 when equal; empty means the program's own.
    quint8 PorovnejVerze(const QString& Verze1, const QString& Verze2);
    // Program update: writes out the updater, starts it and closes this window. False when the
    // updater could not be written out (logged); nothing is started then.
    bool ProvedReinstalaci(const QString& ZipNaServeru);
    // Code-list update: writes out the updater and runs it without a window until it ends;
    // it unpacks the archive's file of RozbalitJako's name to RozbalitJako. spustit is unused.
    bool ProvedReinstalaci(const QString& ZipNaServeru, const QString& RozbalitJako, int spustit);

    // ---- window events
    void FormActivate();

    QString rok;
    TAdresyWebu AdresyWebu;
    TOrganizace Organizace = o_Neurceno;
    bool AktualizaceZkontrolovana = false;

    db::Connection ADOConnection1;
    db::Query ADOQuery1;
    // The code-list file, read only by the import.
    db::Connection ADOConnectionCis;
    db::Query ADOQueryCis;

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
    // data.mdb from the embedded template, upgraded, put in place whole (over an empty file).
    void VytvorDatabazi();
    void vytvorOvladaci();
    // The update check of the first activation.
    void KontrolaAktualizaci();
    bool zapisObnovnik(const QString& ZipNaServeru);
    void chybaDotazu(const QString& sqltext, const QString& zprava, bool PoslatVyjimkuDal);

    bool m_vAktivaci = false;
    bool m_odkazStisknut = false;  // the left button went down on LabelWWW
};

extern TMain* Main;
