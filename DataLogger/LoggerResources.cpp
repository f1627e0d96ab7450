#include "LoggerResources.h"

#include <QtGlobal>

void initLoggerResources()
{
    Q_INIT_RESOURCE(logger);
}
