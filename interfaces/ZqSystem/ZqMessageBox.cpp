#include "ZqMessageBox.h"

#include "ZqPlatform.h"

int ZqMessageBox(const char* text, const char* caption, void* parent) {
    return ZqPlatform::MessageBox(parent, text, caption,
                                  ZqPlatform::MB_OK_BUTTON | ZqPlatform::MB_STOP_ICON);
}
