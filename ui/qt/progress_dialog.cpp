// The Qt progress window of a count or sort.
#include "ui/qt/progress_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kordel::qt {

ProgressDialog::ProgressDialog(bool sorting, std::atomic<int>& canc, QWidget* parent)
    : QDialog(parent), m_canc(canc) {
    setWindowTitle("Kordel");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(sorting ? "Sorting..." : "Counting...", this));
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);  // the bar alone, without a percentage printed in it
    layout->addWidget(m_bar);
    m_detail = new QLabel(this);
    layout->addWidget(m_detail);
    m_cancel = new QPushButton("&Cancel", this);
    m_cancel->setDefault(true);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_canc = 1; });
    setMinimumWidth(360);
}

void ProgressDialog::SetDetail(const QString& text) { m_detail->setText(text); }

void ProgressDialog::SetPercent(int percent) { m_bar->setValue(percent); }

void ProgressDialog::Finish() {
    m_finished = true;
    done(QDialog::Accepted);
}

// The close box and Escape ask the worker to stop; the window stays until the worker ends it.
void ProgressDialog::closeEvent(QCloseEvent* event) {
    if (m_finished) return QDialog::closeEvent(event);
    m_canc = 1;
    event->ignore();
}

void ProgressDialog::reject() {
    if (m_finished) return QDialog::reject();
    m_canc = 1;
}

}  // namespace kordel::qt
