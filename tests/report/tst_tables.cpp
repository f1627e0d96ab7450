#include "TestSupport.h"
class Test_tables : public QObject
{
    Q_OBJECT
};
KESTROVAN_TEST_MAIN(Test_tables)
#include "tst_tables.moc"
