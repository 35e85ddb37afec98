#pragma once

#include <QComboBox>

#include <functional>

// An editable drop-down whose list is only a help: it is refilled from its source every time
// it opens or the focus arrives, each distinct value once in alphabetical order, offers the
// items that start with what is typed, and accepts any typed value.
class ListBox : public QComboBox
{
    Q_OBJECT

public:
    using Source = std::function<QStringList()>;

    explicit ListBox(QWidget* parent = nullptr);

    void setSource(Source source) { m_source = std::move(source); }
    // Items that always head the list in this order, before the source's values ("All").
    void setLeading(const QStringList& items) { m_leading = items; }
    // Refills the list from the source, keeping the typed text.
    void refill();

    QString text() const { return currentText(); }
    void setText(const QString& text);

    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Source m_source;
    QStringList m_leading;
    QStringList m_items;
};
