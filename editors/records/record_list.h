#pragma once
// The record list "Datensatz Liste": every record of one reminder file as a
// row of the grid `Tabelle`, with sorting, editing, deleting, undo, the
// clean-up of past one-time records and the links of the main file. The file
// work is done by record_list_files.h and record_file.h.

#include <QDialog>
#include <string>
#include <vector>

#include "editing/record_file.h"
#include "editing/record_rows.h"
#include "editors/editor_context.h"
#include "editors/records/record_table_model.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace merkwald {

class SelectDateSort;

inline constexpr int kPreviewColumn = 1;
inline constexpr std::array<int, kGridColumns> kDefaultColumnTwips = {360, 5680, 950,  1000,
                                                                      360, 700,  1000, 5000};

class RecordList final : public QDialog {
    Q_OBJECT
public:
    // `file_list`: entry 1 the main reminder file, then the linked files.
    RecordList(QWidget* parent, EditorContext& context, std::vector<std::string> file_list);
    ~RecordList() override;

    [[nodiscard]] QTableView* table() const { return table_; }
    [[nodiscard]] const std::vector<ListRow>& rows() const { return model_->rows(); }
    [[nodiscard]] const std::vector<std::string>& file_list() const { return files_; }
    [[nodiscard]] const std::filesystem::path& current_file() const { return state_.current_file; }
    [[nodiscard]] int sort_column() const { return sort_column_; }
    [[nodiscard]] QPushButton* undo_button() const { return undo_; }
    [[nodiscard]] QPushButton* delete_button() const { return delete_; }
    [[nodiscard]] const EditingState& editing_state() const { return state_; }
    [[nodiscard]] QLineEdit* file_name_field() const { return file_name_; }
    [[nodiscard]] QLineEdit* shown_file_field() const { return shown_; }
    [[nodiscard]] QComboBox* linked_files() const { return linked_; }
    [[nodiscard]] SelectDateSort* date_sort() const { return date_sort_; }

    void fill();
    void sort_by_column(int column);
    void edit_row(int row);
    void new_record();
    void delete_record();
    void undo();
    void auto_delete();
    void open_file();
    void save_as();
    void show_main_file();
    void show_linked_file();
    void add_link();
    void remove_link();

    // What the caller keeps after the window: the column widths in twips, and
    // the presets of the last record editor that saved (none when none did).
    using ColumnWidths = std::array<std::optional<std::int32_t>, kListColumns>;
    [[nodiscard]] const ColumnWidths& chosen_columns() const { return columns_; }
    [[nodiscard]] const std::optional<RecordPresets>& chosen_presets() const { return presets_; }

    // Takes the column widths and writes the links into the main file; every
    // way of closing the window passes here once.
    void done(int result) override;

private:
    QWidget* build_grid();
    void connect_grid();
    QLayout* build_files();
    QLayout* build_buttons();
    QPushButton* add_button(QLayout* layout, const QString& text, const QString& tip,
                            void (RecordList::*slot)());
    // After the rows changed: no row chosen, the swatch on the last one.
    void rows_drawn();
    void set_row_heights(int first, int last);
    // The rows of the file's records as the state holds them now, sorted as
    // shown when `sorted`; rows whose record is unchanged are kept as shown,
    // only the changed ones are read and updated in the grid.
    void show_changes(bool sorted);
    // Reads the file again (when another program changed it) and shows the change.
    void reread_and_resort();
    [[nodiscard]] bool sorted_view() const { return resort_ && sort_column_ != 0; }
    [[nodiscard]] bool any_row_selected() const;
    void set_current_row(int row);
    void update_buttons();
    void take_column_widths();
    void write_link_changes();
    void show_file(const std::filesystem::path& file);
    // Shows a failed write; a file changed by another program is loaded again.
    void report(const WriteOutcome& outcome);
    void open_editor(int record);
    void message(const std::string& text, MessageIcon icon);
    [[nodiscard]] std::filesystem::path file_path(const std::string& name) const;
    [[nodiscard]] QString dialog_folder() const;

    EditorContext& context_;
    std::vector<std::string> files_;
    EditingState state_;
    DialogSink sink_;
    int sort_column_ = 0;
    bool resort_ = true;
    int current_row_ = -1;
    bool closed_ = false;
    ColumnWidths columns_{};
    std::optional<RecordPresets> presets_;
    // The link changes of this opening, written into the main file on close.
    std::vector<std::string> added_links_;
    std::vector<std::string> removed_links_;
    // The widths as read, so that a column the user left alone keeps its exact value.
    std::array<int, kGridColumns> loaded_twips_{};
    std::array<int, kGridColumns> loaded_pixels_{};
    double width_scale_ = 1.0;

    RecordTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLineEdit* file_name_ = nullptr;
    QLineEdit* shown_ = nullptr;
    QComboBox* linked_ = nullptr;
    QLabel* color_ = nullptr;
    QPushButton* undo_ = nullptr;
    QPushButton* delete_ = nullptr;
    SelectDateSort* date_sort_ = nullptr;
};

}  // namespace merkwald
