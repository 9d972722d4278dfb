// libFuzzer target: any bytes as a scene file. Reading either refuses the
// file with a HostError or gives a scene that saves and reads back the same.
// A small image sits beside the file, for scenes that name it.
#include "FuzzFolder.h"
#include "HostError.h"
#include "Require.h"
#include "SceneFile.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

std::string Printed(const Scene& scene) {
    std::ostringstream out;
    PrintScene(out, scene);
    return out.str();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzFolder::Get().Write("sky.hdr", "#?RADIANCE\n\n-Y 1 +X 2\n" +
                                           std::string("\x10\x20\x30\x80\x40\x40\x40\x81", 8));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string path = FuzzFolder::Get().Write(
        "scene.json", std::string(reinterpret_cast<const char*>(data), size));
    Scene scene;
    try {
        scene = ReadSceneFile(path);
    } catch (const HostError&) {
        return 0;
    }
    std::string saved = FuzzFolder::Get().Write("saved.json", "");
    WriteSceneFile(saved, scene);
    Scene again = ReadSceneFile(saved);
    Require(Printed(again) == Printed(scene));
    Require(CountSceneObjects(*again.graph) == CountSceneObjects(*scene.graph));
    return 0;
}
