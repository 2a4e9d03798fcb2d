#pragma once
// NewFileForm (`FileNew`, "Neue Datendatei anlegen"): a new main reminder file
// with links to other files; the record list opens on it at once.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "editors/editor_context.h"

class QLineEdit;
class QListWidget;

namespace merkwald {

class NewFileForm final : public QDialog {
    Q_OBJECT
public:
    // `created` is told the new file list (entry 1 the new file) before the
    // record list opens, so that the main window reads the new file from now on.
    NewFileForm(QWidget* parent, EditorContext& context,
                std::function<void(const std::vector<std::string>&)> created);

    [[nodiscard]] QLineEdit* file_field() const { return file_; }
    [[nodiscard]] QListWidget* linked_files() const { return list_; }

    // "Fertig" (`OKButton`).
    void create();
    // `FileBrowse`, "hinzufügen" (`ZusatzBrowse`), "entfernen" (`ZusatzRemove`).
    void browse_file();
    void add_linked_file();
    void remove_linked_file();

private:
    [[nodiscard]] QString browse(const QString& caption);
    void message(const QString& text, MessageIcon icon);

    EditorContext& context_;
    std::function<void(const std::vector<std::string>&)> created_;
    QLineEdit* file_;
    QListWidget* list_;
};

}  // namespace merkwald
