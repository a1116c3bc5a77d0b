// The User Defined Languages dialog and its add/edit form.
#pragma once

#include <optional>

#include <QDialog>

#include "ui/core/desktop.h"
#include "userlang/language_form.h"

class QCloseEvent;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace kordel::qt {

/// "Add a user defined language...": the seven texts; OK stores through the editor or shows why not.
class LanguageFormDialog final : public QDialog {
    Q_OBJECT
public:
    LanguageFormDialog(userlang::LanguageListEditor& editor, std::optional<std::size_t> editIndex, ui::Desktop& desktop,
                       QWidget* parent);
    /// The edits in the order of the form's fields: name, extensions, signal, column, begin, column, end.
    QLineEdit* field(int index) const { return m_fields[index]; }

public slots:
    void accept() override;

private:
    userlang::LanguageListEditor& m_editor;
    std::optional<std::size_t> m_editIndex;
    ui::Desktop& m_desktop;
    QLineEdit* m_fields[7] = {};
};

/// The list of languages; OK writes the database. Escape does nothing; the close box closes
/// without writing, after asking when languages were added, edited or deleted.
class LanguagesDialog final : public QDialog {
    Q_OBJECT
public:
    LanguagesDialog(userlang::LanguageListEditor& editor, ui::Desktop& desktop, QWidget* parent);
    QTableWidget* table() const { return m_table; }
    QLabel* status() const { return m_status; }

    void AddLanguage();
    void EditSelected();
    void DeleteSelected();

public slots:
    void accept() override;
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Refresh();

    userlang::LanguageListEditor& m_editor;
    ui::Desktop& m_desktop;
    QTableWidget* m_table;
    QLabel* m_status;
    bool m_changed = false;
};

}  // namespace kordel::qt
