#include "systempaths.h"

namespace {
SystemPaths& instance()
{
    static SystemPaths paths;
    return paths;
}
} // namespace

const SystemPaths& SystemPaths::current()
{
    return instance();
}

void SystemPaths::setCurrent(const SystemPaths& paths)
{
    instance() = paths;
}
