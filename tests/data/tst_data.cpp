#include "TestShop.h"
#include <QtTest>
class TestData : public QObject { Q_OBJECT };
QTEST_MAIN(TestData)
#include "tst_data.moc"
