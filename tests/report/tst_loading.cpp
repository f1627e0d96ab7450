#include "TestSupport.h"
class Test_loading : public QObject
{
    Q_OBJECT
};
KESTROVAN_TEST_MAIN(Test_loading)
#include "tst_loading.moc"
