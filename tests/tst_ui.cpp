#include <QtTest>
class TestUi : public QObject { Q_OBJECT };
QTEST_MAIN(TestUi)
#include "tst_ui.moc"
