#pragma once

#include <QHash>
#include <QWidget>

class QLineEdit;

// The shop's own particulars: the single row of Reg.
class TProfile : public QWidget
{
    Q_OBJECT

public:
    explicit TProfile(QWidget* parent = nullptr);

    void load();
    // Stores the boxes in the profile row and closes the window.
    void changeProfile();

    QString text(const QString& column) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QHash<QString, QLineEdit*> m_boxes;
    bool m_loaded = false;
};
