#include <QtTest>

class Tst_printing : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(Tst_printing)
#include "tst_printing.moc"
