// Find, Options and About, as Qt dialogs.
#include "ui/qt/dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeView>
#include <QVBoxLayout>

#include "kordel/version.h"
#include "projects/project_list.h"

#include "ui/core/main_logic.h"
#include "ui/core/messages.h"
#include "ui/core/options.h"
#include "ui/core/version_check.h"

namespace kordel::qt {
namespace msg = ui::msg;

namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

constexpr std::string_view kContact = "kordel@brevlane.example";

}  // namespace

FindDialog::FindDialog(ui::Desktop& desktop, QWidget* parent) : QDialog(parent), m_desktop(desktop) {
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
        m_desktop.Message(msg::kEnterSearch, ui::Icon::Stop);
        return;
    }
    m_request = ui::FindRequest{text.toStdString(), m_case->isChecked()};
    QDialog::accept();
}

OptionsDialog::OptionsDialog(ui::MainWindowLogic& logic, QWidget* parent) : QDialog(parent), m_logic(logic) {
    setWindowTitle("Kordel Options");
    auto* layout = new QVBoxLayout(this);
    auto* general = new QGroupBox("General Options", this);
    auto* generalLayout = new QVBoxLayout(general);
    for (const ui::OptionBox& option : ui::OptionBoxes()) {
        auto* box = new QCheckBox(Text(option.text), general);
        box->setChecked(IsChecked(logic.settings(), option));
        connect(box, &QCheckBox::clicked, this, [this, &option](bool checked) { m_logic.ClickOption(option, checked); });
        generalLayout->addWidget(box);
        m_boxes.emplace_back(option.id, box);
    }
    layout->addWidget(general);
    auto* language = new QGroupBox("Language Options", this);
    auto* languageLayout = new QHBoxLayout(language);
    languageLayout->addWidget(new QLabel(Text(ui::kDotFLabel), language));
    m_dotf = new QComboBox(language);
    m_dotf->addItem("Forth");
    m_dotf->addItem("Fortran 77");
    m_dotf->setCurrentIndex(logic.settings().dotf == 0 ? 0 : 1);
    languageLayout->addWidget(m_dotf);
    languageLayout->addWidget(new QLabel(Text(ui::kDotFTrailer), language));
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
    auto* frame = new QGroupBox(this);
    frame->setObjectName("aboutFrame");
    auto* texts = new QVBoxLayout(frame);
    auto* title = new QLabel(QString::fromUtf8(kNameAndVersion), frame);
    title->setAlignment(Qt::AlignCenter);
    texts->addWidget(title);
    texts->addWidget(new QLabel("A freeware application that counts source lines in 61 programming languages.", frame));
    texts->addWidget(new QLabel("An unlimited number of custom languages can be added and counted as well.", frame));
    texts->addWidget(new QLabel("Made by Brevlane.", frame));
    texts->addWidget(new QLabel("Contact: " + Text(kContact), frame));
    texts->addWidget(new QLabel("Check out the Brevlane website at:", frame));
    texts->addWidget(new QLabel(Text(ui::kWebSite) + "  (or Help > Visit the Brevlane Website)", frame));
    layout->addWidget(frame);
    auto* ok = new QPushButton("OK", this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AboutDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void AboutDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

NameQuestionDialog::NameQuestionDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Kordel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Would you like to specify a project name?", this));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_yes = new QPushButton("&Yes", this);
    m_yes->setDefault(true);
    m_no = new QPushButton("&No", this);
    connect(m_yes, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_no, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    buttons->addWidget(m_yes);
    buttons->addWidget(m_no);
    layout->addLayout(buttons);
}

void NameQuestionDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

NameEntryDialog::NameEntryDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Kordel");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Enter the project name...", this));
    m_edit = new QLineEdit(this);
    m_edit->setMaxLength(static_cast<int>(projects::kMaxProjectName));
    layout->addWidget(m_edit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* ok = new QPushButton("&OK", this);
    ok->setDefault(true);
    m_cancel = new QPushButton("&Cancel", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    buttons->addWidget(ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    m_edit->setFocus();
}

void NameEntryDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void FitFileDialog(QFileDialog& dialog) {
    QSize size(900, 560);
    if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableGeometry().size());
    dialog.resize(size);
    // The name takes what the size, type and date columns leave; those fit their texts.
    if (auto* view = dialog.findChild<QTreeView*>("treeView")) {
        QHeaderView* header = view->header();
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int i = 1; i < header->count(); ++i) header->setSectionResizeMode(i, QHeaderView::ResizeToContents);
    }
}

SourceFileDialog::SourceFileDialog(QWidget* parent, const QString& title, const QString& folder)
    : QFileDialog(parent, title, folder) {
    // Qt's own dialog on every desktop, so that typed names reach accept() below.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    FitFileDialog(*this);
}

void SourceFileDialog::accept() {
    const auto* edit = findChild<QLineEdit*>("fileNameEdit");
    const QString text = edit ? edit->text().trimmed() : QString();
    // Patterns filter the view; an empty name takes the selection: both as the dialog does.
    if (text.isEmpty() || (!text.contains('"') && (text.contains('*') || text.contains('?'))))
        return QFileDialog::accept();
    QStringList names;
    if (text.contains('"')) {
        static const QRegularExpression quoted("\"([^\"]+)\"");
        for (auto it = quoted.globalMatch(text); it.hasNext();) names << it.next().captured(1);
    } else {
        names << text;
    }
    QStringList paths;
    for (const QString& name : names) paths << QDir::cleanPath(directory().absoluteFilePath(name));
    // A folder typed alone is opened in the dialog.
    if (paths.isEmpty() || (paths.size() == 1 && QFileInfo(paths.front()).isDir())) return QFileDialog::accept();
    m_chosen = paths;
    QDialog::accept();
}

}  // namespace kordel::qt
