#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>
#include <QVector>

#include "Databaze.h"

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
    };

    explicit TQueryModel(QObject* parent = nullptr);

    void setQuery(db::Query* q);
    db::Query* query() const { return m_query; }
    void setSloupce(const QVector<Sloupec>& sloupce);
    const QVector<Sloupec>& sloupce() const { return m_sloupce; }
    // The query's field index behind a model column, -1 when the field is missing.
    int poleSloupce(int sloupec) const;

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

// The program's data grid: a read-only view over a query object whose current row follows the
// query's current record and the other way round.
class TDBGridNew : public QTableView {
    Q_OBJECT
public:
    explicit TDBGridNew(QWidget* parent = nullptr);

    void setDataSet(db::Query* q);
    db::Query* dataSet() const { return m_model->query(); }
    void setSloupce(const QVector<TQueryModel::Sloupec>& sloupce);
    TQueryModel* model() const { return m_model; }

    // Detach from the data (no repainting while rows are walked) and attach again.
    void odpojit();
    void pripojit();

private:
    void zobrazAktualniRadek();

    TQueryModel* m_model;
    bool m_synchronizace = false;
};
