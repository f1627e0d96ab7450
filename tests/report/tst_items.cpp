#include "TestSupport.h"
class Test_items : public QObject
{
    Q_OBJECT
};
KESTROVAN_TEST_MAIN(Test_items)
#include "tst_items.moc"
