#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>

class Query;

// A table model over a Query: every grid bound to one query shows its rows as the query last
// loaded and sorted them. Column titles are set by the window; untitled columns show the
// column name.
class QueryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit QueryModel(Query* query, QObject* parent = nullptr);

    Query* query() const { return m_query; }
    void setTitle(const QString& column, const QString& title);
    // Titles of the first columns, in column order; they take the place of titles by name.
    void setTitles(const QStringList& titles);
    // The title drawn in red (the column the list is sorted on); -1 draws every title black.
    void setRedTitle(int column);
    int redTitle() const { return m_redTitle; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QPointer<Query> m_query;
    QHash<QString, QString> m_titles;
    QStringList m_positionalTitles;
    int m_redTitle = -1;
};
