#include <gtest/gtest.h>

#include <cerrno>

#include "engine/system_error.h"

namespace merkwald {
namespace {

TEST(GermanErrorReason, KnownReasonsInGermanOthersLeftOut) {
    const std::pair<int, std::string> rows[] = {{ENOENT, " (Datei oder Ordner nicht vorhanden)"},
                                                {EACCES, " (Zugriff verweigert)"},
                                                {ENOSPC, " (Kein Platz mehr auf dem Datenträger)"},
                                                {EROFS, " (Datenträger ist schreibgeschützt)"},
                                                {0, ""},
                                                {EPROTO, ""},
                                                {-1, ""}};
    for (const auto& [error, reason] : rows) EXPECT_EQ(reason, german_error_reason(error)) << error;
}

}  // namespace
}  // namespace merkwald
