#include "SceneFile.h"

#include "EscapedText.h"
#include "HostError.h"
#include "JsonFile.h"
#include "SceneTextures.h"
#include "ZqSourceTexture.h"

#include <filesystem>

#include <ostream>

using Json = nlohmann::ordered_json;

namespace {

// Deeper scenes are refused rather than risking the stack.
const unsigned kMaxDepth = 1000;

// `root` names the root the object hangs under, for a short message when the
// object lies too deep to be named by its whole path.
ZqPointer<ZqAVObject> ReadObject(const Json& value, const std::string& where,
                                 const std::string& root, unsigned depth, bool isRoot) {
    if (depth > kMaxDepth) {
        throw HostError(root + ": objects nested deeper than " + std::to_string(kMaxDepth));
    }
    if (!value.is_object()) {
        throw HostError(where + ": an object must be a JSON object");
    }
    auto name = value.find("name");
    if (name == value.end() || !name->is_string()) {
        throw HostError(where + ": \"name\" must be a string");
    }
    auto culled = value.find("appCulled");
    if (culled != value.end() && !culled->is_boolean()) {
        throw HostError(where + ": \"appCulled\" must be true or false");
    }
    auto children = value.find("children");
    if (children != value.end() && !children->is_array()) {
        throw HostError(where + ": \"children\" must be a list");
    }
    ZqPointer<ZqAVObject> object;
    if (children != value.end() || isRoot) {
        ZqPointer<ZqNode> node = new ZqNode(name->get<std::string>().c_str());
        if (children != value.end()) {
            for (size_t i = 0; i < children->size(); ++i) {
                node->AttachChild(ReadObject((*children)[i],
                                             where + ".children[" + std::to_string(i) + "]", root,
                                             depth + 1, false));
            }
        }
        object = static_cast<ZqNode*>(node);
    } else {
        object = new ZqAVObject(name->get<std::string>().c_str());
    }
    object->SetAppCulled(culled != value.end() && culled->get<bool>());
    return object;
}

// `path` made absolute; a working folder that is gone cannot resolve a
// relative one.
std::filesystem::path AbsolutePath(const std::string& path) {
    std::error_code code;
    std::filesystem::path absolute = std::filesystem::absolute(path, code);
    if (code) {
        throw HostError(path + ": cannot be found from the working folder (" + code.message() +
                        ")");
    }
    return absolute;
}

bool IsNode(const ZqAVObject* object) {
    return ZqObject::IsKindOf(&ZqNode::m_RTTI, object);
}

Json WriteObject(const ZqAVObject* object) {
    Json value = Json::object();
    value["name"] = object->GetName();
    value["appCulled"] = object->GetAppCulled();
    if (IsNode(object)) {
        const auto* node = static_cast<const ZqNode*>(object);
        Json children = Json::array();
        for (unsigned i = 0; i < node->GetChildCount(); ++i) {
            children.push_back(WriteObject(node->GetAt(i)));
        }
        value["children"] = std::move(children);
    }
    return value;
}

void PrintObject(std::ostream& out, const ZqAVObject* object, unsigned depth) {
    out << std::string(2 * depth, ' ') << EscapedText(object->GetName())
        << (object->GetAppCulled() ? "  [hidden]" : "") << '\n';
    if (IsNode(object)) {
        const auto* node = static_cast<const ZqNode*>(object);
        for (unsigned i = 0; i < node->GetChildCount(); ++i) {
            PrintObject(out, node->GetAt(i), depth + 1);
        }
    }
}

unsigned CountObjects(const ZqAVObject* object) {
    unsigned count = 1;
    if (IsNode(object)) {
        const auto* node = static_cast<const ZqNode*>(object);
        for (unsigned i = 0; i < node->GetChildCount(); ++i) {
            count += CountObjects(node->GetAt(i));
        }
    }
    return count;
}

// The texture entries with their image files named from `path`'s folder.
Json MovedTextureEntries(const Scene& scene, const std::string& path) {
    namespace fs = std::filesystem;
    Json entries = scene.textureEntries;
    fs::path target = AbsolutePath(path).parent_path();
    for (Json& entry : entries) {
        auto file = entry.find("file");
        // As the reader decides: only "external": true (not any other value)
        // names a file that is not read.
        auto external = entry.find("external");
        bool readFromFile =
            !entry.contains("pixelData") && !(external != entry.end() && *external == true);
        if (file == entry.end() || !readFromFile ||
            fs::path(file->get<std::string>()).is_absolute()) {
            continue;
        }
        fs::path image = (fs::path(scene.folder) / file->get<std::string>()).lexically_normal();
        *file = image.lexically_proximate(target).generic_string();
    }
    return entries;
}

} // namespace

Scene ReadSceneFile(const std::string& path) {
    Json document = ReadJsonFile(path);
    auto roots = document.is_object() ? document.find("roots") : document.end();
    if (!document.is_object() || roots == document.end() || !roots->is_array()) {
        throw HostError(path + ": a scene must be an object with a \"roots\" list");
    }
    Scene scene;
    scene.graph = new ZqSceneGraphSharedData;
    for (size_t i = 0; i < roots->size(); ++i) {
        std::string where = path + ": roots[" + std::to_string(i) + "]";
        ZqPointer<ZqAVObject> root = ReadObject((*roots)[i], where, where, 0, true);
        scene.graph->AddRoot(static_cast<ZqNode*>(static_cast<ZqAVObject*>(root)));
    }
    scene.folder = AbsolutePath(path).parent_path().string();
    auto textures = document.find("textures");
    if (textures != document.end()) {
        scene.textures = MakeSceneTextures(*textures, scene.folder, path);
        scene.textureEntries = *textures;
    }
    return scene;
}

void WriteSceneFile(const std::string& path, const Scene& scene) {
    Json roots = Json::array();
    for (unsigned i = 0; i < scene.graph->GetRootCount(); ++i) {
        roots.push_back(WriteObject(scene.graph->GetRootAt(i)));
    }
    Json document = Json::object();
    document["roots"] = std::move(roots);
    if (!scene.textureEntries.is_null()) {
        document["textures"] = MovedTextureEntries(scene, path);
    }
    WriteJsonFile(path, document);
}

void PrintScene(std::ostream& out, const Scene& scene) {
    for (unsigned i = 0; i < scene.graph->GetRootCount(); ++i) {
        PrintObject(out, scene.graph->GetRootAt(i), 0);
    }
    unsigned count = CountSceneObjects(*scene.graph);
    out << count << (count == 1 ? " object\n" : " objects\n");
    for (const ZqTexture* texture : scene.textures) {
        out << "texture " << texture->GetRTTI()->GetName() << " " << texture->GetWidth() << " x "
            << texture->GetHeight();
        if (ZqObject::IsKindOf(&ZqSourceTexture::m_RTTI, texture)) {
            const auto* source = static_cast<const ZqSourceTexture*>(texture);
            if (source->GetFilename()) {
                out << " \"" << EscapedText(source->GetFilename()) << "\"";
            }
        }
        out << "\n";
    }
}

unsigned CountSceneObjects(const ZqSceneGraphSharedData& scene) {
    unsigned count = 0;
    for (unsigned i = 0; i < scene.GetRootCount(); ++i) {
        count += CountObjects(scene.GetRootAt(i));
    }
    return count;
}
