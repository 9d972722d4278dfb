#pragma once

// The renderer a viewer step asks for. The toolkit gives meaning only to the
// values it names; any other value passes through unchanged.
enum ZqPluginToolkitRenderer : int {
    ZQ_RENDERER_NONE = 0,
    ZQ_RENDERER_SOFTWARE = 1,
    ZQ_RENDERER_DEFAULT = 5,
};
