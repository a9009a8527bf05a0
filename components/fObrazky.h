// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPixmap>
#include <QVector>
#include <QWidget>

// A list of pictures of one size, as the grids use them for their indicators and the search box
// for its buttons.
class TImageList : public QObject {
    Q_OBJECT
public:
    TImageList(int sirka, int vyska, QObject* parent = nullptr);

    int Width() const { return m_sirka; }
    int Height() const { return m_vyska; }
    int Count() const { return m_obrazky.size(); }
    // Appends a picture; returns its index.
    int Add(const QPixmap& obrazek);
    // Replaces the pictures by copies of another list's.
    void AddImages(const TImageList* jiny);
    void Clear();
    // An empty picture for an index outside the list.
    QPixmap obrazek(int index) const { return m_obrazky.value(index); }

signals:
    void zmeneno();

private:
    int m_sirka;
    int m_vyska;
    QVector<QPixmap> m_obrazky;
};

// The never-shown holder of the built-in pictures: the sort indicators of the data grid and the
// two buttons of the search box. All pictures are drawn here in code.
class TObrazky : public QWidget {
    Q_OBJECT
public:
    explicit TObrazky(QWidget* parent = nullptr);

    // 16 x 16: 0 a triangle pointing up (ascending), 1 pointing down (descending).
    TImageList* ImageListGrid;
    // 18 x 17: 0 a magnifier, 1 a white cross in a dark circle.
    TImageList* ImageListSearch;
};
