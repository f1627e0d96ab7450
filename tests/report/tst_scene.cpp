#include "TestSupport.h"
class Test_scene : public QObject
{
    Q_OBJECT
};
KESTROVAN_TEST_MAIN(Test_scene)
#include "tst_scene.moc"
