#pragma once

#include "ZqApi.h"

// The engine's modal message box: an OK button and a stop icon. `parent` is a
// window handle; the modules pass none.
ZQSYSTEM_API int ZqMessageBox(const char* text, const char* caption, void* parent = nullptr);
