#pragma once
// The reason a file operation failed, for German messages. The C library's texts
// follow the system language and are English on most machines, so the program
// says the common reasons itself and leaves the others out.

#include <string>

namespace merkwald {

// " (Datei oder Ordner nicht vorhanden)" for an errno value the program knows,
// otherwise empty: the message then ends without a reason.
[[nodiscard]] std::string german_error_reason(int error);

// The same reason without the brackets: "Zugriff verweigert", or empty.
[[nodiscard]] std::string german_error_text(int error);

}  // namespace merkwald
