#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <utility>

// What a line window needs from the document window that opened it, and nothing more.
class LineOwner
{
public:
    virtual ~LineOwner() = default;

    // The number of the document the boxes show, as typed, and whether the document table
    // keeps it as a text rather than a whole number.
    virtual QString documentNumber() const = 0;
    virtual bool numberIsText() const = 0;
    // The facts shown at the top of a line window, caption and value, as they are now.
    virtual QList<std::pair<QString, QString>> lineFacts() const = 0;
    // The lines of table changed: reload that line grid and its total (and whatever the
    // window works out from them) for the document it shows.
    virtual void linesChanged(const QString& table) = 0;
};

// A line window's hold on its owner: it reads nothing once the owner's window has closed.
class LineOwnerRef
{
public:
    LineOwnerRef() = default;
    LineOwnerRef(QObject* window, LineOwner* owner)
        : m_window(window)
        , m_owner(owner)
    {}

    LineOwner* get() const { return m_window ? m_owner : nullptr; }
    explicit operator bool() const { return get() != nullptr; }
    LineOwner* operator->() const { return get(); }

private:
    QPointer<QObject> m_window;
    LineOwner* m_owner = nullptr;
};
