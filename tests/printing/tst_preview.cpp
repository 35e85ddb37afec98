#include <QtTest>

class Tst_preview : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(Tst_preview)
#include "tst_preview.moc"
