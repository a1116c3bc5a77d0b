#include "ui/dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/core/main_logic.h"
#include "ui/core/messages.h"
#include "ui/core/options.h"
#include "ui/core/version_check.h"

namespace kordel::ui {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

FindDialog::FindDialog(Desktop& desktop, QWidget* parent) : QDialog(parent), m_desktop(desktop) {
    setWindowTitle("Find...");
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("What to find:", this));
    m_edit = new QLineEdit(this);
    row->addWidget(m_edit, 1);
    layout->addLayout(row);
    m_case = new QCheckBox("Case Sensitive", this);
    layout->addWidget(m_case);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton("&Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &FindDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FindDialog::reject);
    layout->addWidget(buttons);
}

void FindDialog::accept() {
    const QByteArray text = m_edit->text().toUtf8();
    if (text.isEmpty()) {
        m_desktop.Message(msg::kEnterSearch, Icon::Stop);
        return;
    }
    m_request = FindRequest{text.toStdString(), m_case->isChecked()};
    QDialog::accept();
}

OptionsDialog::OptionsDialog(MainWindowLogic& logic, QWidget* parent) : QDialog(parent), m_logic(logic) {
    setWindowTitle("Kordel Options");
    auto* layout = new QVBoxLayout(this);
    auto* general = new QGroupBox("General Options", this);
    auto* generalLayout = new QVBoxLayout(general);
    for (const OptionBox& option : OptionBoxes()) {
        auto* box = new QCheckBox(Text(option.text), general);
        box->setChecked(IsChecked(logic.settings(), option));
        connect(box, &QCheckBox::clicked, this, [this, &option](bool checked) { m_logic.ClickOption(option, checked); });
        generalLayout->addWidget(box);
        m_boxes.emplace_back(option.id, box);
    }
    layout->addWidget(general);
    auto* language = new QGroupBox("Language Options", this);
    auto* languageLayout = new QHBoxLayout(language);
    languageLayout->addWidget(new QLabel(Text(kDotFLabel), language));
    m_dotf = new QComboBox(language);
    m_dotf->addItem("Forth");
    m_dotf->addItem("Fortran 77");
    m_dotf->setCurrentIndex(logic.settings().dotf == 0 ? 0 : 1);
    languageLayout->addWidget(m_dotf);
    languageLayout->addWidget(new QLabel(Text(kDotFTrailer), language));
    layout->addWidget(language);
    auto* ok = new QPushButton("&OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &OptionsDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

QCheckBox* OptionsDialog::box(int id) const {
    for (const auto& [boxId, box] : m_boxes)
        if (boxId == id) return box;
    return nullptr;
}

void OptionsDialog::accept() {
    m_logic.ChooseDotF(m_dotf->currentIndex());
    QDialog::accept();
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About Kordel...");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("Kordel 1.7", this);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    layout->addWidget(new QLabel("A freeware application that counts source lines in 61 programming languages.", this));
    layout->addWidget(new QLabel("An unlimited number of custom languages can be added and counted as well.", this));
    layout->addWidget(new QLabel("Made by Brevlane.", this));
    layout->addWidget(new QLabel("Check out the Brevlane website at:", this));
    layout->addWidget(new QLabel(Text(kWebSite) + "  (or Help > Visit the Brevlane Website)", this));
    auto* ok = new QPushButton("OK", this);
    connect(ok, &QPushButton::clicked, this, &AboutDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace kordel::ui
