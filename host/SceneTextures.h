#pragma once

#include "ZqPointer.h"
#include "ZqTexture.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

// Makes the textures a scene file lists, in file order (so the engine's
// texture list runs in the same order). Each entry is one of:
//   {"class": "ZqSourceTexture", "file": "sky.hdr"}                 read through the image readers
//   {"class": "ZqSourceTexture", "file": "far.dds", "external": true, "width": W, "height": H}
//   {"class": "ZqSourceTexture", "width": W, "height": H, "pixelData": {"format": N,
//     "bitsPerPixel": B, "masks": [R, G, B, A], "palette": true, "mipmaps": M, "bytes": S}}
//   {"class": "ZqRenderedTexture", "width": W, "height": H}
// "ZqSourceCubeMap" takes the source forms. Relative files are relative to
// `sceneFolder`. Throws HostError naming `where` and the problem.
std::vector<ZqPointer<ZqTexture>> MakeSceneTextures(const nlohmann::ordered_json& entries,
                                                    const std::string& sceneFolder,
                                                    const std::string& where);
