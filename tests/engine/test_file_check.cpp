// Finding the broken lines of reminder files: one file per kind of problem.

#include "engine/file_check.h"
#include "engine_test_support.h"

namespace merkwald {
namespace {

class FileCheck : public test::TempFolderTest {
protected:
    std::vector<std::string> check(const std::string& text) {
        write("main.rmd", text);
        std::vector<std::string> lines;
        for (const FileProblem& p :
             check_files(EngineState(EngineSettings{}, DaySerial{}, folder_), "main.rmd"))
            lines.push_back(problem_line(p));
        return lines;
    }
};

TEST_F(FileCheck, OneFilePerProblem) {
    using Lines = std::vector<std::string>;
    const std::pair<std::string, Lines> rows[] = {
        {"<record>\r\n<date=7.3.1970>\r\n<group=geburtstage>\r\nAnna <days_before_event_text>\r\n"
         "</record>\r\n",
         {}},
        {"<record>\n<date=1.1.2020>\n<active_before=40000>\nText\n</record>\n",
         {"main.rmd:3: Zahl außerhalb des Bereichs (das Programm meldet \"Datei nicht gefunden\" "
          "und liest die Datei nicht weiter): <active_before=40000>"}},
        {"<record>\r\nEins\r\n<record>\r\nZwei\r\n</record>\r\n<record>\r\n<date=x>\r\n",
         {"main.rmd:1: Datensatz ohne Ende: <record> ohne </record>",
          "main.rmd:6: Datensatz ohne Ende: <record> ohne </record>",
          "main.rmd:7: kein gültiges Datum: <date=x>"}},
        {"<record>\r\n<grop=termine>\r\n<active=sometimes>\r\n<sunrise> Uhr\r\n</record>\r\n",
         {"main.rmd:2: unbekannte Markierung, die Zeile wird als Text gezeigt: <grop=termine>",
          "main.rmd:3: unbekannter Wert, die Zeile wird als Text gezeigt: <active=sometimes>"}},
        {"<add_file=fehlt.rmd>\r\n", {"main.rmd:1: verknüpfte Datei fehlt: fehlt.rmd"}},
        {"<record>\r\nErste Zeile\r\nZwei > <sunrise\r\nDritte\r\n</record>\r\n",
         {"main.rmd:3: Syntaxfehler in einem Platzhalter: Zwei > <sunrise"}},
    };
    for (const auto& [text, expected] : rows) EXPECT_EQ(check(text), expected) << text;
}

TEST_F(FileCheck, LinkedFilesAreCheckedToo) {
    write("linked.rmd", "<record>\r\n<date=x>\r\n</record>\r\n<add_file=main.rmd>\r\n");
    EXPECT_EQ(check("<add_file=linked.rmd>\r\n"),
              (std::vector<std::string>{
                  "linked.rmd:2: kein gültiges Datum: <date=x>",
                  "linked.rmd:4: add_file wirkt nur in der Hauptdatei, die Zeile wird als Text "
                  "gezeigt"}));
    std::vector<FileProblem> missing =
        check_files(EngineState(EngineSettings{}, DaySerial{}, folder_), "fehlt.rmd");
    EXPECT_EQ(missing, (std::vector<FileProblem>{{"fehlt.rmd", 0, "Datei nicht gefunden"}}));
}

}  // namespace
}  // namespace merkwald
