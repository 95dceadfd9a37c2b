#include "resources.h"

#include <QtGlobal>

void initTarnResources()
{
    Q_INIT_RESOURCE(icons);
}
