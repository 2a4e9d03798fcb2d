#include <gtest/gtest.h>

#include <string>

#include "editors/new_file.h"
#include "editors_test_support.h"

namespace merkwald {
namespace {

using test::read_bytes;
using test::write_bytes;

TEST(NewFile, NameGetsItsExtensionAndFolder) {
    const std::filesystem::path folder = "/prog";
    struct Row {
        const char* typed;
        const char* path;
    };
    const Row rows[] = {
        {"neu", "/prog/neu.rmd"},
        {"neu.rmd", "/prog/neu.rmd"},
        {"neu.RMD", "/prog/neu.RMD.rmd"},
        {"daten/neu.txt", "/prog/daten/neu.txt.rmd"},
        {"/home/anna/neu", "/home/anna/neu.rmd"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(std::filesystem::path(row.path), new_file_path(row.typed, folder)) << row.typed;
    }
}

TEST(NewFile, TwoLinkedFilesBecomeEntriesTwoAndThree) {
    test::TempFolder folder;
    const std::filesystem::path file = folder / "neu.rmd";
    const NewFileOutcome outcome = create_new_file(file, {"geb.rmd", "/daten/termine.rmd"});
    ASSERT_TRUE(outcome.write.ok);
    EXPECT_EQ("<add_file=geb.rmd>\r\n<add_file=/daten/termine.rmd>\r\n", read_bytes(file));
    EXPECT_EQ((std::vector<std::string>{file.string(), "geb.rmd", "/daten/termine.rmd"}),
              outcome.file_list);
}

TEST(NewFile, WithoutLinkedFilesTheFileIsEmpty) {
    test::TempFolder folder;
    const std::filesystem::path file = folder / "neu.rmd";
    write_bytes(file, "<record>\r\nalt\r\n</record>\r\n");
    const NewFileOutcome outcome = create_new_file(file, {});
    ASSERT_TRUE(outcome.write.ok);
    EXPECT_EQ("", read_bytes(file));
    EXPECT_EQ(1u, outcome.file_list.size());
    EXPECT_EQ("<record>\r\nalt\r\n</record>\r\n", read_bytes(folder / "neu.bak"));
}

TEST(NewFile, FileThatCannotBeCreatedGivesNoFileList) {
    test::TempFolder folder;
    const NewFileOutcome outcome = create_new_file(folder / "fehlt" / "neu.rmd", {"a.rmd"});
    EXPECT_FALSE(outcome.write.ok);
    EXPECT_FALSE(outcome.write.message.empty());
    EXPECT_TRUE(outcome.file_list.empty());
}

}  // namespace
}  // namespace merkwald
