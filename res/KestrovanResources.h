#pragma once

// Registers the compiled-in resources (icons, brand pictures, built-in templates).
// A static library's resource initialiser is otherwise dropped by the linker.
void initKestrovanResources();
