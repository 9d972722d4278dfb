#pragma once

#include "ZqBatchExecutionResult.h"
#include "ZqPointer.h"
#include "ZqScriptInfo.h"

// The host's script runner. Plug-ins borrow it to run scripts of their own.
class ZQPLUGINTOOLKIT_API ZqPluginManager {
public:
    // The host's manager, or null when no host has installed one.
    static ZqPluginManager* GetInstance();
    // Installs the host's manager (not owned); null removes it.
    static void SetInstance(ZqPluginManager* manager);

    virtual ~ZqPluginManager();

    // Runs `script` to its end and takes charge of it (a script nobody else
    // holds is destroyed afterwards). `flag` is reserved and passed as 0.
    // Never null.
    virtual ZqPointer<ZqBatchExecutionResult> ExecuteScript(ZqScriptInfo* script, int flag) = 0;
};
