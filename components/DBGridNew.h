// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QPixmap>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVector>
#include <memory>
#include <vector>

#include "Databaze.h"

class TImageList;
class TSearchPanel;
class TDBGridNew;

enum TSmerTrideni { stASC, stDESC };

class TTrideniArray;

// One item of a grid's sort list: a field name and a direction.
class TTrideni {
public:
    explicit TTrideni(TTrideniArray* kolekce = nullptr) : m_kolekce(kolekce) {}

    QString Sloupec() const { return FSloupec; }
    void setSloupec(const QString& sloupec);
    TSmerTrideni Smer() const { return FSmer; }
    void setSmer(TSmerTrideni smer);
    // Copies the field name and the direction.
    void Assign(const TTrideni& jiny);

private:
    friend class TTrideniArray;
    TTrideniArray* m_kolekce;
    QString FSloupec;
    TSmerTrideni FSmer = stASC;
};

// The sort list: the items in order of sort priority. Every change is announced by zmeneno().
class TTrideniArray : public QObject {
    Q_OBJECT
public:
    explicit TTrideniArray(QObject* AOwner = nullptr) : QObject(AOwner) {}

    int Count() const { return static_cast<int>(m_polozky.size()); }
    TTrideni* Add(const QString& nazevSloupce, TSmerTrideni smerTrideni);
    TTrideni* Add();
    TTrideni* Insert(int Index);
    TTrideni* Items(int Index) const { return m_polozky.at(Index).get(); }
    // Replaces the item at Index by a copy of the given one.
    void setItems(int Index, const TTrideni& polozka) { m_polozky.at(Index)->Assign(polozka); }
    void Delete(int Index);
    void Clear();
    void Assign(const TTrideniArray& jiny);
    // The first item whose column equals the name without regard to letter case, or -1.
    int najdi(const QString& sloupec) const;
    // "a, b DESC": the sort expression of the list.
    QString vyraz() const;

signals:
    void zmeneno();

private:
    friend class TTrideni;
    void oznamZmenu() { emit zmeneno(); }
    std::vector<std::unique_ptr<TTrideni>> m_polozky;
};

// The table model over a query object: one row per visible row of its result, the columns the
// window chose (or all fields). "Detaching" the grid stops the model from following the query;
// "attaching" rebuilds it from the query as it now stands.
class TQueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Sloupec {
        QString pole;
        QString titulek;
        int sirka = -1;  // -1: the grid's default width
        bool viditelny = true;
    };

    explicit TQueryModel(QObject* parent = nullptr);

    void setQuery(db::Query* q);
    db::Query* query() const { return m_query; }
    void setSloupce(const QVector<Sloupec>& sloupce);
    const QVector<Sloupec>& sloupce() const { return m_sloupce; }
    // The query's field index behind a model column, -1 when the field is missing.
    int poleSloupce(int sloupec) const;
    // The field name behind a model column.
    QString nazevPole(int sloupec) const;

    void odpojit();
    void pripojit();
    bool jeOdpojeno() const { return m_odpojeno; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

signals:
    void znovuPripojeno();

private:
    void obnov();

    QPointer<db::Query> m_query;
    QVector<Sloupec> m_sloupce;
    bool m_odpojeno = false;
};

// The title row of the data grid: paints the sort indicators after the titles and hands the
// mouse to the grid's title-click handling.
class THlavickaGridu : public QHeaderView {
    Q_OBJECT
public:
    explicit THlavickaGridu(TDBGridNew* grid);

protected:
    void paintEvent(QPaintEvent* e) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    friend class TDBGridNew;
    TDBGridNew* m_grid;
    bool m_uzivatelMeni = false;  // the user is sizing columns with the mouse
};

// Paints a data cell: its text, then the first match of the search text in the search colour.
class TBunkaGridu : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TBunkaGridu(TDBGridNew* grid);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    TDBGridNew* m_grid;
};

// The program's data grid: a read-only view over a query object whose current row follows the
// query's current record and the other way round. Title clicks sort the query's result (by one
// column, or by several with Ctrl or Shift), a search filters it, and the selected row is kept
// across sorting and reloading by key columns.
class TDBGridNew : public QTableView {
    Q_OBJECT
public:
    // Where and what of the search text a cell paints in the search colour.
    struct Shoda {
        int pozice = -1;  // index of the match in the cell's text, -1 for none
        QString cast;     // the matched part in the cell's own letters
    };
    // The first occurrence of the search text in a cell's text, both in upper case by the
    // locale's rules.
    static Shoda najdiShodu(const QString& text, const QString& hledany);

    explicit TDBGridNew(QWidget* parent = nullptr);
    ~TDBGridNew() override;

    void setDataSet(db::Query* q);
    db::Query* dataSet() const { return m_model->query(); }
    void setSloupce(const QVector<TQueryModel::Sloupec>& sloupce);
    TQueryModel* model() const { return m_model; }

    // Detach from the data (no repainting while rows are walked) and attach again.
    void odpojit();
    void pripojit();

    // Properties.
    bool AutoAdoSort() const { return FAutoAdoSort; }
    void setAutoAdoSort(bool hodnota);
    bool AutoImageSort() const { return FAutoImageSort; }
    void setAutoImageSort(bool hodnota);
    bool AutoShowSearchBox() const { return FAutoShowSearchBox; }
    void setAutoShowSearchBox(bool hodnota) { FAutoShowSearchBox = hodnota; }
    bool EnableTitleDblClick() const { return FEnableTitleDblClick; }
    void setEnableTitleDblClick(bool hodnota) { FEnableTitleDblClick = hodnota; }
    bool ImmediateScroll() const { return FImmediateScroll; }
    void setImmediateScroll(bool hodnota);
    QString KlicoveAtributyDeleneStrednikem() const { return FKlicoveAtributy; }
    void setKlicoveAtributyDeleneStrednikem(const QString& hodnota) { FKlicoveAtributy = hodnota; }
    bool PamatovatTrideni() const { return FPamatovatTrideni; }
    void setPamatovatTrideni(bool hodnota) { FPamatovatTrideni = hodnota; }
    int ProdlevaPredClickSort() const { return FProdleva; }
    void setProdlevaPredClickSort(int ms);
    QString SearchText() const { return FSearchText; }
    void setSearchText(const QString& text);
    QColor SearchTextColor() const { return FSearchTextColor; }
    void setSearchTextColor(const QColor& barva);
    bool SearchTextHighlight() const { return FSearchTextHighlight; }
    void setSearchTextHighlight(bool hodnota);
    int SearchTextLeftOffset() const { return FSearchTextLeftOffset; }
    void setSearchTextLeftOffset(int px) { FSearchTextLeftOffset = px; }
    int SearchTextTopOffset() const { return FSearchTextTopOffset; }
    void setSearchTextTopOffset(int px) { FSearchTextTopOffset = px; }
    int SortImageRightOffset() const { return FSortImageRightOffset; }
    void setSortImageRightOffset(int px) { FSortImageRightOffset = px; }
    int SortImageBottomOffset() const { return FSortImageBottomOffset; }
    void setSortImageBottomOffset(int px) { FSortImageBottomOffset = px; }
    TTrideniArray* Trideni() const { return FTrideni; }
    // Copies the given items into the grid's own list.
    void setTrideni(const TTrideniArray& trideni) { FTrideni->Assign(trideni); }
    TImageList* TrideniIkony() const { return FTrideniIkony; }
    // Images 0 and 1 become the ascending and descending indicators; none removes them.
    void setTrideniIkony(TImageList* ikony);
    bool ZachovatOznacenyRadekPoReload() const { return FZachovatPoReload; }
    void setZachovatOznacenyRadekPoReload(bool hodnota) { FZachovatPoReload = hodnota; }
    bool ZachovatOznacenyRadekPoTrideni() const { return FZachovatPoTrideni; }
    void setZachovatOznacenyRadekPoTrideni(bool hodnota) { FZachovatPoTrideni = hodnota; }

    // The indicators in use (empty pictures when there are none).
    QPixmap ikonaNahoru() const { return FIconUp; }
    QPixmap ikonaDolu() const { return FIconDown; }

    // Applies the sort list to the query's result; empty on success, else the error text,
    // which is also raised as Chyba when ZobrazPripadnouChybu is true.
    QString SpustitTrideni(bool ZobrazPripadnouChybu, bool ZachovatPoziciPoRefreshi);
    QString SpustitTrideni(bool ZachovatPoziciPoRefreshi);
    void RunSearch(const QString& strSearch);
    void RunSearch();
    int FilteredCount() const;
    void Reload();
    void Reload(const QString& nazevPole, const QVariant& hodnotaPole);
    // Writes the column titles and the shown rows, each value followed by the separator, lines
    // ended by CR LF, in the Windows-1250 code page; false when there is nothing to save or the
    // file cannot be written.
    bool UlozDoSouboru(const QString& Soubor, const QString& DeliciZnak, bool SpustitPoUlozeni);
    bool UlozDoSouboru(const QString& Soubor, bool SpustitPoUlozeni);

    // The search panel the grid sits in, if any.
    TSearchPanel* searchPanel() const;
    // Raises DblClick with the grid as sender when a handler is connected; returns whether one
    // was.
    bool vyvolejDblClick();

signals:
    // A double click on the data rows (and on the titles when EnableTitleDblClick is true); the
    // search panel's Enter raises it too.
    void DblClick();
    // A key was released while the grid had the focus.
    void KeyUp(int key);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    friend class THlavickaGridu;
    friend class TBunkaGridu;

    // Mouse handling shared by the title row and the data rows; the points are in the grid's
    // own coordinates. Returns false when the event must not reach the base class.
    bool mysDolu(QMouseEvent* e, bool vTitulku, const QPoint& bod);
    void mysNahoru(const QPoint& bod);
    void tikCasovace();
    void upravTrideni(int sloupec);
    void vyvolejHledani(bool nejdrivHledat);
    QVariantList zachytKlice() const;
    QStringList klicovaPole() const;
    void najdiRadek(const QVariantList& hodnoty);
    // Re-applies a sort that a reopen of the query dropped; called before the titles paint.
    void obnovZtraceneTrideni();
    void zobrazAktualniRadek();
    void ulozSirky();
    void obnovSirky();
    // Widens the columns the user has not sized to their titles and values.
    void rozsirSloupce();
    // The free space a title keeps at its right end for the sort indicators.
    int mistoProIkonu() const;

    TQueryModel* m_model;
    THlavickaGridu* m_hlavicka;
    bool m_synchronizace = false;

    bool FAutoAdoSort = true;
    bool FAutoImageSort = true;
    bool FAutoShowSearchBox = true;
    bool FEnableTitleDblClick = false;
    bool FImmediateScroll = true;
    QString FKlicoveAtributy;
    bool FPamatovatTrideni = false;
    int FProdleva = 200;
    QString FSearchText;
    QColor FSearchTextColor = Qt::red;
    bool FSearchTextHighlight = true;
    int FSearchTextLeftOffset = 0;
    int FSearchTextTopOffset = 0;
    int FSortImageRightOffset = 16;
    int FSortImageBottomOffset = 16;
    TTrideniArray* FTrideni;
    TImageList* FTrideniIkony = nullptr;
    bool FZachovatPoReload = true;
    bool FZachovatPoTrideni = true;

    QPixmap FIconUp;
    QPixmap FIconDown;
    QTimer* FTimer;
    QPoint FPoint;
    QPoint FStartPoint;
    bool FSpustitHledani = false;
    bool FControlShift = false;
    int FFilteredCount = 0;
    // The upper-cased search text, shared with the row predicate installed in the query.
    std::shared_ptr<QString> m_hledaneVelke;
    QVector<int> m_sirky;
    QVector<bool> m_skryte;
    QVector<bool> m_sirkaOdUzivatele;  // columns the user has sized; they keep his width
    bool m_meniSloupce = false;
    bool m_trideniSelhalo = false;  // the sort list failed and has not changed since
};
