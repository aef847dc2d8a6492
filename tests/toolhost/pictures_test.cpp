// The pictures toolhost draws are well-formed XML (checked by xmllint) and
// hold what they claim: every item before and after in each view, every
// control of a panel.
#include "toolhost_process.h"

#include <cstdio>

using namespace toolhost_test;

namespace {

// xmllint's answer to an XPath expression on the file, or its complaint.
std::string xpath(const std::string &file, const std::string &expression) {
    const std::string command = quoted(XMLLINT) + " --xpath " + quoted(expression) + " " + quoted(file) + " 2>&1";
    std::string out;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

void expectWellFormed(const std::string &file) {
    ASSERT_NE(std::string(XMLLINT), "") << "xmllint was not found when the build was configured: "
                                           "install Debian's libxml2-utils";
    ASSERT_TRUE(exists(file)) << file;
    const std::string command = quoted(XMLLINT) + " --noout " + quoted(file) + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << file << " is not well-formed XML";
}

int count(const std::string &file, const std::string &element) {
    return std::atoi(xpath(file, "count(//*[local-name()='" + element + "'])").c_str());
}

std::string texts(const std::string &file) { return xpath(file, "//*[local-name()='text']/text()"); }

} // namespace

// A fresh folder, no arguments: demo.svg appears where the user stands.
TEST(Pictures, DemoPrintsEachToolAndDrawsDemoSvgHere) {
    const std::string folder = freshFolder();
    const Ran run = toolhost({"demo"}, folder);
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char *server : {"Kelzu_Pellwyn", "Kelzu_Tamsery", "Kelzu_Vestral++"})
        EXPECT_NE(run.out.find(server), std::string::npos) << server;
    const std::string svg = folder + "/demo.svg";
    expectWellFormed(svg);
    // Three items, before and after, in three views of three rows.
    EXPECT_EQ(count(svg, "circle"), 3 * 2 * 3 * 3);
    for (const char *name : {"ball", "crate", "lamp"})
        EXPECT_NE(texts(svg).find(name), std::string::npos) << name;
}

TEST(Pictures, EachExampleDrawsItsScene) {
    for (const char *example : {"pellwyn-scale.json", "tamsery-rotate.json", "vestral-offset.json"}) {
        SCOPED_TRACE(example);
        const std::string folder = freshFolder();
        const Ran run = toolhost({"run", std::string(EXAMPLES_DIR) + "/" + example, "--svg", "scene.svg"}, folder);
        ASSERT_EQ(run.status, 0) << run.err;
        expectWellFormed(folder + "/scene.svg");
    }
}

// Item names are the user's text: quotes, ampersands and angle brackets
// must not break the document.
TEST(Pictures, NamesWithMarkupCharactersStayText) {
    const std::string folder = freshFolder();
    writeText(folder + "/case.json", R"({"module": "vestral",
        "items": [{"name": "a<b> & \"c\""}, {"name": "it's"}],
        "steps": [{"do": "activate"}, {"do": "drag", "viewport": "top", "pixel": [0, 0], "by": [10, 0]}]})");
    const Ran run = toolhost({"run", "case.json", "--svg", "scene.svg"}, folder);
    ASSERT_EQ(run.status, 0) << run.err;
    expectWellFormed(folder + "/scene.svg");
    EXPECT_NE(texts(folder + "/scene.svg").find("it's"), std::string::npos);
}

TEST(Pictures, PanelPictureHasEveryControl) {
    const struct {
        const char *tool;
        int controls;
    } tools[] = {{"pellwyn", 17}, {"tamsery", 18}, {"vestral", 10}};
    for (const auto &t : tools) {
        SCOPED_TRACE(t.tool);
        const std::string folder = freshFolder();
        const Ran run = toolhost({"panel", t.tool, "--svg", "panel.svg"}, folder);
        ASSERT_EQ(run.status, 0) << run.err;
        expectWellFormed(folder + "/panel.svg");
        // The background, the panel's own outline and one box per control.
        EXPECT_EQ(count(folder + "/panel.svg", "rect"), 2 + t.controls);
        EXPECT_NE(texts(folder + "/panel.svg").find("Apply"), std::string::npos);
        EXPECT_NE(run.out.find(std::to_string(t.controls) + "  \""), std::string::npos) << run.out;
    }
}
