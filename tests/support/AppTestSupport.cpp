// The application layer of the test support: every document kind the program opens.
#include "TestSupport.h"

#include "Startup.h"

void TestSupport::initAppApplication()
{
    initWidgetApplication();
    registerDocumentKinds();
}
