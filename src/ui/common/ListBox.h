#pragma once

#include <QComboBox>

#include <functional>

// An editable drop-down whose list is only a help: it is refilled from its source every time
// it opens, each distinct value once, and any typed value is accepted.
class ListBox : public QComboBox
{
    Q_OBJECT

public:
    using Source = std::function<QStringList()>;

    explicit ListBox(QWidget* parent = nullptr);

    void setSource(Source source) { m_source = std::move(source); }
    // Refills the list from the source, keeping the typed text.
    void refill();

    QString text() const { return currentText(); }
    void setText(const QString& text);

    void showPopup() override;

private:
    Source m_source;
};
