#pragma once
// The results side of the window: the list or the grid of thumbnails of
// the same rows, switched by two buttons ("List", "Thumbnails"; Ctrl+1,
// Ctrl+2). The grid speaks to the window through the list's signals, so
// that a row opened or its menu asked for reaches the same handlers.
#include <QWidget>

class CResultsList;
class CThumbGrid;
class QIcon;
class QStackedWidget;
class QToolButton;

class CResultsViews : public QWidget {
    Q_OBJECT
public:
    CResultsViews(CResultsList& results, const QIcon& badge, QWidget* parent = nullptr);

    CThumbGrid* Grid() const { return m_grid; }
    bool ShowsThumbnails() const;
    // Shows the grid or the list; the keyboard follows when it was in the other.
    void ShowThumbnails(bool thumbnails);

private:
    CResultsList& m_results;
    QStackedWidget* m_stack;
    CThumbGrid* m_grid;
    QToolButton* m_listButton;
    QToolButton* m_gridButton;
};
