#pragma once

#include "ZqFramePlugin.h"

// An ordinary process plug-in: it runs the steps that name its class.
class ZqProcessPlugin : public ZqFramePlugin<ZqPlugin> {
public:
    using ZqFramePlugin<ZqPlugin>::ZqFramePlugin;

    bool CanExecute(ZqPluginInfo* info) override { return NamesThisClassAndVersion(info); }
    ZqPluginInfo* MakeDefaultInfo() override {
        return FillDefaultInfo(new ZqPluginInfo, "PROCESS");
    }
};
