#include "HiddenObjectScene.h"

ZqNode* NewRootWithHiddenChild(const char* name) {
    ZqNode* root = new ZqNode(name);
    ZqAVObject* hidden = new ZqAVObject("hidden");
    hidden->SetAppCulled(true);
    root->AttachChild(hidden);
    root->AttachChild(new ZqAVObject("shown"));
    return root;
}
