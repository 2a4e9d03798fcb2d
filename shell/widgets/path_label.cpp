#include "shell/widgets/path_label.h"

#include <QLabel>
#include <QSizePolicy>

namespace merkwald {

void prepare_path_label(QLabel& label) {
    label.setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    label.setMinimumWidth(0);
}

void show_path(QLabel& label, const QString& path, const QString& full_path) {
    const int room = label.contentsRect().width() - 2 * label.margin();
    const QString shown =
        room > 0 ? label.fontMetrics().elidedText(path, Qt::ElideMiddle, room) : path;
    if (label.text() != shown) label.setText(shown);
    if (label.toolTip() != full_path) label.setToolTip(full_path);
}

}  // namespace merkwald
