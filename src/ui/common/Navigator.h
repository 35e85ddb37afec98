#pragma once

#include <QWidget>

#include <functional>

class Query;
class QToolButton;

// First, prior, next and last (and, where a list allows it, delete) over a query.
class Navigator : public QWidget
{
    Q_OBJECT

public:
    Navigator(Query* query, QWidget* parent = nullptr);

    // Adds the delete button; command removes the current row.
    void enableDelete(std::function<void()> command);

    QToolButton* button(const QString& name) const;

signals:
    // After a button was pressed and the query moved (or lost a row).
    void moved();

private:
    QToolButton* addButton(const QString& name, const QString& text, const QString& tip,
                           std::function<void()> command);

    Query* m_query;
};
