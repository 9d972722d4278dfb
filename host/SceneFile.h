#pragma once

#include "ZqPointer.h"
#include "ZqSceneGraphSharedData.h"

#include <iosfwd>
#include <string>

// Scene files: {"roots": [NODE, ...]} where NODE is
//   {"name": "...", "appCulled": false, "children": [NODE, ...]}
// "appCulled" defaults to false; an object without "children" is a leaf. Roots
// are always nodes. Reading throws HostError naming the file and the place.
ZqPointer<ZqSceneGraphSharedData> ReadSceneFile(const std::string& path);
void WriteSceneFile(const std::string& path, const ZqSceneGraphSharedData& scene);

// Prints the scene as an indented tree, hidden objects marked, then a line
// with the number of objects.
void PrintScene(std::ostream& out, const ZqSceneGraphSharedData& scene);

// Objects in the scene, roots included.
unsigned CountSceneObjects(const ZqSceneGraphSharedData& scene);
