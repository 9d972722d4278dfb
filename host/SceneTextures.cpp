#include "SceneTextures.h"

#include "HostError.h"
#include "ZqDescribedPixelData.h"
#include "ZqHDRReader.h"
#include "ZqRenderedTexture.h"
#include "ZqSourceCubeMap.h"

#include <cstdint>
#include <filesystem>
#include <memory>

using Json = nlohmann::ordered_json;

namespace {

std::uint64_t Number(const Json& entry, const char* key, std::uint64_t largest,
                     const std::string& where) {
    auto found = entry.find(key);
    if (found == entry.end() || !found->is_number_unsigned() ||
        found->get<std::uint64_t>() > largest) {
        throw HostError(where + ": \"" + key + "\" must be a whole number from 0 to " +
                        std::to_string(largest));
    }
    return found->get<std::uint64_t>();
}

unsigned Side(const Json& entry, const char* key, const std::string& where) {
    return static_cast<unsigned>(Number(entry, key, 0xFFFFFFFFu, where));
}

// The pixels of an image file, read by the first reader that takes its
// extension.
ZqPointer<ZqPixelData> ReadImage(const std::string& path, const std::string& where) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::unique_ptr<ZqImageReader> readers[] = {std::make_unique<ZqHDRReader>()};
    for (auto& reader : readers) {
        if (!reader->CanReadFile(extension.c_str())) {
            continue;
        }
        ZqFile file(path.c_str());
        if (!file) {
            throw HostError(where + ": " + path + ": cannot be opened");
        }
        ZqPixelData* pixels = reader->ReadFile(file, nullptr);
        if (!pixels) {
            throw HostError(where + ": " + path + ": the image reader refuses it");
        }
        return pixels;
    }
    throw HostError(where + ": " + path + ": no image reader reads \"" + extension + "\" files");
}

ZqPointer<ZqPixelData> DescribePixels(const Json& description, const std::string& where) {
    if (!description.is_object()) {
        throw HostError(where + ": \"pixelData\" must be an object");
    }
    auto masks = description.find("masks");
    if (masks == description.end() || !masks->is_array() || masks->size() != 4) {
        throw HostError(where + ": \"masks\" must list four masks");
    }
    unsigned mask[4];
    for (int i = 0; i < 4; ++i) {
        if (!(*masks)[i].is_number_unsigned() || (*masks)[i].get<std::uint64_t>() > 0xFFFFFFFFu) {
            throw HostError(where + ": each mask must be a whole number from 0 to 4294967295");
        }
        mask[i] = (*masks)[i].get<unsigned>();
    }
    auto formatNumber = description.find("format");
    if (formatNumber == description.end() || !formatNumber->is_number_integer()) {
        throw HostError(where + ": \"format\" must be a whole number");
    }
    auto palette = description.find("palette");
    if (palette != description.end() && !palette->is_boolean()) {
        throw HostError(where + ": \"palette\" must be true or false");
    }
    unsigned mipmaps = description.contains("mipmaps")
                           ? static_cast<unsigned>(Number(description, "mipmaps", 64, where))
                           : 1;
    ZqPixelFormat format(
        formatNumber->get<int>(),
        static_cast<unsigned char>(Number(description, "bitsPerPixel", 255, where)), mask[0],
        mask[1], mask[2], mask[3]);
    ZqPointer<ZqPixelData> pixels = new ZqDescribedPixelData(
        format, mipmaps ? mipmaps : 1,
        static_cast<size_t>(Number(description, "bytes", 0xFFFFFFFFu, where)));
    if (palette != description.end() && palette->get<bool>()) {
        pixels->SetPalette(new ZqPalette);
    }
    return pixels;
}

ZqPointer<ZqTexture> MakeSourceTexture(const Json& entry, bool cubeMap, const std::string& folder,
                                       const std::string& where) {
    auto file = entry.find("file");
    if (file != entry.end() && !file->is_string()) {
        throw HostError(where + ": \"file\" must be a string");
    }
    std::string name = file != entry.end() ? file->get<std::string>() : "";
    const char* filename = file != entry.end() ? name.c_str() : nullptr;
    ZqPointer<ZqPixelData> pixels;
    unsigned width = 0, height = 0;
    auto external = entry.find("external");
    auto description = entry.find("pixelData");
    if (description != entry.end()) {
        pixels = DescribePixels(*description, where);
        width = Side(entry, "width", where);
        height = Side(entry, "height", where);
    } else if (external != entry.end() && *external == true) {
        if (!filename) {
            throw HostError(where + ": an external texture needs a \"file\"");
        }
        width = Side(entry, "width", where);
        height = Side(entry, "height", where);
    } else {
        if (!filename) {
            throw HostError(where + ": a source texture needs a \"file\" or \"pixelData\"");
        }
        std::filesystem::path path(name);
        if (path.is_relative()) {
            path = std::filesystem::path(folder) / path;
        }
        pixels = ReadImage(path.string(), where);
        width = pixels->GetWidth(0);
        height = pixels->GetHeight(0);
    }
    if (cubeMap) {
        return new ZqSourceCubeMap(filename, pixels, width, height);
    }
    return new ZqSourceTexture(filename, pixels, width, height);
}

} // namespace

std::vector<ZqPointer<ZqTexture>>
MakeSceneTextures(const Json& entries, const std::string& sceneFolder, const std::string& where) {
    if (!entries.is_array()) {
        throw HostError(where + ": \"textures\" must be a list");
    }
    std::vector<ZqPointer<ZqTexture>> textures;
    for (size_t i = 0; i < entries.size(); ++i) {
        std::string place = where + ": textures[" + std::to_string(i) + "]";
        const Json& entry = entries[i];
        auto kind = entry.is_object() ? entry.find("class") : entry.end();
        if (!entry.is_object() || kind == entry.end() || !kind->is_string()) {
            throw HostError(place + ": a texture must be an object with a \"class\"");
        }
        std::string className = kind->get<std::string>();
        if (className == "ZqRenderedTexture") {
            textures.push_back(
                new ZqRenderedTexture(Side(entry, "width", place), Side(entry, "height", place)));
        } else if (className == "ZqSourceTexture" || className == "ZqSourceCubeMap") {
            textures.push_back(
                MakeSourceTexture(entry, className == "ZqSourceCubeMap", sceneFolder, place));
        } else {
            throw HostError(place + ": unknown texture class \"" + className + "\"");
        }
    }
    return textures;
}
