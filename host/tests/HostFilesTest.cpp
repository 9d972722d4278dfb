#include "CommandLine.h"
#include "HostError.h"
#include "HostTestSupport.h"
#include "SceneFile.h"
#include "ScriptFile.h"
#include "ZqViewerPluginInfo.h"

#include <sstream>

namespace {
// The message a HostError carries, or "" when none was thrown.
template <class Action> std::string ErrorOf(Action action) {
    try {
        action();
    } catch (const HostError& problem) {
        return problem.what();
    }
    return "";
}
} // namespace

TEST(ScriptFile, ReadsStepsInOrderWithParametersAndRenderer) {
    ScratchFolder folder;
    std::string path = folder.Write("script.json", R"({"steps": [
        {"name": "A", "version": "1.0", "class": "AClass", "type": "PROCESS",
         "parameters": [["z", "1"], ["a", "2"], ["z", "3"]]},
        {"name": "V", "version": "1.1", "class": "VClass", "type": "Viewer", "renderer": 5}]})");
    ZqPointer<ZqScriptInfo> script = ReadScriptFile(path);
    ASSERT_EQ(script->GetPluginInfoCount(), 2u);
    ZqPluginInfo* first = script->GetPluginInfoAt(0);
    EXPECT_EQ(first->GetRTTI(), &ZqPluginInfo::m_RTTI);
    EXPECT_STREQ(first->GetClassName(), "AClass");
    ASSERT_EQ(first->GetParameterCount(), 3u);
    EXPECT_STREQ(first->GetKeyAt(0), "z");
    EXPECT_STREQ(first->GetKeyAt(1), "a");
    EXPECT_STREQ(first->GetValueAt(2), "3");
    ZqPluginInfo* second = script->GetPluginInfoAt(1);
    ASSERT_EQ(second->GetRTTI(), &ZqViewerPluginInfo::m_RTTI);
    EXPECT_EQ(static_cast<ZqViewerPluginInfo*>(second)->GetRenderer(), 5);
    EXPECT_STREQ(second->GetType(), "Viewer");
}

TEST(ScriptFile, RefusesMalformedScriptsNamingFileAndPlace) {
    struct Case {
        const char* contents;
        const char* problem;
    } cases[] = {
        {"", "not valid JSON"},
        {"{\"steps\": [", "not valid JSON"},
        {"[]", "\"steps\" list"},
        {"{\"steps\": {}}", "\"steps\" list"},
        {"{\"steps\": [3]}", "steps[0]: a step must be an object"},
        {"{\"steps\": [{\"version\": \"1\", \"class\": \"c\", \"type\": \"t\"}]}",
         "steps[0]: \"name\" must be a string"},
        {"{\"steps\": [{\"name\": 1, \"version\": \"1\", \"class\": \"c\", \"type\": \"t\"}]}",
         "\"name\" must be a string"},
        {"{\"steps\": [{\"name\": \"n\", \"version\": \"1\", \"class\": \"c\", \"type\": \"t\", "
         "\"renderer\": \"5\"}]}",
         "\"renderer\" must be an integer"},
        {"{\"steps\": [{\"name\": \"n\", \"version\": \"1\", \"class\": \"c\", \"type\": \"t\", "
         "\"renderer\": 99999999999}]}",
         "\"renderer\" must be an integer"},
        {"{\"steps\": [{\"name\": \"n\", \"version\": \"1\", \"class\": \"c\", \"type\": \"t\", "
         "\"parameters\": [[\"k\"]]}]}",
         "[\"key\", \"value\"] pair"},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        std::string path = folder.Write("bad.json", c.contents);
        std::string error = ErrorOf([&] { ReadScriptFile(path); });
        EXPECT_NE(error.find(path), std::string::npos) << c.contents;
        EXPECT_NE(error.find(c.problem), std::string::npos) << c.contents << " -> " << error;
    }
    std::string missing = folder.Path("missing.json");
    EXPECT_EQ(ErrorOf([&] { ReadScriptFile(missing); }), missing + ": cannot be read");
}

TEST(SceneFile, RoundTripsTheTree) {
    ScratchFolder folder;
    std::string path = folder.Write("scene.json", R"({"roots": [
        {"name": "R", "children": [{"name": "leaf", "appCulled": true},
                                   {"name": "group", "children": []}]},
        {"name": "bare"}]})");
    ZqPointer<ZqSceneGraphSharedData> scene = ReadSceneFile(path);
    ASSERT_EQ(scene->GetRootCount(), 2u);
    EXPECT_EQ(CountSceneObjects(*scene), 4u);
    EXPECT_TRUE(scene->GetRootAt(0)->GetAt(0)->GetAppCulled());
    EXPECT_FALSE(ZqObject::IsKindOf(&ZqNode::m_RTTI, scene->GetRootAt(0)->GetAt(0)));
    EXPECT_TRUE(ZqObject::IsKindOf(&ZqNode::m_RTTI, scene->GetRootAt(0)->GetAt(1)));

    std::string saved = folder.Path("saved.json");
    WriteSceneFile(saved, *scene);
    ZqPointer<ZqSceneGraphSharedData> again = ReadSceneFile(saved);
    std::ostringstream first, second;
    PrintScene(first, *scene);
    PrintScene(second, *again);
    EXPECT_EQ(first.str(), "R\n  leaf  [hidden]\n  group\nbare\n4 objects\n");
    EXPECT_EQ(first.str(), second.str());
    EXPECT_NE(ReadText(saved).find("\"children\": []"), std::string::npos); // a node stays a node
}

TEST(SceneFile, RefusesMalformedScenes) {
    std::string deep;
    for (int i = 0; i < 1100; ++i) {
        deep += "{\"name\": \"n\", \"children\": [";
    }
    deep += "{\"name\": \"leaf\"}";
    for (int i = 0; i < 1100; ++i) {
        deep += "]}";
    }
    struct Case {
        std::string contents;
        const char* problem;
    } cases[] = {
        {"{\"roots\": 1}", "\"roots\" list"},
        {"{\"roots\": [{\"name\": \"r\", \"appCulled\": 1}]}", "roots[0]: \"appCulled\" must be"},
        {"{\"roots\": [{\"name\": \"r\", \"children\": [{\"name\": 2}]}]}",
         "roots[0].children[0]: \"name\" must be a string"},
        {"{\"roots\": [{\"name\": \"r\", \"children\": {}}]}", "\"children\" must be a list"},
        {"{\"roots\": [" + deep + "]}", "nested deeper than"},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        std::string path = folder.Write("bad.json", c.contents);
        std::string error = ErrorOf([&] { ReadSceneFile(path); });
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    }
}

TEST(CommandLine, UsageErrors) {
    struct Case {
        std::vector<const char*> words;
        const char* problem;
    } cases[] = {
        {{"zqhost"}, "no command given"},
        {{"zqhost", "fly"}, "unknown command"},
        {{"zqhost", "run"}, "takes 1 argument"},
        {{"zqhost", "run", "a.json", "b.json"}, "takes 1 argument"},
        {{"zqhost", "run", "a.json", "--scene"}, "needs a value"},
        {{"zqhost", "plugins", "--scene", "s.json"}, "unknown option --scene"},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv;
        for (const char* word : c.words) {
            argv.push_back(const_cast<char*>(word));
        }
        std::string error =
            ErrorOf([&] { ParseCommandLine(static_cast<int>(argv.size()), argv.data()); });
        EXPECT_NE(error.find(c.problem), std::string::npos) << error;
    }
    const char* words[] = {"zqhost", "run", "s.json", "--plugins", "dir", "--scene", "x"};
    CommandLine line = ParseCommandLine(7, const_cast<char**>(words));
    EXPECT_EQ(line.arguments, std::vector<std::string>{"s.json"});
    EXPECT_EQ(line.Option("--plugins"), "dir");
    EXPECT_EQ(line.Option("--save-scene", "none"), "none");
}
