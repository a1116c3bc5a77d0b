// The User Defined Languages dialog and its add/edit form, as Qt dialogs.
#include "ui/qt/language_dialogs.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/file_messages.h"

namespace kordel::qt {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string Bytes(const QLineEdit* edit) { return edit->text().toStdString(); }

constexpr std::string_view kSaveLanguagesQuestion =
    "Do you want to save the changes to the User Defined Language Database?";

}  // namespace

LanguageFormDialog::LanguageFormDialog(userlang::LanguageListEditor& editor, std::optional<std::size_t> editIndex,
                                       ui::Desktop& desktop, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_editIndex(editIndex), m_desktop(desktop) {
    setWindowTitle("Add a user defined language...");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const QString limit = QString("At most %1 characters").arg(userlang::kFieldLimit);
    for (auto*& edit : m_fields) {
        edit = new QLineEdit(this);
        edit->setMaxLength(static_cast<int>(userlang::kFieldLimit));
        edit->setToolTip(limit);
    }
    for (int column : {3, 5}) {
        m_fields[column]->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
        m_fields[column]->setText("0");
    }
    form->addRow("Language Name:", m_fields[0]);
    form->addRow("One line comment signal:", m_fields[2]);
    form->addRow("Fixed Column (0 for none):", m_fields[3]);
    form->addRow("Multi-Line Begin Comment signal:", m_fields[4]);
    form->addRow("Fixed Column (0 for none):", m_fields[5]);
    form->addRow("Multi-Line End Comment signal:", m_fields[6]);
    form->addRow("Extensions(s):", m_fields[1]);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton("&OK", this);
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    connect(ok, &QPushButton::clicked, this, &LanguageFormDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &LanguageFormDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    if (editIndex && *editIndex < editor.rows().size()) {
        const auto cells = userlang::LanguageCells(editor.rows()[*editIndex]);
        for (int i = 0; i < 7; ++i) m_fields[i]->setText(QString::fromStdString(cells[static_cast<std::size_t>(i)]));
    }
}

void LanguageFormDialog::accept() {
    const userlang::LanguageForm form{Bytes(m_fields[0]), Bytes(m_fields[1]), Bytes(m_fields[2]), Bytes(m_fields[3]),
                                      Bytes(m_fields[4]), Bytes(m_fields[5]), Bytes(m_fields[6])};
    const userlang::FormCheck check = m_editor.Store(form, m_editIndex);
    if (!check.language) {
        m_desktop.Message(check.message, ui::Icon::Stop);
        return;
    }
    QDialog::accept();
}

LanguagesDialog::LanguagesDialog(userlang::LanguageListEditor& editor, ui::Desktop& desktop, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_desktop(desktop) {
    setWindowTitle("User Defined Languages");
    auto* layout = new QVBoxLayout(this);
    m_table = new QTableWidget(0, 7, this);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setHighlightSections(false);
    QStringList titles;
    for (int i = 0; i < 7; ++i) {
        titles << Text(userlang::kLanguageColumns[i].title);
        m_table->setColumnWidth(i, userlang::kLanguageColumns[i].width);
    }
    m_table->setHorizontalHeaderLabels(titles);
    layout->addWidget(m_table, 1);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton("&Add Language...", this);
    auto* edit = new QPushButton("&Edit Selected Language", this);
    auto* remove = new QPushButton("&Delete Selected Language", this);
    auto* ok = new QPushButton("&OK", this);
    ok->setDefault(true);
    connect(add, &QPushButton::clicked, this, &LanguagesDialog::AddLanguage);
    connect(edit, &QPushButton::clicked, this, &LanguagesDialog::EditSelected);
    connect(remove, &QPushButton::clicked, this, &LanguagesDialog::DeleteSelected);
    connect(ok, &QPushButton::clicked, this, &LanguagesDialog::accept);
    for (auto* b : {add, edit, remove}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    layout->addLayout(buttons);
    m_status = new QLabel(this);
    layout->addWidget(m_status);
    resize(900, 420);
    Refresh();
}

void LanguagesDialog::Refresh() {
    const auto& rows = m_editor.rows();
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto cells = userlang::LanguageCells(rows[r]);
        for (int c = 0; c < 7; ++c)
            m_table->setItem(static_cast<int>(r), c, new QTableWidgetItem(QString::fromStdString(cells[static_cast<std::size_t>(c)])));
    }
    m_status->setText(QString::fromStdString(userlang::LanguageCountText(rows.size())));
}

void LanguagesDialog::AddLanguage() {
    LanguageFormDialog form(m_editor, std::nullopt, m_desktop, this);
    if (form.exec() != QDialog::Accepted) return;
    m_changed = true;
    Refresh();
}

void LanguagesDialog::EditSelected() {
    const int row = m_table->currentRow();
    if (row < 0 || m_table->selectionModel()->selectedRows().isEmpty()) {
        m_desktop.Message(userlang::kSelectFirstMessage, ui::Icon::Stop);
        return;
    }
    LanguageFormDialog form(m_editor, static_cast<std::size_t>(row), m_desktop, this);
    if (form.exec() != QDialog::Accepted) return;
    m_changed = true;
    Refresh();
}

void LanguagesDialog::DeleteSelected() {
    const int row = m_table->currentRow();
    if (row < 0 || m_table->selectionModel()->selectedRows().isEmpty()) {
        m_desktop.Message(userlang::kSelectFirstMessage, ui::Icon::Stop);
        return;
    }
    m_editor.Delete(static_cast<std::size_t>(row));
    m_changed = true;
    Refresh();
}

void LanguagesDialog::accept() {
    // A failed write keeps the old file and the dialog, so the edits are not lost.
    if (!m_editor.Save()) {
        m_desktop.Message(OpenForWritingMessage(m_editor.path().string()), ui::Icon::Stop);
        return;
    }
    QDialog::accept();
}

void LanguagesDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_changed) {
        switch (m_desktop.Message(kSaveLanguagesQuestion, ui::Icon::Warning, ui::Buttons::YesNoCancel)) {
            case ui::Answer::Yes: return accept();
            case ui::Answer::No: break;
            default: return;
        }
    }
    done(QDialog::Rejected);
}

}  // namespace kordel::qt
