#include "DBGridNew.h"

#include <QHeaderView>

TQueryModel::TQueryModel(QObject* parent) : QAbstractTableModel(parent) {}

void TQueryModel::setQuery(db::Query* q) {
    if (m_query) disconnect(m_query, nullptr, this, nullptr);
    m_query = q;
    if (m_query) connect(m_query, &db::Query::resetNastal, this, &TQueryModel::obnov);
    obnov();
}

void TQueryModel::setSloupce(const QVector<Sloupec>& sloupce) {
    beginResetModel();
    m_sloupce = sloupce;
    endResetModel();
}

int TQueryModel::poleSloupce(int sloupec) const {
    if (!m_query || !m_query->isOpen()) return -1;
    if (m_sloupce.isEmpty()) return sloupec < m_query->fieldCount() ? sloupec : -1;
    if (sloupec < 0 || sloupec >= m_sloupce.size()) return -1;
    return m_query->fieldIndex(m_sloupce.at(sloupec).pole);
}

void TQueryModel::odpojit() {
    m_odpojeno = true;
}

void TQueryModel::pripojit() {
    m_odpojeno = false;
    beginResetModel();
    endResetModel();
    emit znovuPripojeno();
}

void TQueryModel::obnov() {
    if (m_odpojeno) return;
    beginResetModel();
    endResetModel();
}

int TQueryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || m_odpojeno || !m_query || !m_query->isOpen()) return 0;
    return m_query->recordCount();
}

int TQueryModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (!m_sloupce.isEmpty()) return m_sloupce.size();
    return (m_query && m_query->isOpen()) ? m_query->fieldCount() : 0;
}

QVariant TQueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || m_odpojeno || !m_query) return QVariant();
    const int pole = poleSloupce(index.column());
    if (pole < 0) return QVariant();
    if (role == Qt::DisplayRole) return m_query->text(index.row(), pole);
    if (role == Qt::TextAlignmentRole) {
        const db::TypPole t = m_query->fieldType(pole);
        const bool cislo = t == db::TypPole::Cele || t == db::TypPole::Desetinne;
        return QVariant::fromValue(Qt::AlignVCenter | (cislo ? Qt::AlignRight : Qt::AlignLeft));
    }
    return QVariant();
}

QVariant TQueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QVariant();
    if (!m_sloupce.isEmpty()) return m_sloupce.value(section).titulek;
    return (m_query && m_query->isOpen()) ? m_query->fieldName(section) : QVariant();
}

TDBGridNew::TDBGridNew(QWidget* parent) : QTableView(parent), m_model(new TQueryModel(this)) {
    setObjectName(QStringLiteral("DBGrid1"));
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(20);
    QFont f = horizontalHeader()->font();
    f.setBold(true);
    horizontalHeader()->setFont(f);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TDBGridNew::zobrazAktualniRadek);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& aktualni) {
                if (m_synchronizace || !dataSet() || !aktualni.isValid()) return;
                m_synchronizace = true;
                dataSet()->setRecNo(aktualni.row() + 1);
                m_synchronizace = false;
            });
}

void TDBGridNew::setDataSet(db::Query* q) {
    if (dataSet()) disconnect(dataSet(), &db::Query::poziceZmenena, this, nullptr);
    m_model->setQuery(q);
    if (q)
        connect(q, &db::Query::poziceZmenena, this, [this] {
            if (!m_model->jeOdpojeno()) zobrazAktualniRadek();
        });
}

void TDBGridNew::setSloupce(const QVector<TQueryModel::Sloupec>& sloupce) {
    m_model->setSloupce(sloupce);
    for (int i = 0; i < sloupce.size(); ++i)
        if (sloupce.at(i).sirka >= 0) setColumnWidth(i, sloupce.at(i).sirka);
}

void TDBGridNew::odpojit() {
    m_model->odpojit();
}

void TDBGridNew::pripojit() {
    m_model->pripojit();
}

void TDBGridNew::zobrazAktualniRadek() {
    if (m_synchronizace) return;
    db::Query* q = dataSet();
    if (!q || !q->isOpen() || q->recNo() == 0) return;
    m_synchronizace = true;
    const QModelIndex i = m_model->index(q->recNo() - 1, 0);
    selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(i);
    m_synchronizace = false;
}
