#pragma once

#include "ZqPointer.h"
#include "ZqSceneGraphSharedData.h"
#include "ZqTexture.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <string>
#include <vector>

// Scene files: {"roots": [NODE, ...], "textures": [TEXTURE, ...]} where NODE is
//   {"name": "...", "appCulled": false, "children": [NODE, ...]}
// "appCulled" defaults to false; an object without "children" is a leaf. Roots
// are always nodes. TEXTURE: see SceneTextures.h. Reading throws HostError
// naming the file and the place.
struct Scene {
    ZqPointer<ZqSceneGraphSharedData> graph;
    std::vector<ZqPointer<ZqTexture>> textures; // alive as long as the scene
    nlohmann::ordered_json textureEntries;      // as read
    std::string folder;                         // the scene file's, absolute
};

Scene ReadSceneFile(const std::string& path);
// Textures are written as they were read, except that image files named
// relative to the scene's folder are named relative to the new file's folder.
void WriteSceneFile(const std::string& path, const Scene& scene);

// Prints the scene as an indented tree, hidden objects marked, then a line
// with the number of objects, then one line per texture.
void PrintScene(std::ostream& out, const Scene& scene);

// Objects in the scene, roots included.
unsigned CountSceneObjects(const ZqSceneGraphSharedData& scene);
