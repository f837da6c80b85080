#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QAbstractItemView;
class QColor;
class QFont;
class QListView;
class QWidget;

namespace talveros::platform {

// The rows of a long list, each made into its text only when it is asked for: a list
// of a hundred thousand rows keeps them in whatever compact form they were read in, and
// only the rows on screen become text. Read from the thread that shows the list.
class ListRows {
public:
    virtual ~ListRows() = default;
    virtual int count() const = 0;
    virtual QString text(int row) const = 0;

    // What an export writes of the list: the names of the fields a row is made of, and
    // one row's fields as they were read (not as padded into its text). A list of plain
    // texts has one field, its text.
    virtual QStringList columnNames() const { return {QString()}; }
    virtual QStringList fields(int row) const { return {text(row)}; }
};

// Rows that already are texts, in the order given; `columnName` names their one field.
std::shared_ptr<const ListRows> rowsOf(QStringList texts, QString columnName = {});

// Rows kept as their fields, each made into its text by `textOf` only when it is asked
// for.
std::shared_ptr<const ListRows> fieldRows(QStringList columnNames, std::vector<QStringList> rows,
                                          QString (*textOf)(const QStringList &fields));

// A list shown through one model over ListRows, in the colours of its records; it shows
// the rows in the order they are given.
QListView *rowList(QWidget *parent, const QString &objectName, const QFont &font, const QColor &background,
                   const QColor &text, bool multiSelect);
// Shows these rows instead of the ones before, with no row current or selected; the
// list stays scrolled where it was as far as the new rows reach.
void setListRows(QListView *list, std::shared_ptr<const ListRows> rows);
// The rows the list shows now (set by setListRows), as they stay however the list changes
// afterwards.
std::shared_ptr<const ListRows> listRows(const QListView *list);

// What a list shows and which of its rows are selected, by row number, whatever kind of
// list it is.
int listRowCount(const QAbstractItemView *list);
QString listRowText(const QAbstractItemView *list, int row);
QStringList listRowTexts(const QAbstractItemView *list);
// In list order.
QList<int> selectedListRows(const QAbstractItemView *list);
void setListRowSelected(QAbstractItemView *list, int row, bool selected);

} // namespace talveros::platform
