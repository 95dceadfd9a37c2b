#pragma once

// Resources in a static library must be registered by the program that links it.
void initTarnResources();
