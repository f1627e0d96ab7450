#pragma once

// Makes the logger's compiled-in resources (its icon) available; call once at start.
void initLoggerResources();
