#include "shell/output/export_choice.h"

namespace merkwald {

ExportTarget export_target(const QString& chosen_name, const QString& chosen_filter) {
    if (chosen_filter.contains(QLatin1String("*.rtf"), Qt::CaseInsensitive))
        return {with_default_extension(chosen_name), ExportFormat::rich_text};
    if (chosen_filter.contains(QLatin1String("*.txt"), Qt::CaseInsensitive))
        return {with_default_extension(chosen_name, QLatin1StringView(".txt")),
                ExportFormat::plain_text};
    const QString name = with_default_extension(chosen_name);
    return {name, export_format(name)};
}

}  // namespace merkwald
