#include "platform/RowList.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QListView>

#include <algorithm>

namespace talveros::platform {

namespace {

class TextRows final : public ListRows {
public:
    TextRows(QStringList texts, QString columnName) : m_texts(std::move(texts)), m_columnName(std::move(columnName)) {}
    int count() const override { return int(m_texts.size()); }
    QString text(int row) const override { return m_texts.at(row); }
    QStringList columnNames() const override { return {m_columnName}; }

private:
    QStringList m_texts;
    QString m_columnName;
};

class FieldRows final : public ListRows {
public:
    FieldRows(QStringList columnNames, std::vector<QStringList> rows, QString (*textOf)(const QStringList &))
        : m_columnNames(std::move(columnNames)), m_rows(std::move(rows)), m_textOf(textOf)
    {
    }
    int count() const override { return int(m_rows.size()); }
    QString text(int row) const override { return m_textOf(m_rows[size_t(row)]); }
    QStringList columnNames() const override { return m_columnNames; }
    QStringList fields(int row) const override { return m_rows[size_t(row)]; }

private:
    QStringList m_columnNames;
    std::vector<QStringList> m_rows;
    QString (*m_textOf)(const QStringList &);
};

// Makes a row's text each time the view asks for it; the view asks only for the rows it
// paints (all rows are one height, so none is measured).
class RowsModel final : public QAbstractListModel {
public:
    explicit RowsModel(QObject *parent) : QAbstractListModel(parent), m_rows(rowsOf({})) {}

    void setRows(std::shared_ptr<const ListRows> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::shared_ptr<const ListRows> &rows() const { return m_rows; }
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_rows->count(); }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows->count())
            return {};
        return m_rows->text(index.row());
    }

private:
    std::shared_ptr<const ListRows> m_rows;
};

} // namespace

std::shared_ptr<const ListRows> rowsOf(QStringList texts, QString columnName)
{
    return std::make_shared<TextRows>(std::move(texts), std::move(columnName));
}

std::shared_ptr<const ListRows> fieldRows(QStringList columnNames, std::vector<QStringList> rows,
                                          QString (*textOf)(const QStringList &fields))
{
    return std::make_shared<FieldRows>(std::move(columnNames), std::move(rows), textOf);
}

QListView *rowList(QWidget *parent, const QString &objectName, const QFont &font, const QColor &background,
                   const QColor &text, bool multiSelect)
{
    auto *list = new QListView(parent);
    list->setObjectName(objectName);
    list->setModel(new RowsModel(list));
    list->setFont(font);
    list->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    QPalette p = list->palette();
    p.setColor(QPalette::Base, background);
    p.setColor(QPalette::Text, text);
    list->setPalette(p);
    return list;
}

void setListRows(QListView *list, std::shared_ptr<const ListRows> rows)
{
    auto *model = static_cast<RowsModel *>(list->model());
    model->setRows(rows ? std::move(rows) : rowsOf({}));
}

std::shared_ptr<const ListRows> listRows(const QListView *list)
{
    return static_cast<const RowsModel *>(list->model())->rows();
}

int listRowCount(const QAbstractItemView *list)
{
    return list->model()->rowCount();
}

QString listRowText(const QAbstractItemView *list, int row)
{
    return list->model()->index(row, 0).data().toString();
}

QStringList listRowTexts(const QAbstractItemView *list)
{
    QStringList texts;
    const int count = listRowCount(list);
    texts.reserve(count);
    for (int row = 0; row < count; ++row)
        texts << listRowText(list, row);
    return texts;
}

QList<int> selectedListRows(const QAbstractItemView *list)
{
    QList<int> rows;
    for (const QModelIndex &index : list->selectionModel()->selectedIndexes())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void setListRowSelected(QAbstractItemView *list, int row, bool selected)
{
    list->selectionModel()->select(list->model()->index(row, 0),
                                   selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

} // namespace talveros::platform
