#include "shell/export_choice.h"

#include <QFileInfo>

namespace merkwald {

ExportTarget export_target(const QString& chosen_name, const QString& chosen_filter) {
    const bool has_extension = !QFileInfo(chosen_name).suffix().isEmpty();
    const auto typed = [&](ExportFormat format, const char* extension) {
        return ExportTarget{has_extension ? chosen_name : chosen_name + QLatin1String(extension),
                            format};
    };
    if (chosen_filter.contains(QLatin1String("*.rtf"), Qt::CaseInsensitive))
        return typed(ExportFormat::rich_text, ".rtf");
    if (chosen_filter.contains(QLatin1String("*.txt"), Qt::CaseInsensitive))
        return typed(ExportFormat::plain_text, ".txt");
    const QString name = with_default_extension(chosen_name);
    return {name, export_format(name)};
}

}  // namespace merkwald
