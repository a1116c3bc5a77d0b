// The small dialogs of the main window: Find, Options and About.
#pragma once

#include <optional>

#include <QDialog>

#include "ui/core/desktop.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kordel::ui {

class MainWindowLogic;

/// "Find...": a text and "Case Sensitive"; an empty text is refused and the dialog stays.
class FindDialog final : public QDialog {
    Q_OBJECT
public:
    FindDialog(Desktop& desktop, QWidget* parent);
    std::optional<FindRequest> request() const { return m_request; }
    QLineEdit* edit() const { return m_edit; }
    QCheckBox* caseSensitive() const { return m_case; }

public slots:
    void accept() override;

private:
    Desktop& m_desktop;
    QLineEdit* m_edit;
    QCheckBox* m_case;
    std::optional<FindRequest> m_request;
};

/// "Kordel Options": every box writes its setting when clicked; the ".f" choice is stored by OK.
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(MainWindowLogic& logic, QWidget* parent);
    QCheckBox* box(int id) const;
    QComboBox* dotF() const { return m_dotf; }

public slots:
    void accept() override;

private:
    MainWindowLogic& m_logic;
    std::vector<std::pair<int, QCheckBox*>> m_boxes;
    QComboBox* m_dotf;
};

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent);
};

}  // namespace kordel::ui
