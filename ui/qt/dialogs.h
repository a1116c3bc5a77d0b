// The small dialogs of the main window: Find, Options and About.
#pragma once

#include <optional>

#include <QDialog>
#include <QFileDialog>
#include <QStringList>

#include "ui/core/desktop.h"

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kordel::ui {
class MainWindowLogic;
}  // namespace kordel::ui

namespace kordel::qt {


/// "Find...": a text and "Case Sensitive"; an empty text is refused and the dialog stays.
class FindDialog final : public QDialog {
    Q_OBJECT
public:
    FindDialog(ui::Desktop& desktop, QWidget* parent);
    std::optional<ui::FindRequest> request() const { return m_request; }
    QLineEdit* edit() const { return m_edit; }
    QCheckBox* caseSensitive() const { return m_case; }

public slots:
    void accept() override;

private:
    ui::Desktop& m_desktop;
    QLineEdit* m_edit;
    QCheckBox* m_case;
    std::optional<ui::FindRequest> m_request;
};

/// "Kordel Options": every box writes its setting when clicked; the ".f" choice is stored by OK.
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(ui::MainWindowLogic& logic, QWidget* parent);
    QCheckBox* box(int id) const;
    QComboBox* dotF() const { return m_dotf; }

public slots:
    void accept() override;

private:
    ui::MainWindowLogic& m_logic;
    std::vector<std::pair<int, QCheckBox*>> m_boxes;
    QComboBox* m_dotf;
};

/// "About Kordel...": only its OK closes it (Escape and the close box do nothing).
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;
};

/// "Would you like to specify a project name?" with Yes and No; neither Escape nor the close box
/// answers it.
class NameQuestionDialog final : public QDialog {
    Q_OBJECT
public:
    explicit NameQuestionDialog(QWidget* parent);
    QPushButton* yesButton() const { return m_yes; }
    QPushButton* noButton() const { return m_no; }

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPushButton* m_yes;
    QPushButton* m_no;
};

/// "Enter the project name...": OK takes the text, Cancel keeps the name; Escape and the close box
/// do nothing.
class NameEntryDialog final : public QDialog {
    Q_OBJECT
public:
    explicit NameEntryDialog(QWidget* parent);
    QLineEdit* edit() const { return m_edit; }
    QPushButton* cancelButton() const { return m_cancel; }

public slots:
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* m_edit;
    QPushButton* m_cancel;
};

/// Opens Qt's own file dialog at a size that shows every column whole (it starts at about 620 by 410
/// with columns too narrow for sizes and dates).
void FitFileDialog(QFileDialog& dialog);

/// The add dialog: several files, and names typed into it are taken as typed, whether the file
/// exists or the chosen filter shows it.
class SourceFileDialog final : public QFileDialog {
    Q_OBJECT
public:
    SourceFileDialog(QWidget* parent, const QString& title, const QString& folder);
    /// The chosen paths after OK.
    QStringList chosen() const { return m_chosen.isEmpty() ? selectedFiles() : m_chosen; }

public slots:
    void accept() override;

private:
    QStringList m_chosen;
};

}  // namespace kordel::qt
