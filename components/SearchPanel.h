// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <QPointer>
#include <functional>

class QAction;
class QLineEdit;
class QTimer;
class TDBGridNew;
class TImageList;

// The container of a list window's data grid: above the grid a search row, hidden at first,
// with a search box at its right end. What the user types into the box becomes, after a short
// pause, the grid's search text; Esc, Enter, Up and Down in the box act on the grid. The grid
// is the first TDBGridNew among the panel's direct children and fills the space below the row.
class TSearchPanel : public QFrame {
    Q_OBJECT
public:
    using TOnSearchEvent = std::function<void(QObject* Sender, const QString& strSearch)>;
    using TOnExitSearchEvent = std::function<void(QObject* Sender)>;

    explicit TSearchPanel(QWidget* AOwner = nullptr);

    // Raised after a search has run and when the box loses the focus, with the box's text.
    TOnSearchEvent OnSearch;
    // Raised when the box loses the focus.
    TOnExitSearchEvent OnExitSearch;

    unsigned int SearchDelay() const { return FSearchDelay; }
    void setSearchDelay(unsigned int ms);
    TImageList* SearchBoxImageList() const { return FSearchBoxImageList; }
    void setSearchBoxImageList(TImageList* seznam);
    int SearchBoxWidth() const { return FSearchBoxWidth; }
    void setSearchBoxWidth(int px);
    QString SearchBoxText() const;
    void setSearchBoxText(const QString& text);
    bool SearchPanelVisible() const { return FSearchPanelVisible; }
    void setSearchPanelVisible(bool viditelny);

    // Runs the grid's search with the text.
    void RunSearch(const QString& str);
    void SearchBoxSetFocus();

    // The grid placed in the panel, or none.
    TDBGridNew* grid() const;
    QWidget* panelTop() const { return FPanelTop; }
    QLineEdit* searchBox() const { return FSearchBox; }
    // Raises OnSearch when a handler is attached; the grid calls it after every search.
    void vyvolejOnSearch(const QString& strSearch);

    QSize sizeHint() const override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* objekt, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void zmenaTextu();
    void tikCasovace();
    void zrusHledani();
    void nastavTlacitka();
    void rozmisti();

    // First of the members: the parts created below announce themselves to the panel while it
    // is being built.
    bool m_sestaven = false;
    QWidget* FPanelTop;
    QLineEdit* FSearchBox;
    QAction* m_lupa;
    QAction* m_krizek;
    QTimer* FTimerDelay;
    int FSelStart = 0;
    unsigned int FSearchDelay = 250;
    TImageList* FSearchBoxImageList;
    QPointer<TImageList> m_seznam;  // the list whose changes the buttons follow
    int FSearchBoxWidth = 200;
    bool FSearchPanelVisible = false;
};
