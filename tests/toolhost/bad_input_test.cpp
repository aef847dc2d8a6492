// Bad input to the program: one clear message naming the file, line and
// step, exit status 2, and no output file, not even half of one.
#include "toolhost_process.h"

using namespace toolhost_test;

namespace {

struct Case {
    const char *what;
    std::string scenario;
    std::vector<std::string> mentions;
};

int lineCount(const std::string &text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

} // namespace

TEST(BadInput, EachKindGivesOneMessageExitTwoAndNoPicture) {
    const Case cases[] = {
        {"malformed JSON, a comma missing on line 5",
         "{\n  \"module\": \"pellwyn\",\n  \"steps\": [\n    {\"do\": \"activate\"},\n"
         "    {\"do\": \"type\" \"control\": \"X\"}\n  ]\n}\n",
         {"case.json:5:", "malformed JSON"}},
        {"an unknown field",
         "{\n  \"module\": \"pellwyn\",\n  \"items\": [\n    {\"name\": \"a\", \"postion\": [1, 0, 0]}\n  ],\n"
         "  \"steps\": []\n}\n",
         {"case.json:4:", "items[0]", "unknown field \"postion\""}},
        {"a step naming a control the panel lacks",
         "{\n  \"module\": \"pellwyn\",\n  \"steps\": [\n    {\"do\": \"activate\"},\n"
         "    {\"do\": \"type\", \"control\": \"Q\", \"value\": 2}\n  ]\n}\n",
         {"case.json:5:", "step 2 (type)", "no float field \"Q\"", "X #2"}},
        {"a step naming an item the scene lacks",
         "{\n  \"module\": \"tamsery\",\n  \"items\": [{\"name\": \"a\"}],\n  \"steps\": [\n"
         "    {\"do\": \"activate\"},\n    {\"do\": \"pick\", \"item\": \"ghost\"}\n  ]\n}\n",
         {"case.json:6:", "step 2 (pick)", "\"ghost\""}},
        {"a choice entry the choice lacks",
         "{\"module\": \"pellwyn\", \"steps\": [{\"do\": \"activate\"},\n"
         "  {\"do\": \"choose\", \"control\": \"Method\", \"entry\": \"Squash\"}]}\n",
         {"case.json:2:", "step 2 (choose)", "no entry \"Squash\"", "\"Stretch Flat\""}},
        {"a file that is not a module", "{\n  \"module\": \"junk.p\",\n  \"steps\": []\n}\n",
         {"case.json:2:", "junk.p", "not a loadable module"}},
        {"a module file that is not there", "{\n  \"module\": \"./absent.p\",\n  \"steps\": []\n}\n",
         {"case.json:2:", "absent.p", "no such file"}},
        {"a tool name misspelt", "{\"module\": \"pelwyn\", \"steps\": []}", {"case.json:1:", "unknown tool \"pelwyn\""}},
        {"a move with no button down", "{\"module\": \"pellwyn\", \"steps\": [{\"do\": \"activate\"}, {\"do\": \"move\", \"by\": [1, 0]}]}",
         {"step 2 (move)", "not down"}},
        {"a control of a closed panel",
         "{\"module\": \"pellwyn\", \"steps\": [{\"do\": \"activate\"}, {\"do\": \"close\"}, {\"do\": \"press\", \"control\": \"Apply\"}]}",
         {"step 3 (press)", "not open"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string folder = freshFolder();
        writeText(folder + "/case.json", c.scenario);
        writeText(folder + "/junk.p", "not a shared library\n");
        const Ran run = toolhost({"run", "case.json", "--svg", "out.svg"}, folder);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(lineCount(run.err), 1) << run.err;
        for (const std::string &mention : c.mentions)
            EXPECT_NE(run.err.find(mention), std::string::npos) << "wanted \"" << mention << "\" in: " << run.err;
        EXPECT_FALSE(exists(folder + "/out.svg"));
    }
}

TEST(BadInput, AFailedRunLeavesAnEarlierPictureAsItWas) {
    const std::string folder = freshFolder();
    writeText(folder + "/case.json", "{\"module\": \"pellwyn\", \"steps\": [{\"do\": \"activate\"}, "
                                     "{\"do\": \"press\", \"control\": \"Aply\"}]}");
    writeText(folder + "/out.svg", "the earlier picture");
    const Ran run = toolhost({"run", "case.json", "--svg", "out.svg"}, folder);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(readText(folder + "/out.svg"), "the earlier picture");
}

TEST(BadInput, CommandLineMistakesExitTwoAndHelpExitsZero) {
    const std::string folder = freshFolder();
    const std::vector<std::vector<std::string>> mistakes = {
        {},                                  // no command
        {"run"},                             // no scenario
        {"run", "a.json", "b.json"},         // one too many
        {"run", "a.json", "--colour"},       // no such option
        {"walk"},                            // no such command
        {"run", "missing.json"},             // a scenario that is not there
        {"panel", "nosuch"},                 // a tool that is not there
    };
    for (const auto &args : mistakes) {
        const Ran run = toolhost(args, folder);
        EXPECT_EQ(run.status, 2) << (args.empty() ? "(nothing)" : args[0]) << ": " << run.err;
        EXPECT_NE(run.err, "");
    }
    EXPECT_NE(toolhost({"run", "missing.json"}, folder).err.find("missing.json"), std::string::npos);

    for (const auto &args : std::vector<std::vector<std::string>>{
             {"--help"}, {"run", "--help"}, {"panel", "--help"}, {"demo", "--help"}}) {
        const Ran run = toolhost(args, folder);
        EXPECT_EQ(run.status, 0) << args[0];
        EXPECT_NE(run.out.find("Usage"), std::string::npos) << args[0];
    }
    EXPECT_FALSE(exists(folder + "/demo.svg")) << "demo --help must not run the demo";
}
